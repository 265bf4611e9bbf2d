// A process for the tests to find, ask and end: it waits, or with "spin"
// keeps one processor busy, until it is ended or a minute has passed.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    const DWORD start = GetTickCount();
    const bool spin = argc > 1 && std::strcmp(argv[1], "spin") == 0;
    volatile unsigned sink = 0;
    while (GetTickCount() - start < 60000) {
        if (spin)
            for (unsigned i = 0; i < 1000000; ++i) sink = sink + i;
        else
            Sleep(100);
    }
    return 0;
}

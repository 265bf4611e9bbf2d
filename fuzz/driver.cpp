#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "fuzz.h"

// fuzz_target [iterations] seed...: every seed as it is, then mutations of
// them (byte flips, inserts, deletions, splices) from a fixed random seed.
int main(int argc, char** argv) {
    int iterations = argc > 1 ? std::atoi(argv[1]) : 2000;
    std::vector<std::string> seeds;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (seeds.empty()) seeds.emplace_back();
    auto run = [](const std::string& s) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    };
    for (const auto& s : seeds) run(s);
    std::mt19937 rng(12345);
    for (int i = 0; i < iterations; ++i) {
        std::string s = seeds[rng() % seeds.size()];
        int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            std::size_t pos = s.empty() ? 0 : rng() % (s.size() + 1);
            switch (rng() % 5) {
                case 0:
                    if (!s.empty() && pos < s.size()) s[pos] = static_cast<char>(rng());
                    break;
                case 1:
                    s.insert(pos, 1, static_cast<char>(rng()));
                    break;
                case 2:
                    if (pos < s.size()) s.erase(pos, 1 + rng() % 16);
                    break;
                case 3: {
                    const std::string& other = seeds[rng() % seeds.size()];
                    if (!other.empty()) {
                        std::size_t from = rng() % other.size();
                        s.insert(pos, other.substr(from, 1 + rng() % 64));
                    }
                    break;
                }
                case 4:
                    s.insert(pos, std::string(1 + rng() % 300, "\\\"[]=\r\n\0,:"[rng() % 11]));
                    break;
            }
        }
        run(s);
    }
    std::printf("%d inputs, no failure\n", iterations + static_cast<int>(seeds.size()));
    return 0;
}

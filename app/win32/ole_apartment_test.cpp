// The window thread's apartment, on threads of its own so each case starts
// from a thread without COM.
#include "ole_apartment.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace orv::app {
namespace {

// The thread's apartment, or CO_E_NOTINITIALIZED as a negative marker.
int ApartmentType() {
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    HRESULT hr = CoGetApartmentType(&type, &qualifier);
    return hr == CO_E_NOTINITIALIZED ? -1 : static_cast<int>(type);
}

void OnFreshThread(const std::function<void()>& body) {
    std::thread t(body);
    t.join();
}

TEST(OleApartment, JoinsTheSingleThreadedApartmentAndLeavesItBalanced) {
    const int sta = APTTYPE_STA, mainsta = APTTYPE_MAINSTA, mta = APTTYPE_MTA;
    struct Case {
        const char* what;
        // set-up before the apartment object, and what to check inside it
        std::function<void()> before;
        bool joined;
        std::function<void()> after;
        int left;  // the thread's apartment once the object is gone
    } cases[] = {
        {"a thread without COM", [] {}, true, [] {}, -1},
        {"a thread already apartment-threaded",
         [] { ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK); }, true,
         [] { CoUninitialize(); }, sta},
        {"a thread in the multithreaded apartment is left alone",
         [] { ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK); }, false,
         [] { CoUninitialize(); }, mta},
    };
    for (const Case& c : cases) {
        OnFreshThread([&] {
            c.before();
            int inside = 0, left = 0;
            {
                OleApartment apartment;
                EXPECT_EQ(apartment.Joined(), c.joined) << c.what;
                inside = ApartmentType();
            }
            left = ApartmentType();
            c.after();
            if (c.joined)
                EXPECT_TRUE(inside == sta || inside == mainsta) << c.what << ": " << inside;
            else
                EXPECT_EQ(inside, mta) << c.what;
            if (c.left == sta)
                EXPECT_TRUE(left == sta || left == mainsta) << c.what << ": " << left;
            else
                EXPECT_EQ(left, c.left) << c.what;
        });
    }
}

}  // namespace
}  // namespace orv::app

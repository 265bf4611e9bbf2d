// The known-Wine-gap mark behaves like a "todo" mark: under Wine its block
// must fail, and passing there is what fails the test.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "backend.h"

namespace orv {
namespace {

struct FakeBackend {
    bool wine;
    bool IsWine() const { return wine; }
};

void BlockOn(bool wine, bool passes) {
    FakeBackend backend{wine};
    ORV_KNOWN_WINE_GAP(backend, "a behaviour Wine lacks") {
        EXPECT_TRUE(passes);
    }
}
void PassingUnderWine() {
    BlockOn(true, true);
}
void FailingOnWindows() {
    BlockOn(false, false);
}

TEST(KnownWineGap, FailsUnderWineAndChecksEverywhereElse) {
    BlockOn(true, false);  // the gap as known: reported, the test goes on
    BlockOn(false, true);
    EXPECT_NONFATAL_FAILURE(PassingUnderWine(), "no longer shows the known gap");
    EXPECT_NONFATAL_FAILURE(FailingOnWindows(), "passes");
}

TEST(KnownWineGap, AFatalCheckUnderWineEndsOnlyTheTest) {
    FakeBackend wine{true};
    ORV_KNOWN_WINE_GAP(wine, "a behaviour Wine lacks") {
        ASSERT_TRUE(false);
    }
    ADD_FAILURE() << "a fatal failure inside the block returns from the test";
}

}  // namespace
}  // namespace orv

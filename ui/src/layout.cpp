#include "ui/layout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace orv::ui {
namespace {

int MulDivRound(int value, int num, int den) {
    if (den <= 0) return 0;
    const std::int64_t product = static_cast<std::int64_t>(value) * num;
    const std::int64_t half = den / 2;
    const std::int64_t q = product >= 0 ? (product + half) / den : -((-product + half) / den);
    return static_cast<int>(std::clamp<std::int64_t>(q, INT_MIN, INT_MAX));
}

}  // namespace

int TwipsToPixels(int twips, int dpi) {
    return MulDivRound(twips, dpi, 1440);
}
int PixelsToTwips(int pixels, int dpi) {
    return MulDivRound(pixels, 1440, dpi);
}
int ScalePixels(int pixels96, int dpi) {
    return MulDivRound(pixels96, dpi, 96);
}

PixelRect TwipsRectToPixels(int left, int top, int width, int height, int dpi) {
    const auto right = static_cast<std::int64_t>(left) + std::max(0, width);
    const auto bottom = static_cast<std::int64_t>(top) + std::max(0, height);
    const int l = TwipsToPixels(left, dpi);
    const int t = TwipsToPixels(top, dpi);
    const int r = TwipsToPixels(static_cast<int>(std::min<std::int64_t>(right, INT_MAX)), dpi);
    const int b = TwipsToPixels(static_cast<int>(std::min<std::int64_t>(bottom, INT_MAX)), dpi);
    return {l, t, std::max(0, r - l), std::max(0, b - t)};
}

}  // namespace orv::ui

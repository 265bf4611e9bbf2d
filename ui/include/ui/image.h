// Pictures from outside data (the splash file, skin bitmaps): a strict
// decoder of Windows BMP files that never reads past its input and refuses
// what it does not understand instead of guessing.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orv::ui {

struct DecodedImage {
    int width = 0;
    int height = 0;
    // Top-down rows of 0xAARRGGBB pixels (alpha 255 unless the file has one).
    std::vector<std::uint32_t> pixels;
};

// Larger pictures are refused: nothing the program shows needs them.
inline constexpr int kMaxImageSide = 4096;

// BITMAPINFOHEADER (and the V4/V5 headers), 8-bit paletted, 24 and 32 bits,
// uncompressed, bottom-up or top-down.
std::optional<DecodedImage> DecodeBmp(std::string_view bytes);

}  // namespace orv::ui

// Interface components, pictures: reading a picture file of any format the
// system decodes (BMP, JPEG, GIF, PNG through the Windows Imaging Component)
// and writing a Windows bitmap file, which every version of Windows accepts
// as a wallpaper.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace orv::platform {

struct PictureData {
    int width = 0;
    int height = 0;
    // Top-down rows of 0x00RRGGBB pixels.
    std::vector<std::uint32_t> pixels;
};

// Larger pictures are refused rather than decoded into gigabytes.
inline constexpr int kMaxPictureSide = 16384;

class Pictures {
  public:
    virtual ~Pictures() = default;
    // The first frame, or nothing when the file is missing or not a picture.
    virtual std::optional<PictureData> Load(std::string_view path) = 0;
};

// A 24-bit bottom-up BMP file of the picture (rows padded to 4 bytes).
std::string EncodeBmp(const PictureData& picture);
// The inverse for uncompressed 24 and 32-bit BMP files; nothing for others.
std::optional<PictureData> DecodeBmp24(std::string_view bytes);

}  // namespace orv::platform

// Icon files: a bounds-checked reader of the ICO format (what Explorer will
// be handed as a folder's IconX.ico must really be an icon) and a writer
// that turns any decoded picture into one, in pure code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pictures.h"

namespace orv::tools {

// A chosen .ico above this size is refused by its size alone.
inline constexpr std::uint64_t kMaxIconFileBytes = 16u << 20;

// The sizes a written icon holds, each a 32-bit image with its AND mask.
inline constexpr int kIconSides[] = {16, 32, 48, 256};

struct IcoImage {
    int width = 0;
    int height = 0;
    int bit_count = 0;  // 0 for a PNG image
    bool png = false;
    std::size_t offset = 0;
    std::size_t size = 0;
};

// The images of an icon file; nothing when the bytes are not one: a wrong
// header, no images, an image outside the file, or an image that is neither
// a PNG nor a bitmap whose colours and mask fit in it.
std::optional<std::vector<IcoImage>> ParseIco(std::string_view bytes);

// The largest bitmap image of a valid icon file, over white where it is
// transparent; nothing for a file of PNG images only.
std::optional<platform::PictureData> DecodeIco(std::string_view bytes);

// An icon file of `picture` at every size of kIconSides: scaled to fit the
// square (averaging the pixels each one covers), centred, the rest
// transparent.
std::string EncodeIco(const platform::PictureData& picture);

// `picture` fitted into a side x side square as the icon holds it, over white.
platform::PictureData IconPicture(const platform::PictureData& picture, int side);

}  // namespace orv::tools

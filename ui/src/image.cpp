#include "ui/image.h"

namespace orv::ui {
namespace {

std::uint32_t U16(std::string_view b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8);
}

std::uint32_t U32(std::string_view b, std::size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

std::uint8_t Byte(std::string_view b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]);
}

}  // namespace

std::optional<DecodedImage> DecodeBmp(std::string_view bytes) {
    constexpr std::size_t kFileHeader = 14;
    if (bytes.size() < kFileHeader + 40 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    const std::uint32_t data_offset = U32(bytes, 10);
    const std::uint32_t header_size = U32(bytes, 14);
    if (header_size != 40 && header_size != 108 && header_size != 124) return std::nullopt;
    if (kFileHeader + header_size > bytes.size()) return std::nullopt;
    const auto width = static_cast<std::int32_t>(U32(bytes, 18));
    const auto raw_height = static_cast<std::int32_t>(U32(bytes, 22));
    const std::uint32_t planes = U16(bytes, 26);
    const std::uint32_t bits = U16(bytes, 28);
    const std::uint32_t compression = U32(bytes, 30);
    std::uint32_t colors_used = U32(bytes, 46);
    if (planes != 1 || compression != 0) return std::nullopt;
    if (bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    // INT_MIN has no positive counterpart; it is refused with the other extremes.
    if (width <= 0 || width > kMaxImageSide || raw_height == 0 || raw_height < -kMaxImageSide ||
        raw_height > kMaxImageSide)
        return std::nullopt;
    const bool top_down = raw_height < 0;
    const int height = top_down ? -raw_height : raw_height;

    std::vector<std::uint32_t> palette;
    if (bits == 8) {
        if (colors_used == 0) colors_used = 256;
        if (colors_used > 256) return std::nullopt;
        const std::size_t at = kFileHeader + header_size;
        if (at + colors_used * 4 > bytes.size()) return std::nullopt;
        for (std::uint32_t i = 0; i < colors_used; ++i) {
            const std::size_t p = at + i * 4;
            palette.push_back(0xFF000000u | (Byte(bytes, p + 2) << 16) | (Byte(bytes, p + 1) << 8) |
                              Byte(bytes, p));
        }
    }
    const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    const std::size_t need = stride * static_cast<std::size_t>(height);
    if (data_offset < kFileHeader + header_size || data_offset > bytes.size() ||
        bytes.size() - data_offset < need)
        return std::nullopt;

    DecodedImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const int src_row = top_down ? y : height - 1 - y;
        const std::size_t row = data_offset + stride * static_cast<std::size_t>(src_row);
        std::uint32_t* out =
            &image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)];
        for (int x = 0; x < width; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            if (bits == 8) {
                const std::uint8_t index = Byte(bytes, row + ux);
                // An index past the palette is black rather than a read past it.
                out[x] = index < palette.size() ? palette[index] : 0xFF000000u;
            } else if (bits == 24) {
                const std::size_t p = row + ux * 3;
                out[x] = 0xFF000000u | (Byte(bytes, p + 2) << 16) | (Byte(bytes, p + 1) << 8) |
                         Byte(bytes, p);
            } else {
                const std::size_t p = row + ux * 4;
                out[x] = (Byte(bytes, p + 3) << 24) | (Byte(bytes, p + 2) << 16) |
                         (Byte(bytes, p + 1) << 8) | Byte(bytes, p);
            }
        }
    }
    // A 32-bit file whose alpha bytes are all zero means "no alpha" (the usual
    // BI_RGB case); show it opaque rather than invisible.
    if (bits == 32) {
        bool any_alpha = false;
        for (auto p : image.pixels) any_alpha |= (p >> 24) != 0;
        if (!any_alpha) {
            for (auto& p : image.pixels) p |= 0xFF000000u;
        }
    }
    return image;
}

}  // namespace orv::ui

#include <cstring>

#include "platform/pictures.h"

namespace orv::platform {
namespace {

void Put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
std::uint32_t Get32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}
std::uint16_t Get16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

}  // namespace

std::string EncodeBmp(const PictureData& picture) {
    const auto w = static_cast<std::uint32_t>(picture.width);
    const auto h = static_cast<std::uint32_t>(picture.height);
    const std::uint32_t stride = (w * 3 + 3) & ~3u;
    const std::uint32_t image_size = stride * h;
    std::string out;
    out.reserve(54 + image_size);
    out += "BM";
    Put32(out, 54 + image_size);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);  // BITMAPINFOHEADER
    Put32(out, w);
    Put32(out, h);  // positive: bottom-up, the form every reader accepts
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // BI_RGB
    Put32(out, image_size);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (std::uint32_t row = h; row-- > 0;) {
        const std::uint32_t* px = picture.pixels.data() + static_cast<std::size_t>(row) * w;
        for (std::uint32_t x = 0; x < w; ++x) {
            out.push_back(static_cast<char>(px[x] & 0xFF));
            out.push_back(static_cast<char>((px[x] >> 8) & 0xFF));
            out.push_back(static_cast<char>((px[x] >> 16) & 0xFF));
        }
        out.append(stride - w * 3, '\0');
    }
    return out;
}

std::optional<PictureData> DecodeBmp24(std::string_view b) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const std::uint32_t offset = Get32(b, 10);
    const std::uint32_t header = Get32(b, 14);
    if (header < 40) return std::nullopt;
    const auto w = static_cast<std::int32_t>(Get32(b, 18));
    const auto signed_h = static_cast<std::int32_t>(Get32(b, 22));
    const std::uint16_t bits = Get16(b, 28);
    const std::uint32_t compression = Get32(b, 30);
    if (signed_h == INT32_MIN) return std::nullopt;
    const std::int32_t h = signed_h < 0 ? -signed_h : signed_h;
    if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide) return std::nullopt;
    if ((bits != 24 && bits != 32) || !(compression == 0 || (compression == 3 && bits == 32)))
        return std::nullopt;
    const std::uint64_t bytes_per_pixel = bits / 8;
    const std::uint64_t stride = (static_cast<std::uint64_t>(w) * bytes_per_pixel + 3) & ~3ull;
    if (offset > b.size() || (b.size() - offset) / stride < static_cast<std::uint64_t>(h))
        return std::nullopt;
    PictureData p;
    p.width = w;
    p.height = h;
    p.pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (std::int32_t y = 0; y < h; ++y) {
        const std::int32_t src_row = signed_h > 0 ? h - 1 - y : y;
        const std::size_t at = offset + static_cast<std::size_t>(src_row) * stride;
        for (std::int32_t x = 0; x < w; ++x) {
            const std::size_t i = at + static_cast<std::size_t>(x) * bytes_per_pixel;
            p.pixels[static_cast<std::size_t>(y) * w + x] =
                static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8) |
                (static_cast<std::uint32_t>(static_cast<unsigned char>(b[i + 2])) << 16);
        }
    }
    return p;
}

}  // namespace orv::platform

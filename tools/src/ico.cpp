#include "tools/ico.h"

#include <algorithm>
#include <cmath>

namespace orv::tools {
namespace {

using platform::PictureData;

std::uint32_t Get16(std::string_view b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8;
}
std::uint32_t Get32(std::string_view b, std::size_t at) {
    return Get16(b, at) | Get16(b, at + 2) << 16;
}
std::uint32_t GetBe32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at])) << 24 |
           static_cast<std::uint8_t>(b[at + 1]) << 16 | static_cast<std::uint8_t>(b[at + 2]) << 8 |
           static_cast<std::uint8_t>(b[at + 3]);
}
void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";

std::size_t RowBytes(std::size_t width, std::size_t bits) {
    return (width * bits + 31) / 32 * 4;
}

// Checks a bitmap image (BITMAPINFOHEADER, colours, XOR and AND rows).
bool ReadBitmapImage(std::string_view image, IcoImage& out) {
    if (image.size() < 40) return false;
    const std::uint32_t header = Get32(image, 0);
    const std::int32_t width = static_cast<std::int32_t>(Get32(image, 4));
    const std::int32_t height2 = static_cast<std::int32_t>(Get32(image, 8));
    const std::uint32_t planes = Get16(image, 12), bits = Get16(image, 14);
    const std::uint32_t compression = Get32(image, 16), used = Get32(image, 32);
    if (header < 40 || header > image.size() || width <= 0 || width > 256 || height2 <= 0 ||
        height2 > 512 || planes > 1 || compression != 0)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    const std::size_t h = static_cast<std::size_t>(height2) / 2,
                      w = static_cast<std::size_t>(width);
    if (h == 0) return false;
    const std::size_t colours = bits <= 8 ? (used ? used : 1u << bits) : 0;
    if (colours > 256) return false;
    const std::size_t need = header + colours * 4 + RowBytes(w, bits) * h + RowBytes(w, 1) * h;
    if (need > image.size()) return false;
    out.width = width;
    out.height = static_cast<int>(h);
    out.bit_count = static_cast<int>(bits);
    return true;
}

// The pixel (x, y) of a bitmap image, y counted from the top, 0xAARRGGBB.
// `alpha_used`: a 32-bit image with some alpha; one without any is an icon
// of the old kind, whose mask alone decides.
std::uint32_t BitmapPixel(std::string_view image, const IcoImage& im, bool alpha_used, int x,
                          int y) {
    const std::size_t header = Get32(image, 0), bits = static_cast<std::size_t>(im.bit_count);
    const std::size_t used = Get32(image, 32);
    const std::size_t colours = bits <= 8 ? (used ? used : 1u << bits) : 0;
    const std::size_t w = static_cast<std::size_t>(im.width),
                      h = static_cast<std::size_t>(im.height);
    const std::size_t row = h - 1 - static_cast<std::size_t>(y);
    const std::size_t xor_at = header + colours * 4 + RowBytes(w, bits) * row;
    const std::size_t and_at =
        header + colours * 4 + RowBytes(w, bits) * h + RowBytes(w, 1) * row + x / 8;
    const bool masked = (static_cast<std::uint8_t>(image[and_at]) >> (7 - x % 8)) & 1;
    std::uint32_t argb = 0;
    const std::size_t ux = static_cast<std::size_t>(x);
    switch (bits) {
        case 32:
            argb = Get32(image, xor_at + ux * 4);
            if (alpha_used) return argb;
            break;
        case 24:
            argb = Get16(image, xor_at + ux * 3) |
                   static_cast<std::uint32_t>(static_cast<std::uint8_t>(image[xor_at + ux * 3 + 2]))
                       << 16;
            break;
        case 16: {
            const std::uint32_t v = Get16(image, xor_at + ux * 2);
            argb = ((v >> 10) & 31) * 255 / 31 << 16 | ((v >> 5) & 31) * 255 / 31 << 8 |
                   (v & 31) * 255 / 31;
            break;
        }
        default: {
            const std::size_t bit = ux * bits;
            const std::uint8_t byte = static_cast<std::uint8_t>(image[xor_at + bit / 8]);
            const std::size_t index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            argb = index < colours ? Get32(image, header + index * 4) & 0xFFFFFF : 0;
        }
    }
    return masked ? argb & 0xFFFFFF : argb | 0xFF000000;
}

struct Rgb {
    double r = 0, g = 0, b = 0;
};

// `picture` scaled into a side x side square, 0xAARRGGBB, top-down.
std::vector<std::uint32_t> FitSquare(const PictureData& p, int side) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(side) * side, 0);
    const double scale =
        std::min(static_cast<double>(side) / p.width, static_cast<double>(side) / p.height);
    const int w = std::max(1, static_cast<int>(std::lround(p.width * scale)));
    const int h = std::max(1, static_cast<int>(std::lround(p.height * scale)));
    const int left = (side - w) / 2, top = (side - h) / 2;
    // Each target pixel averages a grid of samples over the area it covers
    // (at most 8 x 8: a very large picture is sampled, not read whole).
    const int n = std::clamp(static_cast<int>(std::ceil(1 / scale)), 1, 8);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Rgb sum;
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const int px =
                        std::min(p.width - 1, static_cast<int>((x + (sx + 0.5) / n) / scale));
                    const int py =
                        std::min(p.height - 1, static_cast<int>((y + (sy + 0.5) / n) / scale));
                    const std::uint32_t c = p.pixels[static_cast<std::size_t>(py) * p.width + px];
                    sum.r += (c >> 16) & 0xFF;
                    sum.g += (c >> 8) & 0xFF;
                    sum.b += c & 0xFF;
                }
            }
            const double k = 1.0 / (n * n);
            const auto ch = [&](double v) {
                return static_cast<std::uint32_t>(std::lround(v * k));
            };
            out[static_cast<std::size_t>(top + y) * side + left + x] =
                0xFF000000 | ch(sum.r) << 16 | ch(sum.g) << 8 | ch(sum.b);
        }
    }
    return out;
}

// BITMAPINFOHEADER, bottom-up BGRA rows, then the AND mask (1 = transparent).
std::string BitmapImage(const std::vector<std::uint32_t>& argb, int side) {
    std::string out;
    const std::size_t s = static_cast<std::size_t>(side);
    const std::size_t mask_row = RowBytes(s, 1);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(side));
    Put32(out, static_cast<std::uint32_t>(side * 2));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(s * s * 4 + mask_row * s));
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (std::size_t row = s; row-- > 0;)
        for (std::size_t x = 0; x < s; ++x) Put32(out, argb[row * s + x]);
    for (std::size_t row = s; row-- > 0;) {
        std::string bits(mask_row, '\0');
        for (std::size_t x = 0; x < s; ++x)
            if (argb[row * s + x] >> 24 == 0)
                bits[x / 8] = static_cast<char>(bits[x / 8] | (0x80 >> (x % 8)));
        out += bits;
    }
    return out;
}

}  // namespace

std::optional<std::vector<IcoImage>> ParseIco(std::string_view bytes) {
    if (bytes.size() < 6 || Get16(bytes, 0) != 0 || Get16(bytes, 2) != 1) return std::nullopt;
    const std::size_t count = Get16(bytes, 4);
    if (count == 0 || 6 + count * 16 > bytes.size()) return std::nullopt;
    std::vector<IcoImage> images;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + i * 16;
        IcoImage im;
        im.size = Get32(bytes, entry + 8);
        im.offset = Get32(bytes, entry + 12);
        if (im.offset < 6 + count * 16 || im.offset > bytes.size() ||
            im.size > bytes.size() - im.offset)
            return std::nullopt;
        std::string_view image = bytes.substr(im.offset, im.size);
        if (image.substr(0, kPngSignature.size()) == kPngSignature) {
            if (image.size() < 24 || image.substr(12, 4) != "IHDR") return std::nullopt;
            const std::uint32_t w = GetBe32(image, 16), h = GetBe32(image, 20);
            if (w == 0 || h == 0 || w > 1024 || h > 1024) return std::nullopt;
            im.png = true;
            im.width = static_cast<int>(w);
            im.height = static_cast<int>(h);
        } else if (!ReadBitmapImage(image, im)) {
            return std::nullopt;
        }
        images.push_back(im);
    }
    return images;
}

std::optional<PictureData> DecodeIco(std::string_view bytes) {
    auto images = ParseIco(bytes);
    if (!images) return std::nullopt;
    const IcoImage* best = nullptr;
    for (const auto& im : *images)
        if (!im.png && (!best || im.width * im.height > best->width * best->height)) best = &im;
    if (!best) return std::nullopt;
    std::string_view image = bytes.substr(best->offset, best->size);
    bool alpha_used = false;
    if (best->bit_count == 32) {
        const std::size_t header = Get32(image, 0);
        for (std::size_t i = 0; i < static_cast<std::size_t>(best->width) * best->height; ++i)
            alpha_used = alpha_used || Get32(image, header + i * 4) >> 24;
    }
    PictureData p;
    p.width = best->width;
    p.height = best->height;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const std::uint32_t c = BitmapPixel(image, *best, alpha_used, x, y);
            const std::uint32_t a = c >> 24;
            const auto over_white = [a](std::uint32_t v) {
                return (v * a + 255 * (255 - a)) / 255;
            };
            p.pixels.push_back(over_white((c >> 16) & 0xFF) << 16 |
                               over_white((c >> 8) & 0xFF) << 8 | over_white(c & 0xFF));
        }
    }
    return p;
}

PictureData IconPicture(const PictureData& picture, int side) {
    PictureData p{side, side, FitSquare(picture, side)};
    for (auto& px : p.pixels) px = px >> 24 ? px & 0xFFFFFF : 0xFFFFFF;
    return p;
}

std::string EncodeIco(const PictureData& picture) {
    std::vector<std::string> images;
    for (int side : kIconSides) images.push_back(BitmapImage(FitSquare(picture, side), side));
    std::string out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::size_t offset = 6 + 16 * images.size();
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int side = kIconSides[i];
        out += static_cast<char>(side >= 256 ? 0 : side);  // 0 stands for 256
        out += static_cast<char>(side >= 256 ? 0 : side);
        out += '\0';  // no palette
        out += '\0';
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(images[i].size()));
        Put32(out, static_cast<std::uint32_t>(offset));
        offset += images[i].size();
    }
    for (const auto& im : images) out += im;
    return out;
}

}  // namespace orv::tools

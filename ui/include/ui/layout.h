// Twips and pixels. A twip is 1/1440 inch; at 96 DPI 15 twips make a pixel.
// Positions are converted edge by edge (right = left + width in twips, then
// each edge rounded) so that controls that touch in twips touch on screen.
#pragma once

namespace orv::ui {

// Round half away from zero, as MulDiv does, without overflow for any int.
int TwipsToPixels(int twips, int dpi);
int PixelsToTwips(int pixels, int dpi);
// A length given in pixels at 96 DPI (skin metrics) at `dpi`.
int ScalePixels(int pixels96, int dpi);

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

// Negative sizes are treated as zero.
PixelRect TwipsRectToPixels(int left, int top, int width, int height, int dpi);

}  // namespace orv::ui

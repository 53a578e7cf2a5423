#pragma once
// Exists because the drawing library's own wide and exact lines are either too slow (a 2-pixel
// polyline of 10^6 points takes tens of seconds) or end on the wrong pixel: lines and plain
// fills are rasterised here, straight into the 32-bit pixels of the image.
//
// Line rules (a solid polyline in copy mode lights the same pixels as its segments drawn one
// by one):
// - A 1-pixel line is stepped along its major axis (x when |dx| >= |dy|) from the start pixel
//   up to, not including, the end pixel. At step i the minor coordinate is the ideal one
//   rounded to the nearest integer; an exact half goes to the smaller coordinate, so a line and
//   its reverse light the same pixels apart from their two ends.
// - A pen of width w > 1 is the geometric pen of platform/RasterWide.h: a band along each
//   segment and a disk at each of its ends, both ends included. One call (a line, a polyline,
//   an outline) covers each pixel once, so an XOR polyline inverts its joins once.
// - Dash patterns (cosmetic pens, width 1) advance one unit per stepped pixel; DrawLine starts
//   where it is told, DrawPolyline carries the pattern from one segment to the next.
// - Ends beyond +-2^27 (the device space of the classic platform) make the segment draw
//   nothing.
//
// Threading: pure functions over a caller-owned pixel buffer; no shared state.

#include "platform/DrawContext.h"
#include "platform/Types.h"

#include <cstddef>
#include <cstdint>

namespace platform::raster {

// Pixels as the image stores them, 0xFFRRGGBB, row after row.
struct TSurface {
    std::uint32_t* Bits = nullptr;
    std::ptrdiff_t Stride = 0; // pixels from one row to the next
    TRect Clip;                // drawable area, already inside the image
};

// An on/off pattern of at most 32 units, bit p of Mask set when unit p is drawn.
struct TDashPattern {
    std::uint32_t Mask = 0;
    int Period = 1;
};

struct TStroke {
    std::uint32_t Pixel = 0xFF000000;
    int Width = 1;
    TPenMode Mode = TPenMode::Copy;
    const TDashPattern* Dashes = nullptr; // null: solid; only used with Width 1
    bool OpaqueGaps = false;              // gaps of a dashed line take GapPixel
    std::uint32_t GapPixel = 0xFFFFFFFF;
};

constexpr std::uint32_t PixelOf(TRgb Color)
{
    return 0xFF000000u | ((Color & 0xFFu) << 16) | (Color & 0xFF00u) | ((Color >> 16) & 0xFFu);
}
constexpr TRgb RgbOf(std::uint32_t Pixel)
{
    return ((Pixel & 0xFFu) << 16) | (Pixel & 0xFF00u) | ((Pixel >> 16) & 0xFFu);
}

// The cosmetic pen patterns of the classic platform, in pixels.
const TDashPattern& DashPattern(TPenStyle Style); // Dash, Dot, DashDot, DashDotDot, Alternate

// Draws From -> To (a 1-pixel line leaves out the end, a wide pen's round end covers it).
// StylePos is the dash position at From; the position at To is returned.
long DrawLine(const TSurface& Surface, const TStroke& Stroke, TPoint From, TPoint To,
              long StylePos);

// Draws the polyline through Points. In copy mode with a solid pen, dense data (many steep
// segments over the same columns, as a chart of 10^6 samples has) is gathered into one run per
// column before it is written, so that pixels covered again and again are written once.
void DrawPolyline(const TSurface& Surface, const TStroke& Stroke, const TPoint* Points,
                  int Count);

// Fills R (right and bottom excluded) under Mode, within the clip.
void FillRect(const TSurface& Surface, TRect R, std::uint32_t Pixel, TPenMode Mode);

// Fills R with an 8 x 8 hatch aligned to the image origin: Pixel on the hatch lines, and
// BackPixel between them when Opaque.
void HatchRect(const TSurface& Surface, TRect R, TBrushStyle Style, std::uint32_t Pixel,
               bool Opaque, std::uint32_t BackPixel, TPenMode Mode);

// Inverts every pixel of R's 1-pixel frame whose x + y is even (the classic focus rectangle);
// drawing it twice restores the image.
void InvertDottedFrame(const TSurface& Surface, TRect R);

TRect Intersect(const TRect& A, const TRect& B); // empty results are normalised to {0,0,0,0}

} // namespace platform::raster

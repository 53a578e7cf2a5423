#pragma once
// The drawing context that chart and button painting go through: a small GDI-like surface
// (current pen, brush, font, text colour, background, alignment, position and clip) over an
// image in memory. Antialiasing is never used, so every pixel is exact and testable.
//
// Semantics relied on by the callers:
// - LineTo draws from the current position to (x, y), excluding the end pixel in every
//   direction with a 1-pixel pen (a wider pen's round end covers it); the end becomes the
//   current position.
// - Rectangle(x0, y0, x1, y1) outlines with the pen and fills with the brush the columns
//   x0..x1-1 and rows y0..y1-1; FillRect covers the same area with the brush, no outline.
// - Clipping only ever narrows by intersection until RemoveClip.
// - Text is written at (x, y) under the alignment flags, in the text colour, on a background
//   box in the background colour in the opaque background mode.
//
// How it is done (details of the line stepping in platform/Raster.h):
// - Lines of every width are drawn by our own code straight into the image. A 1-pixel line
//   is stepped; a wider pen is the platform's geometric pen: the pixels whose centres lie
//   within half the width of the line, with round ends and joins (a 2-pixel pen on y = 50
//   covers rows 49 and 50, and from x0 - 1 to x1 whichever way it runs). Each call covers a
//   pixel once, so a wide XOR polyline inverts each pixel once. Dashed, dotted and Alternate
//   pens step their pattern one unit per pixel: every LineTo starts it afresh, a Polyline and
//   a Rectangle's outline carry it from one side to the next; the gaps take the background
//   colour in the opaque background mode. Styled pens wider than 1 draw solid, as the classic
//   platform creates them. Mode applies to lines and shape outlines and fills.
// - Polyline neither uses nor moves the current position; Rectangle does not either.
// - Rectangle with a Clear pen fills columns x0..x1-2 and rows y0..y1-2 (one pixel less each
//   way, as the classic platform does). A wide pen's frame is centred on the outline as a
//   line would be; with InsideFrame it lies inside the bounds. A styled outline runs from the
//   top right corner anticlockwise. A 1 x 1 rectangle draws nothing.
// - FillRect always copies the brush (the pen mode does not apply); a Clear brush fills
//   nothing, nor does a rectangle whose right or bottom lies before its left or top (a layout
//   that has collapsed, which the platform would paint mirrored, one pixel off); hatched
//   brushes draw an 8 x 8 hatch aligned to the image's origin, on the background colour in
//   the opaque background mode.
// - Text is drawn without antialiasing, placed by TextMetrics() (ascent for Align::Baseline, the
//   extent for centring and Align::Right / Align::Bottom), rotated about (x, y) by the escapement.
// - Ellipse, RoundRect, Polygon's interior, Arc and Pie are left to the drawing library.
// - The surface shows every RGB colour: NearestColor returns its argument.
//
// Threading: a context and its image are used on one thread at a time (the user-interface
// thread in this system); nothing here locks. An image keeps its size for life; text
// measuring keeps a cache of widths, so it too belongs to the user-interface thread.

#include "platform/Types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A colour that has been resolved to plain RGB, 0x00BBGGRR.
using TRgb = std::uint32_t;

enum class TPenStyle : std::uint8_t {
    Solid,
    Dash,
    Dot,
    DashDot,
    DashDotDot,
    Clear,
    InsideFrame,
    Alternate // every other pixel set, 1 pixel wide whatever the width says
};

enum class TPenMode : std::uint8_t { Copy, Xor, NotXor, Not };

enum class TBrushStyle : std::uint8_t {
    Solid,
    Clear,
    Horizontal,
    Vertical,
    FDiagonal,
    BDiagonal,
    Cross,
    DiagCross
};

struct TPenDesc {
    TRgb Color = 0x000000;
    int Width = 1;
    TPenStyle Style = TPenStyle::Solid;
    TPenMode Mode = TPenMode::Copy;
    friend bool operator==(const TPenDesc&, const TPenDesc&) = default;
};

struct TBrushDesc {
    TRgb Color = 0xFFFFFF;
    TBrushStyle Style = TBrushStyle::Solid;
    friend bool operator==(const TBrushDesc&, const TBrushDesc&) = default;
};

struct TFontDesc {
    std::string Name = "Arial";
    // As a logical font's height: negative is the em in pixels (8 points at 96 dpi is -11),
    // positive the cell height.
    int Height = -11;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    // Angle of the text line in tenths of a degree, counter-clockwise.
    int Escapement = 0;
    friend bool operator==(const TFontDesc&, const TFontDesc&) = default;
};

// Text alignment flags, with the classic values: one horizontal and one vertical, or'd.
namespace Align {
constexpr unsigned Left = 0;
constexpr unsigned Right = 2;
constexpr unsigned Center = 6;
constexpr unsigned Top = 0;
constexpr unsigned Bottom = 8;
constexpr unsigned Baseline = 24;
} // namespace Align

// Whether text and styled lines fill their background, with the classic values.
enum class TBkMode { Transparent = 1, Opaque = 2 };

// What GetPixel answers for a point outside the clip or the image.
constexpr TRgb InvalidRgb = 0xFFFFFFFF;

// Text measurement, replaceable so that tests can use fixed metrics on any machine.
class TTextMetrics {
public:
    virtual ~TTextMetrics() = default;
    // Width and height (ascent plus descent) of Text in Font; {0, 0} when it cannot measure.
    virtual TSize Extent(const TFontDesc& Font, std::string_view Text) const = 0;
    virtual int Ascent(const TFontDesc& Font) const = 0;
};

// The metrics in force: the real fonts unless a test has put its own in place. Passing
// null restores the real ones. The caller keeps the object alive while it is in force.
const TTextMetrics& TextMetrics();
void SetTextMetrics(const TTextMetrics* Metrics);
// The real fonts' metrics, from the platform's own text library.
const TTextMetrics& SystemTextMetrics();

// A 32-bit RGB image in memory: the off-screen bitmap and the back store of every window.
class TBitmapImage {
public:
    TBitmapImage(int Width, int Height); // filled white
    ~TBitmapImage();
    TBitmapImage(const TBitmapImage&) = delete;
    TBitmapImage& operator=(const TBitmapImage&) = delete;

    int Width() const;
    int Height() const;
    TRgb Pixel(int X, int Y) const; // 0 outside the image
    bool SavePng(const std::string& Path) const;

    struct TImpl;
    TImpl& Impl() const { return *FImpl; }

private:
    std::unique_ptr<TImpl> FImpl;
};

class TDrawContext {
public:
    explicit TDrawContext(TBitmapImage& Target);
    ~TDrawContext();
    TDrawContext(const TDrawContext&) = delete;
    TDrawContext& operator=(const TDrawContext&) = delete;

    TBitmapImage& Target() const;

    // Selected objects and attributes.
    void SelectPen(const TPenDesc& Pen);
    const TPenDesc& Pen() const;
    void SelectBrush(const TBrushDesc& Brush);
    const TBrushDesc& Brush() const;
    void SelectFont(const TFontDesc& Font);
    const TFontDesc& Font() const;
    void SetTextColor(TRgb Color);
    TRgb TextColor() const;
    void SetBkColor(TRgb Color);
    TRgb BkColor() const;
    void SetBkMode(TBkMode Mode);
    TBkMode BkMode() const;
    void SetTextAlign(unsigned Flags);
    unsigned TextAlign() const;

    // Lines and shapes, with the current pen and brush.
    void MoveTo(int X, int Y);
    TPoint CurrentPosition() const;
    void LineTo(int X, int Y);
    void Polyline(const TPoint* Points, int Count);
    void Rectangle(int X0, int Y0, int X1, int Y1);
    void FillRect(const TRect& R);
    void Ellipse(int X0, int Y0, int X1, int Y1);
    void RoundRect(int X0, int Y0, int X1, int Y1, int CornerWidth, int CornerHeight);
    void Polygon(const TPoint* Points, int Count);
    void Arc(const TRect& Bounds, TPoint Start, TPoint End);
    void Pie(const TRect& Bounds, TPoint Start, TPoint End);
    void SetPixel(int X, int Y, TRgb Color);
    TRgb GetPixel(int X, int Y) const; // InvalidRgb outside the clip
    // The dotted rectangle that marks keyboard focus, drawn by inverting every other pixel.
    void DrawFocusRect(const TRect& R);

    // Text in the current font.
    void TextOut(int X, int Y, std::string_view Text);
    TSize TextExtent(std::string_view Text) const;

    // Clipping.
    void IntersectClipRect(const TRect& R);
    void RemoveClip();
    bool HasClip() const;
    TRect ClipBox() const;

    // Copies Source with its top-left corner at (X, Y), or scaled into Dest.
    void BitBlt(int X, int Y, const TBitmapImage& Source);
    void StretchBlt(const TRect& Dest, const TBitmapImage& Source);

    // The nearest colour the surface can show.
    TRgb NearestColor(TRgb Color) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

} // namespace platform

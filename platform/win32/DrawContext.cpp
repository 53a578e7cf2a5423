// The drawing context over GDI: a memory DC with a 32-bit DIB section behind every image, and
// every call handed to GDI itself, so that on Windows the pixels are the platform's own.
// Where the shared contract is stricter than GDI (a mirrored FillRect, the clip box that is
// reported), it is enforced here before GDI is called.
#include "platform/DrawContext.h"
#include "platform/Raster.h"
#include "platform/win32/GdiBridge.h"
#include "platform/win32/Text.h"
#include "platform/win32/Windows.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <vector>

namespace platform {

struct TBitmapImage::TImpl {
    HDC Dc = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Original = nullptr;
    std::uint32_t* Bits = nullptr; // top-down rows of 0x00RRGGBB, Width pixels each
    int Width = 0;
    int Height = 0;
};

namespace {

// DIB pixels hold red in bits 16-23, a COLORREF holds it in bits 0-7.
TRgb RgbOfPixel(std::uint32_t Pixel)
{
    return (Pixel >> 16 & 0xFF) | (Pixel & 0xFF00) | (Pixel & 0xFF) << 16;
}

bool IsEmpty(const TRect& R) { return R.Left >= R.Right || R.Top >= R.Bottom; }

// GDI takes coordinates of 27 bits and fails whole calls beyond them. The sides of rectangles
// and the corners of blits that reach that far lie outside any image there is, so they are
// brought within the range; a line's ends are not, since that would turn the line.
constexpr int kFarthest = 1 << 27;
int Near(int Coordinate) { return std::clamp(Coordinate, -kFarthest, kFarthest); }

std::vector<POINT> PointsOf(const TPoint* Points, int Count)
{
    std::vector<POINT> points;
    points.reserve(std::size_t(Count));
    for (int i = 0; i < Count; ++i)
        points.push_back({Points[i].X, Points[i].Y});
    return points;
}

HPEN CreatePenOf(const TPenDesc& Pen)
{
    const COLORREF colour = Pen.Color & 0xFFFFFF;
    switch (Pen.Style) {
    case TPenStyle::Clear: return CreatePen(PS_NULL, 0, 0);
    case TPenStyle::Alternate: {
        LOGBRUSH brush{BS_SOLID, colour, 0};
        return ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
    }
    default: break;
    }
    static constexpr int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT,
                                     PS_NULL,  PS_INSIDEFRAME};
    return CreatePen(styles[int(Pen.Style)], std::max(1, Pen.Width), colour);
}

HBRUSH CreateBrushOf(const TBrushDesc& Brush)
{
    const COLORREF colour = Brush.Color & 0xFFFFFF;
    switch (Brush.Style) {
    case TBrushStyle::Solid: return CreateSolidBrush(colour);
    case TBrushStyle::Clear: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case TBrushStyle::Horizontal: return CreateHatchBrush(HS_HORIZONTAL, colour);
    case TBrushStyle::Vertical: return CreateHatchBrush(HS_VERTICAL, colour);
    case TBrushStyle::FDiagonal: return CreateHatchBrush(HS_FDIAGONAL, colour);
    case TBrushStyle::BDiagonal: return CreateHatchBrush(HS_BDIAGONAL, colour);
    case TBrushStyle::Cross: return CreateHatchBrush(HS_CROSS, colour);
    case TBrushStyle::DiagCross: return CreateHatchBrush(HS_DIAGCROSS, colour);
    }
    return CreateSolidBrush(colour);
}

int Rop2Of(TPenMode Mode)
{
    switch (Mode) {
    case TPenMode::Xor: return R2_XORPEN;
    case TPenMode::NotXor: return R2_NOTXORPEN;
    case TPenMode::Not: return R2_NOT;
    default: return R2_COPYPEN;
    }
}

// PNG without a compression library: the pixels go into stored (uncompressed) deflate blocks.
class TPngWriter {
public:
    explicit TPngWriter(std::FILE* File) : FFile(File) {}

    void Chunk(const char* Type, const std::vector<std::uint8_t>& Data)
    {
        Put32(std::uint32_t(Data.size()));
        std::vector<std::uint8_t> typed(Type, Type + 4);
        typed.insert(typed.end(), Data.begin(), Data.end());
        std::fwrite(typed.data(), 1, typed.size(), FFile);
        Put32(Crc(typed));
    }

    static void Append32(std::vector<std::uint8_t>& To, std::uint32_t V)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            To.push_back(std::uint8_t(V >> shift));
    }

private:
    void Put32(std::uint32_t V)
    {
        std::vector<std::uint8_t> bytes;
        Append32(bytes, V);
        std::fwrite(bytes.data(), 1, 4, FFile);
    }

    static std::uint32_t Crc(const std::vector<std::uint8_t>& Bytes)
    {
        std::uint32_t crc = 0xFFFFFFFF;
        for (std::uint8_t b : Bytes) {
            crc ^= b;
            for (int k = 0; k < 8; ++k)
                crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
        }
        return ~crc;
    }

    std::FILE* FFile;
};

std::vector<std::uint8_t> Deflated(const std::vector<std::uint8_t>& Raw)
{
    std::vector<std::uint8_t> out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(Raw.size() - at, 65535);
        out.push_back(at + n == Raw.size() ? 1 : 0);
        out.push_back(std::uint8_t(n));
        out.push_back(std::uint8_t(n >> 8));
        out.push_back(std::uint8_t(~n));
        out.push_back(std::uint8_t(~n >> 8));
        out.insert(out.end(), Raw.begin() + std::ptrdiff_t(at), Raw.begin() + std::ptrdiff_t(at + n));
        at += n;
    } while (at < Raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : Raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    TPngWriter::Append32(out, b << 16 | a);
    return out;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TBitmapImage::TBitmapImage(int Width, int Height) : FImpl(std::make_unique<TImpl>())
{
    FImpl->Dc = CreateCompatibleDC(nullptr);
    if (Width <= 0 || Height <= 0 || !FImpl->Dc)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FImpl->Bitmap = CreateDIBSection(FImpl->Dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FImpl->Bitmap)
        return;
    FImpl->Bits = static_cast<std::uint32_t*>(bits);
    FImpl->Width = Width;
    FImpl->Height = Height;
    FImpl->Original = SelectObject(FImpl->Dc, FImpl->Bitmap);
    std::fill(FImpl->Bits, FImpl->Bits + std::ptrdiff_t(Width) * Height, 0xFFFFFFu);
}

TBitmapImage::~TBitmapImage()
{
    if (FImpl->Original)
        SelectObject(FImpl->Dc, FImpl->Original);
    if (FImpl->Bitmap)
        DeleteObject(FImpl->Bitmap);
    if (FImpl->Dc)
        DeleteDC(FImpl->Dc);
}

HDC win32::DcOf(const TBitmapImage& Image) { return Image.Impl().Dc; }

int TBitmapImage::Width() const { return FImpl->Width; }

int TBitmapImage::Height() const { return FImpl->Height; }

TRgb TBitmapImage::Pixel(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= FImpl->Width || Y >= FImpl->Height)
        return 0;
    GdiFlush(); // GDI may still hold drawing calls in its batch
    return RgbOfPixel(FImpl->Bits[std::ptrdiff_t(Y) * FImpl->Width + X]);
}

bool TBitmapImage::SavePng(const std::string& Path) const
{
    std::FILE* file = std::fopen(Path.c_str(), "wb");
    if (!file)
        return false;
    static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::fwrite(signature, 1, sizeof signature, file);
    TPngWriter png(file);
    std::vector<std::uint8_t> header;
    TPngWriter::Append32(header, std::uint32_t(Width()));
    TPngWriter::Append32(header, std::uint32_t(Height()));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    png.Chunk("IHDR", header);
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < Height(); ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < Width(); ++x) {
            const TRgb c = Pixel(x, y);
            raw.insert(raw.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
        }
    }
    png.Chunk("IDAT", Deflated(raw));
    png.Chunk("IEND", {});
    return std::fclose(file) == 0;
}

// ---------------------------------------------------------------------------------------------

struct TDrawContext::TImpl {
    explicit TImpl(TBitmapImage& T)
        : Target(T), Dc(T.Impl().Dc), Saved(SaveDC(Dc)), Bounds{0, 0, T.Width(), T.Height()},
          Clip(Bounds)
    {
        ::SetBkMode(Dc, OPAQUE);
        ::SetBkColor(Dc, BkColor);
        ::SetTextColor(Dc, TextColor);
        ::SetTextAlign(Dc, Align);
        MoveToEx(Dc, 0, 0, nullptr);
        ApplyPen();
        ApplyBrush();
    }

    ~TImpl()
    {
        RestoreDC(Dc, Saved);
        DeleteObject(PenHandle);
        DeleteObject(BrushHandle);
        if (FontHandle)
            DeleteObject(FontHandle);
    }

    void ApplyPen()
    {
        HPEN pen = CreatePenOf(Pen);
        SelectObject(Dc, pen);
        if (PenHandle)
            DeleteObject(PenHandle);
        PenHandle = pen;
        SetROP2(Dc, Rop2Of(Pen.Mode));
    }

    void ApplyBrush()
    {
        HBRUSH brush = CreateBrushOf(Brush);
        SelectObject(Dc, brush);
        if (BrushHandle)
            DeleteObject(BrushHandle);
        BrushHandle = brush;
    }

    TBitmapImage& Target;
    HDC Dc;
    int Saved;
    const TRect Bounds;
    TPenDesc Pen;
    TBrushDesc Brush;
    TFontDesc Font;
    TRgb TextColor = 0x000000;
    TRgb BkColor = 0xFFFFFF;
    TBkMode BkMode = TBkMode::Opaque;
    unsigned Align = Align::Left | Align::Top;
    bool Clipped = false;
    TRect Clip;
    HPEN PenHandle = nullptr;
    HBRUSH BrushHandle = nullptr;
    HFONT FontHandle = nullptr;
};

TDrawContext::TDrawContext(TBitmapImage& Target) : FImpl(std::make_unique<TImpl>(Target)) {}

TDrawContext::~TDrawContext() = default;

TBitmapImage& TDrawContext::Target() const { return FImpl->Target; }

void TDrawContext::SelectPen(const TPenDesc& Pen)
{
    FImpl->Pen = Pen;
    FImpl->ApplyPen();
}
const TPenDesc& TDrawContext::Pen() const { return FImpl->Pen; }
void TDrawContext::SelectBrush(const TBrushDesc& Brush)
{
    FImpl->Brush = Brush;
    FImpl->ApplyBrush();
}
const TBrushDesc& TDrawContext::Brush() const { return FImpl->Brush; }
void TDrawContext::SelectFont(const TFontDesc& Font)
{
    if (Font == FImpl->Font && FImpl->FontHandle)
        return;
    FImpl->Font = Font;
    HFONT font = win32::CreateFontOf(Font);
    SelectObject(FImpl->Dc, font);
    if (FImpl->FontHandle)
        DeleteObject(FImpl->FontHandle);
    FImpl->FontHandle = font;
}
const TFontDesc& TDrawContext::Font() const { return FImpl->Font; }
void TDrawContext::SetTextColor(TRgb Color)
{
    FImpl->TextColor = Color & 0xFFFFFF;
    ::SetTextColor(FImpl->Dc, FImpl->TextColor);
}
TRgb TDrawContext::TextColor() const { return FImpl->TextColor; }
void TDrawContext::SetBkColor(TRgb Color)
{
    FImpl->BkColor = Color & 0xFFFFFF;
    ::SetBkColor(FImpl->Dc, FImpl->BkColor);
}
TRgb TDrawContext::BkColor() const { return FImpl->BkColor; }
void TDrawContext::SetBkMode(TBkMode Mode)
{
    FImpl->BkMode = Mode;
    ::SetBkMode(FImpl->Dc, int(Mode));
}
TBkMode TDrawContext::BkMode() const { return FImpl->BkMode; }
void TDrawContext::SetTextAlign(unsigned Flags)
{
    FImpl->Align = Flags;
    ::SetTextAlign(FImpl->Dc, Flags);
}
unsigned TDrawContext::TextAlign() const { return FImpl->Align; }

void TDrawContext::MoveTo(int X, int Y) { MoveToEx(FImpl->Dc, X, Y, nullptr); }

TPoint TDrawContext::CurrentPosition() const
{
    POINT p{};
    GetCurrentPositionEx(FImpl->Dc, &p);
    return {int(p.x), int(p.y)};
}

void TDrawContext::LineTo(int X, int Y) { ::LineTo(FImpl->Dc, X, Y); }

void TDrawContext::Polyline(const TPoint* Points, int Count)
{
    if (Count < 2)
        return;
    const std::vector<POINT> points = PointsOf(Points, Count);
    ::Polyline(FImpl->Dc, points.data(), Count);
}

void TDrawContext::Rectangle(int X0, int Y0, int X1, int Y1)
{
    // All four corners of a 1 x 1 outline coincide: every side and the inside are empty.
    if (std::abs(X1 - X0) == 1 && std::abs(Y1 - Y0) == 1)
        return;
    ::Rectangle(FImpl->Dc, Near(X0), Near(Y0), Near(X1), Near(Y1));
}

void TDrawContext::FillRect(const TRect& R)
{
    // GDI would paint a rectangle given right to left mirrored; the contract paints nothing.
    if (IsEmpty(R) || FImpl->Brush.Style == TBrushStyle::Clear)
        return;
    const RECT r{Near(R.Left), Near(R.Top), Near(R.Right), Near(R.Bottom)};
    ::FillRect(FImpl->Dc, &r, FImpl->BrushHandle);
}

void TDrawContext::Ellipse(int X0, int Y0, int X1, int Y1)
{
    ::Ellipse(FImpl->Dc, Near(X0), Near(Y0), Near(X1), Near(Y1));
}

void TDrawContext::RoundRect(int X0, int Y0, int X1, int Y1, int CornerWidth, int CornerHeight)
{
    ::RoundRect(FImpl->Dc, Near(X0), Near(Y0), Near(X1), Near(Y1), CornerWidth, CornerHeight);
}

void TDrawContext::Polygon(const TPoint* Points, int Count)
{
    if (Count < 2)
        return;
    const std::vector<POINT> points = PointsOf(Points, Count);
    ::Polygon(FImpl->Dc, points.data(), Count);
}

void TDrawContext::Arc(const TRect& Bounds, TPoint Start, TPoint End)
{
    ::Arc(FImpl->Dc, Near(Bounds.Left), Near(Bounds.Top), Near(Bounds.Right), Near(Bounds.Bottom),
          Start.X, Start.Y, End.X, End.Y);
}

void TDrawContext::Pie(const TRect& Bounds, TPoint Start, TPoint End)
{
    ::Pie(FImpl->Dc, Near(Bounds.Left), Near(Bounds.Top), Near(Bounds.Right), Near(Bounds.Bottom),
          Start.X, Start.Y, End.X, End.Y);
}

void TDrawContext::SetPixel(int X, int Y, TRgb Color)
{
    SetPixelV(FImpl->Dc, X, Y, Color & 0xFFFFFF);
}

TRgb TDrawContext::GetPixel(int X, int Y) const
{
    const TRect& c = FImpl->Clip;
    if (X < c.Left || X >= c.Right || Y < c.Top || Y >= c.Bottom)
        return InvalidRgb;
    return FImpl->Target.Pixel(X, Y);
}

void TDrawContext::DrawFocusRect(const TRect& R)
{
    const RECT r{R.Left, R.Top, R.Right, R.Bottom};
    ::DrawFocusRect(FImpl->Dc, &r);
}

void TDrawContext::TextOut(int X, int Y, std::string_view Text)
{
    if (!FImpl->FontHandle)
        SelectFont(FImpl->Font);
    const std::wstring wide = win32::WideOf(Text);
    TextOutW(FImpl->Dc, X, Y, wide.data(), int(wide.size()));
}

TSize TDrawContext::TextExtent(std::string_view Text) const
{
    return TextMetrics().Extent(FImpl->Font, Text);
}

void TDrawContext::IntersectClipRect(const TRect& R)
{
    FImpl->Clip = raster::Intersect(FImpl->Clip, R);
    FImpl->Clipped = true;
    ::IntersectClipRect(FImpl->Dc, R.Left, R.Top, R.Right, R.Bottom);
}

void TDrawContext::RemoveClip()
{
    FImpl->Clip = FImpl->Bounds;
    FImpl->Clipped = false;
    SelectClipRgn(FImpl->Dc, nullptr);
}

bool TDrawContext::HasClip() const { return FImpl->Clipped; }

TRect TDrawContext::ClipBox() const { return FImpl->Clip; }

void TDrawContext::BitBlt(int X, int Y, const TBitmapImage& Source)
{
    ::BitBlt(FImpl->Dc, Near(X), Near(Y), Source.Width(), Source.Height(), Source.Impl().Dc, 0, 0, SRCCOPY);
}

void TDrawContext::StretchBlt(const TRect& Requested, const TBitmapImage& Source)
{
    const TRect Dest{Near(Requested.Left), Near(Requested.Top), Near(Requested.Right),
                     Near(Requested.Bottom)};
    if (IsEmpty(Dest) || Source.Width() == 0 || Source.Height() == 0)
        return;
    SetStretchBltMode(FImpl->Dc, COLORONCOLOR);
    ::StretchBlt(FImpl->Dc, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Source.Impl().Dc, 0,
                 0, Source.Width(), Source.Height(), SRCCOPY);
}

TRgb TDrawContext::NearestColor(TRgb Color) const
{
    return GetNearestColor(FImpl->Dc, Color & 0xFFFFFF);
}

} // namespace platform

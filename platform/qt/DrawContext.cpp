// The drawing context over a Qt image: lines and plain fills go to our own rasteriser for
// exact and fast pixels, text and curved shapes to QPainter with antialiasing off.
#include "platform/DrawContext.h"

#include "platform/qt/QtBridge.h"
#include "platform/Raster.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace platform {
namespace {

QColor QColorOf(TRgb Color)
{
    return QColor(int(Color & 0xFF), int((Color >> 8) & 0xFF), int((Color >> 16) & 0xFF));
}

QPainter::CompositionMode CompositionOf(TPenMode Mode)
{
    switch (Mode) {
    case TPenMode::Xor: return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::NotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case TPenMode::Not: return QPainter::RasterOp_NotDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

Qt::BrushStyle QtBrushStyleOf(TBrushStyle Style)
{
    switch (Style) {
    case TBrushStyle::Solid: return Qt::SolidPattern;
    case TBrushStyle::Clear: return Qt::NoBrush;
    case TBrushStyle::Horizontal: return Qt::HorPattern;
    case TBrushStyle::Vertical: return Qt::VerPattern;
    case TBrushStyle::FDiagonal: return Qt::FDiagPattern;
    case TBrushStyle::BDiagonal: return Qt::BDiagPattern;
    case TBrushStyle::Cross: return Qt::CrossPattern;
    case TBrushStyle::DiagCross: return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

Qt::PenStyle QtPenStyleOf(TPenStyle Style)
{
    switch (Style) {
    case TPenStyle::Dash: return Qt::DashLine;
    case TPenStyle::Dot:
    case TPenStyle::Alternate: return Qt::DotLine;
    case TPenStyle::DashDot: return Qt::DashDotLine;
    case TPenStyle::DashDotDot: return Qt::DashDotDotLine;
    case TPenStyle::Clear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

bool IsEmpty(const TRect& R) { return R.Left >= R.Right || R.Top >= R.Bottom; }

// Pens and shapes beyond these cover any image there is, and stay clear of overflow.
constexpr int kWidestPen = 1 << 20;
constexpr int kFarthest = 1 << 27;

int Near(int Coordinate) { return std::clamp(Coordinate, -kFarthest, kFarthest); }
TRect Near(const TRect& R) { return {Near(R.Left), Near(R.Top), Near(R.Right), Near(R.Bottom)}; }

QRect QRectOf(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

// The path through the centres of the outermost pixels of R, so that a 1-pixel outline covers
// the columns Left..Right-1 and rows Top..Bottom-1 as the rectangle's does.
QRectF PenPathOf(const TRect& R)
{
    return QRectF(R.Left + 0.5, R.Top + 0.5, R.Width() - 1, R.Height() - 1);
}

double AngleOf(TPoint P, double CenterX, double CenterY)
{
    return std::atan2(-(P.Y - CenterY), P.X - CenterX) * 180.0 / M_PI;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TBitmapImage::TBitmapImage(int Width, int Height) : FImpl(std::make_unique<TImpl>())
{
    FImpl->Image = QImage(std::max(0, Width), std::max(0, Height), QImage::Format_RGB32);
    FImpl->Image.fill(Qt::white);
}

TBitmapImage::~TBitmapImage() = default;

int TBitmapImage::Width() const { return FImpl->Image.width(); }

int TBitmapImage::Height() const { return FImpl->Image.height(); }

TRgb TBitmapImage::Pixel(int X, int Y) const
{
    const QImage& image = FImpl->Image;
    if (X < 0 || Y < 0 || X >= image.width() || Y >= image.height())
        return 0;
    return raster::RgbOf(reinterpret_cast<const std::uint32_t*>(image.constScanLine(Y))[X]);
}

bool TBitmapImage::SavePng(const std::string& Path) const
{
    return FImpl->Image.save(QString::fromStdString(Path), "PNG");
}

// ---------------------------------------------------------------------------------------------

struct TDrawContext::TImpl {
    // The image keeps its size for the context's life: its bounds and row stride are read once.
    explicit TImpl(TBitmapImage& T)
        : Target(T), Bounds{0, 0, T.Width(), T.Height()},
          Stride(QImageOf(T).bytesPerLine() / 4), Clip(Bounds)
    {
        UpdateStroke();
    }

    TBitmapImage& Target;
    const TRect Bounds;
    const std::ptrdiff_t Stride;
    TPenDesc Pen;
    TBrushDesc Brush;
    TFontDesc Font;
    TRgb TextColor = 0x000000;
    TRgb BkColor = 0xFFFFFF;
    TBkMode BkMode = TBkMode::Opaque;
    unsigned Align = Align::Left | Align::Top;
    TPoint Position;
    bool Clipped = false;
    TRect Clip;        // the clip within the image (the whole image without one)
    bool Draws = true; // the pen draws something
    raster::TStroke Stroke;
    std::optional<QFont> QtFont; // Font made ready for drawing, on first use

    // Lines are drawn one by one through LineTo, so this is kept cheap: the pixels are asked
    // for each time (that is where a shared image would be detached), the rest is kept.
    raster::TSurface Surface() const
    {
        raster::TSurface s;
        s.Bits = reinterpret_cast<std::uint32_t*>(QImageOf(Target).bits());
        s.Stride = Stride;
        s.Clip = Clip;
        return s;
    }

    // The stroke of the current pen, kept up to date by everything it depends on. Styled pens
    // wider than one pixel draw solid, as the classic platform creates them.
    void UpdateStroke()
    {
        raster::TStroke& K = Stroke;
        K = {};
        Draws = Pen.Style != TPenStyle::Clear;
        K.Pixel = raster::PixelOf(Pen.Color);
        K.Mode = Pen.Mode;
        K.Width = std::clamp(Pen.Width, 1, kWidestPen);
        switch (Pen.Style) {
        case TPenStyle::Dash:
        case TPenStyle::Dot:
        case TPenStyle::DashDot:
        case TPenStyle::DashDotDot:
            if (K.Width == 1)
                K.Dashes = &raster::DashPattern(Pen.Style);
            break;
        case TPenStyle::Alternate:
            K.Width = 1;
            K.Dashes = &raster::DashPattern(Pen.Style);
            break;
        default: break;
        }
        if (K.Dashes && BkMode == TBkMode::Opaque) {
            K.OpaqueGaps = true;
            K.GapPixel = raster::PixelOf(BkColor);
        }
    }

    // The stroke of the current pen; false for a pen that draws nothing.
    bool PenStroke(raster::TStroke& K) const
    {
        K = Stroke;
        return Draws;
    }

    void FillWithBrush(const raster::TSurface& S, const TRect& R, TPenMode Mode) const
    {
        if (IsEmpty(R))
            return;
        if (Brush.Style == TBrushStyle::Solid)
            raster::FillRect(S, R, raster::PixelOf(Brush.Color), Mode);
        else if (Brush.Style != TBrushStyle::Clear)
            raster::HatchRect(S, R, Brush.Style, raster::PixelOf(Brush.Color),
                              BkMode == TBkMode::Opaque, raster::PixelOf(BkColor), Mode);
    }

    // A painter for the shapes left to the drawing library, or nothing when all is clipped.
    bool BeginPainter(QPainter& P) const
    {
        const TRect clip = Clip;
        if (IsEmpty(clip))
            return false;
        P.begin(&QImageOf(Target));
        P.setRenderHint(QPainter::Antialiasing, false);
        P.setRenderHint(QPainter::TextAntialiasing, false);
        P.setClipRect(QRectOf(clip));
        return true;
    }

    void SetShapeTools(QPainter& P, bool WithPen) const
    {
        P.setCompositionMode(CompositionOf(Pen.Mode));
        if (WithPen && Pen.Style != TPenStyle::Clear) {
            QPen pen(QColorOf(Pen.Color));
            pen.setWidth(Pen.Style == TPenStyle::Alternate ? 1 : std::max(1, Pen.Width));
            pen.setStyle(QtPenStyleOf(Pen.Style));
            pen.setCapStyle(Qt::FlatCap);
            pen.setJoinStyle(Qt::MiterJoin);
            P.setPen(pen);
        } else {
            P.setPen(Qt::NoPen);
        }
        P.setBrush(QBrush(QColorOf(Brush.Color), QtBrushStyleOf(Brush.Style)));
        P.setBackgroundMode(BkMode == TBkMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
        P.setBackground(QColorOf(BkColor));
    }

    // Draws the closed outline through Points with the rasteriser, as one polyline.
    void Outline(const TPoint* Points, int Count) const
    {
        raster::TStroke k;
        if (Count < 2 || !PenStroke(k))
            return;
        std::vector<TPoint> closed(Points, Points + Count);
        closed.push_back(Points[0]);
        raster::DrawPolyline(Surface(), k, closed.data(), int(closed.size()));
    }
};

TDrawContext::TDrawContext(TBitmapImage& Target) : FImpl(std::make_unique<TImpl>(Target)) {}

TDrawContext::~TDrawContext() = default;

TBitmapImage& TDrawContext::Target() const { return FImpl->Target; }

void TDrawContext::SelectPen(const TPenDesc& Pen)
{
    FImpl->Pen = Pen;
    FImpl->UpdateStroke();
}
const TPenDesc& TDrawContext::Pen() const { return FImpl->Pen; }
void TDrawContext::SelectBrush(const TBrushDesc& Brush) { FImpl->Brush = Brush; }
const TBrushDesc& TDrawContext::Brush() const { return FImpl->Brush; }
void TDrawContext::SelectFont(const TFontDesc& Font)
{
    if (Font == FImpl->Font)
        return;
    FImpl->Font = Font;
    FImpl->QtFont.reset();
}
const TFontDesc& TDrawContext::Font() const { return FImpl->Font; }
void TDrawContext::SetTextColor(TRgb Color) { FImpl->TextColor = Color & 0xFFFFFF; }
TRgb TDrawContext::TextColor() const { return FImpl->TextColor; }
void TDrawContext::SetBkColor(TRgb Color)
{
    FImpl->BkColor = Color & 0xFFFFFF;
    FImpl->UpdateStroke();
}
TRgb TDrawContext::BkColor() const { return FImpl->BkColor; }
void TDrawContext::SetBkMode(TBkMode Mode)
{
    FImpl->BkMode = Mode;
    FImpl->UpdateStroke();
}
TBkMode TDrawContext::BkMode() const { return FImpl->BkMode; }
void TDrawContext::SetTextAlign(unsigned Flags) { FImpl->Align = Flags; }
unsigned TDrawContext::TextAlign() const { return FImpl->Align; }

void TDrawContext::MoveTo(int X, int Y) { FImpl->Position = {X, Y}; }

TPoint TDrawContext::CurrentPosition() const { return FImpl->Position; }

void TDrawContext::LineTo(int X, int Y)
{
    if (FImpl->Position == TPoint{X, Y})
        return;
    raster::TStroke k;
    if (FImpl->PenStroke(k))
        raster::DrawLine(FImpl->Surface(), k, FImpl->Position, {X, Y}, 0);
    FImpl->Position = {X, Y};
}

void TDrawContext::Polyline(const TPoint* Points, int Count)
{
    raster::TStroke k;
    if (FImpl->PenStroke(k))
        raster::DrawPolyline(FImpl->Surface(), k, Points, Count);
}

void TDrawContext::Rectangle(int X0, int Y0, int X1, int Y1)
{
    X0 = Near(X0), Y0 = Near(Y0), X1 = Near(X1), Y1 = Near(Y1);
    if (X0 > X1)
        std::swap(X0, X1);
    if (Y0 > Y1)
        std::swap(Y0, Y1);
    // All four corners of the outline coincide: every side and the inside are empty.
    if (X1 - X0 == 1 && Y1 - Y0 == 1)
        return;
    const raster::TSurface s = FImpl->Surface();
    raster::TStroke k;
    if (!FImpl->PenStroke(k)) {
        // Without a pen the classic platform fills one pixel less each way.
        FImpl->FillWithBrush(s, {X0, Y0, X1 - 1, Y1 - 1}, FImpl->Pen.Mode);
        return;
    }
    if (k.Dashes) {
        FImpl->FillWithBrush(s, {X0 + 1, Y0 + 1, X1 - 1, Y1 - 1}, FImpl->Pen.Mode);
        // From the top right corner anticlockwise, the way the pattern runs on the platform.
        const TPoint corners[] = {{X1 - 1, Y0}, {X0, Y0}, {X0, Y1 - 1}, {X1 - 1, Y1 - 1}};
        FImpl->Outline(corners, 4);
        return;
    }
    // A solid frame w pixels thick, centred on the outline as lines are (inside the bounds
    // for InsideFrame), and the brush inside it.
    const int w = k.Width;
    const int lo = FImpl->Pen.Style == TPenStyle::InsideFrame ? 0 : w / 2;
    const TRect outer = FImpl->Pen.Style == TPenStyle::InsideFrame
                            ? TRect{X0, Y0, X1, Y1}
                            : TRect{X0 - lo, Y0 - lo, X1 - 1 - lo + w, Y1 - 1 - lo + w};
    if (IsEmpty(outer))
        return;
    FImpl->FillWithBrush(s, {outer.Left + w, outer.Top + w, outer.Right - w, outer.Bottom - w},
                         FImpl->Pen.Mode);
    const int topEnd = std::min(outer.Top + w, outer.Bottom);
    const int bottomStart = std::max(outer.Bottom - w, topEnd);
    const int leftEnd = std::min(outer.Left + w, outer.Right);
    const int rightStart = std::max(outer.Right - w, leftEnd);
    raster::FillRect(s, {outer.Left, outer.Top, outer.Right, topEnd}, k.Pixel, k.Mode);
    raster::FillRect(s, {outer.Left, bottomStart, outer.Right, outer.Bottom}, k.Pixel, k.Mode);
    raster::FillRect(s, {outer.Left, topEnd, leftEnd, bottomStart}, k.Pixel, k.Mode);
    raster::FillRect(s, {rightStart, topEnd, outer.Right, bottomStart}, k.Pixel, k.Mode);
}

void TDrawContext::FillRect(const TRect& R)
{
    FImpl->FillWithBrush(FImpl->Surface(), R, TPenMode::Copy);
}

void TDrawContext::Ellipse(int X0, int Y0, int X1, int Y1)
{
    QPainter p;
    if (!FImpl->BeginPainter(p))
        return;
    FImpl->SetShapeTools(p, true);
    p.drawEllipse(PenPathOf(Near(TRect{X0, Y0, X1, Y1})));
}

void TDrawContext::RoundRect(int X0, int Y0, int X1, int Y1, int CornerWidth, int CornerHeight)
{
    QPainter p;
    if (!FImpl->BeginPainter(p))
        return;
    FImpl->SetShapeTools(p, true);
    const TRect r = Near(TRect{X0, Y0, X1, Y1});
    p.drawRoundedRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1), CornerWidth / 2.0,
                      CornerHeight / 2.0, Qt::AbsoluteSize);
}

void TDrawContext::Polygon(const TPoint* Points, int Count)
{
    if (Count < 2)
        return;
    QPainter p;
    if (FImpl->BeginPainter(p)) {
        FImpl->SetShapeTools(p, false);
        QPolygon polygon;
        for (int i = 0; i < Count; ++i)
            polygon << QPoint(Points[i].X, Points[i].Y);
        p.drawPolygon(polygon, Qt::OddEvenFill);
        p.end();
    }
    FImpl->Outline(Points, Count);
}

namespace {

// Start and span in sixteenths of a degree, counter-clockwise from Start to End.
std::pair<int, int> ArcAngles(const TRect& Bounds, TPoint Start, TPoint End)
{
    const double cx = (double(Bounds.Left) + Bounds.Right) / 2.0;
    const double cy = (double(Bounds.Top) + Bounds.Bottom) / 2.0;
    const double a0 = AngleOf(Start, cx, cy);
    double span = AngleOf(End, cx, cy) - a0;
    while (span <= 0)
        span += 360;
    return {int(std::lround(a0 * 16)), int(std::lround(span * 16))};
}

} // namespace

void TDrawContext::Arc(const TRect& Bounds, TPoint Start, TPoint End)
{
    QPainter p;
    if (!FImpl->BeginPainter(p))
        return;
    FImpl->SetShapeTools(p, true);
    const auto [start, span] = ArcAngles(Bounds, Start, End);
    p.drawArc(PenPathOf(Near(Bounds)), start, span);
}

void TDrawContext::Pie(const TRect& Bounds, TPoint Start, TPoint End)
{
    QPainter p;
    if (!FImpl->BeginPainter(p))
        return;
    FImpl->SetShapeTools(p, true);
    const auto [start, span] = ArcAngles(Bounds, Start, End);
    p.drawPie(PenPathOf(Near(Bounds)), start, span);
}

void TDrawContext::SetPixel(int X, int Y, TRgb Color)
{
    const raster::TSurface s = FImpl->Surface();
    const TRect& c = s.Clip;
    if (s.Bits && X >= c.Left && X < c.Right && Y >= c.Top && Y < c.Bottom)
        s.Bits[std::ptrdiff_t(Y) * s.Stride + X] = raster::PixelOf(Color);
}

TRgb TDrawContext::GetPixel(int X, int Y) const
{
    const TRect c = FImpl->Clip;
    if (X < c.Left || X >= c.Right || Y < c.Top || Y >= c.Bottom)
        return InvalidRgb;
    return FImpl->Target.Pixel(X, Y);
}

void TDrawContext::DrawFocusRect(const TRect& R)
{
    raster::InvertDottedFrame(FImpl->Surface(), R);
}

void TDrawContext::TextOut(int X, int Y, std::string_view Text)
{
    const TTextMetrics& metrics = TextMetrics();
    const TSize extent = metrics.Extent(FImpl->Font, Text);
    const int ascent = metrics.Ascent(FImpl->Font);
    const unsigned align = FImpl->Align;
    int left = 0, top = 0;
    if ((align & Align::Center) == Align::Center)
        left = -extent.cx / 2;
    else if (align & Align::Right)
        left = -extent.cx;
    if ((align & Align::Baseline) == Align::Baseline)
        top = -ascent;
    else if (align & Align::Bottom)
        top = -extent.cy;

    QPainter p;
    if (!FontsAvailable() || !FImpl->BeginPainter(p))
        return;
    p.translate(X, Y);
    if (FImpl->Font.Escapement != 0)
        p.rotate(-FImpl->Font.Escapement / 10.0);
    if (FImpl->BkMode == TBkMode::Opaque)
        p.fillRect(QRect(left, top, extent.cx, extent.cy), QColorOf(FImpl->BkColor));
    if (!FImpl->QtFont)
        FImpl->QtFont = QFontOf(FImpl->Font);
    p.setFont(*FImpl->QtFont);
    p.setPen(QColorOf(FImpl->TextColor));
    p.drawText(QPoint(left, top + ascent), QStringOf(Text));
}

TSize TDrawContext::TextExtent(std::string_view Text) const
{
    return TextMetrics().Extent(FImpl->Font, Text);
}

void TDrawContext::IntersectClipRect(const TRect& R)
{
    FImpl->Clip = raster::Intersect(FImpl->Clip, R);
    FImpl->Clipped = true;
}

void TDrawContext::RemoveClip()
{
    FImpl->Clip = FImpl->Bounds;
    FImpl->Clipped = false;
}

bool TDrawContext::HasClip() const { return FImpl->Clipped; }

TRect TDrawContext::ClipBox() const { return FImpl->Clip; }

void TDrawContext::BitBlt(int X, int Y, const TBitmapImage& Source)
{
    X = Near(X), Y = Near(Y);
    const raster::TSurface s = FImpl->Surface();
    const TRect dest =
        raster::Intersect({X, Y, X + Source.Width(), Y + Source.Height()}, s.Clip);
    if (!s.Bits || IsEmpty(dest))
        return;
    const QImage& source = QImageOf(Source);
    for (int y = dest.Top; y < dest.Bottom; ++y) {
        const auto* from =
            reinterpret_cast<const std::uint32_t*>(source.constScanLine(y - Y)) + (dest.Left - X);
        std::copy(from, from + dest.Width(), s.Bits + std::ptrdiff_t(y) * s.Stride + dest.Left);
    }
}

void TDrawContext::StretchBlt(const TRect& Requested, const TBitmapImage& Source)
{
    const TRect Dest = Near(Requested);
    if (IsEmpty(Dest) || Source.Width() == 0 || Source.Height() == 0)
        return;
    QPainter p;
    if (!FImpl->BeginPainter(p))
        return;
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRectOf(Dest), QImageOf(Source));
}

TRgb TDrawContext::NearestColor(TRgb Color) const { return Color & 0xFFFFFF; }

} // namespace platform

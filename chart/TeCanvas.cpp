#include "chart/TeCanvas.h"

#include "framework/ExtCtrls.h"
#include "framework/Property.h"

#include <algorithm>
#include <cmath>
#include <utility>

// ---------------------------------------------------------------------------------------------
// Pens and brushes

TChartPen::TChartPen(TNotifyEvent OnChange)
{
    this->OnChange = std::move(OnChange);
}

void TChartPen::SetVisible(bool Value)
{
    SetProperty(FVisible, Value, [this] { Changed(); });
}

void TChartPen::SetSmallDots(bool Value)
{
    SetProperty(FSmallDots, Value, [this] { Changed(); });
}

void TChartPen::Assign(const TChartPen& Source)
{
    FVisible = Source.FVisible;
    FSmallDots = Source.FSmallDots;
    TPen::Assign(Source);
}

TChartHiddenPen::TChartHiddenPen(TNotifyEvent OnChange)
{
    SetVisible(false);
    this->OnChange = std::move(OnChange);
}

TDottedGrayPen::TDottedGrayPen(TNotifyEvent OnChange)
{
    SetColor(0x808080);
    SetStyle(psDot);
    this->OnChange = std::move(OnChange);
}

TDarkGrayPen::TDarkGrayPen(TNotifyEvent OnChange)
{
    SetColor(0x808080);
    this->OnChange = std::move(OnChange);
}

TChartAxisPen::TChartAxisPen(TNotifyEvent OnChange)
{
    SetWidth(2);
    this->OnChange = std::move(OnChange);
}

TChartArrowPen::TChartArrowPen(TNotifyEvent OnChange)
{
    SetColor(0xFFFFFF);
    this->OnChange = std::move(OnChange);
}

TChartBrush::TChartBrush(TNotifyEvent OnChange)
{
    SetColor(clDefault);
    this->OnChange = std::move(OnChange);
}

void SetChartDefaultFont(TFont& Font)
{
    Font.SetName("Arial");
    Font.SetSize(8);
    Font.SetColor(clBlack);
}

TColor DarkenColor(TColor Color, int Amount)
{
    const TColor rgb = ColorToRGB(Color);
    const auto darken = [Amount](int c) { return std::uint8_t(c > Amount ? c - Amount : 0); };
    return RgbColor(darken(RedOf(rgb)), darken(GreenOf(rgb)), darken(BlueOf(rgb)));
}

// ---------------------------------------------------------------------------------------------
// Flat canvas

TTeeCanvas::TTeeCanvas() : FIdleCanvas(std::make_unique<TCanvas>())
{
    FCanvas = FIdleCanvas.get();
}

TTeeCanvas::~TTeeCanvas() = default;

void TTeeCanvas::SetCanvas(TCanvas* Canvas)
{
    FCanvas = Canvas ? Canvas : FIdleCanvas.get();
}

TColor TTeeCanvas::BackColor() const
{
    return Handle() ? Handle()->BkColor() : clWhite;
}

platform::TBkMode TTeeCanvas::BackMode() const
{
    return Handle() ? Handle()->BkMode() : platform::TBkMode::Opaque;
}

unsigned TTeeCanvas::TextAlign() const
{
    return Handle() ? Handle()->TextAlign() : platform::Align::Left | platform::Align::Top;
}

void TTeeCanvas::SetBackColor(TColor Color)
{
    if (Handle())
        Handle()->SetBkColor(ColorToRGB(Color));
}

void TTeeCanvas::SetBackMode(platform::TBkMode Mode)
{
    if (Handle())
        Handle()->SetBkMode(Mode);
}

void TTeeCanvas::SetPixel(int X, int Y, TColor Color)
{
    FCanvas->SetPixels(X, Y, Color);
}

void TTeeCanvas::SetTextAlign(unsigned Align)
{
    if (Handle())
        Handle()->SetTextAlign(Align);
}

void TTeeCanvas::Arc(const TRect& Bounds, TPoint Start, TPoint End)
{
    FCanvas->Arc(Bounds, Start, End);
}

void TTeeCanvas::Draw(int X, int Y, const TBitmap* Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    SetBackColor(Brush()->Color());
    if (Handle())
        Handle()->SetTextColor(ColorToRGB(Font()->Color()));
    FCanvas->Draw(X, Y, Graphic);
}

void TTeeCanvas::Ellipse(int X0, int Y0, int X1, int Y1)
{
    FCanvas->Ellipse(X0, Y0, X1, Y1);
}

void TTeeCanvas::FillRect(const TRect& Rect)
{
    FCanvas->FillRect(Rect);
}

void TTeeCanvas::BevelFrame(const TRect& Rect, TColor TopColor, int Width, TColor BottomColor)
{
    TRect r = Rect;
    Frame3D(*FCanvas, r, TopColor, BottomColor, Width);
}

void TTeeCanvas::LineTo(int X, int Y)
{
    FCanvas->LineTo(X, Y);
}

void TTeeCanvas::MoveTo(int X, int Y)
{
    FCanvas->MoveTo(X, Y);
}

void TTeeCanvas::Pie(const TRect& Bounds, TPoint Start, TPoint End)
{
    FCanvas->Pie(Bounds, Start, End);
}

void TTeeCanvas::Rectangle(int X0, int Y0, int X1, int Y1)
{
    FCanvas->Rectangle(X0, Y0, X1, Y1);
}

void TTeeCanvas::RoundRect(int X0, int Y0, int X1, int Y1, int CornerWidth, int CornerHeight)
{
    FCanvas->RoundRect(X0, Y0, X1, Y1, CornerWidth, CornerHeight);
}

void TTeeCanvas::StretchDraw(const TRect& Rect, const TBitmap* Graphic)
{
    if (Graphic)
        FCanvas->StretchDraw(Rect, Graphic);
}

void TTeeCanvas::TextOut(int X, int Y, std::string_view Text)
{
    // The framework canvas writes in its font's colour.
    FCanvas->TextOut(X, Y, Text);
}

int TTeeCanvas::TextWidth(std::string_view Text)
{
    return FCanvas->TextWidth(Text);
}

int TTeeCanvas::TextHeight(std::string_view Text)
{
    return FCanvas->TextHeight(Text);
}

void TTeeCanvas::ResetState()
{
    Pen()->SetColor(clBlack);
    Pen()->SetWidth(1);
    Pen()->SetStyle(psSolid);
    Brush()->SetColor(clWhite);
    Brush()->SetStyle(bsSolid);
    Font()->SetColor(clBlack);
    Font()->SetSize(10);
    SetBackColor(clWhite);
    SetBackMode(platform::TBkMode::Transparent);
}

void TTeeCanvas::ApplyPen(const TChartPen& Pen)
{
    TPen* p = this->Pen();
    if (!Pen.Visible()) {
        p->SetStyle(psClear);
    } else if (Pen.SmallDots() && Pen.Width() == 1) {
        p->SetColor(Pen.Color());
        p->SetWidth(1);
        p->SetStyle(psAlternate);
        p->SetMode(pmCopy);
    } else {
        p->Assign(Pen);
    }
}

// ---------------------------------------------------------------------------------------------
// The chart's canvas

TTeeCanvas3D::TTeeCanvas3D() = default;

TTeeCanvas3D::~TTeeCanvas3D() = default;

void TTeeCanvas3D::SetMonochrome(bool Value)
{
    if (!StoreChanged(FMonochrome, Value))
        return;
    FBitmap.reset();
    FDirty = true;
    if (FView3DOptions)
        FView3DOptions->Repaint();
}

void TTeeCanvas3D::SetBuffered(bool Value)
{
    FBuffered = Value;
    if (!Value) {
        if (FCanvas == (FBitmap ? FBitmap->Canvas() : nullptr))
            SetCanvas(FWindow);
        FBitmap.reset();
        FDirty = true;
    }
}

void TTeeCanvas3D::ClipToRect(const TRect& Rect)
{
    FCanvas->IntersectClipRect(Rect);
}

void TTeeCanvas3D::HorizLine(int X0, int X1, int Y)
{
    MoveTo(X0, Y);
    LineTo(X1, Y);
}

void TTeeCanvas3D::DrawRect(const TRect& Rect)
{
    Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
}

void TTeeCanvas3D::VertLine(int X, int Y0, int Y1)
{
    MoveTo(X, Y0);
    LineTo(X, Y1);
}

void TTeeCanvas3D::EraseRect(const TRect& Rect)
{
    FillRect(Rect);
}

void TTeeCanvas3D::GradientFill(const TRect& Rect, TColor StartColor, TColor EndColor,
                                TGradientDirection Direction)
{
    if (Direction != gdTopBottom && Direction != gdLeftRight)
        std::swap(StartColor, EndColor);
    const TColor a = ColorToRGB(StartColor);
    const TColor b = ColorToRGB(EndColor);
    TRect r = Rect;
    if (r.Left > r.Right)
        std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom)
        std::swap(r.Top, r.Bottom);
    const int w = r.Width();
    const int h = r.Height();
    const TBrushStyle oldStyle = Brush()->Style();
    const TColor oldColor = Brush()->Color();
    Brush()->SetStyle(bsSolid);
    const auto fill = [&](TColor c, const TRect& band) {
        Brush()->SetColor(c);
        FillRect(band);
    };
    switch (Direction) {
    case gdTopBottom:
    case gdBottomTop:
    case gdLeftRight:
    case gdRightLeft: {
        const bool vertical = Direction == gdTopBottom || Direction == gdBottomTop;
        const int size = vertical ? h : w;
        const int bands = std::min(size, 256);
        const auto edge = [&](int k) { return int(std::lround(double(k) * size / bands)); };
        for (int k = 0; k < bands; ++k) {
            const TColor c = ColorStep(a, b, k, bands - 1);
            if (vertical)
                fill(c, {r.Left, r.Bottom - edge(k + 1), r.Right, r.Bottom - edge(k)});
            else
                fill(c, {r.Right - edge(k + 1), r.Top, r.Right - edge(k), r.Bottom});
        }
        break;
    }
    case gdFromCenter: {
        const int hw = w / 2, hh = h / 2, n = hw + hh;
        // The row step a and the column step b advance together, each stopping at its half.
        for (int ai = 0, bi = 0; ai < hh || bi < hw;) {
            const TColor c = ColorStep(a, b, ai + bi, n);
            fill(c, {r.Left + bi, r.Top + ai, r.Left + bi + 1, r.Bottom - ai});
            fill(c, {r.Right - bi - 1, r.Top + ai, r.Right - bi, r.Bottom - ai});
            fill(c, {r.Left + bi, r.Top + ai, r.Right - bi, r.Top + ai + 1});
            fill(c, {r.Left + bi, r.Bottom - ai - 1, r.Right - bi, r.Bottom - ai});
            if (ai < hh)
                ++ai;
            if (bi < hw)
                ++bi;
        }
        break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
        // Diagonal sweep: one pixel column at a time, each row its own step.
        const int n = w + h;
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y) {
                const int row = Direction == gdFromTopLeft ? y : h - 1 - y;
                fill(ColorStep(a, b, x + row, n), {r.Left + x, r.Top + y, r.Left + x + 1, r.Top + y + 1});
            }
        break;
    }
    }
    Brush()->SetColor(oldColor);
    Brush()->SetStyle(oldStyle);
}

void TTeeCanvas3D::Line(int X0, int Y0, int X1, int Y1)
{
    MoveTo(X0, Y0);
    LineTo(X1, Y1);
}

void TTeeCanvas3D::Polygon(const std::vector<TPoint>& Points)
{
    FCanvas->Polygon(Points.data(), static_cast<int>(Points.size()));
}

void TTeeCanvas3D::RotatedText(int X, int Y, std::string_view Text, int Angle)
{
    Brush()->SetStyle(bsClear);
    if (Angle > 360)
        Angle -= 360;
    platform::TDrawContext* dc = Handle();
    if (!dc)
        return;
    // A font made for this one text: the canvas font turned by the angle (tenths of a degree).
    platform::TFontDesc desc = Font()->Desc();
    desc.Escapement = Angle * 10;
    if (FZoomText && FZoomFactor != 1.0)
        desc.Height = -std::max(1, int(std::lround(Font()->Size() * FZoomFactor))) *
                      Font()->PixelsPerInch() / 72;
    const platform::TFontDesc previous = dc->Font();
    dc->SelectFont(desc);
    dc->SetTextColor(ColorToRGB(Font()->Color()));
    dc->SetBkMode(platform::TBkMode::Transparent);
    dc->TextOut(X, Y, Text);
    dc->SelectFont(previous);
}

void TTeeCanvas3D::RemoveClip()
{
    FCanvas->RemoveClip();
}

void TTeeCanvas3D::SetPixelAtZ(int X, int Y, int Z, TColor Color)
{
    const TPoint p = Project3D(X, Y, Z);
    SetPixel(p.X, p.Y, Color);
}

void TTeeCanvas3D::Unproject(int&, int&, int) const
{
    // Chart space and screen coincide in two dimensions; 3-D views are not drawn.
}

TPoint TTeeCanvas3D::Project3D(int X, int Y, int) const
{
    return {X, Y};
}

TRect TTeeCanvas3D::PrepareSurface(TCanvas& Window, const TView3DOptions* Options, TColor,
                                   bool Is3D, const TRect& Bounds)
{
    FBounds = Bounds;
    FView3DOptions = Options;
    FIs3D = Is3D;
    FIsOrthogonal = false;
    FZoomFactor = 1.0;
    if (FIs3D && Options) {
        FIsOrthogonal = Options->Orthogonal();
        FZoomFactor = Options->Zoom() * 0.01;
        FZoomText = Options->ZoomText();
    }
    FWindow = &Window;
    if (!FBuffered) {
        SetCanvas(&Window);
        return Bounds;
    }
    const int w = Bounds.Width();
    const int h = Bounds.Height();
    if (!FBitmap || FBitmap->Width() != w || FBitmap->Height() != h)
        FBitmap = std::make_unique<TBitmap>(w, h);
    SetCanvas(FBitmap->Canvas());
    // A clip left over from an interrupted paint must not limit this one.
    RemoveClip();
    return {0, 0, w, h};
}

void TTeeCanvas3D::Assign(const TCanvas3D& Source)
{
    SetMonochrome(Source.Monochrome());
}

void TTeeCanvas3D::SetProjection(int MaxDepth, const TRect&, const TRect& ChartRect)
{
    FXCenter = (ChartRect.Left + ChartRect.Right) / 2;
    FYCenter = (ChartRect.Top + ChartRect.Bottom) / 2;
    FZCenter = MaxDepth / 2;
    FXCenterOffset = FXCenter + (FView3DOptions ? FView3DOptions->HorizOffset() : 0);
    FYCenterOffset = FYCenter + (FView3DOptions ? FView3DOptions->VertOffset() : 0);
}

void TTeeCanvas3D::PresentImage(TCanvas& Target, const TRect& Rect)
{
    if (FBuffered && FBitmap) {
        Target.Draw(Rect.Left, Rect.Top, FBitmap.get());
        FDirty = false;
    }
    SetCanvas(&Target);
}

bool TTeeCanvas3D::RepaintFromBuffer()
{
    if (FDirty || !FBitmap)
        return false;
    FCanvas->Draw(0, 0, FBitmap.get());
    return true;
}

void TTeeCanvas3D::ClipToPlotArea(const TRect& Rect, int, int)
{
    ClipToRect({Rect.Left + 1, Rect.Top + 1, Rect.Right, Rect.Bottom - 1});
}

void TTeeCanvas3D::HorizLineAtZ(int X0, int X1, int Y, int Z)
{
    LineAtZ(X0, Y, X1, Y, Z);
}

void TTeeCanvas3D::VertLineAtZ(int X, int Y0, int Y1, int Z)
{
    LineAtZ(X, Y0, X, Y1, Z);
}

void TTeeCanvas3D::LineAtZ(int X0, int Y0, int X1, int Y1, int Z)
{
    const TPoint a = Project3D(X0, Y0, Z);
    const TPoint b = Project3D(X1, Y1, Z);
    Line(a.X, a.Y, b.X, b.Y);
}

void TTeeCanvas3D::MoveToAtZ(int X, int Y, int Z)
{
    const TPoint p = Project3D(X, Y, Z);
    MoveTo(p.X, p.Y);
}

void TTeeCanvas3D::LineToAtZ(int X, int Y, int Z)
{
    const TPoint p = Project3D(X, Y, Z);
    LineTo(p.X, p.Y);
}

void TTeeCanvas3D::DepthLine(int X, int Y, int Z0, int Z1)
{
    const TPoint a = Project3D(X, Y, Z0);
    const TPoint b = Project3D(X, Y, Z1);
    Line(a.X, a.Y, b.X, b.Y);
}

void TTeeCanvas3D::BeginFrontPlane()
{
    FWasIs3D = FIs3D;
    FIs3D = false;
}

void TTeeCanvas3D::EndFrontPlane()
{
    FIs3D = FWasIs3D;
}

void TTeeCanvas3D::PlaneAtZ(const TPoint (&Points)[4], int Z)
{
    std::vector<TPoint> p;
    for (const TPoint& q : Points)
        p.push_back(Project3D(q.X, q.Y, Z));
    Polygon(p);
}

void TTeeCanvas3D::PolygonAtZ(const std::vector<TPoint>& Points, int)
{
    Polygon(Points);
}

void TTeeCanvas3D::RectangleAtZ(const TRect& Rect, int Z)
{
    const TPoint corners[4] = {{Rect.Left, Rect.Top}, {Rect.Right, Rect.Top},
                               {Rect.Right, Rect.Bottom}, {Rect.Left, Rect.Bottom}};
    PlaneAtZ(corners, Z);
}

void TTeeCanvas3D::HorizPlane(int Left, int Right, int Y, int Z0, int Z1)
{
    Polygon({Project3D(Left, Y, Z0), Project3D(Right, Y, Z0), Project3D(Right, Y, Z1),
             Project3D(Left, Y, Z1)});
}

void TTeeCanvas3D::SidePlane(int X, int Top, int Bottom, int Z0, int Z1)
{
    Polygon({Project3D(X, Top, Z0), Project3D(X, Top, Z1), Project3D(X, Bottom, Z1),
             Project3D(X, Bottom, Z0)});
}

void TTeeCanvas3D::RotatedTextAtZ(int X, int Y, int Z, std::string_view Text, int Angle)
{
    const TPoint p = Project3D(X, Y, Z);
    RotatedText(p.X, p.Y, Text, Angle);
}

void TTeeCanvas3D::TextOutAtZ(int X, int Y, std::string_view Text, int Z)
{
    const TPoint p = Project3D(X, Y, Z);
    TextOut(p.X, p.Y, Text);
}

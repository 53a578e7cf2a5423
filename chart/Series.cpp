#include "chart/Series.h"

#include "chart/TeeConst.h"
#include "framework/Property.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Pixels beyond this are not drawn: the classic platform's coordinates end near 2^15.
constexpr int kMaxPixel = 32766;

bool InPixelRange(int V)
{
    return V >= -kMaxPixel && V <= kMaxPixel;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TSeriesPointer::TSeriesPointer(TCustomSeries* Owner) : FOwner(Owner)
{
    const TNotifyEvent changed = [this](TObject*) { FOwner->Repaint(); };
    FBrush = std::make_unique<TChartBrush>(changed);
    FPen = std::make_unique<TChartPen>(changed);
}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::SetDark3D(bool Value) { SetProperty(FDark3D, Value, [this] { FOwner->Repaint(); }); }
void TSeriesPointer::SetDraw3D(bool Value) { SetProperty(FDraw3D, Value, [this] { FOwner->Repaint(); }); }
void TSeriesPointer::SetInflateMargins(bool Value) { SetProperty(FInflateMargins, Value, [this] { FOwner->Repaint(); }); }
void TSeriesPointer::SetStyle(TSeriesPointerStyle Value) { SetProperty(FStyle, Value, [this] { FOwner->Repaint(); }); }
void TSeriesPointer::SetVisible(bool Value) { SetProperty(FVisible, Value, [this] { FOwner->Repaint(); }); }

void TSeriesPointer::SetHorizSize(int Value)
{
    if (Value < 1)
        throw ChartException(TeeMsg_PointerSize);
    SetProperty(FHorizSize, Value, [this] { FOwner->Repaint(); });
}

void TSeriesPointer::SetVertSize(int Value)
{
    if (Value < 1)
        throw ChartException(TeeMsg_PointerSize);
    SetProperty(FVertSize, Value, [this] { FOwner->Repaint(); });
}

void TSeriesPointer::Draw(TTeeCanvas3D& Canvas, int X, int Y, int Width, int Height, TColor Color,
                          TSeriesPointerStyle Shape) const
{
    Canvas.ApplyPen(*FPen);
    if (FPen->Visible() && FPen->Color() == clDefault)
        Canvas.Pen()->SetColor(Color);
    Canvas.Brush()->SetColor(FBrush->Color() == clDefault ? Color : FBrush->Color());
    Canvas.Brush()->SetStyle(FBrush->Style());
    const int h = Width;
    const int v = Height;
    const auto cross = [&] {
        Canvas.Pen()->SetColor(Color);
        Canvas.VertLine(X, Y - v, Y + v + 1);
        Canvas.HorizLine(X - h, X + h + 1, Y);
    };
    const auto diagonalCross = [&] {
        Canvas.Pen()->SetColor(Color);
        Canvas.Line(X - h, Y - v, X + h + 1, Y + v + 1);
        Canvas.Line(X + h, Y - v, X - h - 1, Y + v + 1);
    };
    switch (Shape) {
    case psRectangle:
        Canvas.Rectangle(X - h, Y - v, X + h + 1, Y + v + 1);
        break;
    case psCircle:
        Canvas.Ellipse(X - h, Y - v, X + h, Y + v);
        break;
    case psTriangle:
        Canvas.Polygon({{X - h, Y + v}, {X + h, Y + v}, {X, Y - v}});
        break;
    case psDownTriangle:
        Canvas.Polygon({{X - h, Y - v}, {X + h, Y - v}, {X, Y + v}});
        break;
    case psCross:
        cross();
        break;
    case psDiagCross:
        diagonalCross();
        break;
    case psStar:
        cross();
        diagonalCross();
        break;
    case psDiamond:
        Canvas.Polygon({{X - h, Y}, {X, Y - v}, {X + h, Y}, {X, Y + v}});
        break;
    case psSmallDot:
        Canvas.SetPixel(X, Y, Color);
        break;
    }
}

// ---------------------------------------------------------------------------------------------

TCustomSeries::TCustomSeries(TComponent* Owner) : TChartSeries(Owner)
{
    FConnectsPoints = true;
    FLinePen = std::make_unique<TChartPen>([this](TObject*) { Repaint(); });
    FPointer = std::make_unique<TSeriesPointer>(this);
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::SetDark3D(bool Value) { SetProperty(FDark3D, Value, [this] { Repaint(); }); }
void TCustomSeries::SetInvertedStairs(bool Value) { SetProperty(FInvertedStairs, Value, [this] { Repaint(); }); }
void TCustomSeries::SetLineBrush(TBrushStyle Value) { SetProperty(FLineBrush, Value, [this] { Repaint(); }); }
void TCustomSeries::SetLineHeight(int Value) { SetProperty(FLineHeight, Value, [this] { Repaint(); }); }
void TCustomSeries::SetStairs(bool Value) { SetProperty(FStairs, Value, [this] { Repaint(); }); }

TTeeCanvas3D* TCustomSeries::Canvas() const
{
    return ParentChart()->Canvas();
}

void TCustomSeries::PrepareLinePen(TColor Color)
{
    TTeeCanvas3D* canvas = Canvas();
    canvas->ApplyPen(*FLinePen);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(Color);
}

bool TCustomSeries::CanBatch() const
{
    // Dashed or dotted pens restart their pattern with every pen they are given, and a mixing
    // pen sees overlaps, so only a plain solid line in copy mode draws the same whether
    // gathered or not; markers must interleave.
    return FDrawLine && FLinePen->Visible() && FLinePen->Style() == psSolid && FLinePen->Mode() == pmCopy &&
           !FLinePen->SmallDots() && !FPointer->Visible() && BatchesSegments();
}

void TCustomSeries::AppendToRun(int X, int Y, TColor Color)
{
    const TPoint from{FOldX, FOldY};
    if (FRun.Empty() || Color != FRunColor || FRun.End() != from) {
        FlushRun();
        FRun.Start(from);
        FRunColor = Color;
    }
    if (FStairs)
        FRun.Add(FInvertedStairs ? TPoint{FOldX, Y} : TPoint{X, FOldY});
    FRun.Add({X, Y});
}

void TCustomSeries::FlushRun()
{
    if (FRun.Empty())
        return;
    const std::vector<TPoint>& points = FRun.Finish();
    if (points.size() >= 2) {
        PrepareLinePen(FRunColor);
        Canvas()->ReferenceCanvas()->Polyline(points.data(), static_cast<int>(points.size()));
    }
    FRun.Clear();
}

void TCustomSeries::DoBeforeDrawChart()
{
    // A run left over from drawing outside a paint is not part of this one.
    FRun.Clear();
}

void TCustomSeries::DrawSegment(int X, int Y, TColor Color, bool Markers, int ValueIndex, bool Last)
{
    const bool skip = (X == FOldX && Y == FOldY) || Color == clNone;
    if (!skip && FDrawLine) {
        if (CanBatch()) {
            AppendToRun(X, Y, Color);
        } else {
            TTeeCanvas3D* canvas = Canvas();
            PrepareLinePen(Color);
            if (!FStairs) {
                canvas->Line(FOldX, FOldY, X, Y);
            } else {
                if (FInvertedStairs)
                    canvas->VertLine(FOldX, FOldY, Y);
                else
                    canvas->HorizLine(FOldX, X, FOldY);
                canvas->LineTo(X, Y);
            }
        }
    }
    if (Markers && FPointer->Visible()) {
        if (FOldColor != clNone)
            DrawPointer(FOldX, FOldY, ValueIndex - 1, FOldColor);
        if (Last && Color != clNone)
            DrawPointer(X, Y, ValueIndex, Color);
    }
}

void TCustomSeries::DrawPoint(int ValueIndex)
{
    TCustomChartAxis* horiz = HorizAxisObject();
    TCustomChartAxis* vert = VertAxisObject();
    if (!horiz || !vert)
        return;
    const TColor c = PointColor(ValueIndex);
    const int x = horiz->ValueToPixel(XValues()->Value(ValueIndex));
    const int y = vert->ValueToPixel(YValues()->Value(ValueIndex));
    const bool last = ValueIndex == LastShown();

    if (InPixelRange(x) && InPixelRange(y)) {
        if (!CanBatch()) {
            Canvas()->Pen()->SetColor(clBlack);
            Canvas()->Brush()->SetColor(c);
        }
        if (FOldColor == clNone) {
            FOldX = x;
            FOldY = y;
        }
        if (ValueIndex == FirstShown()) {
            if (ValueIndex > 0) {
                const int prev = ValueIndex - 1;
                const TRect& plot = ParentChart()->PlotRect();
                const int startX = horiz->Inverted() ? plot.Right : plot.Left;
                int startY;
                const double x0 = XValues()->Value(prev);
                const double x1 = XValues()->Value(ValueIndex);
                const double y0 = YValues()->Value(prev);
                if (FStairs || x1 == x0) {
                    startY = vert->ValueToPixel(y0);
                } else {
                    using ext = long double;
                    const double xs = horiz->PixelToValue(startX);
                    const double y1 = YValues()->Value(ValueIndex);
                    startY = vert->ValueToPixel(static_cast<double>(y0 + (ext(y1) - y0) * (ext(xs) - x0) / (ext(x1) - x0)));
                }
                if (PointColor(prev) != clNone) {
                    FOldX = startX;
                    FOldY = startY;
                    DrawSegment(x, y, c, false, ValueIndex, last);
                }
            }
            if (last && FPointer->Visible())
                DrawPointer(x, y, ValueIndex, c);
        } else {
            DrawSegment(x, y, c, true, ValueIndex, last);
        }
        FOldX = x;
        FOldY = y;
    }
    FOldColor = c;
    if (last)
        FlushRun();
}

void TCustomSeries::DrawPointer(int X, int Y, int ValueIndex, TColor Color)
{
    const TSeriesPointerStyle shape = OnGetPointerStyle ? OnGetPointerStyle(this, ValueIndex) : FPointer->Style();
    FPointer->Draw(*Canvas(), X, Y, FPointer->HorizSize(), FPointer->VertSize(), Color, shape);
}

void TCustomSeries::DrawLegendSymbol(int ValueIndex, const TRect& Rect)
{
    const TColor c = ValueIndex == -1 ? SeriesColor() : PointColor(ValueIndex);
    const int row = (Rect.Top + Rect.Bottom) / 2;
    if (FPointer->Visible()) {
        if (FDrawLine) {
            PrepareLinePen(c);
            Canvas()->HorizLine(Rect.Left, Rect.Right, row);
        }
        const int w = Rect.Right - Rect.Left;
        const int h = Rect.Bottom - Rect.Top;
        const bool line = FLinePen->Visible();
        const int hs = std::min(FPointer->HorizSize(), line ? w / 3 : w / 2 + 1);
        const int vs = std::min(FPointer->VertSize(), line ? h / 3 : h / 2 + 1);
        const TSeriesPointerStyle shape = OnGetPointerStyle ? OnGetPointerStyle(this, ValueIndex) : FPointer->Style();
        FPointer->Draw(*Canvas(), (Rect.Left + Rect.Right) / 2, row, hs, vs, c, shape);
    } else if (!FDrawLine || FDrawArea) {
        TChartSeries::DrawLegendSymbol(ValueIndex, Rect);
    } else {
        PrepareLinePen(c);
        Canvas()->HorizLine(Rect.Left, Rect.Right, row);
    }
}

void TCustomSeries::PrepareLegendPen(int, TColor&, TBrushStyle& Style)
{
    Canvas()->ApplyPen(*FLinePen);
    Style = FLineBrush;
}

int TCustomSeries::Clicked(int X, int Y)
{
    // Within this many pixels of the line's middle, beyond half its width.
    constexpr double kTolerance = 3;
    if (!ParentChart() || FirstShown() < 0)
        return -1;
    const double reach = kTolerance + FLinePen->Width() / 2.0;
    // Of the points whose marker or segment is under (X, Y), the one nearest to it.
    int best = -1;
    double bestDistance = 0;
    const auto consider = [&](int Index, int PX, int PY) {
        const double d = std::hypot(PX - X, PY - Y);
        if (best < 0 || d < bestDistance) {
            best = Index;
            bestDistance = d;
        }
    };
    // A point without value breaks the line.
    bool joined = false;
    int prevX = 0;
    int prevY = 0;
    for (int i = FirstShown(); i <= LastShown(); ++i) {
        if (PointColor(i) == clNone) {
            joined = false;
            continue;
        }
        const int x = XPosOfPoint(i);
        const int y = YPosOfPoint(i);
        if (FPointer->Visible() && std::abs(X - x) <= FPointer->HorizSize() && std::abs(Y - y) <= FPointer->VertSize())
            consider(i, x, y);
        if (FDrawLine && joined) {
            // Distance from (X, Y) to the segment from the previous point to this one.
            const double dx = x - prevX;
            const double dy = y - prevY;
            const double length2 = dx * dx + dy * dy;
            const double t = length2 == 0 ? 0 : std::clamp(((X - prevX) * dx + (Y - prevY) * dy) / length2, 0.0, 1.0);
            if (std::hypot(prevX + t * dx - X, prevY + t * dy - Y) <= reach) {
                consider(i - 1, prevX, prevY);
                consider(i, x, y);
            }
        }
        joined = true;
        prevX = x;
        prevY = y;
    }
    return best;
}

void TCustomSeries::HorizMargins(int& Before, int& After)
{
    if (FPointer->Visible() && FPointer->InflateMargins()) {
        Before = std::max(Before, FPointer->HorizSize() + 1);
        After = std::max(After, FPointer->HorizSize() + 1);
    }
    if (FStairs && FDrawLine) {
        Before = std::max(Before, FLinePen->Width());
        After = std::max(After, FLinePen->Width());
    }
}

void TCustomSeries::VertMargins(int& Before, int& After)
{
    if (FPointer->Visible() && FPointer->InflateMargins()) {
        Before = std::max(Before, FPointer->VertSize() + 1);
        After = std::max(After, FPointer->VertSize() + 1);
    }
    if (FStairs && FDrawLine) {
        Before = std::max(Before, FLinePen->Width());
        After = std::max(After, FLinePen->Width() + 1);
    }
    if (FLineHeight > 0 && !FDrawArea)
        After = std::max(After, FLineHeight);
}

// ---------------------------------------------------------------------------------------------

TLineSeries::TLineSeries(TComponent* Owner) : TCustomSeries(Owner)
{
    FDrawLine = true;
    Pointer()->SetVisible(false);
}

// Drawing an axis: its title, labels and the lines of its line, ticks and grid, at the layout of
// the current paint (TeeAxis.cpp).
#include "chart/TeeAxis.h"

#include "chart/TeCanvas.h"

#include <algorithm>

namespace {

// Room for the major tick places of one drawing.
constexpr std::size_t kMaxTickPositions = 2000;
// The pattern of values supplied by OnGetNextAxisLabel may overshoot the range this much.
constexpr double kNextLabelTolerance = 1e-7;

} // namespace

int TCustomChartAxis::PlotEdge() const
{
    const TRect& r = PlotRect();
    if (FHorizontal)
        return FOtherSide ? r.Top : r.Bottom;
    return FOtherSide ? r.Right : r.Left;
}

void TCustomChartAxis::DrawAxis(bool RecomputePosition)
{
    RefreshIsDateTime();
    TTeeCanvas3D* canvas = Canvas();
    canvas->Font()->Assign(*FLabelsFont);
    const double increment = ComputeIncrement();
    if (RecomputePosition)
        FAxisPosition = MovedByPercent(PlotEdge(), PlotRect());

    if (!FTitle->Caption().empty()) {
        canvas->Font()->Assign(*FTitle->Font());
        DrawAxisText(FScale.CenterPixel(), FTitlePosition, FTitle->Caption(), FTitle->Angle());
        canvas->Font()->Assign(*FLabelsFont);
    }

    FTickPositions.clear();
    if (increment > 0 && FScale.RangeMax() >= FScale.RangeMin())
        DrawLabelsAndRecordTicks(increment);
    DrawLines();
}

void TCustomChartAxis::DrawLabelsAndRecordTicks(double Increment)
{
    const TAxisLabelStyle style = LabelStyleInEffect();
    if (style == talNone)
        return;
    if (style == talText || style == talMark) {
        // One label per point of the attached series, skipping those that would overlap.
        bool any = false;
        int lastLo = 0;
        int lastHi = 0;
        for (const TAxisSeries& s : Attached()) {
            if (!s.Active)
                continue;
            for (int k = 0; k < s.Count; ++k) {
                const int p = ValueToPixel(s.Value(k));
                const std::string text = s.Label(k);
                const int half = LabelSize(text) / 2;
                if (any && p + half >= lastLo && p - half <= lastHi)
                    continue;
                any = true;
                lastLo = p - half;
                lastHi = p + half;
                if (FTickPositions.size() < kMaxTickPositions)
                    FTickPositions.push_back(p);
                DrawAxisText(p, FLabelsPosition, text, FLabelsAngle);
            }
        }
        return;
    }
    if (const TAxisOnGetNextLabel& next = FHost->NextAxisLabelEvent()) {
        bool stop = true;
        for (int index = 0; index < static_cast<int>(kMaxTickPositions); ++index) {
            double value = 0;
            next(this, index, value, stop);
            if (stop) {
                if (index > 0)
                    return;
                break; // the handler gave nothing: automatic labels
            }
            if (value < FScale.RangeMin() - kNextLabelTolerance || value > FScale.RangeMax() + kNextLabelTolerance)
                return;
            DrawLabel(value);
        }
        if (!stop)
            return;
    }
    for (double v : axismath::LabelValues(FScale.RangeMin(), FScale.RangeMax(), Increment, FRoundFirstLabel))
        DrawLabel(v);
}

void TCustomChartAxis::DrawLabel(double Value)
{
    const int p = ValueToPixel(Value);
    if (!FLabelsOnAxis && !(FScale.StartPixel() < p && p < FScale.EndPixel()))
        return;
    const auto record = [this, p] {
        if (FTickPositions.size() < kMaxTickPositions)
            FTickPositions.push_back(p);
    };
    if (!FTickOnLabelsOnly)
        record();
    if (!FLabels)
        return;
    const std::string text = LabelText(Value);
    if (FTickOnLabelsOnly)
        record();
    DrawAxisText(p, FLabelsPosition, text, FLabelsAngle);
}

void TCustomChartAxis::DrawAxisText(int P, int Anchor, const std::string& Text, int Angle)
{
    TTeeCanvas3D* canvas = Canvas();
    canvas->Brush()->SetStyle(bsClear);
    canvas->Brush()->SetColor(FHost->AxisPanel().Color());
    canvas->SetBackMode(platform::TBkMode::Transparent);
    const std::vector<std::string> lines = SplitLines(Text);
    const int z = FOtherSide ? FHost->AxisDepth() : 0;
    if (Angle != 0) {
        const int x = FHorizontal ? P : Anchor;
        const int y = FHorizontal ? Anchor : P;
        canvas->RotatedTextAtZ(x, y, z, Text, Angle);
        return;
    }
    const int h = canvas->FontHeight();
    const int l = static_cast<int>(lines.size());
    int x = P;
    int y = Anchor;
    if (FHorizontal) {
        canvas->SetTextAlign(platform::Align::Center |
                             (FOtherSide ? platform::Align::Bottom : platform::Align::Top));
        if (FOtherSide)
            y = Anchor - (l - 1) * h;
    } else {
        canvas->SetTextAlign((FOtherSide ? platform::Align::Left : platform::Align::Right) |
                             platform::Align::Top);
        x = Anchor;
        y = P - h / 2 - axismath::Round(h * (l + 1) / 2.0) + h;
    }
    for (const std::string& line : lines) {
        canvas->TextOutAtZ(x, y, line, z);
        y += h;
    }
    canvas->SetTextAlign(platform::Align::Left | platform::Align::Top);
}

void TCustomChartAxis::DrawTick(int P, int Offset, int Length)
{
    TTeeCanvas3D* canvas = Canvas();
    const int pos = FAxisPosition;
    const int z = FOtherSide ? FHost->AxisDepth() : 0;
    if (FHorizontal) {
        const int from = FOtherSide ? pos - Offset : pos + Offset;
        canvas->VertLineAtZ(P, from, FOtherSide ? from - Length : from + Length, z);
    } else {
        const int from = FOtherSide ? pos + Offset : pos - Offset;
        canvas->HorizLineAtZ(from, FOtherSide ? from + Length : from - Length, P, z);
    }
}

void TCustomChartAxis::DrawLines()
{
    TTeeCanvas3D* canvas = Canvas();
    const TRect& plot = PlotRect();
    const int start = FScale.StartPixel();
    const int end = FScale.EndPixel();
    const int z = FOtherSide ? FHost->AxisDepth() : 0;
    const auto acrossPlot = [&](int p) {
        if (FHorizontal)
            canvas->VertLine(p, plot.Top, plot.Bottom);
        else
            canvas->HorizLine(plot.Left, plot.Right, p);
    };

    if (FAxisPen->Visible()) {
        canvas->ApplyPen(*FAxisPen);
        if (FHorizontal)
            canvas->HorizLineAtZ(start, end, FAxisPosition, z);
        else
            canvas->VertLineAtZ(FAxisPosition, start, end, z);
    }
    if (FTicks->Visible()) {
        canvas->ApplyPen(*FTicks);
        for (int p : FTickPositions)
            DrawTick(p, 1, FTickLength);
    }
    if (FGrid->Visible()) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->SetBackMode(platform::TBkMode::Transparent);
        canvas->ApplyPen(*FGrid);
        if (FGrid->Color() == clDefault)
            canvas->Pen()->SetColor(clGray);
        for (int p : FGridCentered ? axismath::CenteredGridPositions(FTickPositions) : FTickPositions)
            acrossPlot(p);
        canvas->SetBackMode(platform::TBkMode::Opaque);
    }
    if (FTicksInner->Visible()) {
        canvas->ApplyPen(*FTicksInner);
        for (int p : FTickPositions)
            DrawTick(p, -1, -FTickInnerLength);
    }
    if (FMinorTicks->Visible() && !FTickPositions.empty()) {
        const std::vector<int> minor = FLogarithmic ? std::vector<int>{}
                                                    : axismath::MinorTickPositions(FTickPositions, FMinorTickCount, start, end);
        canvas->ApplyPen(*FMinorTicks);
        for (int p : minor)
            DrawTick(p, 1, FMinorTickLength);
        if (FMinorGrid->Visible()) {
            canvas->ApplyPen(*FMinorGrid);
            for (int p : minor)
                acrossPlot(p);
        }
    }
}


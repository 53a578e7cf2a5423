#include "chart/TeeAxis.h"

#include "chart/TeCanvas.h"
#include "chart/TeEngine.h"
#include "chart/TeeConst.h"
#include "chart/TeeFormat.h"

#include <algorithm>
#include <cmath>

namespace {

// Room for the major tick places of one drawing.
constexpr std::size_t kMaxTickPositions = 2000;
// The pattern of values supplied by OnGetNextAxisLabel may overshoot the range this much.
constexpr double kNextLabelTolerance = 1e-7;

constexpr char kLineBreak = '\r';

void CheckAngle(int Value, const char* What)
{
    if (Value < 0 || Value > 359)
        throw ChartException(FormatTeeMsg(TeeMsg_AngleRange, What));
}

std::vector<std::string> SplitLines(const std::string& Text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = Text.find(kLineBreak, from);
        lines.push_back(Text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos)
            return lines;
        from = at + 1;
    }
}

bool RunsAcross(int Angle) { return Angle == 90 || Angle == 270; }
bool RunsAlong(int Angle) { return Angle == 0 || Angle == 180; }

} // namespace

// ---------------------------------------------------------------------------------------------

TChartAxisTitle::TChartAxisTitle(TCustomChartAxis* Axis, int Angle)
    : FAxis(Axis), FAngle(Angle), FFont(std::make_unique<TFont>())
{
    SetChartDefaultFont(*FFont);
    FFont->OnChange = [this](TObject*) { FAxis->ParentChart()->Invalidate(); };
}

TChartAxisTitle::~TChartAxisTitle() = default;

void TChartAxisTitle::SetAngle(int Value)
{
    CheckAngle(Value, "Axis Title");
    if (FAngle == Value)
        return;
    FAngle = Value;
    FAxis->ParentChart()->Invalidate();
}

void TChartAxisTitle::SetCaption(const std::string& Value)
{
    if (FCaption == Value)
        return;
    FCaption = Value;
    FAxis->ParentChart()->Invalidate();
}

// ---------------------------------------------------------------------------------------------

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* Chart, bool Horizontal, bool OtherSide,
                                   int TitleAngle, bool DepthAxis)
    : FParentChart(Chart), FHorizontal(Horizontal), FOtherSide(OtherSide),
      FIsDepthAxis(DepthAxis), FDefaultTitleAngle(TitleAngle)
{
    const TNotifyEvent changed = [this](TObject*) { Repaint(); };
    FAxisPen = std::make_unique<TChartAxisPen>(changed);
    FTitle = std::make_unique<TChartAxisTitle>(this, FDefaultTitleAngle);
    FGrid = std::make_unique<TDottedGrayPen>(changed);
    FLabelsFont = std::make_unique<TFont>();
    SetChartDefaultFont(*FLabelsFont);
    FLabelsFont->OnChange = changed;
    FMinorGrid = std::make_unique<TChartHiddenPen>(changed);
    FMinorTicks = std::make_unique<TDarkGrayPen>(changed);
    FTicks = std::make_unique<TDarkGrayPen>(changed);
    FTicksInner = std::make_unique<TDarkGrayPen>(changed);
    FScale.Horizontal = FHorizontal;
    Chart->RegisterAxis(this);
}

TCustomChartAxis::~TCustomChartAxis() = default;

template <class T>
void TCustomChartAxis::Change(T& Field, const T& Value)
{
    if (Field == Value)
        return;
    Field = Value;
    Repaint();
}

void TCustomChartAxis::Repaint()
{
    FParentChart->Invalidate();
}

void TCustomChartAxis::SetAutomatic(bool Value)
{
    if (FAutomatic == Value && FAutomaticMinimum == Value && FAutomaticMaximum == Value)
        return;
    FAutomatic = FAutomaticMinimum = FAutomaticMaximum = Value;
    Repaint();
}

void TCustomChartAxis::SetAutomaticMaximum(bool Value)
{
    const bool automatic = Value ? FAutomaticMinimum : false;
    if (FAutomaticMaximum == Value && FAutomatic == automatic)
        return;
    FAutomaticMaximum = Value;
    FAutomatic = automatic;
    Repaint();
}

void TCustomChartAxis::SetAutomaticMinimum(bool Value)
{
    const bool automatic = Value ? FAutomaticMaximum : false;
    if (FAutomaticMinimum == Value && FAutomatic == automatic)
        return;
    FAutomaticMinimum = Value;
    FAutomatic = automatic;
    Repaint();
}

void TCustomChartAxis::SetIncrement(double Value)
{
    if (!(Value >= 0))
        throw AxisException(TeeMsg_AxisIncrement);
    Change(FIncrement, Value);
}

void TCustomChartAxis::SetMaximum(double Value)
{
    if (Value < FMinimum)
        throw AxisException(TeeMsg_AxisMaximum);
    Change(FMaximum, Value);
}

void TCustomChartAxis::SetMinimum(double Value)
{
    if (Value > FMaximum)
        throw AxisException(TeeMsg_AxisMinimum);
    Change(FMinimum, Value);
}

void TCustomChartAxis::SetLimits(double AMin, double AMax)
{
    if (AMin > AMax)
        std::swap(AMin, AMax);
    if (AMax - AMin < 1e-10)
        AMax = AMin + 1e-10;
    const bool changed = FAutomatic || FAutomaticMinimum || FAutomaticMaximum || FMinimum != AMin ||
                         FMaximum != AMax;
    FAutomatic = FAutomaticMinimum = FAutomaticMaximum = false;
    FMinimum = AMin;
    FMaximum = AMax;
    if (changed)
        Repaint();
}

void TCustomChartAxis::SetLogarithmic(bool Value)
{
    if (Value && !FLogarithmic) {
        RefreshIsDateTime();
        if (FIsDateTime)
            throw AxisException(TeeMsg_AxisLogDateTime);
        ComputeAutoRange();
        if (FMinimum < 0 || FMaximum < 0)
            throw AxisException(TeeMsg_AxisLogNotPositive);
    }
    Change(FLogarithmic, Value);
}

void TCustomChartAxis::SetLogarithmicBase(int Value)
{
    if (Value < 2)
        throw AxisException(TeeMsg_AxisLogBase);
    Change(FLogarithmicBase, Value);
}

void TCustomChartAxis::SetTitleSize(int Value) { Change(FTitleSize, Value); }
void TCustomChartAxis::SetGridCentered(bool Value) { Change(FGridCentered, Value); }
void TCustomChartAxis::SetLabels(bool Value) { Change(FLabels, Value); }

void TCustomChartAxis::SetLabelsAngle(int Value)
{
    CheckAngle(Value, "Axis Labels");
    Change(FLabelsAngle, Value);
}

void TCustomChartAxis::SetLabelsOnAxis(bool Value) { Change(FLabelsOnAxis, Value); }

void TCustomChartAxis::SetLabelsSeparation(int Value)
{
    if (Value < 0)
        throw AxisException(TeeMsg_AxisLabelSep);
    Change(FLabelsSeparation, Value);
}

void TCustomChartAxis::SetLabelsSize(int Value) { Change(FLabelsSize, Value); }
void TCustomChartAxis::SetLabelStyle(TAxisLabelStyle Value) { Change(FLabelStyle, Value); }
void TCustomChartAxis::SetAxisValuesFormat(const std::string& Value) { Change(FAxisValuesFormat, Value); }
void TCustomChartAxis::SetDateTimeFormat(const std::string& Value) { Change(FDateTimeFormat, Value); }
void TCustomChartAxis::SetExactDateTime(bool Value) { Change(FExactDateTime, Value); }
void TCustomChartAxis::SetRoundFirstLabel(bool Value) { Change(FRoundFirstLabel, Value); }
void TCustomChartAxis::SetLabelsMultiLine(bool Value) { Change(FLabelsMultiLine, Value); }
void TCustomChartAxis::SetMinorTickCount(int Value) { Change(FMinorTickCount, Value); }
void TCustomChartAxis::SetMinorTickLength(int Value) { Change(FMinorTickLength, Value); }
void TCustomChartAxis::SetTickInnerLength(int Value) { Change(FTickInnerLength, Value); }
void TCustomChartAxis::SetTickLength(int Value) { Change(FTickLength, Value); }
void TCustomChartAxis::SetTickOnLabelsOnly(bool Value) { Change(FTickOnLabelsOnly, Value); }

void TCustomChartAxis::SetInverted(bool Value)
{
    FScale.Inverted = Value;
    Change(FInverted, Value);
}

void TCustomChartAxis::SetVisible(bool Value) { Change(FVisible, Value); }
void TCustomChartAxis::SetStartPosition(double Value) { Change(FStartPosition, Value); }
void TCustomChartAxis::SetEndPosition(double Value) { Change(FEndPosition, Value); }
void TCustomChartAxis::SetPositionPercent(double Value) { Change(FPositionPercent, Value); }

// ---------------------------------------------------------------------------------------------
// What the axis learns from its chart

TTeeCanvas3D* TCustomChartAxis::Canvas() const
{
    return FParentChart->Canvas();
}

bool TCustomChartAxis::AnyActiveSeriesAttached() const
{
    const TChartSeriesList& list = *FParentChart->SeriesList();
    for (int i = 0; i < list.Count(); ++i)
        if (list[i]->Active() && list[i]->IsAttachedToAxis(this))
            return true;
    return false;
}

void TCustomChartAxis::RefreshIsDateTime()
{
    FIsDateTime = false;
    const TChartSeriesList& list = *FParentChart->SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        const TChartSeries* s = list[i];
        if (s->IsAttachedToAxis(this) && (FHorizontal ? s->XValues() : s->YValues())->DateTime())
            FIsDateTime = true;
    }
}

void TCustomChartAxis::DataLimits(double& Min, double& Max) const
{
    // With no active series on the axis, the inactive ones still give it a range.
    const bool onlyActive = AnyActiveSeriesAttached();
    const TChartSeriesList& list = *FParentChart->SeriesList();
    bool found = false;
    Min = Max = 0;
    for (int i = 0; i < list.Count(); ++i) {
        TChartSeries* s = list[i];
        if ((onlyActive && !s->Active()) || s->Count() == 0 || !s->IsAttachedToAxis(this))
            continue;
        const double lo = FHorizontal ? s->MinXValue() : s->MinYValue();
        const double hi = FHorizontal ? s->MaxXValue() : s->MaxYValue();
        Min = found ? std::min(Min, lo) : lo;
        Max = found ? std::max(Max, hi) : hi;
        found = true;
    }
}

TAxisLabelStyle TCustomChartAxis::LabelStyleInEffect() const
{
    if (FLabelStyle != talAuto)
        return FLabelStyle;
    const TChartSeriesList& list = *FParentChart->SeriesList();
    if (FIsDepthAxis) {
        // Series of this system carry no depth values.
        return talText;
    }
    bool any = false;
    for (int i = 0; i < list.Count(); ++i) {
        TChartSeries* s = list[i];
        if (!s->Active() || !s->IsAttachedToAxis(this))
            continue;
        any = true;
        const TChartValueList* mandatory = s->MandatoryValueList();
        const bool textual = FHorizontal ? mandatory == s->YValues() : mandatory == s->XValues();
        if (textual && s->Count() > 0 && !s->PointLabel(0).empty())
            return talText;
    }
    return any ? talValue : talNone;
}

// ---------------------------------------------------------------------------------------------
// Texts and their sizes

std::string TCustomChartAxis::LabelText(double Value)
{
    std::string text = FIsDateTime && Value < 0 ? std::string() : FormatFloat(FAxisValuesFormat, Value);
    if (FParentChart->OnGetAxisLabel && !FLabelEventsOff)
        FParentChart->OnGetAxisLabel(this, nullptr, -1, text);
    if (FLabelsMultiLine)
        std::replace(text.begin(), text.end(), ' ', kLineBreak);
    return text;
}

int TCustomChartAxis::TextWidthOf(const std::string& Text)
{
    int widest = 0;
    for (const std::string& line : SplitLines(Text))
        widest = std::max(widest, Canvas()->TextWidth(line));
    return widest;
}

int TCustomChartAxis::TextHeightOf(const std::string& Text)
{
    return Canvas()->FontHeight() * static_cast<int>(SplitLines(Text).size());
}

int TCustomChartAxis::LabelSize(const std::string& Text)
{
    const bool useHeights = FHorizontal ? RunsAcross(FLabelsAngle) : RunsAlong(FLabelsAngle);
    return useHeights ? TextHeightOf(Text) : TextWidthOf(Text);
}

double TCustomChartAxis::ComputeIncrement()
{
    Canvas()->Font()->Assign(*FLabelsFont);
    const int size = std::max(LabelSize(LabelText(FScale.RangeMin)), LabelSize(LabelText(FScale.RangeMax)));
    const int count = axismath::MaxLabelCount(FScale.AxisLength, size, FLabelsSeparation);
    return axismath::IncrementForLabels(FScale.Range, count, FIncrement, FLabelsSeparation);
}

int TCustomChartAxis::WidestValueLabel()
{
    double a = FScale.RangeMin;
    double b = FScale.RangeMax;
    if (FRoundFirstLabel || (FIsDateTime && FExactDateTime)) {
        const double i = ComputeIncrement();
        a = std::trunc(a / i) * i;
        b = std::trunc(b / i) * i;
    }
    FLabelEventsOff = true;
    const std::string ta = LabelText(a);
    const std::string tb = LabelText(b);
    FLabelEventsOff = false;
    Canvas()->Font()->Assign(*FLabelsFont);
    return std::max(TextWidthOf(ta), TextWidthOf(tb)) + Canvas()->TextWidth(" ");
}

int TCustomChartAxis::LabelsRoom()
{
    if (FLabelsSize != 0)
        return FLabelsSize;
    Canvas()->Font()->Assign(*FLabelsFont);
    if ((FHorizontal && RunsAlong(FLabelsAngle)) || (!FHorizontal && RunsAcross(FLabelsAngle)))
        return Canvas()->FontHeight();
    switch (LabelStyleInEffect()) {
    case talValue:
        return WidestValueLabel();
    case talMark:
    case talText: {
        int widest = 0;
        const TChartSeriesList& list = *FParentChart->SeriesList();
        for (int i = 0; i < list.Count(); ++i) {
            TChartSeries* s = list[i];
            if (!s->Active() || !s->IsAttachedToAxis(this))
                continue;
            for (int k = 0; k < s->Count(); ++k)
                widest = std::max(widest, TextWidthOf(s->PointLabel(k)));
        }
        return widest;
    }
    default:
        return 0;
    }
}

int TCustomChartAxis::TickRoom() const
{
    int room = (FAxisPen->Visible() ? FAxisPen->Width() : 0) + (FTicks->Visible() ? FTickLength : 0);
    if (FMinorTicks->Visible())
        room = std::max(room, FMinorTickLength);
    return room; // plus the wall size, which is 0 in two dimensions
}

// ---------------------------------------------------------------------------------------------
// Layout

void TCustomChartAxis::ComputeAutoRange()
{
    if (FAutomatic || FAutomaticMaximum || FAutomaticMinimum) {
        double lo = 0;
        double hi = 0;
        DataLimits(lo, hi);
        if (FAutomatic || FAutomaticMaximum)
            FMaximum = hi;
        if (FAutomatic || FAutomaticMinimum)
            FMinimum = lo;
    }
    FScale.RangeMax = FMaximum;
    FScale.RangeMin = FMinimum;
    FScale.Range = FMaximum - FMinimum;
}

int TCustomChartAxis::MovedByPercent(int Position, const TRect& R) const
{
    if (FPositionPercent == 0)
        return Position;
    int c = axismath::Round(FPositionPercent * 0.01 * (FHorizontal ? R.Height() : R.Width()));
    if (FOtherSide)
        c = -c;
    return FHorizontal ? Position - c : Position + c;
}

void TCustomChartAxis::ReserveSpace(TRect& R, bool Shrink)
{
    RefreshIsDateTime();
    // The edge on the axis' side, and shrinking the rectangle there.
    const auto edge = [&]() -> int& {
        if (FHorizontal)
            return FOtherSide ? R.Top : R.Bottom;
        return FOtherSide ? R.Right : R.Left;
    };
    const auto shrink = [&](int n) {
        const bool growsDown = FHorizontal ? FOtherSide : !FOtherSide;
        edge() += growsDown ? n : -n;
    };
    const auto outwards = [&](int position, int n) {
        const bool outIsUp = FHorizontal ? FOtherSide : !FOtherSide;
        return outIsUp ? position - n : position + n;
    };

    const std::string& caption = FTitle->Caption();
    int titleSize = 0;
    if (!caption.empty()) {
        titleSize = FTitleSize;
        if (titleSize == 0) {
            Canvas()->Font()->Assign(*FTitle->Font());
            const int a = FTitle->Angle();
            const bool along = FHorizontal ? RunsAlong(a) : RunsAcross(a);
            titleSize = along ? Canvas()->FontHeight() : TextWidthOf(caption);
        }
    }
    const int labelsSize = FLabels ? LabelsRoom() : 0;
    const int tickRoom = TickRoom();

    if (Shrink) {
        if (!caption.empty()) {
            shrink(titleSize);
            FTitlePosition = FIsDepthAxis ? R.Right : edge();
        }
        if (FLabels) {
            shrink(labelsSize);
            FLabelsPosition = edge();
        }
        if (tickRoom > 0)
            shrink(tickRoom);
        FTitlePosition = MovedByPercent(FTitlePosition, R);
        FLabelsPosition = MovedByPercent(FLabelsPosition, R);
    } else {
        FAxisPosition = MovedByPercent(edge(), R);
        FLabelsPosition = outwards(FAxisPosition, tickRoom);
        FTitlePosition = outwards(FLabelsPosition, labelsSize);
    }
}

void TCustomChartAxis::PlaceOnPlotRect()
{
    const TRect& r = FParentChart->PlotRect();
    const axismath::TPixelSpan span = FHorizontal
                                          ? axismath::AxisPixelSpan(r.Left, r.Width(), FStartPosition, FEndPosition)
                                          : axismath::AxisPixelSpan(r.Top, r.Height(), FStartPosition, FEndPosition);
    FScale.StartPixel = span.Start;
    FScale.EndPixel = span.End;
    FScale.AxisLength = span.End - span.Start;
    FScale.CenterPixel = (span.Start + span.End) / 2;
}

void TCustomChartAxis::WidenForMargins(int Before, int After)
{
    const int s = FScale.StartPixel;
    const int e = FScale.EndPixel;
    FScale.StartPixel = s + Before;
    FScale.EndPixel = e - After;
    FScale.AxisLength = FScale.EndPixel - FScale.StartPixel;
    const double a = PixelToValue(s);
    const double b = PixelToValue(e);
    PlaceOnPlotRect();
    FScale.RangeMin = std::min(a, b);
    FScale.RangeMax = std::max(a, b);
    FScale.Range = FScale.RangeMax - FScale.RangeMin;
}

// ---------------------------------------------------------------------------------------------
// Drawing

int TCustomChartAxis::PlotEdge() const
{
    const TRect& r = FParentChart->PlotRect();
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
        FAxisPosition = MovedByPercent(PlotEdge(), FParentChart->PlotRect());

    if (!FTitle->Caption().empty()) {
        canvas->Font()->Assign(*FTitle->Font());
        DrawAxisText(FScale.CenterPixel, FTitlePosition, FTitle->Caption(), FTitle->Angle());
        canvas->Font()->Assign(*FLabelsFont);
    }

    FTickPositions.clear();
    if (increment > 0 && FScale.RangeMax >= FScale.RangeMin)
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
        const TChartSeriesList& list = *FParentChart->SeriesList();
        bool any = false;
        int lastLo = 0;
        int lastHi = 0;
        for (int i = 0; i < list.Count(); ++i) {
            TChartSeries* s = list[i];
            if (!s->Active() || !s->IsAttachedToAxis(this))
                continue;
            for (int k = 0; k < s->Count(); ++k) {
                const double v = FHorizontal ? s->XValues()->Value(k) : s->YValues()->Value(k);
                const int p = ValueToPixel(v);
                const std::string text = s->PointLabel(k);
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
    if (const TAxisOnGetNextLabel& next = FParentChart->OnGetNextAxisLabel) {
        bool stop = true;
        for (int index = 0; index < static_cast<int>(kMaxTickPositions); ++index) {
            double value = 0;
            next(this, index, value, stop);
            if (stop) {
                if (index > 0)
                    return;
                break; // the handler gave nothing: automatic labels
            }
            if (value < FScale.RangeMin - kNextLabelTolerance || value > FScale.RangeMax + kNextLabelTolerance)
                return;
            DrawLabel(value);
        }
        if (!stop)
            return;
    }
    for (double v : axismath::LabelValues(FScale.RangeMin, FScale.RangeMax, Increment, FRoundFirstLabel))
        DrawLabel(v);
}

void TCustomChartAxis::DrawLabel(double Value)
{
    const int p = ValueToPixel(Value);
    if (!FLabelsOnAxis && !(FScale.StartPixel < p && p < FScale.EndPixel))
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
    canvas->Brush()->SetColor(FParentChart->Color());
    canvas->SetBackMode(platform::TBkMode::Transparent);
    const std::vector<std::string> lines = SplitLines(Text);
    const int z = FOtherSide ? FParentChart->Width3D() : 0;
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
    const int z = FOtherSide ? FParentChart->Width3D() : 0;
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
    const TRect& plot = FParentChart->PlotRect();
    const int start = FScale.StartPixel;
    const int end = FScale.EndPixel;
    const int z = FOtherSide ? FParentChart->Width3D() : 0;
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

// ---------------------------------------------------------------------------------------------

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* Chart) : TCustomChartAxis(Chart, false, true, 0, true)
{
    SetVisible(false);
}

#include "chart/TeeAxis.h"

#include "chart/TeCanvas.h"
#include "chart/TeeConst.h"
#include "framework/Property.h"
#include "chart/TeeFormat.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr char kLineBreak = '\r';

void CheckAngle(int Value, const char* What)
{
    if (Value < 0 || Value > 359)
        throw ChartException(FormatTeeMsg(TeeMsg_AngleRange, What));
}

bool RunsAcross(int Angle) { return Angle == 90 || Angle == 270; }
bool RunsAlong(int Angle) { return Angle == 0 || Angle == 180; }

int DefaultTitleAngle(TAxisSide Side)
{
    return Side == TAxisSide::Left ? 90 : Side == TAxisSide::Right ? 270 : 0;
}

} // namespace

std::vector<std::string> TCustomChartAxis::SplitLines(const std::string& Text)
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

// ---------------------------------------------------------------------------------------------

TChartAxisTitle::TChartAxisTitle(TCustomChartAxis* Axis, int Angle)
    : FAxis(Axis), FAngle(Angle), FFont(std::make_unique<TFont>())
{
    SetChartDefaultFont(*FFont);
    FFont->OnChange = [this](TObject*) { FAxis->Repaint(); };
}

TChartAxisTitle::~TChartAxisTitle() = default;

void TChartAxisTitle::SetAngle(int Value)
{
    CheckAngle(Value, "Axis Title");
    SetProperty(FAngle, Value, [this] { FAxis->Repaint(); });
}

void TChartAxisTitle::SetCaption(const std::string& Value)
{
    SetProperty(FCaption, Value, [this] { FAxis->Repaint(); });
}

// ---------------------------------------------------------------------------------------------

TCustomChartAxis::TCustomChartAxis(TAxisHost& Host, TAxisSide Side)
    : FHost(&Host), FSide(Side), FHorizontal(Side == TAxisSide::Bottom || Side == TAxisSide::Top),
      FOtherSide(Side == TAxisSide::Top || Side == TAxisSide::Right || Side == TAxisSide::Depth),
      FIsDepthAxis(Side == TAxisSide::Depth), FDefaultTitleAngle(DefaultTitleAngle(Side)),
      FVisible(!FIsDepthAxis)
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
    FScale.SetHorizontal(FHorizontal);
}

TCustomChartAxis::~TCustomChartAxis() = default;

void TCustomChartAxis::Repaint()
{
    FHost->AxisPanel().Invalidate();
}

void TCustomChartAxis::SetAutomatic(bool Value)
{
    StoreAutomatic(Value, Value, Value);
}

void TCustomChartAxis::SetAutomaticMaximum(bool Value)
{
    StoreAutomatic(Value && FAutomaticMinimum, FAutomaticMinimum, Value);
}

void TCustomChartAxis::SetAutomaticMinimum(bool Value)
{
    StoreAutomatic(Value && FAutomaticMaximum, Value, FAutomaticMaximum);
}

bool TCustomChartAxis::StoreAutomatic(bool Both, bool Min, bool Max)
{
    // Each flag is stored whatever the others did: no short-circuit.
    const bool a = StoreChanged(FAutomatic, Both);
    const bool b = StoreChanged(FAutomaticMinimum, Min);
    const bool c = StoreChanged(FAutomaticMaximum, Max);
    const bool changed = a || b || c;
    if (changed)
        Repaint();
    return changed;
}

void TCustomChartAxis::SetIncrement(double Value)
{
    if (!(Value >= 0))
        throw AxisException(TeeMsg_AxisIncrement);
    SetProperty(FIncrement, Value, [this] { Repaint(); });
}

void TCustomChartAxis::SetMaximum(double Value)
{
    if (Value < FMinimum)
        throw AxisException(TeeMsg_AxisMaximum);
    SetProperty(FMaximum, Value, [this] { Repaint(); });
}

void TCustomChartAxis::SetMinimum(double Value)
{
    if (Value > FMaximum)
        throw AxisException(TeeMsg_AxisMinimum);
    SetProperty(FMinimum, Value, [this] { Repaint(); });
}

void TCustomChartAxis::SetLimits(double AMin, double AMax)
{
    if (AMin > AMax)
        std::swap(AMin, AMax);
    if (AMax - AMin < 1e-10)
        AMax = AMin + 1e-10;
    const bool a = StoreChanged(FMinimum, AMin);
    const bool b = StoreChanged(FMaximum, AMax);
    if (!StoreAutomatic(false, false, false) && (a || b))
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
    SetProperty(FLogarithmic, Value, [this] { Repaint(); });
}

void TCustomChartAxis::SetLogarithmicBase(int Value)
{
    if (Value < 2)
        throw AxisException(TeeMsg_AxisLogBase);
    SetProperty(FLogarithmicBase, Value, [this] { Repaint(); });
}

void TCustomChartAxis::SetTitleSize(int Value) { SetProperty(FTitleSize, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetGridCentered(bool Value) { SetProperty(FGridCentered, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetLabels(bool Value) { SetProperty(FLabels, Value, [this] { Repaint(); }); }

void TCustomChartAxis::SetLabelsAngle(int Value)
{
    CheckAngle(Value, "Axis Labels");
    SetProperty(FLabelsAngle, Value, [this] { Repaint(); });
}

void TCustomChartAxis::SetLabelsOnAxis(bool Value) { SetProperty(FLabelsOnAxis, Value, [this] { Repaint(); }); }

void TCustomChartAxis::SetLabelsSeparation(int Value)
{
    if (Value < 0)
        throw AxisException(TeeMsg_AxisLabelSep);
    SetProperty(FLabelsSeparation, Value, [this] { Repaint(); });
}

void TCustomChartAxis::SetLabelsSize(int Value) { SetProperty(FLabelsSize, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetLabelStyle(TAxisLabelStyle Value) { SetProperty(FLabelStyle, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetAxisValuesFormat(const std::string& Value) { SetProperty(FAxisValuesFormat, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetDateTimeFormat(const std::string& Value) { SetProperty(FDateTimeFormat, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetExactDateTime(bool Value) { SetProperty(FExactDateTime, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetRoundFirstLabel(bool Value) { SetProperty(FRoundFirstLabel, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetLabelsMultiLine(bool Value) { SetProperty(FLabelsMultiLine, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetMinorTickCount(int Value) { SetProperty(FMinorTickCount, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetMinorTickLength(int Value) { SetProperty(FMinorTickLength, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetTickInnerLength(int Value) { SetProperty(FTickInnerLength, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetTickLength(int Value) { SetProperty(FTickLength, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetTickOnLabelsOnly(bool Value) { SetProperty(FTickOnLabelsOnly, Value, [this] { Repaint(); }); }

void TCustomChartAxis::SetInverted(bool Value)
{
    FScale.SetInverted(Value);
    SetProperty(FInverted, Value, [this] { Repaint(); });
}

void TCustomChartAxis::SetVisible(bool Value) { SetProperty(FVisible, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetStartPosition(double Value) { SetProperty(FStartPosition, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetEndPosition(double Value) { SetProperty(FEndPosition, Value, [this] { Repaint(); }); }
void TCustomChartAxis::SetPositionPercent(double Value) { SetProperty(FPositionPercent, Value, [this] { Repaint(); }); }

// ---------------------------------------------------------------------------------------------
// What the axis learns from its chart

TTeeCanvas3D* TCustomChartAxis::Canvas() const
{
    return FHost->AxisPanel().Canvas();
}

const TRect& TCustomChartAxis::PlotRect() const
{
    return FHost->AxisPanel().PlotRect();
}

void TCustomChartAxis::RefreshIsDateTime()
{
    const std::vector<TAxisSeries> all = Attached();
    FIsDateTime = std::any_of(all.begin(), all.end(), [](const TAxisSeries& s) { return s.DateTime; });
}

void TCustomChartAxis::DataLimits(double& Min, double& Max) const
{
    const std::vector<TAxisSeries> all = Attached();
    // With no active series on the axis, the inactive ones still give it a range.
    const bool onlyActive = std::any_of(all.begin(), all.end(), [](const TAxisSeries& s) { return s.Active; });
    bool found = false;
    Min = Max = 0;
    for (const TAxisSeries& s : all) {
        if ((onlyActive && !s.Active) || s.Count == 0)
            continue;
        Min = found ? std::min(Min, s.Min) : s.Min;
        Max = found ? std::max(Max, s.Max) : s.Max;
        found = true;
    }
}

TAxisLabelStyle TCustomChartAxis::LabelStyleInEffect() const
{
    if (FLabelStyle != talAuto)
        return FLabelStyle;
    if (FIsDepthAxis) {
        // Series of this system carry no depth values.
        return talText;
    }
    bool any = false;
    for (const TAxisSeries& s : Attached()) {
        if (!s.Active)
            continue;
        any = true;
        if (s.TextLabels)
            return talText;
    }
    return any ? talValue : talNone;
}

// ---------------------------------------------------------------------------------------------
// Texts and their sizes

std::string TCustomChartAxis::LabelText(double Value)
{
    std::string text = FIsDateTime && Value < 0 ? std::string() : FormatFloat(FAxisValuesFormat, Value);
    if (const TAxisOnGetLabel& event = FHost->AxisLabelEvent(); event && !FLabelEventsOff)
        event(this, nullptr, -1, text);
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
    const int size = std::max(LabelSize(LabelText(FScale.RangeMin())), LabelSize(LabelText(FScale.RangeMax())));
    const int count = axismath::MaxLabelCount(FScale.AxisLength(), size, FLabelsSeparation);
    return axismath::IncrementForLabels(FScale.Range(), count, FIncrement, FLabelsSeparation);
}

int TCustomChartAxis::WidestValueLabel()
{
    double a = FScale.RangeMin();
    double b = FScale.RangeMax();
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
        for (const TAxisSeries& s : Attached())
            if (s.Active)
                for (int k = 0; k < s.Count; ++k)
                    widest = std::max(widest, TextWidthOf(s.Label(k)));
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
    FScale.SetValues(FMinimum, FMaximum);
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
    const TRect& r = PlotRect();
    const axismath::TPixelSpan span = FHorizontal
                                          ? axismath::AxisPixelSpan(r.Left, r.Width(), FStartPosition, FEndPosition)
                                          : axismath::AxisPixelSpan(r.Top, r.Height(), FStartPosition, FEndPosition);
    FScale.SetPixels(span.Start, span.End);
}

void TCustomChartAxis::WidenForMargins(int Before, int After)
{
    const int s = FScale.StartPixel();
    const int e = FScale.EndPixel();
    FScale.SetPixels(s + Before, e - After);
    const double a = PixelToValue(s);
    const double b = PixelToValue(e);
    PlaceOnPlotRect();
    FScale.SetValues(std::min(a, b), std::max(a, b));
}

// ---------------------------------------------------------------------------------------------

TChartDepthAxis::TChartDepthAxis(TAxisHost& Host) : TCustomChartAxis(Host, TAxisSide::Depth) {}

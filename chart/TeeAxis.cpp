#include "chart/TeeAxis.h"

#include "chart/TeCanvas.h"
#include "chart/TeEngine.h"
#include "chart/TeeConst.h"
#include "framework/Property.h"
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
        throw ChartException(FormatMessage(TeeMsg_AngleRange, What));
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
    if (!StoreChanged(FAngle, Value))
        return;
    FAxis->ParentChart()->Invalidate();
}

void TChartAxisTitle::SetCaption(const std::string& Value)
{
    if (!StoreChanged(FCaption, Value))
        return;
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

void TCustomChartAxis::Repaint()
{
    FParentChart->Invalidate();
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
    FScale.Inverted = Value;
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
        DrawText(FScale.CenterPixel, FTitlePosition, FTitle->Caption(), FTitle->Angle());
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
                DrawText(p, FLabelsPosition, text, FLabelsAngle);
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
    DrawText(p, FLabelsPosition, text, FLabelsAngle);
}

void TCustomChartAxis::DrawText(int P, int Anchor, const std::string& Text, int Angle)
{
    TTeeCanvas3D* canvas = Canvas();
    canvas->Brush()->SetStyle(bsClear);
    canvas->Brush()->SetColor(FParentChart->Color());
    canvas->SetBackMode(platform::TRANSPARENT);
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
        canvas->SetTextAlign(platform::TA_CENTER | (FOtherSide ? platform::TA_BOTTOM : platform::TA_TOP));
        if (FOtherSide)
            y = Anchor - (l - 1) * h;
    } else {
        canvas->SetTextAlign((FOtherSide ? platform::TA_LEFT : platform::TA_RIGHT) | platform::TA_TOP);
        x = Anchor;
        y = P - h / 2 - axismath::Round(h * (l + 1) / 2.0) + h;
    }
    for (const std::string& line : lines) {
        canvas->TextOutAtZ(x, y, line, z);
        y += h;
    }
    canvas->SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
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
        canvas->SetBackMode(platform::TRANSPARENT);
        canvas->ApplyPen(*FGrid);
        if (FGrid->Color() == clDefault)
            canvas->Pen()->SetColor(clGray);
        for (int p : FGridCentered ? axismath::CenteredGridPositions(FTickPositions) : FTickPositions)
            acrossPlot(p);
        canvas->SetBackMode(platform::OPAQUE);
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

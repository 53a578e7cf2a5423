// The legend: its properties, the items it lists, its layout against the panel and the plotting
// rectangle, its drawing, and the hit test of its rows.
#include "chart/Chart.h"

#include "chart/TeeAxisMath.h"
#include "chart/TeeConst.h"
#include "chart/TeeFormat.h"
#include "framework/Property.h"

#include <algorithm>

namespace {

constexpr char kLineBreak = '\r';

void CheckPercent(int Value, const char* Message)
{
    if (Value < 0 || Value > 100)
        throw LegendException(Message);
}

} // namespace

TCustomChartLegend::TCustomChartLegend(TCustomChart* Chart) : TChartFontObject(Chart)
{
    const TNotifyEvent changed = [this](TObject*) { Repaint(); };
    FBrush = std::make_unique<TChartBrush>(changed);
    FDividingLines = std::make_unique<TChartHiddenPen>(changed);
    FFrame = std::make_unique<TChartPen>(changed);
}

void TCustomChartLegend::SetAlignment(TLegendAlignment Value) { SetProperty(FAlignment, Value, [this] { Repaint(); }); }
void TCustomChartLegend::SetColor(TColor Value) { SetProperty(FColor, Value, [this] { Repaint(); }); }

void TCustomChartLegend::SetColorWidth(int Value)
{
    CheckPercent(Value, TeeMsg_LegendColorWidth);
    SetProperty(FColorWidth, Value, [this] { Repaint(); });
}

void TCustomChartLegend::SetFirstValue(int Value)
{
    if (Value < 0)
        throw LegendException(TeeMsg_LegendFirstValue);
    SetProperty(FFirstValue, Value, [this] { Repaint(); });
}

void TCustomChartLegend::SetHorizMargin(int Value) { SetProperty(FHorizMargin, Value, [this] { Repaint(); }); }
void TCustomChartLegend::SetInverted(bool Value) { SetProperty(FInverted, Value, [this] { Repaint(); }); }
void TCustomChartLegend::SetLegendStyle(TLegendStyle Value) { SetProperty(FLegendStyle, Value, [this] { Repaint(); }); }
void TCustomChartLegend::SetMaxNumRows(int Value) { SetProperty(FMaxNumRows, Value, [this] { Repaint(); }); }
void TCustomChartLegend::SetResizeChart(bool Value) { SetProperty(FResizeChart, Value, [this] { Repaint(); }); }
void TCustomChartLegend::SetShadowColor(TColor Value) { SetProperty(FShadowColor, Value, [this] { Repaint(); }); }
void TCustomChartLegend::SetShadowSize(int Value) { SetProperty(FShadowSize, Value, [this] { Repaint(); }); }
void TCustomChartLegend::SetTextStyle(TLegendTextStyle Value) { SetProperty(FTextStyle, Value, [this] { Repaint(); }); }

void TCustomChartLegend::SetTopPos(int Value)
{
    CheckPercent(Value, TeeMsg_LegendTopPos);
    SetProperty(FTopPos, Value, [this] { Repaint(); });
}

void TCustomChartLegend::SetVertMargin(int Value) { SetProperty(FVertMargin, Value, [this] { Repaint(); }); }
void TCustomChartLegend::SetVisible(bool Value) { SetProperty(FVisible, Value, [this] { Repaint(); }); }

// ---------------------------------------------------------------------------------------------
// Items

TLegendStyle TCustomChartLegend::StyleInEffect() const
{
    if (FLegendStyle != lsAuto)
        return FLegendStyle;
    return ParentChart()->ActiveSeriesCount() < 2 ? lsValues : lsSeries;
}

TChartSeries* TCustomChartLegend::ListedSeries() const
{
    const TChartSeriesList& list = *ParentChart()->SeriesList();
    for (int i = 0; i < list.Count(); ++i)
        if (list[i]->Active())
            return list[i];
    return nullptr;
}

TChartSeries* TCustomChartLegend::LegendSeries(int Index) const
{
    const TChartSeriesList& list = *ParentChart()->SeriesList();
    for (int i = 0; i < list.Count(); ++i)
        if (list[i]->Active() && list[i]->ShowInLegend() && Index-- == 0)
            return list[i];
    return nullptr;
}

int TCustomChartLegend::ItemCount() const
{
    int n = 0;
    if (StyleInEffect() == lsValues) {
        const TChartSeries* listed = ListedSeries();
        if (listed && listed->ShowInLegend())
            n = listed->Count() - FFirstValue;
    } else {
        const TChartSeriesList& list = *ParentChart()->SeriesList();
        for (int i = 0; i < list.Count(); ++i)
            n += list[i]->Active() && list[i]->ShowInLegend();
        n -= FFirstValue;
    }
    return std::max(n, 0);
}

std::string TCustomChartLegend::PointText(const TChartSeries& Series, int ValueIndex) const
{
    const std::string label = Series.PointLabel(ValueIndex);
    const TChartValueList& values = *Series.MandatoryValueList();
    const double v = values.Value(ValueIndex);
    const auto value = [&] { return FormatFloat(Series.ValueFormat(), v); };
    const auto percent = [&] {
        const double total = values.AbsTotal();
        return FormatFloat(Series.PercentFormat(), total == 0 ? 0 : v * 100 / total);
    };
    switch (FTextStyle) {
    case ltsPlain:
        return label;
    case ltsLeftValue:
        return value() + " " + label;
    case ltsRightValue:
        return label + " " + value();
    case ltsLeftPercent:
        return percent() + " " + label;
    case ltsRightPercent:
        return label + " " + percent();
    case ltsXValue: {
        const double x = Series.XValues()->Value(ValueIndex);
        TCustomChartAxis* axis = Series.HorizAxisObject();
        return axis ? axis->LabelText(x) : FormatFloat(Series.ValueFormat(), x);
    }
    }
    return label;
}

std::string TCustomChartLegend::ItemText(int Index) const
{
    const TLegendStyle style = StyleInEffect();
    std::string text;
    if (style == lsSeries) {
        if (const TChartSeries* s = LegendSeries(Index))
            text = s->Title().empty() ? "Series " + std::to_string(Index) : s->Title();
    } else if (style == lsValues) {
        if (const TChartSeries* s = ListedSeries(); s && Index >= 0 && Index < s->Count()) {
            text = PointText(*s, Index);
            std::replace(text.begin(), text.end(), kLineBreak, ' ');
        }
    } else if (const TChartSeries* s = LegendSeries(Index); s && s->Count() > 0) {
        text = PointText(*s, s->Count() - 1);
    }
    if (const TOnGetLegendText& event = ParentChart()->OnGetLegendText)
        event(ParentChart(), style, Index, text);
    return text;
}

int TCustomChartLegend::WidestItemText(int Count) const
{
    const int n = Count < 0 ? ItemCount() : Count;
    TTeeCanvas3D* canvas = ParentChart()->Canvas();
    int widest = 0;
    for (int k = FFirstValue; k < FFirstValue + n; ++k)
        widest = std::max(widest, canvas->TextWidth(ItemText(k)));
    return widest;
}

int TCustomChartLegend::RowsThatFit(int Top, int RowHeight) const
{
    const TRect& plot = ParentChart()->PlotRect();
    const int f = FFrame->Width();
    int n;
    if (IsVertical()) {
        if (Top >= plot.Bottom || RowHeight <= 0)
            return 0;
        n = (plot.Bottom - 2 * f - Top) / RowHeight;
    } else {
        if (8 >= plot.Right || RowHeight <= 0)
            return 0;
        n = (plot.Width() - 2 * f - 8) / RowHeight;
    }
    // A rectangle too short for even the frame holds no rows rather than a negative count.
    return std::clamp(n, 0, ItemCount());
}

// ---------------------------------------------------------------------------------------------
// Layout and drawing

void TCustomChartLegend::PaintLegend()
{
    TCustomChart& chart = *ParentChart();
    TTeeCanvas3D* canvas = chart.Canvas();
    FCurrentStyle = StyleInEffect();
    chart.FLegendColor = FColor;
    canvas->Font()->Assign(*Font());
    const int h = canvas->FontHeight();
    FRowHeight = h;
    // The widest of all texts sizes a horizontal legend's columns; a vertical one measures only
    // the rows it shows (below), so a long block costs it nothing here.
    const int t = IsVertical() ? 0 : WidestItemText(-1) + 4;
    FColorBoxWidth = axismath::Round(t * FColorWidth * 0.01);
    const int n = ItemCount();
    const int f = FFrame->Width();
    const int frameRoom = FFrame->Visible() ? f + 1 : 0;
    const TRect plot = chart.PlotRect();
    const TRect& panel = chart.PanelBounds();

    TRect r;
    if (IsVertical()) {
        r.Top = panel.Top + axismath::Round(FTopPos * panel.Height() * 0.01);
        FColumns = 1;
        FRows = RowsThatFit(r.Top, h);
        r.Bottom = r.Top + FRows * h + 2;
    } else {
        FColumns = RowsThatFit(0, t + FColorBoxWidth + 8);
        FRows = FColumns <= 0 ? 0 : std::min((n + FColumns - 1) / FColumns, FMaxNumRows);
        if (FAlignment == laTop) {
            r.Top = plot.Top + frameRoom;
            r.Bottom = r.Top + FRows * h + 2;
        } else {
            r.Bottom = plot.Bottom - FShadowSize - frameRoom;
            r.Top = r.Bottom - FRows * h - 2;
        }
    }

    int textX;
    int symbolX;
    int columnStep = 0;
    if (FAlignment == laRight) {
        const int w = WidestItemText(FRows);
        r.Right = plot.Right - frameRoom - FShadowSize;
        textX = r.Right - w - 2;
        FColorBoxWidth = axismath::Round((w + 10) * FColorWidth * 0.01);
        symbolX = textX - FColorBoxWidth - 4;
        r.Left = textX - FColorBoxWidth - 8;
    } else if (FAlignment == laLeft) {
        const int w = WidestItemText(FRows);
        r.Left = plot.Left + frameRoom;
        symbolX = r.Left + 4;
        FColorBoxWidth = axismath::Round((w + 10) * FColorWidth * 0.01);
        textX = symbolX + FColorBoxWidth + 4;
        r.Right = symbolX + FColorBoxWidth + w + 6;
    } else {
        const int w = std::min(plot.Width(), 2 * FShadowSize + (FColorBoxWidth + t + 4) * FColumns + 8);
        const int s = axismath::Round(FTopPos * (panel.Width() - w) * 0.01);
        r.Left = s + chart.PlotXCenter() - w / 2;
        r.Right = s + w / 2 + chart.PlotXCenter();
        symbolX = r.Left + 4;
        textX = r.Left + FColorBoxWidth + 8;
        columnStep = t + FColorBoxWidth + 4;
    }
    FLegendRect = r;
    if (chart.OnGetLegendRect)
        chart.OnGetLegendRect(&chart, FLegendRect);

    const int shown = IsVertical() ? FRows : FColumns * FRows;
    if (shown < 1)
        return;
    DrawBox();

    TPen& pen = *canvas->Pen();
    pen.SetColor(FColor == clBlack ? clWhite : clBlack);
    pen.SetStyle(psSolid);
    pen.SetWidth(1);
    const int count = std::min(n, shown);
    for (int i = 0; i < count; ++i) {
        const int k = FFirstValue + (FInverted ? count - 1 - i : i);
        DrawItem(k, i, textX, symbolX, columnStep);
    }

    TRect rest = chart.PlotRect();
    if (FResizeChart) {
        switch (FAlignment) {
        case laLeft: rest.Left = FLegendRect.Right; break;
        case laRight: rest.Right = FLegendRect.Left; break;
        case laTop: rest.Top = FLegendRect.Bottom + FShadowSize; break;
        case laBottom: rest.Bottom = FLegendRect.Top; break;
        }
    }
    // The gap beside the legend is kept even when the legend overlaps the plotting area.
    const int horizGap = FHorizMargin ? FHorizMargin : platform::MulDiv(3, plot.Width(), 100);
    const int vertGap = FVertMargin ? FVertMargin : platform::MulDiv(4, plot.Height(), 100);
    switch (FAlignment) {
    case laLeft: rest.Left += horizGap; break;
    case laRight: rest.Right -= horizGap; break;
    case laTop: rest.Top += vertGap; break;
    case laBottom: rest.Bottom -= vertGap; break;
    }
    chart.SetPlotRect(rest);
    chart.RecalcPlotSize();
}

void TCustomChartLegend::DrawBox()
{
    TTeeCanvas3D* canvas = ParentChart()->Canvas();
    canvas->ApplyPen(*FFrame);
    const int f = FFrame->Width();
    TRect box = FLegendRect;
    int e = FShadowSize - 1;
    if (FFrame->Visible()) {
        if (FFrame->Color() == clDefault)
            canvas->Pen()->SetColor(clBlack);
        box = {box.Left - f, box.Top - f, box.Right + f, box.Bottom + f};
        e = FShadowSize + f + (f - 1) / 2;
    }
    if (FShadowSize > 0) {
        canvas->Brush()->SetColor(FShadowColor);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect({FLegendRect.Left + FShadowSize, FLegendRect.Top + FShadowSize,
                          FLegendRect.Right + e, FLegendRect.Bottom + e});
    }
    canvas->Brush()->Assign(*FBrush);
    if (FBrush->Style() != bsSolid) {
        // A hatch shows on the legend colour.
        canvas->SetBackColor(FColor);
        canvas->SetBackMode(platform::TBkMode::Opaque);
    } else {
        canvas->Brush()->SetColor(FColor);
    }
    canvas->DrawRect(box);
}

void TCustomChartLegend::DrawItem(int Index, int Position, int TextX, int SymbolX, int ColumnStep)
{
    TCustomChart& chart = *ParentChart();
    TTeeCanvas3D* canvas = chart.Canvas();
    const int h = FRowHeight;
    int y = FLegendRect.Top + 1;
    if (IsVertical()) {
        y += Position * h;
    } else {
        y += Position / FColumns * h;
        TextX += Position % FColumns * ColumnStep;
        SymbolX += Position % FColumns * ColumnStep;
    }
    if (chart.OnGetLegendPos)
        chart.OnGetLegendPos(&chart, Index, TextX, y, SymbolX);

    canvas->Brush()->SetStyle(bsClear);
    const std::string text = ItemText(Index);
    if (!text.empty()) {
        canvas->SetTextAlign(platform::Align::Left | platform::Align::Top);
        canvas->TextOut(TextX, y, text);
        DrawSymbol(Index, {SymbolX, y + 2, SymbolX + FColorBoxWidth, y + h - 2});
    }
    if (Position > 0 && FDividingLines->Visible()) {
        canvas->ApplyPen(*FDividingLines);
        canvas->SetBackMode(platform::TBkMode::Transparent);
        if (IsVertical())
            canvas->HorizLine(FLegendRect.Left, FLegendRect.Right, y);
        else
            canvas->VertLine(SymbolX - 4, FLegendRect.Top, FLegendRect.Bottom);
    }
}

void TCustomChartLegend::DrawSymbol(int Index, const TRect& Rect)
{
    TCustomChart& chart = *ParentChart();
    TTeeCanvas3D* canvas = chart.Canvas();
    TChartSeries* series = nullptr;
    int point = -1;
    if (FCurrentStyle == lsValues) {
        series = ListedSeries();
        point = Index;
        if (!series) {
            canvas->Brush()->SetColor(clWhite);
            canvas->Brush()->SetStyle(bsSolid);
            canvas->DrawRect(Rect);
            return;
        }
    } else {
        series = LegendSeries(Index);
        if (!series)
            return;
    }
    if (point < 0 && series->ColorEachPoint())
        return;
    const TColor color = point < 0 ? series->SeriesColor() : series->PointColor(point);
    if (color == clNone)
        return;
    TColor back = chart.FLegendColor;
    TBrushStyle style = bsSolid;
    series->PrepareLegendPen(point, back, style);
    if (back == clDefault)
        back = chart.FLegendColor != clDefault ? chart.FLegendColor : chart.Color();
    canvas->Brush()->SetColor(color);
    canvas->Brush()->SetStyle(style);
    canvas->SetBackColor(back);
    series->DrawLegendSymbol(point, Rect);
}

int TCustomChartLegend::ItemAtPoint(int X, int Y) const
{
    const TRect& r = FLegendRect;
    if (X < r.Left || X >= r.Right || Y < r.Top || Y >= r.Bottom)
        return -1;
    const auto rowAt = [&](int Height, int Rows) {
        for (int row = 0; row < Rows; ++row) {
            const int top = r.Top + row * Height + 1;
            if (Y >= top && Y <= top + Height)
                return row;
        }
        return -1;
    };
    if (IsVertical())
        return FRows <= 0 ? -1 : rowAt(r.Height() / FRows, FRows);
    if (FColumns <= 0)
        return -1;
    const int width = r.Width() / FColumns;
    for (int c = 0; c < FColumns; ++c) {
        const int left = r.Left + c * width + 1;
        if (X >= left && X <= left + width) {
            const int row = rowAt(FRowHeight, FRows);
            return row < 0 ? -1 : c + row * FColumns;
        }
    }
    return -1;
}

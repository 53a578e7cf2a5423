#include "chart/TeEngine.h"

#include "chart/TeeConst.h"
#include "framework/Property.h"

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------------------------------------
// Value lists

TChartValueList::TChartValueList(TChartSeries* Owner, const std::string& Name)
    : FName(Name), FOwner(Owner)
{
}

void TChartValueList::SetDateTime(bool Value)
{
    SetProperty(FDateTime, Value, [this] { FOwner->Repaint(); });
}

void TChartValueList::SetMultiplier(double Value)
{
    if (!StoreChanged(FMultiplier, Value))
        return;
    Changed();
    FOwner->Repaint();
}

int TChartValueList::AddInOrder(double Value)
{
    int index = Count();
    if (FOrder != loNone && index > 0) {
        // Values arriving in the list's own order cost one comparison: the common case.
        if (FOrder == loAscending) {
            if (FValues[index - 1] > Value) {
                do
                    --index;
                while (index > 0 && FValues[index - 1] > Value);
            }
        } else if (FValues[index - 1] < Value) {
            do
                --index;
            while (index > 0 && FValues[index - 1] < Value);
        }
    }
    FValues.Insert(index, Value);
    Changed();
    return index;
}

void TChartValueList::InsertAt(int Index, double Value)
{
    if (Index < 0 || Index > Count())
        ListIndexError(Index);
    FValues.Insert(Index, Value);
    Changed();
}

void TChartValueList::DeleteAt(int Index)
{
    FValues.Delete(Index);
    Changed();
}

void TChartValueList::SetValue(int Index, double Value)
{
    FValues.At(Index) = Value;
    Changed();
}

void TChartValueList::ClearValues()
{
    FValues.Clear();
    Changed();
}

void TChartValueList::RecalcStats() const
{
    if (!FStatsDirty)
        return;
    FStatsDirty = false;
    const int n = Count();
    if (n == 0) {
        FMinValue = FMaxValue = FTotal = FAbsTotal = 0;
        return;
    }
    double v = FValues[0] * FMultiplier;
    FMinValue = FMaxValue = FTotal = v;
    FAbsTotal = std::fabs(v);
    for (int i = 1; i < n; ++i) {
        v = FValues[i] * FMultiplier;
        if (v < FMinValue)
            FMinValue = v;
        else if (v > FMaxValue)
            FMaxValue = v;
        FTotal += v;
        FAbsTotal += std::fabs(v);
    }
}

double TChartValueList::MaxValue() const
{
    RecalcStats();
    return FMaxValue;
}

double TChartValueList::MinValue() const
{
    RecalcStats();
    return FMinValue;
}

double TChartValueList::Total() const
{
    RecalcStats();
    return FTotal;
}

double TChartValueList::AbsTotal() const
{
    RecalcStats();
    return FAbsTotal;
}

int TChartValueList::IndexOfValue(double Value) const
{
    for (int i = 0; i < Count(); ++i)
        if (FValues[i] * FMultiplier == Value)
            return i;
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Series

TColor GetDefaultColor(int Index)
{
    static constexpr TColor Palette[MaxDefaultColors] = {
        0x000000FF, 0x00008000, 0x0000FFFF, 0x00FF0000, 0x00FFFFFF, 0x00808080,
        0x00FF00FF, 0x00808000, 0x00800000, 0x00000080, 0x0000FF00, 0x00008080,
        0x00800080, 0x00C0C0C0, 0x00FFFF00, 0x00000000};
    return Palette[((Index % MaxDefaultColors) + MaxDefaultColors) % MaxDefaultColors];
}

TChartSeries::TChartSeries(TComponent* Owner) : TComponent(Owner)
{
    auto x = std::make_unique<TChartValueList>(this, "X");
    x->SetOrder(loAscending);
    FXValues = x.get();
    FValueLists.Add(std::move(x));
    auto y = std::make_unique<TChartValueList>(this, "Y");
    FYValues = y.get();
    FValueLists.Add(std::move(y));
}

TChartSeries::~TChartSeries()
{
    // The handler's owner may already be half destroyed (owners free their components last),
    // so the clear that ends a series' life notifies nobody.
    OnClearValues = nullptr;
    Clear();
    SetParentChart(nullptr);
}

void TChartSeries::SetActive(bool Value)
{
    SetProperty(FActive, Value, [this] { Repaint(); });
}

void TChartSeries::SetSeriesColor(TColor Value)
{
    SetProperty(FSeriesColor, Value, [this] { Repaint(); });
}

void TChartSeries::SetColorEachPoint(bool Value)
{
    if (!StoreChanged(FColorEachPoint, Value))
        return;
    if (!Value)
        for (int i = 0; i < FColors.Count(); ++i)
            SetPointColor(i, clDefault);
    Repaint();
}

void TChartSeries::SetShowInLegend(bool Value)
{
    SetProperty(FShowInLegend, Value, [this] { Repaint(); });
}

void TChartSeries::SetTitle(const std::string& Value)
{
    SetProperty(FTitle, Value, [this] { Repaint(); });
}

void TChartSeries::SetHorizAxis(THorizAxis Value)
{
    if (!StoreChanged(FHorizAxis, Value))
        return;
    ResolveAxes();
    Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis Value)
{
    if (!StoreChanged(FVertAxis, Value))
        return;
    ResolveAxes();
    Repaint();
}

void TChartSeries::SetCustomHorizAxis(TCustomChartAxis* Value)
{
    if (!StoreChanged(FCustomHorizAxis, Value))
        return;
    ResolveAxes();
    Repaint();
}

void TChartSeries::SetCustomVertAxis(TCustomChartAxis* Value)
{
    if (!StoreChanged(FCustomVertAxis, Value))
        return;
    ResolveAxes();
    Repaint();
}

void TChartSeries::SetValueFormat(const std::string& Value)
{
    SetProperty(FValueFormat, Value, [this] { Repaint(); });
}

void TChartSeries::SetPercentFormat(const std::string& Value)
{
    SetProperty(FPercentFormat, Value, [this] { Repaint(); });
}

void TChartSeries::SetParentChart(TCustomAxisPanel* Value)
{
    if (FParentChart == Value)
        return;
    if (FParentChart)
        FParentChart->RemoveSeries(this);
    if (Value)
        Value->AddSeries(this);
}

void TChartSeries::ResolveAxes()
{
    if (!FParentChart) {
        FHorizAxisObject = FVertAxisObject = nullptr;
        return;
    }
    if (FHorizAxis == aTopAxis)
        FHorizAxisObject = FParentChart->TopAxis();
    else if (FHorizAxis == aCustomHorizAxis && FCustomHorizAxis)
        FHorizAxisObject = FCustomHorizAxis;
    else
        FHorizAxisObject = FParentChart->BottomAxis();
    if (FVertAxis == aRightAxis)
        FVertAxisObject = FParentChart->RightAxis();
    else if (FVertAxis == aCustomVertAxis && FCustomVertAxis)
        FVertAxisObject = FCustomVertAxis;
    else
        FVertAxisObject = FParentChart->LeftAxis();
}

int TChartSeries::Add(double Value, const std::string& Label, TColor Color)
{
    return AddPoint(static_cast<double>(FXValues->Count()), Value, Label, Color);
}

int TChartSeries::AddPoint(double X, double Y, const std::string& Label, TColor Color)
{
    FXValues->FStagedValue = X;
    FYValues->FStagedValue = Y;
    if (OnBeforeAdd && !OnBeforeAdd(this))
        return -1;
    const int index = FXValues->AddInOrder(FXValues->FStagedValue);
    // Every other value list (Y here) takes its staged value at the same place.
    for (int i = 0; i < FValueLists.Count(); ++i)
        if (FValueLists[i] != FXValues)
            FValueLists[i]->InsertAt(index, FValueLists[i]->FStagedValue);
    FColors.Insert(index, Color);
    FLabels.Insert(index, Label.empty() ? nullptr : std::make_unique<std::string>(Label));
    if (OnAfterAdd)
        OnAfterAdd(this, index);
    if (FActive)
        Repaint();
    return index;
}

void TChartSeries::Clear()
{
    for (int i = 0; i < FValueLists.Count(); ++i)
        FValueLists[i]->ClearValues();
    FColors.Clear();
    FLabels.Clear();
    if (OnClearValues)
        OnClearValues(this);
    if (FActive && FParentChart && !FParentChart->Destroying())
        Repaint();
}

void TChartSeries::Delete(int ValueIndex)
{
    // The X list checks the index first, so a bad index changes nothing.
    for (int i = 0; i < FValueLists.Count(); ++i)
        FValueLists[i]->DeleteAt(ValueIndex);
    if (ValueIndex < FColors.Count())
        FColors.Delete(ValueIndex);
    if (ValueIndex < FLabels.Count())
        FLabels.Delete(ValueIndex);
    if (FActive)
        Repaint();
}

TColor TChartSeries::PointColor(int ValueIndex) const
{
    if (ValueIndex < 0 || ValueIndex >= FColors.Count())
        return FSeriesColor;
    const TColor c = FColors[ValueIndex];
    if (c != clDefault)
        return c;
    return FColorEachPoint ? GetDefaultColor(ValueIndex) : FSeriesColor;
}

void TChartSeries::SetPointColor(int ValueIndex, TColor Color)
{
    FColors.At(ValueIndex) = Color;
    Repaint();
}

std::string TChartSeries::PointLabel(int ValueIndex) const
{
    if (ValueIndex < 0 || ValueIndex >= FLabels.Count() || !FLabels[ValueIndex])
        return {};
    return *FLabels[ValueIndex];
}

int TChartSeries::XPosOfPoint(int ValueIndex) const
{
    return XPosOfValue(FXValues->Value(ValueIndex));
}

int TChartSeries::YPosOfPoint(int ValueIndex) const
{
    return YPosOfValue(FYValues->Value(ValueIndex));
}

int TChartSeries::XPosOfValue(double Value) const
{
    return FHorizAxisObject ? FHorizAxisObject->ValueToPixel(Value) : 0;
}

int TChartSeries::YPosOfValue(double Value) const
{
    return FVertAxisObject ? FVertAxisObject->ValueToPixel(Value) : 0;
}

double TChartSeries::XValueAtPos(int Pixel) const
{
    return FHorizAxisObject ? FHorizAxisObject->PixelToValue(Pixel) : 0;
}

void TChartSeries::CalcVisibleRange()
{
    FFirstShown = FLastShown = -1;
    const int n = Count() - 1;
    if (n < 0)
        return;
    TChartValueList* list = NotMandatoryValueList();
    const bool byX = list == FXValues;
    TCustomChartAxis* axis = byX ? FHorizAxisObject : FVertAxisObject;
    if (!FLimitToVisible || list->Order() == loNone || !FParentChart || !axis) {
        FFirstShown = 0;
        FLastShown = n;
        return;
    }
    const TRect& r = FParentChart->PlotRect();
    // The pixel edge where the values start and the one where they end.
    int lowEdge = byX ? r.Left : r.Bottom;
    int highEdge = byX ? r.Right : r.Top;
    if (axis->Inverted())
        std::swap(lowEdge, highEdge);
    const double low = axis->PixelToValue(lowEdge);
    int first = 0;
    while (list->Value(first) < low)
        if (++first > n)
            return;
    FFirstShown = first;
    const double high = axis->PixelToValue(highEdge);
    if (!(list->Last() > high)) {
        FLastShown = n;
        return;
    }
    int last = first;
    while (list->Value(last) < high) {
        if (++last > n) {
            last = n;
            break;
        }
    }
    if (!FConnectsPoints && list->Value(last) > high)
        --last;
    FLastShown = last;
}

bool TChartSeries::IsAttachedToAxis(const TCustomChartAxis* Axis) const
{
    if (!Axis)
        return false;
    if (Axis->Horizontal())
        return FHorizAxis == aBothHorizAxis || Axis == FHorizAxisObject;
    return FVertAxis == aBothVertAxis || Axis == FVertAxisObject;
}

void TChartSeries::Repaint()
{
    if (FParentChart)
        FParentChart->Invalidate();
}

void TChartSeries::DrawPoint(int) {}

void TChartSeries::DrawLegendSymbol(int, const TRect& Rect)
{
    // The plain symbol: a rectangle in the brush and pen the legend has set.
    if (FParentChart)
        FParentChart->Canvas()->DrawRect(Rect);
}

void TChartSeries::PrepareLegendPen(int, TColor&, TBrushStyle&) {}

void TChartSeries::HorizMargins(int&, int&) {}

int TChartSeries::Clicked(int, int)
{
    return -1;
}

void TChartSeries::VertMargins(int&, int&) {}

// ---------------------------------------------------------------------------------------------
// Series list

int TChartSeriesList::IndexOf(const TChartSeries* Series) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), Series);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TChartSeriesList::ActiveCount() const
{
    return static_cast<int>(
        std::count_if(FItems.begin(), FItems.end(), [](TChartSeries* s) { return s->Active(); }));
}

// ---------------------------------------------------------------------------------------------
// Axis panel

TCustomAxisPanel::TCustomAxisPanel(TComponent* Owner) : TCustomTeePanelExtended(Owner) {}

TCustomAxisPanel::~TCustomAxisPanel()
{
    BeginDestroy();
    // The series belong to the form and may outlive the chart: they must forget it.
    for (TChartSeries* s : FSeriesList.FItems) {
        s->FParentChart = nullptr;
        s->ResolveAxes();
    }
    FSeriesList.FItems.clear();
}

std::vector<TAxisSeries> TCustomAxisPanel::SeriesOnAxis(const TCustomChartAxis& Axis) const
{
    std::vector<TAxisSeries> out;
    for (const TChartSeries* s : FSeriesList.FItems) {
        if (!s->IsAttachedToAxis(&Axis))
            continue;
        const TChartValueList* values = Axis.Horizontal() ? s->XValues() : s->YValues();
        const TChartValueList* across = Axis.Horizontal() ? s->YValues() : s->XValues();
        const int count = s->Count();
        out.push_back({s->Active(), count, count ? values->MinValue() : 0, count ? values->MaxValue() : 0,
                       values->DateTime(),
                       s->MandatoryValueList() == across && count > 0 && !s->PointLabel(0).empty(),
                       [values](int k) { return values->Value(k); },
                       [s](int k) { return s->PointLabel(k); }});
    }
    return out;
}

TColor TCustomAxisPanel::FreeSeriesColor() const
{
    for (int i = 0; i < MaxDefaultColors; ++i) {
        const TColor c = GetDefaultColor(i);
        if (c == Color() || c == BackWallColor())
            continue;
        if (std::none_of(FSeriesList.FItems.begin(), FSeriesList.FItems.end(),
                         [c](const TChartSeries* s) { return s->SeriesColor() == c; }))
            return c;
    }
    return GetDefaultColor(0);
}

void TCustomAxisPanel::AddSeries(TChartSeries* Series)
{
    if (FSeriesList.IndexOf(Series) >= 0)
        return;
    if (Series->SeriesColor() == clDefault)
        Series->SetSeriesColor(FreeSeriesColor());
    if (Series->FParentChart)
        Series->FParentChart->RemoveSeries(Series);
    Series->FParentChart = this;
    Series->ResolveAxes();
    FSeriesList.FItems.push_back(Series);
    Invalidate();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* Series)
{
    const int i = FSeriesList.IndexOf(Series);
    if (i < 0)
        return;
    FSeriesList.FItems.erase(FSeriesList.FItems.begin() + i);
    Series->FParentChart = nullptr;
    Series->ResolveAxes();
    Invalidate();
}

bool TCustomAxisPanel::IsAxisVisible(const TCustomChartAxis* Axis) const
{
    if (!FAxisVisible || !Axis->Visible())
        return false;
    if (Axis->IsDepthAxis())
        return View3D();
    return std::any_of(FSeriesList.FItems.begin(), FSeriesList.FItems.end(),
                       [Axis](const TChartSeries* s) {
                           return s->Active() && s->IsAttachedToAxis(Axis);
                       });
}

void TCustomAxisPanel::SetAxisVisible(bool Value)
{
    SetProperty(FAxisVisible, Value, [this] { Invalidate(); });
}

void TCustomAxisPanel::SetClipPoints(bool Value)
{
    SetProperty(FClipPoints, Value, [this] { Invalidate(); });
}

void TCustomAxisPanel::SetView3DWalls(bool Value)
{
    SetProperty(FView3DWalls, Value, [this] { Invalidate(); });
}

void TCustomAxisPanel::SetMaxPointsPerPage(int Value)
{
    if (Value < 0)
        throw ChartException(TeeMsg_MaxPointsPerPage);
    SetProperty(FMaxPointsPerPage, Value, [this] { Invalidate(); });
}

void TCustomAxisPanel::SetPage(int Value)
{
    if (!StoreChanged(FPage, Value))
        return;
    Invalidate();
    if (OnPageChange)
        OnPageChange(this);
}

void TCustomAxisPanel::SetScaleLastPage(bool Value)
{
    SetProperty(FScaleLastPage, Value, [this] { Invalidate(); });
}

void TCustomAxisPanel::InternalDraw(const TRect&)
{
    TTeeCanvas3D* canvas = Canvas();
    PaintPanel();
    for (TChartSeries* s : FSeriesList.FItems)
        if (s->Active())
            s->DoBeforeDrawChart();
    canvas->BeginFrontPlane();
    DrawTitlesAndLegend();
    canvas->EndFrontPlane();
    LayoutAxes();
    FitSeriesMargins();
    canvas->SetProjection(FWidth3D, PanelBounds(), PlotRect());
    PaintWalls();
    if (FAxisVisible) {
        if (OnBeforeDrawAxes)
            OnBeforeDrawAxes(this);
        for (TCustomChartAxis* axis : FAxes)
            if (IsAxisVisible(axis))
                axis->DrawAxis(true);
    }
    if (OnBeforeDrawSeries)
        OnBeforeDrawSeries(this);
    for (TChartSeries* s : FSeriesList.FItems)
        if (s->Active())
            DrawSeries(s);
    if (ZoomRecord().Active)
        DrawZoomRectangle();
    canvas->ResetState();
    if (OnAfterDraw)
        OnAfterDraw(this);
}

void TCustomAxisPanel::DrawSeries(TChartSeries* Series)
{
    Series->CalcVisibleRange();
    if (Series->FirstShown() < 0)
        return;
    if (Series->BeforeDrawValues)
        Series->BeforeDrawValues(Series);
    TTeeCanvas3D* canvas = Canvas();
    if (FClipPoints)
        canvas->ClipToPlotArea(PlotRect(), 0, FWidth3D);
    for (int i = Series->FirstShown(); i <= Series->LastShown(); ++i)
        Series->DrawPoint(i);
    canvas->RemoveClip();
    if (Series->AfterDrawValues)
        Series->AfterDrawValues(Series);
}

void TCustomAxisPanel::LayoutAxes()
{
    for (TCustomChartAxis* axis : FAxes)
        axis->ComputeAutoRange();
    // Two dimensions: no depth for any series.
    FSeriesWidth3D = FSeriesHeight3D = FWidth3D = FHeight3D = 0;
    RecalcPlotSize();
    TRect current = PlotRect();
    for (std::size_t i = 0; i < FAxes.size(); ++i) {
        TCustomChartAxis* axis = FAxes[i];
        if (!IsAxisVisible(axis))
            continue;
        TRect r = current;
        // Only the five standard axes take room; axes added later just place themselves.
        axis->ReserveSpace(r, i < 5);
        const TRect cut = {std::max(r.Left, current.Left), std::max(r.Top, current.Top),
                           std::min(r.Right, current.Right), std::min(r.Bottom, current.Bottom)};
        if (cut.Left < cut.Right && cut.Top < cut.Bottom)
            current = cut;
    }
    SetPlotRect(current);
    RecalcPlotSize();
    for (TCustomChartAxis* axis : FAxes)
        axis->PlaceOnPlotRect();
}

void TCustomAxisPanel::FitSeriesMargins()
{
    for (TCustomChartAxis* axis : {&FTopAxis, &FLeftAxis, &FRightAxis, &FBottomAxis}) {
        int before = 0;
        int after = 0;
        for (TChartSeries* s : FSeriesList.FItems) {
            if (!s->Active() || !s->IsAttachedToAxis(axis))
                continue;
            int a = 0;
            int b = 0;
            if (axis->Horizontal())
                s->HorizMargins(a, b);
            else
                s->VertMargins(a, b);
            before = std::max(before, a);
            after = std::max(after, b);
        }
        // Before is left (top), after is right (bottom); a fixed end of the range keeps its
        // value. For a vertical axis the top is the maximum.
        if (axis->Horizontal()) {
            if (!axis->AutomaticMinimum())
                before = 0;
            if (!axis->AutomaticMaximum())
                after = 0;
        } else {
            if (!axis->AutomaticMaximum())
                before = 0;
            if (!axis->AutomaticMinimum())
                after = 0;
        }
        // No margin: the range stays exactly as the data gave it.
        if (before > 0 || after > 0)
            axis->WidenForMargins(before, after);
    }
}

#pragma once
// The chart's data side and its axis layer: value lists, the series base class, the chart's
// list of series, and the axis panel that lays out and draws axes and series in a fixed order.
//
// Ownership: a series owns its value lists and point stores; the form owns the series; the
// panel owns its axes and its series list (not the series in it). A series and its chart
// refer to each other without owning.
//
// Threading: user-interface thread only; nothing here locks.

#include "chart/TeeAxis.h"
#include "chart/TeeGrowList.h"
#include "chart/TeeProcs.h"
#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "platform/Types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TChartSeries;
class TCustomAxisPanel;

enum TChartListOrder { loNone, loAscending, loDescending };

// One dimension of a series' points: the stored values in a chosen order, read through a
// multiplier, with their minimum, maximum and totals cached until the next change.
class TChartValueList : public TPersistent {
public:
    // Appends itself to the owner's value lists.
    TChartValueList(TChartSeries* Owner, const std::string& Name);

    TChartSeries* Owner() const { return FOwner; }

    bool DateTime() const { return FDateTime; }
    void SetDateTime(bool Value);
    double Multiplier() const { return FMultiplier; }
    void SetMultiplier(double Value);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    TChartListOrder Order() const { return FOrder; }
    void SetOrder(TChartListOrder Value) { FOrder = Value; }
    const std::string& ValueSource() const { return FValueSource; }
    void SetValueSource(const std::string& Value) { FValueSource = Value; }

    int Count() const { return FValues.Count(); }
    int Capacity() const { return FValues.Capacity(); }
    double Value(int Index) const { return FValues.At(Index) * FMultiplier; }
    double Last() const { return Value(Count() - 1); }

    // Stores Value where Order puts it (after any equal values) and answers its index.
    int AddInOrder(double Value);
    void InsertAt(int Index, double Value);
    void DeleteAt(int Index);
    void SetValue(int Index, double Value);
    void ClearValues();

    double MaxValue() const;
    double MinValue() const;
    double Total() const;
    double AbsTotal() const;

    // First index whose scaled value equals Value exactly, or -1.
    int IndexOfValue(double Value) const;

    // The value that the series' add operation hands over to this list.
    double FStagedValue = 0;

private:
    void RecalcStats() const;
    void Changed() { FStatsDirty = true; }

    bool FDateTime = false;
    TGrowList<double> FValues;
    mutable double FMaxValue = 0;
    mutable double FMinValue = 0;
    double FMultiplier = 1.0;
    std::string FName;
    TChartListOrder FOrder = loNone;
    TChartSeries* FOwner;
    mutable double FTotal = 0;
    mutable double FAbsTotal = 0;
    std::string FValueSource;
    mutable bool FStatsDirty = true;
};

// The value lists of a series in creation order (X first, then Y), owned by the series.
class TChartValueLists {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TChartValueList* operator[](int Index) const { return FItems.at(std::size_t(Index)).get(); }
    void Add(std::unique_ptr<TChartValueList> List) { FItems.push_back(std::move(List)); }

private:
    std::vector<std::unique_ptr<TChartValueList>> FItems;
};

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// The chart's default palette; entry i of any longer sequence is entry i mod 16.
constexpr int MaxDefaultColors = 16;
TColor GetDefaultColor(int Index);

// One row of points: X, Y, colour and an optional label each, kept as parallel sequences of
// equal length. Every change of data or of a property asks the chart to repaint.
class TChartSeries : public TComponent {
public:
    explicit TChartSeries(TComponent* Owner);
    ~TChartSeries() override;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TColor SeriesColor() const { return FSeriesColor; }
    void SetSeriesColor(TColor Value);
    bool ColorEachPoint() const { return FColorEachPoint; }
    void SetColorEachPoint(bool Value);
    bool ShowInLegend() const { return FShowInLegend; }
    void SetShowInLegend(bool Value);
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value);
    THorizAxis HorizAxis() const { return FHorizAxis; }
    void SetHorizAxis(THorizAxis Value);
    TVertAxis VertAxis() const { return FVertAxis; }
    void SetVertAxis(TVertAxis Value);
    // The axes used for aCustomHorizAxis / aCustomVertAxis (not owned).
    TCustomChartAxis* CustomHorizAxis() const { return FCustomHorizAxis; }
    void SetCustomHorizAxis(TCustomChartAxis* Value);
    TCustomChartAxis* CustomVertAxis() const { return FCustomVertAxis; }
    void SetCustomVertAxis(TCustomChartAxis* Value);
    TCustomAxisPanel* ParentChart() const { return FParentChart; }
    // Moves the series from its chart (if any) to Value (may be null).
    void SetParentChart(TCustomAxisPanel* Value);
    // Only stored: the chart's label formatting reads them.
    const std::string& ValueFormat() const { return FValueFormat; }
    void SetValueFormat(const std::string& Value);
    const std::string& PercentFormat() const { return FPercentFormat; }
    void SetPercentFormat(const std::string& Value);

    TChartValueList* XValues() const { return FXValues; }
    TChartValueList* YValues() const { return FYValues; }
    const TChartValueLists& ValuesLists() const { return FValueLists; }
    // The list every point must supply (Y here) and the one that counts the points (X).
    virtual TChartValueList* MandatoryValueList() const { return FYValues; }
    virtual TChartValueList* NotMandatoryValueList() const { return FXValues; }

    // The resolved axes; null while the series has no chart.
    TCustomChartAxis* HorizAxisObject() const { return FHorizAxisObject; }
    TCustomChartAxis* VertAxisObject() const { return FVertAxisObject; }

    // Adds a point whose X is the next index; answers its index, -1 when OnBeforeAdd refused.
    int Add(double Value, const std::string& Label = "", TColor Color = clDefault);
    int AddPoint(double X, double Y, const std::string& Label = "", TColor Color = clDefault);
    void Clear();
    void Delete(int ValueIndex);
    int Count() const { return FXValues->Count(); }

    TColor PointColor(int ValueIndex) const;
    void SetPointColor(int ValueIndex, TColor Color);
    std::string PointLabel(int ValueIndex) const;
    int ColorCapacity() const { return FColors.Capacity(); }
    int LabelCapacity() const { return FLabels.Capacity(); }

    double MinXValue() const { return FXValues->MinValue(); }
    double MaxXValue() const { return FXValues->MaxValue(); }
    double MinYValue() const { return FYValues->MinValue(); }
    double MaxYValue() const { return FYValues->MaxValue(); }

    // Conversions through the series' axes; 0 while the series has no axis.
    int XPosOfPoint(int ValueIndex) const;
    int YPosOfPoint(int ValueIndex) const;
    int XPosOfValue(double Value) const;
    int YPosOfValue(double Value) const;
    double XValueAtPos(int Pixel) const;

    // The range of points that lie in the chart's plotting rectangle (FirstShown/LastShown).
    void CalcVisibleRange();
    int FirstShown() const { return FFirstShown; }
    int LastShown() const { return FLastShown; }
    bool ConnectsPoints() const { return FConnectsPoints; }
    bool LimitToVisible() const { return FLimitToVisible; }

    bool IsAttachedToAxis(const TCustomChartAxis* Axis) const;
    // Asks the chart, if any, to invalidate itself.
    void Repaint();

    // What the chart calls while it paints; the series kinds replace them.
    virtual void DoBeforeDrawChart() {}
    virtual void DrawPoint(int ValueIndex);
    virtual void DrawLegendSymbol(int ValueIndex, const TRect& Rect);
    virtual void PrepareLegendPen(int ValueIndex, TColor& BackColor, TBrushStyle& Style);
    virtual void HorizMargins(int& Before, int& After);
    virtual void VertMargins(int& Before, int& After);
    // The point of the series drawn at or near (X, Y), by the last paint's layout; -1 for none.
    virtual int Clicked(int X, int Y);

    std::function<bool(TChartSeries* Sender)> OnBeforeAdd;
    std::function<void(TChartSeries* Sender, int ValueIndex)> OnAfterAdd;
    std::function<void(TChartSeries* Sender)> OnClearValues;
    TNotifyEvent BeforeDrawValues;
    TNotifyEvent AfterDrawValues;

protected:
    // Line series set this: the point just beyond the right edge stays in the visible range.
    bool FConnectsPoints = false;
    bool FLimitToVisible = true;

private:
    friend class TCustomAxisPanel;
    void ResolveAxes();

    bool FActive = true;
    TColor FSeriesColor = clDefault;
    bool FColorEachPoint = false;
    TGrowList<TColor> FColors;
    int FFirstShown = -1;
    TCustomChartAxis* FHorizAxisObject = nullptr;
    TCustomChartAxis* FVertAxisObject = nullptr;
    int FLastShown = -1;
    TCustomAxisPanel* FParentChart = nullptr;
    bool FShowInLegend = true;
    std::string FTitle;
    TChartValueLists FValueLists;
    TChartValueList* FXValues;
    // An empty label is stored as null and takes no memory beyond the pointer.
    TGrowList<std::unique_ptr<std::string>> FLabels;
    TChartValueList* FYValues;
    THorizAxis FHorizAxis = aBottomAxis;
    TVertAxis FVertAxis = aLeftAxis;
    TCustomChartAxis* FCustomHorizAxis = nullptr;
    TCustomChartAxis* FCustomVertAxis = nullptr;
    std::string FValueFormat = "#,##0.###";
    std::string FPercentFormat = "##0.## %";
};

// The chart's series in the order added; the list does not own them.
class TChartSeriesList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TChartSeries* operator[](int Index) const { return FItems.at(std::size_t(Index)); }
    int IndexOf(const TChartSeries* Series) const;
    int ActiveCount() const;

private:
    friend class TCustomAxisPanel;
    std::vector<TChartSeries*> FItems;
};

// The panel with series and axes: lays out the axes against the plotting rectangle and draws
// walls, axes and series in a fixed order. The chart class above it adds titles, walls and the
// legend through the protected hooks.
class TCustomAxisPanel : public TCustomTeePanelExtended, private TAxisHost {
public:
    explicit TCustomAxisPanel(TComponent* Owner);
    ~TCustomAxisPanel() override;

    const TChartSeriesList* SeriesList() const { return &FSeriesList; }
    TChartSeries* Series(int Index) const { return FSeriesList[Index]; }
    int SeriesCount() const { return FSeriesList.Count(); }
    int ActiveSeriesCount() const { return FSeriesList.ActiveCount(); }
    // Attaches the series to this chart; the series' SetParentChart comes here.
    void AddSeries(TChartSeries* Series);
    void RemoveSeries(TChartSeries* Series);

    // Every axis in creation order: the order of layout and drawing.
    const std::vector<TCustomChartAxis*>& AxesList() const { return FAxes; }
    TChartAxis* BottomAxis() { return &FBottomAxis; }
    TChartAxis* TopAxis() { return &FTopAxis; }
    TChartAxis* LeftAxis() { return &FLeftAxis; }
    TChartAxis* RightAxis() { return &FRightAxis; }
    TChartDepthAxis* DepthAxis() { return &FDepthAxis; }
    // An axis draws when axes are shown, it is Visible and it has an active series (the depth
    // axis: in 3-D).
    bool IsAxisVisible(const TCustomChartAxis* Axis) const;

    bool AxisVisible() const { return FAxisVisible; }
    void SetAxisVisible(bool Value);
    bool ClipPoints() const { return FClipPoints; }
    void SetClipPoints(bool Value);
    bool View3DWalls() const { return FView3DWalls; }
    void SetView3DWalls(bool Value);
    int MaxPointsPerPage() const { return FMaxPointsPerPage; }
    void SetMaxPointsPerPage(int Value);
    int Page() const { return FPage; }
    void SetPage(int Value);
    bool ScaleLastPage() const { return FScaleLastPage; }
    void SetScaleLastPage(bool Value);

    // Three-dimensional depth of one series and of all, 0 in two dimensions.
    int SeriesWidth3D() const { return FSeriesWidth3D; }
    int SeriesHeight3D() const { return FSeriesHeight3D; }
    int Width3D() const { return FWidth3D; }
    int Height3D() const { return FHeight3D; }

    TNotifyEvent OnBeforeDrawAxes;
    TNotifyEvent OnBeforeDrawSeries;
    TNotifyEvent OnAfterDraw;
    TNotifyEvent OnPageChange;
    TAxisOnGetLabel OnGetAxisLabel;
    TAxisOnGetNextLabel OnGetNextAxisLabel;

protected:
    void InternalDraw(const TRect& UserRect) override;

    // Hooks of the drawing sequence for the chart class.
    virtual void DrawTitlesAndLegend() {}
    virtual void PaintWalls() {}
    virtual void DrawZoomRectangle() {}
    // The back wall's colour, which a new series' colour avoids (clDefault: none).
    virtual TColor BackWallColor() const { return clDefault; }

    void LayoutAxes();
    void FitSeriesMargins();

private:
    // What the axes ask of their chart.
    TCustomAxisPanel* AxisChart() override { return this; }
    TCustomTeePanel& AxisPanel() override { return *this; }
    std::vector<TAxisSeries> SeriesOnAxis(const TCustomChartAxis& Axis) const override;
    int AxisDepth() const override { return FWidth3D; }
    const TAxisOnGetLabel& AxisLabelEvent() const override { return OnGetAxisLabel; }
    const TAxisOnGetNextLabel& NextAxisLabelEvent() const override { return OnGetNextAxisLabel; }

    void DrawSeries(TChartSeries* Series);
    // The first palette colour that no series uses and that differs from the background.
    TColor FreeSeriesColor() const;

    TChartSeriesList FSeriesList;
    // Creation order is the order of layout and drawing.
    TChartAxis FBottomAxis{*this, TAxisSide::Bottom};
    TChartAxis FTopAxis{*this, TAxisSide::Top};
    TChartAxis FLeftAxis{*this, TAxisSide::Left};
    TChartAxis FRightAxis{*this, TAxisSide::Right};
    TChartDepthAxis FDepthAxis{*this};
    std::vector<TCustomChartAxis*> FAxes{&FBottomAxis, &FTopAxis, &FLeftAxis, &FRightAxis, &FDepthAxis};
    bool FAxisVisible = true;
    bool FClipPoints = true;
    bool FView3DWalls = true;
    int FMaxPointsPerPage = 0;
    int FPage = 1;
    bool FScaleLastPage = true;
    int FSeriesWidth3D = 0;
    int FSeriesHeight3D = 0;
    int FWidth3D = 0;
    int FHeight3D = 0;
};

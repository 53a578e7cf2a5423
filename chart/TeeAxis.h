#pragma once
// The chart's axes: each maps one dimension of the series to pixels of the plotting rectangle,
// finds its range from the data, chooses a round label step that lets its labels fit,
// reserves room for its labels and ticks and draws itself. The axis panel (chart/TeEngine.h)
// owns them and calls them in its drawing sequence: ComputeAutoRange, ReserveSpace,
// PlaceOnPlotRect, WidenForMargins, then DrawAxis. Between paints the layout fields keep the
// values of the last paint; the series and the mouse handling convert through them.
//
// An axis knows no series class: it asks its host (the axis panel) for the series attached to
// it, each seen in the axis' dimension, so the series side may depend on the axes and not the
// other way round. Layout lives in TeeAxis.cpp, drawing in TeeAxisDraw.cpp.
//
// Only numeric, linear axes at label angle 0 are drawn; the date-time, logarithmic and
// rotated settings are kept and validated so that a layout can name them.
//
// Ownership: the chart owns its axes; an axis owns its pens, title and labels font, and refers
// to its chart without owning it.
//
// Threading: user-interface thread only (painting and mouse handling).

#include "chart/TeeAxisMath.h"
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
class TCustomChartAxis;
class TChartPen;
class TChartAxisPen;
class TChartHiddenPen;
class TDarkGrayPen;
class TDottedGrayPen;
class TTeeCanvas3D;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

// Where an axis sits: bottom and top run horizontally, top, right and depth lie on the other
// side (top or right edge) of the plotting rectangle.
enum class TAxisSide { Bottom, Top, Left, Right, Depth };

// A label of an axis may be rewritten, or its values supplied, by these chart events.
using TAxisOnGetLabel = std::function<void(TCustomChartAxis* Sender, TChartSeries* Series,
                                           int ValueIndex, std::string& LabelText)>;
using TAxisOnGetNextLabel =
    std::function<void(TCustomChartAxis* Sender, int LabelIndex, double& LabelValue, bool& Stop)>;

// One series attached to an axis, as the axis sees it: its values in the axis' dimension (X for
// a horizontal axis, Y for a vertical one).
struct TAxisSeries {
    bool Active = false;
    int Count = 0;
    // Smallest and largest value; 0 without points.
    double Min = 0;
    double Max = 0;
    bool DateTime = false;
    // Its points are labelled by text along this axis (its mandatory values run across the
    // axis and its first point has a label).
    bool TextLabels = false;
    std::function<double(int Index)> Value;
    std::function<std::string(int Index)> Label;
};

// What an axis asks of the chart that holds it; the axis panel answers.
class TAxisHost {
public:
    // The chart as the axis' users know it, and the panel it draws on (canvas, plotting
    // rectangle, colour, repaint requests).
    virtual TCustomAxisPanel* AxisChart() = 0;
    virtual TCustomTeePanel& AxisPanel() = 0;
    // The series attached to Axis, in the chart's list order.
    virtual std::vector<TAxisSeries> SeriesOnAxis(const TCustomChartAxis& Axis) const = 0;
    // Depth at which the top and right axes draw (0 in two dimensions).
    virtual int AxisDepth() const = 0;
    virtual const TAxisOnGetLabel& AxisLabelEvent() const = 0;
    virtual const TAxisOnGetNextLabel& NextAxisLabelEvent() const = 0;

protected:
    ~TAxisHost() = default;
};

// An axis' title: a caption drawn along the axis in its own font.
class TChartAxisTitle : public TPersistent {
public:
    TChartAxisTitle(TCustomChartAxis* Axis, int Angle);
    ~TChartAxisTitle() override;

    TCustomChartAxis* Axis() const { return FAxis; }
    int Angle() const { return FAngle; }
    // 0 to 359; ChartException otherwise, keeping the old angle.
    void SetAngle(int Value);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    TFont* Font() const { return FFont.get(); }

private:
    TCustomChartAxis* FAxis;
    int FAngle;
    std::string FCaption;
    std::unique_ptr<TFont> FFont;
};

class TCustomChartAxis : public TPersistent {
public:
    TCustomChartAxis(TAxisHost& Host, TAxisSide Side);
    ~TCustomChartAxis() override;

    TCustomAxisPanel* ParentChart() const { return FHost->AxisChart(); }
    TAxisSide Side() const { return FSide; }
    bool Horizontal() const { return FHorizontal; }
    bool OtherSide() const { return FOtherSide; }
    bool IsDepthAxis() const { return FIsDepthAxis; }

    // Range. Setting Automatic sets both automatic limits; clearing one limit clears it.
    bool Automatic() const { return FAutomatic; }
    void SetAutomatic(bool Value);
    bool AutomaticMaximum() const { return FAutomaticMaximum; }
    void SetAutomaticMaximum(bool Value);
    bool AutomaticMinimum() const { return FAutomaticMinimum; }
    void SetAutomaticMinimum(bool Value);
    // The wished label step, 0 for automatic; AxisException for a negative or NaN step.
    double Increment() const { return FIncrement; }
    void SetIncrement(double Value);
    // AxisException when the new limit would pass the other one.
    double Maximum() const { return FMaximum; }
    void SetMaximum(double Value);
    double Minimum() const { return FMinimum; }
    void SetMinimum(double Value);
    // Fixed limits (zoom and scroll): automatic off, limits ordered, at least 1e-10 apart.
    void SetLimits(double AMin, double AMax);
    bool Logarithmic() const { return FLogarithmic; }
    void SetLogarithmic(bool Value);
    int LogarithmicBase() const { return FLogarithmicBase; }
    void SetLogarithmicBase(int Value);

    // Pens and title.
    TChartAxisPen* Axis() const { return FAxisPen.get(); }
    TChartAxisTitle* Title() const { return FTitle.get(); }
    int TitleSize() const { return FTitleSize; }
    void SetTitleSize(int Value);
    TDottedGrayPen* Grid() const { return FGrid.get(); }
    bool GridCentered() const { return FGridCentered; }
    void SetGridCentered(bool Value);
    TChartHiddenPen* MinorGrid() const { return FMinorGrid.get(); }
    TDarkGrayPen* MinorTicks() const { return FMinorTicks.get(); }
    TDarkGrayPen* Ticks() const { return FTicks.get(); }
    TDarkGrayPen* TicksInner() const { return FTicksInner.get(); }

    // Labels.
    bool Labels() const { return FLabels; }
    void SetLabels(bool Value);
    // 0 to 359; ChartException otherwise.
    int LabelsAngle() const { return FLabelsAngle; }
    void SetLabelsAngle(int Value);
    TFont* LabelsFont() const { return FLabelsFont.get(); }
    bool LabelsOnAxis() const { return FLabelsOnAxis; }
    void SetLabelsOnAxis(bool Value);
    // Percent of the label size; 0 switches the label-count search off; AxisException below 0.
    int LabelsSeparation() const { return FLabelsSeparation; }
    void SetLabelsSeparation(int Value);
    int LabelsSize() const { return FLabelsSize; }
    void SetLabelsSize(int Value);
    TAxisLabelStyle LabelStyle() const { return FLabelStyle; }
    void SetLabelStyle(TAxisLabelStyle Value);
    const std::string& AxisValuesFormat() const { return FAxisValuesFormat; }
    void SetAxisValuesFormat(const std::string& Value);
    const std::string& DateTimeFormat() const { return FDateTimeFormat; }
    void SetDateTimeFormat(const std::string& Value);
    bool ExactDateTime() const { return FExactDateTime; }
    void SetExactDateTime(bool Value);
    bool RoundFirstLabel() const { return FRoundFirstLabel; }
    void SetRoundFirstLabel(bool Value);
    bool LabelsMultiLine() const { return FLabelsMultiLine; }
    void SetLabelsMultiLine(bool Value);

    // Ticks.
    int MinorTickCount() const { return FMinorTickCount; }
    void SetMinorTickCount(int Value);
    int MinorTickLength() const { return FMinorTickLength; }
    void SetMinorTickLength(int Value);
    int TickInnerLength() const { return FTickInnerLength; }
    void SetTickInnerLength(int Value);
    int TickLength() const { return FTickLength; }
    void SetTickLength(int Value);
    bool TickOnLabelsOnly() const { return FTickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool Value);

    // Placement.
    bool Inverted() const { return FInverted; }
    void SetInverted(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    double StartPosition() const { return FStartPosition; }
    void SetStartPosition(double Value);
    double EndPosition() const { return FEndPosition; }
    void SetEndPosition(double Value);
    double PositionPercent() const { return FPositionPercent; }
    void SetPositionPercent(double Value);

    // The layout of the last paint.
    double RangeMinimum() const { return FScale.RangeMin(); }
    double RangeMaximum() const { return FScale.RangeMax(); }
    double Range() const { return FScale.Range(); }
    int StartPixel() const { return FScale.StartPixel(); }
    int EndPixel() const { return FScale.EndPixel(); }
    int AxisLength() const { return FScale.AxisLength(); }
    int CenterPixel() const { return FScale.CenterPixel(); }
    int AxisPosition() const { return FAxisPosition; }
    int LabelsPosition() const { return FLabelsPosition; }
    int TitlePosition() const { return FTitlePosition; }
    bool IsDateTime() const { return FIsDateTime; }
    // Major tick places recorded by the last DrawAxis, in drawing order (at most 2000).
    const std::vector<int>& TickPositions() const { return FTickPositions; }

    int ValueToPixel(double Value) const { return FScale.ValueToPixel(Value); }
    double PixelToValue(int Pixel) const { return FScale.PixelToValue(Pixel); }

    // The layout steps, in the order the chart runs them on every paint.
    void ComputeAutoRange();
    void ReserveSpace(TRect& R, bool Shrink);
    void PlaceOnPlotRect();
    void WidenForMargins(int Before, int After);
    void DrawAxis(bool RecomputePosition);

    // The label step for the current layout, and the text of a value label.
    double ComputeIncrement();
    std::string LabelText(double Value);
    TAxisLabelStyle LabelStyleInEffect() const;

    // Asks the chart to repaint.
    void Repaint();

private:
    // Stores the three automatic flags and repaints once if any changed; true when one did.
    bool StoreAutomatic(bool Both, bool Min, bool Max);

    TTeeCanvas3D* Canvas() const;
    const TRect& PlotRect() const;
    std::vector<TAxisSeries> Attached() const { return FHost->SeriesOnAxis(*this); }
    static std::vector<std::string> SplitLines(const std::string& Text);
    void RefreshIsDateTime();
    void DataLimits(double& Min, double& Max) const;
    int TickRoom() const;
    int LabelsRoom();
    int WidestValueLabel();
    int TextWidthOf(const std::string& Text);
    int TextHeightOf(const std::string& Text);
    int LabelSize(const std::string& Text);
    int MovedByPercent(int Position, const TRect& R) const;
    int PlotEdge() const;

    void DrawLabelsAndRecordTicks(double Increment);
    void DrawLabel(double Value);
    // Text at P along the axis and Anchor across it, at angle 0 placed as a label.
    void DrawAxisText(int P, int Anchor, const std::string& Text, int Angle);
    void DrawTick(int P, int Offset, int Length);
    void DrawLines();

    TAxisHost* FHost;
    TAxisSide FSide;
    bool FHorizontal;
    bool FOtherSide;
    bool FIsDepthAxis;
    int FDefaultTitleAngle;

    bool FAutomatic = true;
    bool FAutomaticMaximum = true;
    bool FAutomaticMinimum = true;
    double FIncrement = 0;
    double FMaximum = 0;
    double FMinimum = 0;
    bool FLogarithmic = false;
    int FLogarithmicBase = 10;
    std::unique_ptr<TChartAxisPen> FAxisPen;
    int FAxisPosition = 0;
    std::unique_ptr<TChartAxisTitle> FTitle;
    int FTitleSize = 0;
    int FTitlePosition = 0;
    std::unique_ptr<TDottedGrayPen> FGrid;
    bool FGridCentered = false;
    bool FLabels = true;
    int FLabelsAngle = 0;
    std::unique_ptr<TFont> FLabelsFont;
    bool FLabelsOnAxis = true;
    int FLabelsSeparation = 10;
    int FLabelsSize = 0;
    TAxisLabelStyle FLabelStyle = talAuto;
    int FLabelsPosition = 0;
    std::string FAxisValuesFormat = "#,##0.###";
    std::string FDateTimeFormat;
    bool FExactDateTime = true;
    bool FRoundFirstLabel = true;
    bool FLabelsMultiLine = false;
    std::unique_ptr<TChartHiddenPen> FMinorGrid;
    int FMinorTickCount = 3;
    int FMinorTickLength = 2;
    std::unique_ptr<TDarkGrayPen> FMinorTicks;
    std::unique_ptr<TDarkGrayPen> FTicks;
    std::unique_ptr<TDarkGrayPen> FTicksInner;
    int FTickInnerLength = 0;
    int FTickLength = 4;
    bool FTickOnLabelsOnly = true;
    bool FInverted = false;
    bool FVisible;
    double FStartPosition = 0;
    double FEndPosition = 100;
    double FPositionPercent = 0;
    axismath::TAxisScale FScale;
    bool FIsDateTime = false;
    bool FLabelEventsOff = false;
    std::vector<int> FTickPositions;
};

class TChartAxis : public TCustomChartAxis {
public:
    using TCustomChartAxis::TCustomChartAxis;
};

// The 3-D depth axis: hidden unless made visible, and drawn only in 3-D views.
class TChartDepthAxis : public TCustomChartAxis {
public:
    explicit TChartDepthAxis(TAxisHost& Host);
};

#pragma once
// The chart control: the axis panel plus its title, foot, walls and legend, and its mouse
// handling. TChart only publishes. The legend's layout and drawing live in ChartLegend.cpp, the
// mouse's hit test, zoom and scroll in ChartMouse.cpp.
//
// Threading: user-interface thread only. The chart owns its titles, walls, pens and brushes;
// the series it shows belong to the form.

#include "chart/TeCanvas.h"
#include "chart/TeEngine.h"
#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "platform/Types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCustomChart;

// A part of the chart with a font of its own (the chart default: "Arial", 8 points, black).
class TChartFontObject : public TPersistent {
public:
    explicit TChartFontObject(TCustomChart* Chart);

    TCustomChart* ParentChart() const { return FParentChart; }
    TFont* Font() const { return FFont.get(); }

protected:
    void Repaint() const;

private:
    TCustomChart* FParentChart;
    std::unique_ptr<TFont> FFont;
};

// The frame of the plotting rectangle (back wall) and, in 3-D only, the side walls.
class TChartWall : public TPersistent {
public:
    explicit TChartWall(TCustomChart* Chart);

    TCustomChart* ParentChart() const { return FParentChart; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool Value);
    int Size() const { return FSize; }
    void SetSize(int Value);
    TChartBrush* Brush() const { return FBrush.get(); }
    TChartPen* Pen() const { return FPen.get(); }

private:
    void Repaint() const;

    TCustomChart* FParentChart;
    TColor FColor = clDefault;
    bool FDark3D = true;
    int FSize = 0;
    std::unique_ptr<TChartBrush> FBrush;
    std::unique_ptr<TChartPen> FPen;
};

// Lines of text above (title) or below (foot) the plotting rectangle.
class TChartTitle : public TChartFontObject {
public:
    explicit TChartTitle(TCustomChart* Chart);

    bool AdjustFrame() const { return FAdjustFrame; }
    void SetAdjustFrame(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TChartBrush* Brush() const { return FBrush.get(); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TChartHiddenPen* Frame() const { return FFrame.get(); }
    const std::vector<std::string>& Text() const { return FText; }
    void SetText(const std::vector<std::string>& Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Where it was drawn in the last paint.
    const TRect& TitleRect() const { return FTitleRect; }

private:
    friend class TCustomChart;
    // Draws at the top of the plotting rectangle, or at its bottom for the foot, and takes
    // the room from it.
    void Draw(bool IsFoot);

    bool FAdjustFrame = true;
    TAlignment FAlignment = taCenter;
    std::unique_ptr<TChartBrush> FBrush;
    TColor FColor = clDefault;
    std::unique_ptr<TChartHiddenPen> FFrame;
    std::vector<std::string> FText;
    bool FVisible = true;
    TRect FTitleRect;
};

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum TLegendTextStyle { ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue };

// The legend's chart events: the text of an item, the box, and the places of an item's text
// (X), row top (Y) and symbol (XColor).
using TOnGetLegendText =
    std::function<void(TCustomChart* Sender, TLegendStyle LegendStyle, int Index, std::string& LegendText)>;
using TOnGetLegendRect = std::function<void(TCustomChart* Sender, TRect& Rect)>;
using TOnGetLegendPos = std::function<void(TCustomChart* Sender, int Index, int& X, int& Y, int& XColor)>;

// A framed box beside the plotting rectangle listing the chart's series, or the points of its
// first active series, each as a colour symbol and a text. It is laid out on every paint before
// the axes and takes its room from the plotting rectangle; between paints its layout stays for
// the mouse's hit test.
class TCustomChartLegend : public TChartFontObject {
public:
    explicit TCustomChartLegend(TCustomChart* Chart);

    TLegendAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TLegendAlignment Value);
    TChartBrush* Brush() const { return FBrush.get(); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Percent of the text width plus 10 pixels; LegendException outside 0 to 100.
    int ColorWidth() const { return FColorWidth; }
    void SetColorWidth(int Value);
    TChartHiddenPen* DividingLines() const { return FDividingLines.get(); }
    // LegendException below 0.
    int FirstValue() const { return FFirstValue; }
    void SetFirstValue(int Value);
    TChartPen* Frame() const { return FFrame.get(); }
    int HorizMargin() const { return FHorizMargin; }
    void SetHorizMargin(int Value);
    bool Inverted() const { return FInverted; }
    void SetInverted(bool Value);
    TLegendStyle LegendStyle() const { return FLegendStyle; }
    void SetLegendStyle(TLegendStyle Value);
    int MaxNumRows() const { return FMaxNumRows; }
    void SetMaxNumRows(int Value);
    bool ResizeChart() const { return FResizeChart; }
    void SetResizeChart(bool Value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value);
    int ShadowSize() const { return FShadowSize; }
    void SetShadowSize(int Value);
    TLegendTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TLegendTextStyle Value);
    // Percent of the panel height from its top; LegendException outside 0 to 100.
    int TopPos() const { return FTopPos; }
    void SetTopPos(int Value);
    int VertMargin() const { return FVertMargin; }
    void SetVertMargin(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    // The layout of the last paint that drew the legend: the box without frame and shadow.
    const TRect& LegendRect() const { return FLegendRect; }
    int ColorBoxWidth() const { return FColorBoxWidth; }
    TLegendStyle CurrentStyle() const { return FCurrentStyle; }
    int Columns() const { return FColumns; }
    int Rows() const { return FRows; }

    bool IsVertical() const { return FAlignment == laLeft || FAlignment == laRight; }
    // The style the items follow now: lsAuto lists the points of a lone active series.
    TLegendStyle StyleInEffect() const;
    int ItemCount() const;
    // Rows (columns, for a horizontal legend) of RowHeight (column width) that fit from Top.
    int RowsThatFit(int Top, int RowHeight) const;
    // Widest text of the first Count items from FirstValue, all for -1; in the canvas font.
    int WidestItemText(int Count) const;
    std::string ItemText(int Index) const;
    // The position (from FirstValue) of the row under the point, -1 for none.
    int ItemAtPoint(int X, int Y) const;

    // Lays out and draws the legend and takes its room from the plotting rectangle.
    void PaintLegend();

private:
    // The first active series: the one whose points are listed.
    TChartSeries* ListedSeries() const;
    // The Index-th active series shown in the legend, or null.
    TChartSeries* LegendSeries(int Index) const;
    std::string PointText(const TChartSeries& Series, int ValueIndex) const;
    void DrawBox();
    void DrawItem(int Index, int Position, int TextX, int SymbolX, int ColumnStep);
    void DrawSymbol(int Index, const TRect& Rect);

    TLegendAlignment FAlignment = laRight;
    std::unique_ptr<TChartBrush> FBrush;
    TColor FColor = clWhite;
    int FColorWidth = 12;
    std::unique_ptr<TChartHiddenPen> FDividingLines;
    int FFirstValue = 0;
    std::unique_ptr<TChartPen> FFrame;
    int FHorizMargin = 0;
    bool FInverted = false;
    TLegendStyle FLegendStyle = lsAuto;
    int FMaxNumRows = 10;
    TRect FLegendRect;
    bool FResizeChart = true;
    TColor FShadowColor = clBlack;
    int FShadowSize = 3;
    TLegendTextStyle FTextStyle = ltsLeftValue;
    int FTopPos = 10;
    int FVertMargin = 0;
    bool FVisible = true;
    int FColorBoxWidth = 0;
    TLegendStyle FCurrentStyle = lsValues;
    int FColumns = 0;
    int FRows = 0;
    // Row height of the last layout, for the hit test of a horizontal legend.
    int FRowHeight = 0;
};

class TChartLegend : public TCustomChartLegend {
public:
    using TCustomChartLegend::TCustomChartLegend;
};

// What lies under a point of the chart (HitTest).
enum TChartHitKind { hkNone, hkSeries, hkAxis, hkTitle, hkFoot, hkPlotArea, hkLegend };

struct TChartHit {
    TChartHitKind Kind = hkNone;
    TChartSeries* Series = nullptr;  // hkSeries
    TCustomChartAxis* Axis = nullptr; // hkAxis
    int Index = -1;                   // the point (hkSeries) or legend row (hkLegend)
};

using TChartClick = std::function<void(TCustomChart* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickAxis = std::function<void(TCustomChart* Sender, TCustomChartAxis* Axis, TMouseButton Button,
                                           TShiftState Shift, int X, int Y)>;
using TChartClickSeries = std::function<void(TCustomChart* Sender, TChartSeries* Series, int ValueIndex,
                                             TMouseButton Button, TShiftState Shift, int X, int Y)>;
// May change the proposed limits of a scrolled axis, or refuse the scroll.
using TChartAllowScrollEvent =
    std::function<void(TCustomChartAxis* Sender, double& AMin, double& AMax, bool& AllowScroll)>;

class TCustomChart : public TCustomAxisPanel {
public:
    explicit TCustomChart(TComponent* Owner);
    ~TCustomChart() override;

    TChartTitle* Title() const { return FTitle.get(); }
    TChartTitle* Foot() const { return FFoot.get(); }
    TChartWall* BackWall() const { return FBackWall.get(); }
    TChartWall* LeftWall() const { return FLeftWall.get(); }
    TChartWall* BottomWall() const { return FBottomWall.get(); }
    TChartLegend* Legend() const { return FLegend.get(); }
    // The back wall's pen.
    TChartPen* Frame() const { return FBackWall->Pen(); }
    // The back wall's colour; setting it on a chart that has a parent window also makes the
    // back wall's brush solid.
    TColor BackColor() const { return FBackWall->Color(); }
    void SetBackColor(TColor Value);
    bool BackImageInside() const { return FBackImageInside; }
    void SetBackImageInside(bool Value);
    // The legend's background colour of the current paint.
    TColor LegendColor() const { return FLegendColor; }

    TOnGetLegendText OnGetLegendText;
    TOnGetLegendRect OnGetLegendRect;
    TOnGetLegendPos OnGetLegendPos;

    // The part of the chart under (X, Y), as laid out by the last paint.
    TChartHit HitTest(int X, int Y);
    // Brings back the axis scales from before the first zoom or scroll.
    void ResetZoom();
    // Set while a click handler runs; a handler that leaves it set stops the drag.
    bool CancelMouse() const { return FCancelMouse; }
    void SetCancelMouse(bool Value) { FCancelMouse = Value; }

    TChartClickAxis OnClickAxis;
    TChartClick OnClickLegend;
    TChartClickSeries OnClickSeries;
    TChartClick OnClickBackground;
    TNotifyEvent OnZoom;
    TNotifyEvent OnScroll;
    TChartAllowScrollEvent OnAllowScroll;

protected:
    void DrawTitlesAndLegend() override;
    void PaintWalls() override;
    void DrawZoomRectangle() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    TColor BackWallColor() const override { return BackColor(); }

    TColor FLegendColor = clWhite;

private:
    friend class TCustomChartLegend;

    // One axis' scale as it was before the first zoom or scroll.
    struct TAxisScaleRecord {
        bool Automatic = true;
        bool AutomaticMinimum = true;
        bool AutomaticMaximum = true;
        double Minimum = 0;
        double Maximum = 0;
    };
    // The axes whose scales zoom, scroll and ResetZoom change.
    std::vector<TCustomChartAxis*> ScaledAxes();
    void SaveScales();
    void ZoomToRectangle();
    // Moves the axis' limits by the values between two of its pixels; false when refused.
    bool ScrollAxis(TCustomChartAxis& Axis, int From, int To);
    // The zoom rectangle drawn straight onto the image the window shows: drawing it twice
    // restores the picture.
    void ToggleZoomRectangle();

    TAxisScaleRecord FSavedScales[4];
    bool FScalesRestored = true;
    bool FCancelMouse = false;

    std::unique_ptr<TChartTitle> FTitle;
    std::unique_ptr<TChartTitle> FFoot;
    std::unique_ptr<TChartWall> FBackWall;
    std::unique_ptr<TChartWall> FLeftWall;
    std::unique_ptr<TChartLegend> FLegend;
    std::unique_ptr<TChartWall> FBottomWall;
    bool FBackImageInside = false;
};

class TChart : public TCustomChart {
public:
    using TCustomChart::TCustomChart;
};

#pragma once
// The line series: points joined by straight segments (or stairs) in the colour of each
// segment's end point, with optional point markers. TCustomSeries holds the drawing; the
// station's series is a TLineSeries (line on, markers off).
//
// Drawing: the chart calls DrawPoint for every visible index in increasing order inside a clip
// to the plotting rectangle. Each call converts its point through the series' axes and draws
// the segment that ends at it. Consecutive segments of one colour with a plain solid pen are
// handed to the canvas as one polyline (chart/TeePolyline.h), whose pixels are those of the
// segments drawn one by one; the run is flushed at the last visible point and whenever the
// colour changes or the line breaks.
//
// Ownership: a series owns its line pen and its pointer; the pointer owns its pen and brush.
// Every change of any of them repaints the chart.
//
// Threading: user-interface thread only, inside the chart's paint.

#include "chart/TeCanvas.h"
#include "chart/TeEngine.h"
#include "chart/TeePolyline.h"
#include "framework/Graphics.h"
#include "platform/Types.h"

#include <functional>
#include <memory>
#include <vector>

class TCustomSeries;

enum TSeriesPointerStyle {
    psRectangle,
    psCircle,
    psTriangle,
    psDownTriangle,
    psCross,
    psDiagCross,
    psStar,
    psDiamond,
    psSmallDot
};

// The marker drawn at each point of a series when Visible.
class TSeriesPointer : public TPersistent {
public:
    explicit TSeriesPointer(TCustomSeries* Owner);
    ~TSeriesPointer() override;

    TChartBrush* Brush() const { return FBrush.get(); }
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool Value);
    bool Draw3D() const { return FDraw3D; }
    void SetDraw3D(bool Value);
    // Half the marker's width and height in pixels; ChartException below 1, keeping the size.
    int HorizSize() const { return FHorizSize; }
    void SetHorizSize(int Value);
    int VertSize() const { return FVertSize; }
    void SetVertSize(int Value);
    bool InflateMargins() const { return FInflateMargins; }
    void SetInflateMargins(bool Value);
    TChartPen* Pen() const { return FPen.get(); }
    TSeriesPointerStyle Style() const { return FStyle; }
    void SetStyle(TSeriesPointerStyle Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    // One two-dimensional marker centred on (X, Y), Width and Height being its half sizes; a
    // pen or brush colour of clDefault takes Color.
    void Draw(TTeeCanvas3D& Canvas, int X, int Y, int Width, int Height, TColor Color,
              TSeriesPointerStyle Shape) const;

private:

    TCustomSeries* FOwner;
    std::unique_ptr<TChartBrush> FBrush;
    bool FDark3D = true;
    bool FDraw3D = true;
    int FHorizSize = 4;
    bool FInflateMargins = true;
    std::unique_ptr<TChartPen> FPen;
    TSeriesPointerStyle FStyle = psRectangle;
    int FVertSize = 4;
    bool FVisible = true;
};

class TCustomSeries : public TChartSeries {
public:
    explicit TCustomSeries(TComponent* Owner);
    ~TCustomSeries() override;

    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool Value);
    bool InvertedStairs() const { return FInvertedStairs; }
    void SetInvertedStairs(bool Value);
    TBrushStyle LineBrush() const { return FLineBrush; }
    void SetLineBrush(TBrushStyle Value);
    int LineHeight() const { return FLineHeight; }
    void SetLineHeight(int Value);
    // Width, style and visibility of the line; in 2-D each segment takes its end point's colour.
    TChartPen* LinePen() const { return FLinePen.get(); }
    TSeriesPointer* Pointer() const { return FPointer.get(); }
    bool Stairs() const { return FStairs; }
    void SetStairs(bool Value);

    // Chooses the marker shape of each point instead of Pointer()->Style() when assigned.
    std::function<TSeriesPointerStyle(TChartSeries* Sender, int ValueIndex)> OnGetPointerStyle;

    void DoBeforeDrawChart() override;
    void DrawPoint(int ValueIndex) override;
    // The marker of one point centred on (X, Y).
    virtual void DrawPointer(int X, int Y, int ValueIndex, TColor Color);
    void DrawLegendSymbol(int ValueIndex, const TRect& Rect) override;
    void PrepareLegendPen(int ValueIndex, TColor& BackColor, TBrushStyle& Style) override;
    void HorizMargins(int& Before, int& After) override;
    void VertMargins(int& Before, int& After) override;
    // A marker under the point, or a segment of the line passing within a few pixels of it
    // (the nearer of its two points).
    int Clicked(int X, int Y) override;

protected:
    // Whether segments may be gathered into one polyline; a kind that must see every segment
    // drawn on its own answers false.
    virtual bool BatchesSegments() const { return true; }

    bool FDrawLine = false;
    bool FDrawArea = false;

private:
    TTeeCanvas3D* Canvas() const;
    void PrepareLinePen(TColor Color);
    // Draws the segment from (FOldX, FOldY) to (X, Y) in Color, and the markers it asks for.
    void DrawSegment(int X, int Y, TColor Color, bool Markers, int ValueIndex, bool Last);
    bool CanBatch() const;
    void AppendToRun(int X, int Y, TColor Color);
    void FlushRun();

    bool FDark3D = true;
    bool FInvertedStairs = false;
    TBrushStyle FLineBrush = bsSolid;
    int FLineHeight = 0;
    std::unique_ptr<TChartPen> FLinePen;
    std::unique_ptr<TSeriesPointer> FPointer;
    bool FStairs = false;

    int FOldX = 0;
    int FOldY = 0;
    TColor FOldColor = 0;

    // The polyline being gathered and its colour.
    TPolylineBuilder FRun;
    TColor FRunColor = clNone;
};

class TLineSeries : public TCustomSeries {
public:
    explicit TLineSeries(TComponent* Owner);
};

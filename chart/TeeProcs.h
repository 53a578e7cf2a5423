#pragma once
// The chart panel base: the drawing canvas, margins, the 3-D switch, the plotting rectangle,
// repaint control, and the paint path through an off-screen image.
//
// A paint request first lets the canvas show its stored image; only when something changed
// since the last paint is the chart drawn again (InternalDraw, in the classes above) into the
// image, which then reaches the window in one copy. Every property change ends in Invalidate,
// which marks the image stale and asks for one paint at the next turn of the message loop, so
// a batch of changes paints once.
//
// Threading: user-interface thread only. The panel owns its canvas and options.

#include "chart/TeCanvas.h"
#include "framework/Controls.h"
#include "framework/ExtCtrls.h"
#include "framework/Graphics.h"
#include "platform/Types.h"

#include <memory>

// A mouse drag: where it started, where it is now, and whether it runs.
struct TZoomPanningRecord {
    int StartX = 0;
    int StartY = 0;
    int EndX = 0;
    int EndY = 0;
    bool Active = false;

    void Activate(int X, int Y);
    // Puts the start corner top-left.
    void Normalize();
};

class TCustomTeePanel : public TCustomPanel {
public:
    explicit TCustomTeePanel(TComponent* Owner);
    ~TCustomTeePanel() override;

    TTeeCanvas3D* Canvas() const { return FCanvas3D.get(); }

    int Margin(int Index) const { return FMargins[Index]; }
    void SetMargin(int Index, int Value);
    int MarginLeft() const { return FMargins[0]; }
    void SetMarginLeft(int Value) { SetMargin(0, Value); }
    int MarginTop() const { return FMargins[1]; }
    void SetMarginTop(int Value) { SetMargin(1, Value); }
    int MarginRight() const { return FMargins[2]; }
    void SetMarginRight(int Value) { SetMargin(2, Value); }
    int MarginBottom() const { return FMargins[3]; }
    void SetMarginBottom(int Value) { SetMargin(3, Value); }

    bool View3D() const { return FView3D; }
    void SetView3D(bool Value);
    int Chart3DPercent() const { return FChart3DPercent; }
    // Accepts 1 to 100; otherwise raises ChartException and keeps the old value.
    void SetChart3DPercent(int Value);
    TView3DOptions* View3DOptions() const { return FView3DOptions.get(); }
    bool Monochrome() const { return FCanvas3D->Monochrome(); }
    void SetMonochrome(bool Value) { FCanvas3D->SetMonochrome(Value); }
    bool PrintProportional() const { return FPrintProportional; }
    void SetPrintProportional(bool Value);

    // The drawing area of the current paint, and the plotting rectangle inside it. The legend,
    // the titles and the axes shrink the plotting rectangle while the chart is laid out.
    const TRect& PanelBounds() const { return FPanelBounds; }
    const TRect& PlotRect() const { return FPlotRect; }
    void SetPlotRect(const TRect& Value) { FPlotRect = Value; }
    int PlotWidth() const { return FPlotWidth; }
    int PlotHeight() const { return FPlotHeight; }
    int PlotXCenter() const { return FPlotXCenter; }
    int PlotYCenter() const { return FPlotYCenter; }
    // Repairs the plotting rectangle (never left of or above the panel, never inverted) and
    // recomputes its size and centre.
    void RecalcPlotSize();

    bool AutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool Value) { FAutoRepaint = Value; }
    // Marks the image stale and asks for a paint; ignored while AutoRepaint is False.
    void Invalidate() override;

    // Paints the whole chart into Target at Rect.
    void Draw(TCanvas& Target, const TRect& Rect);

    TZoomPanningRecord& ZoomRecord() { return FZoomRecord; }
    TZoomPanningRecord& PanRecord() { return FPanRecord; }
    TCursor IdleCursor() const { return FIdleCursor; }
    void SetIdleCursor(TCursor Value) { FIdleCursor = Value; }

    // True while the chart is being destroyed: its series then skip their repaint requests.
    bool Destroying() const { return FDestroying; }

protected:
    void Paint(platform::TDrawContext& Canvas) override;
    void Resize() override;

    // Draws the chart on the canvas, which is ready and covers PanelBounds.
    virtual void InternalDraw(const TRect& UserRect) = 0;

    // Called first by the destructors of derived charts, before they free their parts.
    void BeginDestroy() { FDestroying = true; FAutoRepaint = false; }

private:
    std::unique_ptr<TTeeCanvas3D> FCanvas3D;
    // The window's canvas, on the window's context while a paint runs.
    std::unique_ptr<TCanvas> FWindowCanvas;
    std::unique_ptr<TView3DOptions> FView3DOptions;
    int FMargins[4] = {3, 4, 3, 4};
    bool FView3D = true;
    int FChart3DPercent = 15;
    bool FPrintProportional = true;
    TRect FPanelBounds;
    TRect FPlotRect;
    int FPlotWidth = 0;
    int FPlotHeight = 0;
    int FPlotXCenter = 0;
    int FPlotYCenter = 0;
    bool FAutoRepaint = false;
    TZoomPanningRecord FZoomRecord;
    TZoomPanningRecord FPanRecord;
    TCursor FIdleCursor = TCursor::crDefault;
    bool FDestroying = false;
};

enum TTeeBackImageMode { pbmStretch, pbmTile, pbmCenter };
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

// The panel's background gradient; every change repaints the panel.
class TChartGradient : public TPersistent {
public:
    explicit TChartGradient(TCustomTeePanel* Panel) : FPanel(Panel) {}

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TGradientDirection Direction() const { return FDirection; }
    void SetDirection(TGradientDirection Value);
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor Value);
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor Value);

private:
    TCustomTeePanel* FPanel;
    bool FVisible = false;
    TGradientDirection FDirection = gdTopBottom;
    TColor FStartColor = 0x00FFFFFF;
    TColor FEndColor = 0x0000FFFF;
};

// Adds the background (gradient, colour, frame) and the zoom and pan permissions.
class TCustomTeePanelExtended : public TCustomTeePanel {
public:
    explicit TCustomTeePanelExtended(TComponent* Owner);
    ~TCustomTeePanelExtended() override;

    TChartGradient* Gradient() const { return FGradient.get(); }
    TTeeBackImageMode BackImageMode() const { return FBackImageMode; }
    void SetBackImageMode(TTeeBackImageMode Value);
    bool AllowZoom() const { return FAllowZoom; }
    void SetAllowZoom(bool Value);
    TPanningMode AllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(TPanningMode Value);
    bool AnimatedZoom() const { return FAnimatedZoom; }
    void SetAnimatedZoom(bool Value);
    int AnimatedZoomSteps() const { return FAnimatedZoomSteps; }
    void SetAnimatedZoomSteps(int Value);
    bool Zoomed() const { return FZoomed; }

    TNotifyEvent OnUndoZoom;

protected:
    // Step 1 of the drawing sequence: background, then the bevels and border.
    void PaintPanel();

    bool FZoomed = false;

private:
    std::unique_ptr<TChartGradient> FGradient;
    TTeeBackImageMode FBackImageMode = pbmStretch;
    bool FAllowZoom = true;
    TPanningMode FAllowPanning = pmBoth;
    bool FAnimatedZoom = false;
    int FAnimatedZoomSteps = 8;
};

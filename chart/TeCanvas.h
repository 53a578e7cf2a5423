#pragma once
// The chart's drawing surface: every pixel of the chart goes through one TTeeCanvas3D. It keeps
// the current pen, brush and font, draws on a platform drawing context (an off-screen image
// while buffered), clips to the plotting area and projects chart space onto the screen; in two
// dimensions the projection is the identity and depth arguments are ignored.
//
// Also here: the chart's pen (a pen that can be switched off), its variants, the chart brush,
// and the 3-D view options.
//
// Threading: user-interface thread only, inside the chart's paint. The canvas owns its
// off-screen image; the drawing context it draws on belongs to the caller of SetCanvas.

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Property.h"
#include "platform/DrawContext.h"
#include "platform/Types.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A platform pen that can be hidden, or drawn as alternate single pixels.
class TChartPen : public TPen {
public:
    TChartPen() = default;
    // OnChange runs after every change of a property to a different value.
    explicit TChartPen(TNotifyEvent OnChange);

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool SmallDots() const { return FSmallDots; }
    void SetSmallDots(bool Value);

    void Assign(const TChartPen& Source);

private:
    bool FSmallDots = false;
    bool FVisible = true;
};

class TChartHiddenPen : public TChartPen {
public:
    explicit TChartHiddenPen(TNotifyEvent OnChange = nullptr);
};

class TDottedGrayPen : public TChartPen {
public:
    explicit TDottedGrayPen(TNotifyEvent OnChange = nullptr);
};

class TDarkGrayPen : public TChartPen {
public:
    explicit TDarkGrayPen(TNotifyEvent OnChange = nullptr);
};

class TChartAxisPen : public TChartPen {
public:
    explicit TChartAxisPen(TNotifyEvent OnChange = nullptr);
};

class TChartArrowPen : public TChartPen {
public:
    explicit TChartArrowPen(TNotifyEvent OnChange = nullptr);
};

// The brush of chart parts: its colour is clDefault (the owner's colour) until set.
class TChartBrush : public TBrush {
public:
    explicit TChartBrush(TNotifyEvent OnChange = nullptr);
};

// The 3-D view; every change to a different value runs the owner's handler (the chart then
// invalidates itself). Without effect in two dimensions.
class TView3DOptions : public TPersistent {
public:
    explicit TView3DOptions(std::function<void()> OnChange) : FOnChange(std::move(OnChange)) {}

    int Elevation() const { return FElevation; }
    void SetElevation(int Value) { SetProperty(FElevation, Value, [this] { Repaint(); }); }
    int HorizOffset() const { return FHorizOffset; }
    void SetHorizOffset(int Value) { SetProperty(FHorizOffset, Value, [this] { Repaint(); }); }
    bool Orthogonal() const { return FOrthogonal; }
    void SetOrthogonal(bool Value) { SetProperty(FOrthogonal, Value, [this] { Repaint(); }); }
    int Perspective() const { return FPerspective; }
    void SetPerspective(int Value) { SetProperty(FPerspective, Value, [this] { Repaint(); }); }
    int Rotation() const { return FRotation; }
    void SetRotation(int Value) { SetProperty(FRotation, Value, [this] { Repaint(); }); }
    int Tilt() const { return FTilt; }
    void SetTilt(int Value) { SetProperty(FTilt, Value, [this] { Repaint(); }); }
    int VertOffset() const { return FVertOffset; }
    void SetVertOffset(int Value) { SetProperty(FVertOffset, Value, [this] { Repaint(); }); }
    int Zoom() const { return FZoom; }
    void SetZoom(int Value) { SetProperty(FZoom, Value, [this] { Repaint(); }); }
    bool ZoomText() const { return FZoomText; }
    void SetZoomText(bool Value) { SetProperty(FZoomText, Value, [this] { Repaint(); }); }

    // Asks the owner to repaint (used by the canvas when its image must be made anew).
    void Repaint() const
    {
        if (FOnChange)
            FOnChange();
    }

private:
    std::function<void()> FOnChange;
    int FElevation = 345;
    int FHorizOffset = 0;
    bool FOrthogonal = true;
    int FPerspective = 15;
    int FRotation = 345;
    int FTilt = 0;
    int FVertOffset = 0;
    int FZoom = 100;
    bool FZoomText = true;
};

enum TGradientDirection {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft
};

// The chart default font of axis labels, titles and the legend: "Arial", 8 points, black.
void SetChartDefaultFont(TFont& Font);

// Each channel above Amount loses Amount, the others become 0 (after resolving to RGB).
TColor DarkenColor(TColor Color, int Amount);

// Holds the current platform canvas (whose pen, brush and font are the ones drawn with) and
// implements what does not depend on a projection: plain drawing, text and pen assignment.
class TTeeCanvas {
public:
    TTeeCanvas();
    virtual ~TTeeCanvas();
    TTeeCanvas(const TTeeCanvas&) = delete;
    TTeeCanvas& operator=(const TTeeCanvas&) = delete;

    // The current canvas and its pen, brush and font. Before the first paint this is an idle
    // canvas without a context: drawing does nothing and measuring answers 0.
    TCanvas* ReferenceCanvas() const { return FCanvas; }
    TPen* Pen() const { return FCanvas->Pen(); }
    TBrush* Brush() const { return FCanvas->Brush(); }
    TFont* Font() const { return FCanvas->Font(); }
    // Makes Canvas current (null: the idle one).
    void SetCanvas(TCanvas* Canvas);
    virtual platform::TDrawContext* Handle() const { return FCanvas->Handle(); }

    virtual TColor BackColor() const;
    virtual platform::TBkMode BackMode() const;
    virtual bool Monochrome() const = 0;
    virtual unsigned TextAlign() const;
    virtual bool Buffered() const = 0;
    virtual void SetBackColor(TColor Color);
    virtual void SetBackMode(platform::TBkMode Mode);
    virtual void SetMonochrome(bool Value) = 0;
    virtual void SetPixel(int X, int Y, TColor Color);
    virtual void SetTextAlign(unsigned Align);
    virtual void SetBuffered(bool Value) = 0;

    virtual void Arc(const TRect& Bounds, TPoint Start, TPoint End);
    // Draws Graphic at its own size; nothing for an absent or empty one.
    virtual void Draw(int X, int Y, const TBitmap* Graphic);
    virtual void Ellipse(int X0, int Y0, int X1, int Y1);
    virtual void FillRect(const TRect& Rect);
    // TopColor on the top and left edges, BottomColor on the bottom and right, Width pixels
    // inwards from Rect.
    virtual void BevelFrame(const TRect& Rect, TColor TopColor, int Width, TColor BottomColor);
    virtual void LineTo(int X, int Y);
    virtual void MoveTo(int X, int Y);
    virtual void Pie(const TRect& Bounds, TPoint Start, TPoint End);
    virtual void Rectangle(int X0, int Y0, int X1, int Y1);
    virtual void RoundRect(int X0, int Y0, int X1, int Y1, int CornerWidth, int CornerHeight);
    virtual void StretchDraw(const TRect& Rect, const TBitmap* Graphic);
    virtual void TextOut(int X, int Y, std::string_view Text);
    // In the canvas font; 0 when the platform cannot measure.
    virtual int TextWidth(std::string_view Text);
    virtual int TextHeight(std::string_view Text);

    // Pen black, width 1, solid; brush white, solid; font black, size 10; background white,
    // transparent.
    void ResetState();
    // Puts a chart pen on the canvas: a hidden pen only switches the style to clear.
    void ApplyPen(const TChartPen& Pen);
    // Height of "W" in the canvas font.
    int FontHeight() { return TextHeight("W"); }

protected:
    TCanvas* FCanvas;

private:
    std::unique_ptr<TCanvas> FIdleCanvas;
};

// Adds the projection from chart space (x, y and a depth z) onto the screen and the operations
// that take a depth. Every operation here is abstract.
class TCanvas3D : public TTeeCanvas {
public:
    virtual void ClipToRect(const TRect& Rect) = 0;
    virtual void HorizLine(int X0, int X1, int Y) = 0;
    virtual void DrawRect(const TRect& Rect) = 0;
    virtual void VertLine(int X, int Y0, int Y1) = 0;
    virtual void EraseRect(const TRect& Rect) = 0;
    virtual void GradientFill(const TRect& Rect, TColor StartColor, TColor EndColor,
                              TGradientDirection Direction) = 0;
    virtual void Invalidate() = 0;
    virtual void Line(int X0, int Y0, int X1, int Y1) = 0;
    virtual void Polygon(const std::vector<TPoint>& Points) = 0;
    virtual void RotatedText(int X, int Y, std::string_view Text, int Angle) = 0;
    virtual void RemoveClip() = 0;
    virtual void SetPixelAtZ(int X, int Y, int Z, TColor Color) = 0;
    // Whether this canvas also serves the drawing of other kinds of canvas (none here).
    virtual bool SupportsFullRotation() const = 0;
    virtual bool SupportsID() const = 0;
    virtual void Unproject(int& X, int& Y, int Z) const = 0;
    virtual TPoint Project3D(int X, int Y, int Z) const = 0;
    // Gets the surface ready for a paint of Bounds on Window; answers the rectangle to draw in.
    virtual TRect PrepareSurface(TCanvas& Window, const TView3DOptions* Options, TColor BackColor,
                                 bool Is3D, const TRect& Bounds) = 0;
    virtual void Assign(const TCanvas3D& Source) = 0;
    virtual void SetProjection(int MaxDepth, const TRect& FullRect, const TRect& ChartRect) = 0;
    // Puts the finished image on Target at the top-left corner of Rect.
    virtual void PresentImage(TCanvas& Target, const TRect& Rect) = 0;
    // Shows the stored image on the current context if it is still up to date.
    virtual bool RepaintFromBuffer() = 0;
    virtual void ClipToPlotArea(const TRect& Rect, int FirstZ, int LastZ) = 0;
    virtual void HorizLineAtZ(int X0, int X1, int Y, int Z) = 0;
    virtual void VertLineAtZ(int X, int Y0, int Y1, int Z) = 0;
    virtual void LineAtZ(int X0, int Y0, int X1, int Y1, int Z) = 0;
    virtual void MoveToAtZ(int X, int Y, int Z) = 0;
    virtual void LineToAtZ(int X, int Y, int Z) = 0;
    virtual void DepthLine(int X, int Y, int Z0, int Z1) = 0;
    virtual void BeginFrontPlane() = 0;
    virtual void EndFrontPlane() = 0;
    virtual void PlaneAtZ(const TPoint (&Points)[4], int Z) = 0;
    virtual void PolygonAtZ(const std::vector<TPoint>& Points, int Z) = 0;
    virtual void RectangleAtZ(const TRect& Rect, int Z) = 0;
    virtual void HorizPlane(int Left, int Right, int Y, int Z0, int Z1) = 0;
    virtual void SidePlane(int X, int Top, int Bottom, int Z0, int Z1) = 0;
    virtual void RotatedTextAtZ(int X, int Y, int Z, std::string_view Text, int Angle) = 0;
    virtual void TextOutAtZ(int X, int Y, std::string_view Text, int Z) = 0;
};

// The canvas of every chart: draws on a drawing context, by default through an off-screen
// image that is kept from paint to paint while the chart keeps its size and shown again
// unchanged while nothing was invalidated.
class TTeeCanvas3D : public TCanvas3D {
public:
    TTeeCanvas3D();
    ~TTeeCanvas3D() override;

    bool Monochrome() const override { return FMonochrome; }
    void SetMonochrome(bool Value) override;
    bool Buffered() const override { return FBuffered; }
    void SetBuffered(bool Value) override;
    // The off-screen image, or null before the first buffered paint.
    const TBitmap* Bitmap() const { return FBitmap.get(); }
    bool Dirty() const { return FDirty; }
    bool Is3D() const { return FIs3D; }
    const TRect& Bounds() const { return FBounds; }

    void ClipToRect(const TRect& Rect) override;
    void HorizLine(int X0, int X1, int Y) override;
    void DrawRect(const TRect& Rect) override;
    void VertLine(int X, int Y0, int Y1) override;
    void EraseRect(const TRect& Rect) override;
    void GradientFill(const TRect& Rect, TColor StartColor, TColor EndColor,
                      TGradientDirection Direction) override;
    void Invalidate() override { FDirty = true; }
    void Line(int X0, int Y0, int X1, int Y1) override;
    void Polygon(const std::vector<TPoint>& Points) override;
    // Angle in degrees, counter-clockwise; above 360 loses one turn.
    void RotatedText(int X, int Y, std::string_view Text, int Angle) override;
    void RemoveClip() override;
    void SetPixelAtZ(int X, int Y, int Z, TColor Color) override;
    bool SupportsFullRotation() const override { return false; }
    bool SupportsID() const override { return false; }
    void Unproject(int& X, int& Y, int Z) const override;
    TPoint Project3D(int X, int Y, int Z) const override;
    TRect PrepareSurface(TCanvas& Window, const TView3DOptions* Options, TColor BackColor,
                         bool Is3D, const TRect& Bounds) override;
    void Assign(const TCanvas3D& Source) override;
    void SetProjection(int MaxDepth, const TRect& FullRect, const TRect& ChartRect) override;
    void PresentImage(TCanvas& Target, const TRect& Rect) override;
    bool RepaintFromBuffer() override;
    // In 2-D: Left + 1, Top + 1, Right, Bottom - 1 of Rect.
    void ClipToPlotArea(const TRect& Rect, int FirstZ, int LastZ) override;
    void HorizLineAtZ(int X0, int X1, int Y, int Z) override;
    void VertLineAtZ(int X, int Y0, int Y1, int Z) override;
    void LineAtZ(int X0, int Y0, int X1, int Y1, int Z) override;
    void MoveToAtZ(int X, int Y, int Z) override;
    void LineToAtZ(int X, int Y, int Z) override;
    void DepthLine(int X, int Y, int Z0, int Z1) override;
    void BeginFrontPlane() override;
    void EndFrontPlane() override;
    void PlaneAtZ(const TPoint (&Points)[4], int Z) override;
    void PolygonAtZ(const std::vector<TPoint>& Points, int Z) override;
    void RectangleAtZ(const TRect& Rect, int Z) override;
    void HorizPlane(int Left, int Right, int Y, int Z0, int Z1) override;
    void SidePlane(int X, int Top, int Bottom, int Z0, int Z1) override;
    void RotatedTextAtZ(int X, int Y, int Z, std::string_view Text, int Angle) override;
    void TextOutAtZ(int X, int Y, std::string_view Text, int Z) override;

private:
    const TView3DOptions* FView3DOptions = nullptr;
    bool FIsOrthogonal = false;
    int FXCenter = 0;
    int FYCenter = 0;
    int FZCenter = 0;
    int FXCenterOffset = 0;
    int FYCenterOffset = 0;
    bool FWasIs3D = false;
    bool FIs3D = false;
    std::unique_ptr<TBitmap> FBitmap;
    // The window's canvas of the current paint.
    TCanvas* FWindow = nullptr;
    bool FBuffered = true;
    bool FMonochrome = false;
    bool FDirty = true;
    TRect FBounds;
    bool FZoomText = true;
    double FZoomFactor = 1.0;
};

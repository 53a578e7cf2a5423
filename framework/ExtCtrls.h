#pragma once
// The panel: a control with a background colour framed by an outer bevel, a border and an
// inner bevel. Controls that draw everything themselves (the chart) derive from it and take
// over Paint; the panel forwards paint, mouse, cursor and size to them through the virtual
// handlers of TWinControl.
//
// Threading: user-interface thread only.

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "platform/DrawContext.h"
#include "platform/Types.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A three-dimensional frame Width pixels wide drawn inwards from Rect: TopColor on the top and
// left edges, BottomColor on the bottom and right. Rect comes back shrunk by one pixel on every
// side per ring drawn: Width rings, fewer when they meet in the middle first. Leaves the canvas
// pen one pixel wide, solid, in BottomColor.
void Frame3D(TCanvas& Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

class TCustomPanel : public TWinControl {
public:
    explicit TCustomPanel(TComponent* Owner);

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);

    // The background, bevels and border, inwards from Rect; Rect comes back as the area inside.
    void PaintFrame(TCanvas& Canvas, TRect& Rect) const;

protected:
    void Paint(platform::TDrawContext& Canvas) override;

private:
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TColor FColor = clBtnFace;
};

#include "framework/ExtCtrls.h"
#include "framework/Property.h"

void Frame3D(TCanvas& Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width)
{
    TPen& pen = *Canvas.Pen();
    pen.SetWidth(1);
    pen.SetStyle(psSolid);
    --Rect.Right;
    --Rect.Bottom;
    // Once the rings have met in the middle there is nothing left to frame: a width beyond
    // half the rectangle would otherwise draw rings turned inside out (and a huge one never end).
    for (int i = 0; i < Width && Rect.Left <= Rect.Right && Rect.Top <= Rect.Bottom; ++i) {
        pen.SetColor(TopColor);
        const TPoint top[] = {{Rect.Left, Rect.Bottom}, {Rect.Left, Rect.Top}, {Rect.Right, Rect.Top}};
        Canvas.Polyline(top, 3);
        pen.SetColor(BottomColor);
        const TPoint bottom[] = {{Rect.Right, Rect.Top}, {Rect.Right, Rect.Bottom}, {Rect.Left - 1, Rect.Bottom}};
        Canvas.Polyline(bottom, 3);
        ++Rect.Left;
        ++Rect.Top;
        --Rect.Right;
        --Rect.Bottom;
    }
    ++Rect.Right;
    ++Rect.Bottom;
}

TCustomPanel::TCustomPanel(TComponent* Owner) : TWinControl(Owner) {}

void TCustomPanel::SetBevelOuter(TBevelCut Value)
{
    SetProperty(FBevelOuter, Value, [this] { Invalidate(); });
}

void TCustomPanel::SetBevelInner(TBevelCut Value)
{
    SetProperty(FBevelInner, Value, [this] { Invalidate(); });
}

void TCustomPanel::SetBevelWidth(int Value)
{
    if (Value < 1)
        Value = 1;
    SetProperty(FBevelWidth, Value, [this] { Invalidate(); });
}

void TCustomPanel::SetBorderWidth(int Value)
{
    if (Value < 0)
        Value = 0;
    SetProperty(FBorderWidth, Value, [this] { Invalidate(); });
}

void TCustomPanel::SetColor(TColor Value)
{
    SetProperty(FColor, Value, [this] { Invalidate(); });
}

namespace {

void Bevel(TCanvas& Canvas, TRect& Rect, TBevelCut Cut, int Width)
{
    if (Cut == bvNone)
        return;
    if (Cut == bvLowered)
        Frame3D(Canvas, Rect, clBtnShadow, clBtnHighlight, Width);
    else
        Frame3D(Canvas, Rect, clBtnHighlight, clBtnShadow, Width);
}

} // namespace

void TCustomPanel::PaintFrame(TCanvas& Canvas, TRect& Rect) const
{
    Bevel(Canvas, Rect, FBevelOuter, FBevelWidth);
    if (FBorderWidth > 0)
        Frame3D(Canvas, Rect, FColor, FColor, FBorderWidth);
    Bevel(Canvas, Rect, FBevelInner, FBevelWidth);
}

void TCustomPanel::Paint(platform::TDrawContext& DC)
{
    TCanvas canvas(&DC);
    TRect r = ClientRect();
    canvas.Brush()->SetColor(FColor);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.FillRect(r);
    PaintFrame(canvas, r);
}

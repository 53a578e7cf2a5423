#include "chart/TeeProcs.h"

#include "chart/TeeConst.h"
#include "framework/Property.h"

#include <utility>

void TZoomPanningRecord::Activate(int X, int Y)
{
    StartX = EndX = X;
    StartY = EndY = Y;
    Active = true;
}

void TZoomPanningRecord::Normalize()
{
    if (EndX < StartX)
        std::swap(StartX, EndX);
    if (EndY < StartY)
        std::swap(StartY, EndY);
}

// ---------------------------------------------------------------------------------------------

TCustomTeePanel::TCustomTeePanel(TComponent* Owner)
    : TCustomPanel(Owner),
      FCanvas3D(std::make_unique<TTeeCanvas3D>()),
      FWindowCanvas(std::make_unique<TCanvas>()),
      FView3DOptions(std::make_unique<TView3DOptions>([this] { Invalidate(); }))
{
    SetBounds(Left(), Top(), 400, 250);
    // Requests made while the panel is being built are ignored; from here on they count.
    FAutoRepaint = true;
}

TCustomTeePanel::~TCustomTeePanel() = default;

void TCustomTeePanel::SetMargin(int Index, int Value)
{
    SetProperty(FMargins[Index], Value, [this] { Invalidate(); });
}

void TCustomTeePanel::SetView3D(bool Value)
{
    SetProperty(FView3D, Value, [this] { Invalidate(); });
}

void TCustomTeePanel::SetChart3DPercent(int Value)
{
    if (Value < 1 || Value > 100)
        throw ChartException(FormatTeeMsg(TeeMsg_3DPercent, 1, 100));
    SetProperty(FChart3DPercent, Value, [this] { Invalidate(); });
}

void TCustomTeePanel::SetPrintProportional(bool Value)
{
    SetProperty(FPrintProportional, Value, [this] { Invalidate(); });
}

void TCustomTeePanel::RecalcPlotSize()
{
    TRect& r = FPlotRect;
    if (r.Left < FPanelBounds.Left)
        r.Left = FPanelBounds.Left;
    if (r.Top < FPanelBounds.Top)
        r.Top = FPanelBounds.Top;
    if (r.Right < r.Left)
        r.Right = r.Left + 1;
    else if (r.Right == r.Left)
        r.Right = r.Left + Width();
    if (r.Bottom < r.Top)
        r.Bottom = r.Top + 1;
    else if (r.Bottom == r.Top)
        r.Bottom = r.Top + Height();
    FPlotWidth = r.Right - r.Left;
    FPlotHeight = r.Bottom - r.Top;
    FPlotXCenter = (r.Left + r.Right) / 2;
    FPlotYCenter = (r.Top + r.Bottom) / 2;
}

void TCustomTeePanel::Invalidate()
{
    if (!FAutoRepaint)
        return;
    FCanvas3D->Invalidate();
    TCustomPanel::Invalidate();
}

void TCustomTeePanel::Resize()
{
    // The stored image has the old size: the next paint must draw.
    FCanvas3D->Invalidate();
    TCustomPanel::Resize();
}

void TCustomTeePanel::Paint(platform::TDrawContext& Canvas)
{
    // The window's context lives only for this paint: nothing may keep drawing on it later.
    struct TDetach {
        TCustomTeePanel* Panel;
        ~TDetach()
        {
            Panel->FCanvas3D->SetCanvas(nullptr);
            Panel->FWindowCanvas->SetHandle(nullptr);
        }
    } detach{this};
    FWindowCanvas->SetHandle(&Canvas);
    FCanvas3D->SetCanvas(FWindowCanvas.get());
    // A stored image of another size is stale whether or not a resize was reported.
    const TBitmap* image = FCanvas3D->Bitmap();
    if (image && (image->Width() != Width() || image->Height() != Height()))
        FCanvas3D->Invalidate();
    if (!FCanvas3D->RepaintFromBuffer())
        Draw(*FWindowCanvas, ClientRect());
}

void TCustomTeePanel::Draw(TCanvas& Target, const TRect& Rect)
{
    FPanelBounds = FCanvas3D->PrepareSurface(Target, FView3DOptions.get(), Color(), FView3D, Rect);
    const int w = FPanelBounds.Width();
    const int h = FPanelBounds.Height();
    const int border = BorderWidth();
    FPlotRect = {FPanelBounds.Left + platform::MulDiv(MarginLeft(), w, 100) + border,
                 FPanelBounds.Top + platform::MulDiv(MarginTop(), h, 100) + border,
                 FPanelBounds.Right - border - platform::MulDiv(MarginRight(), w, 100),
                 FPanelBounds.Bottom - border - platform::MulDiv(MarginBottom(), h, 100)};
    RecalcPlotSize();
    InternalDraw(FPanelBounds);
    FCanvas3D->PresentImage(Target, Rect);
}

// ---------------------------------------------------------------------------------------------

void TChartGradient::SetVisible(bool Value)
{
    SetProperty(FVisible, Value, [this] { FPanel->Invalidate(); });
}

void TChartGradient::SetDirection(TGradientDirection Value)
{
    SetProperty(FDirection, Value, [this] { FPanel->Invalidate(); });
}

void TChartGradient::SetStartColor(TColor Value)
{
    SetProperty(FStartColor, Value, [this] { FPanel->Invalidate(); });
}

void TChartGradient::SetEndColor(TColor Value)
{
    SetProperty(FEndColor, Value, [this] { FPanel->Invalidate(); });
}

TCustomTeePanelExtended::TCustomTeePanelExtended(TComponent* Owner)
    : TCustomTeePanel(Owner), FGradient(std::make_unique<TChartGradient>(this))
{
}

TCustomTeePanelExtended::~TCustomTeePanelExtended() = default;

void TCustomTeePanelExtended::SetBackImageMode(TTeeBackImageMode Value)
{
    SetProperty(FBackImageMode, Value, [this] { Invalidate(); });
}

void TCustomTeePanelExtended::SetAllowZoom(bool Value)
{
    SetProperty(FAllowZoom, Value, [this] { Invalidate(); });
}

void TCustomTeePanelExtended::SetAllowPanning(TPanningMode Value)
{
    SetProperty(FAllowPanning, Value, [this] { Invalidate(); });
}

void TCustomTeePanelExtended::SetAnimatedZoom(bool Value)
{
    SetProperty(FAnimatedZoom, Value, [this] { Invalidate(); });
}

void TCustomTeePanelExtended::SetAnimatedZoomSteps(int Value)
{
    SetProperty(FAnimatedZoomSteps, Value, [this] { Invalidate(); });
}

void TCustomTeePanelExtended::PaintPanel()
{
    TTeeCanvas3D* c = Canvas();
    const TRect& bounds = PanelBounds();
    if (FGradient->Visible()) {
        const TGradientDirection d = FGradient->Direction();
        const bool straight = d == gdTopBottom || d == gdLeftRight;
        c->GradientFill(bounds, straight ? FGradient->StartColor() : FGradient->EndColor(),
                        straight ? FGradient->EndColor() : FGradient->StartColor(), d);
    } else {
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(bsSolid);
        c->EraseRect(bounds);
    }
    // The frame: outer bevel, border in the panel colour, inner bevel, each inside the last.
    TRect r = bounds;
    PaintFrame(*c->ReferenceCanvas(), r);
}

#include "buttons/cxLookAndFeelPainters.h"

TColor cxBlendColors(TColor Face, TColor Highlight, TColor Window, TcxBlendWeights Weights)
{
    if (Face == clBlack || Face == clWhite)
        return Highlight;
    return MixPercent(
        {{Face, Weights.Face}, {Highlight, Weights.Highlight}, {Window, Weights.Window}});
}

bool TcxUltraFlatLookAndFeelPainter::IsButtonHotTrack() const { return true; }

int TcxUltraFlatLookAndFeelPainter::ButtonBorderSize(TcxButtonState State) const
{
    return State == cxbsDefault ? 2 : 1;
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonColor(TcxButtonState State) const
{
    const TColor face = ColorToRGB(clBtnFace);
    switch (State) {
    case cxbsHot:
        return cxBlendColors(face, ColorToRGB(clHighlight), ColorToRGB(clWindow),
                             cxHotBlendWeights);
    case cxbsPressed:
        return cxBlendColors(face, ColorToRGB(clHighlight), ColorToRGB(clWindow),
                             cxPressedBlendWeights);
    case cxbsDefault:
    case cxbsNormal:
    case cxbsDisabled:
        break;
    }
    return face;
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonSymbolColor(TcxButtonState State) const
{
    switch (State) {
    case cxbsPressed: return clHighlightText;
    case cxbsDisabled: return clBtnShadow;
    case cxbsDefault:
    case cxbsNormal:
    case cxbsHot: break;
    }
    return clBtnText;
}

TColor TcxUltraFlatLookAndFeelPainter::BorderColor(TcxButtonState State)
{
    switch (State) {
    case cxbsNormal: return clBtnText;
    case cxbsDefault: return clWindowFrame;
    case cxbsHot:
    case cxbsPressed:
    case cxbsDisabled: break;
    }
    return clHighlight;
}

void TcxUltraFlatLookAndFeelPainter::DrawButtonBorder(TCanvas& ACanvas, const TRect& R,
                                                      TcxButtonState State) const
{
    ACanvas.Brush()->SetStyle(bsSolid);
    ACanvas.Brush()->SetColor(BorderColor(State));
    TRect ring = R;
    for (int i = 0; i < ButtonBorderSize(State) && ring.Width() > 0 && ring.Height() > 0; ++i) {
        ACanvas.FrameRect(ring);
        ring = {ring.Left + 1, ring.Top + 1, ring.Right - 1, ring.Bottom - 1};
    }
}

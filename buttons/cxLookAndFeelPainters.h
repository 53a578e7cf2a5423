#pragma once
// Look-and-feel painters: how a skinned control draws its frame and face, and which colours
// its face and text take, for each visual state. Painters hold no state; each kind has one
// shared instance.
//
// Only the ultra-flat painter has rules of its own. The standard, flat and theme painters
// draw as the ultra-flat one does; they exist so that the choice of painter is kept and a
// later look can be put in without touching the controls.
//
// Threading: drawing runs on the user-interface thread; the colour functions are pure.

#include "framework/Graphics.h"
#include "platform/Types.h"

#include <cstdint>

// Visual state of a button; the ordinals are part of the stored form of a button.
enum TcxButtonState : std::uint8_t {
    cxbsDefault = 0,
    cxbsNormal = 1,
    cxbsHot = 2,
    cxbsPressed = 3,
    cxbsDisabled = 4
};

// Percent weights of the button face, highlight and window colours in a blended face.
struct TcxBlendWeights {
    int Face;
    int Highlight;
    int Window;
};

constexpr TcxBlendWeights cxHotBlendWeights{-2, 30, 72};
constexpr TcxBlendWeights cxPressedBlendWeights{14, 44, 40};

// The blend of three plain RGB colours, each component the sum of the weighted components
// clamped to 0..255. A black or white face gives the highlight colour itself: the blend of
// such a face would not stand out from the window. The result still has to go through the
// surface's nearest-colour step before it is painted.
TColor cxBlendColors(TColor Face, TColor Highlight, TColor Window, TcxBlendWeights Weights);

class TcxCustomLookAndFeelPainter {
public:
    virtual ~TcxCustomLookAndFeelPainter() = default;

    // Whether a button lights up under the mouse.
    virtual bool IsButtonHotTrack() const = 0;
    // Width of the frame drawn on the edge of the button, per side.
    virtual int ButtonBorderSize(TcxButtonState State) const = 0;
    // The face colour as plain RGB, before the surface's nearest-colour step.
    virtual TColor ButtonColor(TcxButtonState State) const = 0;
    // Colour of the caption (a system colour or RGB).
    virtual TColor ButtonSymbolColor(TcxButtonState State) const = 0;
    // Draws the frame of the state on R; the face inside is left alone.
    virtual void DrawButtonBorder(TCanvas& ACanvas, const TRect& R,
                                  TcxButtonState State) const = 0;
};

class TcxUltraFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
public:
    bool IsButtonHotTrack() const override;
    int ButtonBorderSize(TcxButtonState State) const override;
    TColor ButtonColor(TcxButtonState State) const override;
    TColor ButtonSymbolColor(TcxButtonState State) const override;
    void DrawButtonBorder(TCanvas& ACanvas, const TRect& R,
                          TcxButtonState State) const override;

    // The colour of the frame of a state (a system colour).
    static TColor BorderColor(TcxButtonState State);
};

class TcxStandardLookAndFeelPainter : public TcxUltraFlatLookAndFeelPainter {};
class TcxFlatLookAndFeelPainter : public TcxUltraFlatLookAndFeelPainter {};
class TcxWinXPLookAndFeelPainter : public TcxUltraFlatLookAndFeelPainter {};

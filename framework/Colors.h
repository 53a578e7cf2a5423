#pragma once
// The shared colour type: 0x00BBGGRR, or 0xFF0000nn for the system colour nn.
//
// System colours resolve to one fixed classic scheme (the same on every machine), so that
// what the chart and the buttons paint can be checked to the pixel. The blends below work on
// plain RGB: resolve system colours with ColorToRGB first.
//
// Threading: pure values and functions, any thread.

#include <cstdint>
#include <initializer_list>

using TColor = std::uint32_t;

constexpr TColor RgbColor(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr std::uint8_t RedOf(TColor c) { return std::uint8_t(c & 0xFF); }
constexpr std::uint8_t GreenOf(TColor c) { return std::uint8_t((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(TColor c) { return std::uint8_t((c >> 16) & 0xFF); }

// Reserved values.
constexpr TColor clDefault = 0x20000000; // a point or face takes its owner's colour
constexpr TColor clNone = 0x1FFFFFFF;    // a point without value

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clSkyBlue = 0xF0CAA6;

constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;

// A plain RGB value for any colour: system colours by the fixed scheme, an unknown system
// index as black, other values with their top byte dropped.
TColor ColorToRGB(TColor Color);

// Colour K of N steps on the way from A to B: per channel A + K x (B - A) / N, rounded to the
// nearest integer (halves away from zero), K from 0 (A) to N (B); A when N is 0. The steps
// of a gradient.
TColor ColorStep(TColor A, TColor B, int K, int N);

// One colour's part in a MixPercent, its weight in percent (negative weights subtract).
struct TColorShare {
    TColor Color;
    int Weight;
};

// Per channel the sum over Shares of channel x weight / 100, each product rounded to the
// nearest integer (halves away from zero), the sum clamped to 0..255.
TColor MixPercent(std::initializer_list<TColorShare> Shares);

#include "framework/Colors.h"

#include "platform/Types.h"

#include <algorithm>
#include <array>

namespace {

// The classic desktop scheme, by system colour index.
constexpr std::array<TColor, 31> kClassicScheme = {
    RgbColor(212, 208, 200), // scroll bar
    RgbColor(58, 110, 165),  // desktop
    RgbColor(10, 36, 106),   // active caption
    RgbColor(128, 128, 128), // inactive caption
    RgbColor(212, 208, 200), // menu
    RgbColor(255, 255, 255), // window
    RgbColor(0, 0, 0),       // window frame
    RgbColor(0, 0, 0),       // menu text
    RgbColor(0, 0, 0),       // window text
    RgbColor(255, 255, 255), // caption text
    RgbColor(212, 208, 200), // active border
    RgbColor(212, 208, 200), // inactive border
    RgbColor(128, 128, 128), // application workspace
    RgbColor(10, 36, 106),   // highlight
    RgbColor(255, 255, 255), // highlight text
    RgbColor(212, 208, 200), // button face
    RgbColor(128, 128, 128), // button shadow
    RgbColor(128, 128, 128), // grey text
    RgbColor(0, 0, 0),       // button text
    RgbColor(212, 208, 200), // inactive caption text
    RgbColor(255, 255, 255), // button highlight
    RgbColor(64, 64, 64),    // 3-D dark shadow
    RgbColor(212, 208, 200), // 3-D light
    RgbColor(0, 0, 0),       // tooltip text
    RgbColor(255, 255, 225), // tooltip background
    RgbColor(0, 0, 0),       // (unused index)
    RgbColor(0, 0, 128),     // hot-tracked item
    RgbColor(166, 202, 240), // active caption gradient
    RgbColor(192, 192, 192), // inactive caption gradient
    RgbColor(10, 36, 106),   // menu highlight
    RgbColor(212, 208, 200), // menu bar
};

// The colour whose channel at each bit offset (0 red, 8 green, 16 blue) Channel gives,
// clamped to 0..255.
template <class F>
TColor ByChannel(F Channel)
{
    TColor result = 0;
    for (int shift : {0, 8, 16})
        result |= TColor(std::clamp(Channel(shift), 0, 255)) << shift;
    return result;
}

int ChannelOf(TColor Color, int Shift) { return int((Color >> Shift) & 0xFF); }

} // namespace

TColor ColorToRGB(TColor Color)
{
    if ((Color & 0xFF000000) == clSystemColor) {
        const TColor index = Color & 0xFF;
        return index < kClassicScheme.size() ? kClassicScheme[index] : clBlack;
    }
    return Color & 0x00FFFFFF;
}

TColor ColorStep(TColor A, TColor B, int K, int N)
{
    if (N == 0)
        return A & 0x00FFFFFF;
    // The whole value is rounded, not the step: a step of -0.5 from 11 is 10.5, which is 11.
    return ByChannel([&](int shift) {
        const int a = ChannelOf(A, shift);
        return platform::MulDiv(a * N + K * (ChannelOf(B, shift) - a), 1, N);
    });
}

TColor MixPercent(std::initializer_list<TColorShare> Shares)
{
    return ByChannel([&](int shift) {
        int sum = 0;
        for (const TColorShare& s : Shares)
            sum += platform::MulDiv(ChannelOf(s.Color, shift), s.Weight, 100);
        return sum;
    });
}

// Colours: system colours resolved by the classic scheme, and blends of plain RGB.
#include "framework/Colors.h"

#include <gtest/gtest.h>

TEST(ColorToRGB, ResolvesSystemColoursByTheClassicScheme)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), RgbColor(212, 208, 200));
    EXPECT_EQ(ColorToRGB(cl3DLight), RgbColor(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clHighlight), RgbColor(10, 36, 106));
    EXPECT_EQ(ColorToRGB(clHighlightText), clWhite);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), clWhite);
    EXPECT_EQ(ColorToRGB(clBtnShadow), RgbColor(128, 128, 128));
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clBtnText), clBlack);
    EXPECT_EQ(ColorToRGB(clWindowFrame), clBlack);
    EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(clDefault), 0u);
}

TEST(ColorStep, RoundsTheWholeValueToTheNearest)
{
    struct Case {
        TColor A, B;
        int K, N;
        TColor Expected;
    };
    const Case cases[] = {
        {clBlack, clWhite, 1, 2, RgbColor(128, 128, 128)},                            // 127.5
        {RgbColor(11, 0, 200), RgbColor(10, 255, 100), 1, 2, RgbColor(11, 128, 150)}, // 10.5
        {RgbColor(100, 0, 0), clBlack, 1, 3, RgbColor(67, 0, 0)},                     // 66.7
        {clBlack, RgbColor(255, 0, 0), 1, 3, RgbColor(85, 0, 0)},
        {clBlack, RgbColor(255, 0, 0), 2, 3, RgbColor(170, 0, 0)},
        {clBlack, RgbColor(0, 0, 255), 1, 255, RgbColor(0, 0, 1)},
        {RgbColor(1, 2, 3), RgbColor(250, 251, 252), 0, 3, RgbColor(1, 2, 3)},
        {RgbColor(1, 2, 3), RgbColor(250, 251, 252), 3, 3, RgbColor(250, 251, 252)},
        {RgbColor(1, 2, 3), RgbColor(250, 251, 252), 5, 0, RgbColor(1, 2, 3)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorStep(c.A, c.B, c.K, c.N), c.Expected)
            << std::hex << c.A << " " << c.B << std::dec << " " << c.K << "/" << c.N;
}

TEST(MixPercent, RoundsEachProductHalvesAwayFromZeroAndClampsTheSum)
{
    // Each product in the red channel, on a base of 10 so that negative ones show.
    struct Case {
        int Component, Weight, Product;
    };
    const Case cases[] = {
        {212, -2, -4},  // -4.24
        {250, -2, -5},  // exactly -5
        {25, -2, -1},   // -0.5
        {25, 2, 1},     // 0.5
        {24, 2, 0},     // 0.48
        {255, 72, 184}, // 183.6
        {255, 30, 77},  // 76.5
        {0, 44, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MixPercent({{RgbColor(std::uint8_t(c.Component), 0, 0), c.Weight},
                              {RgbColor(10, 0, 0), 100}}),
                  RgbColor(std::uint8_t(10 + c.Product), 0, 0))
            << c.Component << " x " << c.Weight;
    // Rounding each product: 25 x 2% twice is 1 + 1, where the exact sum 1.0 would be 1.
    EXPECT_EQ(MixPercent({{RgbColor(25, 0, 0), 2}, {RgbColor(25, 0, 0), 2}}), RgbColor(2, 0, 0));
    EXPECT_EQ(MixPercent({{clWhite, 100}, {RgbColor(0, 255, 1), 100}}), clWhite);
    EXPECT_EQ(MixPercent({{RgbColor(0, 100, 0), 100}, {clWhite, -50}}), clBlack);
}

// Text placement under fixed metrics, and the real fonts as installed here.
#include "platform/DrawContext.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace platform;

namespace {

constexpr TRgb kWhite = 0xFFFFFF;

// Every character 7 pixels wide, cells 12 high with the baseline 9 below the top.
class TFixedMetrics : public TTextMetrics {
public:
    TSize Extent(const TFontDesc&, std::string_view Text) const override
    {
        return {int(Text.size()) * 7, 12};
    }
    int Ascent(const TFontDesc&) const override { return 9; }
};

class FixedMetrics : public testing::Test {
protected:
    void SetUp() override { SetTextMetrics(&FMetrics); }
    void TearDown() override { SetTextMetrics(nullptr); }
    TFixedMetrics FMetrics;
};

struct TBox {
    int Left = 1 << 20, Top = 1 << 20, Right = -(1 << 20), Bottom = -(1 << 20);
    bool Empty() const { return Right < Left; }
};

// Bounds of the pixels that are not white, right and bottom exclusive.
TBox Inked(const TBitmapImage& Image)
{
    TBox b;
    for (int y = 0; y < Image.Height(); ++y)
        for (int x = 0; x < Image.Width(); ++x)
            if (Image.Pixel(x, y) != kWhite) {
                b.Left = std::min(b.Left, x);
                b.Top = std::min(b.Top, y);
                b.Right = std::max(b.Right, x + 1);
                b.Bottom = std::max(b.Bottom, y + 1);
            }
    return b;
}

TBox OpaqueBox(unsigned Align, int X, int Y, std::string_view Text, int Escapement = 0)
{
    TBitmapImage image(120, 120);
    TDrawContext dc(image);
    TFontDesc font;
    font.Escapement = Escapement;
    dc.SelectFont(font);
    dc.SetBkMode(TBkMode::Opaque);
    dc.SetBkColor(0x00FF00);
    dc.SetTextAlign(Align);
    dc.TextOut(X, Y, Text);
    return Inked(image);
}

} // namespace

TEST_F(FixedMetrics, OpaqueBoxFollowsTheAlignmentFlags)
{
    TBox b = OpaqueBox(Align::Left | Align::Top, 50, 40, "abc");
    EXPECT_EQ(b.Left, 50);
    EXPECT_EQ(b.Top, 40);
    EXPECT_EQ(b.Right, 71);
    EXPECT_EQ(b.Bottom, 52);
    b = OpaqueBox(Align::Right | Align::Bottom, 50, 40, "abc");
    EXPECT_EQ(b.Left, 29);
    EXPECT_EQ(b.Right, 50);
    EXPECT_EQ(b.Top, 28);
    EXPECT_EQ(b.Bottom, 40);
    b = OpaqueBox(Align::Center | Align::Baseline, 50, 40, "abc"); // 21 wide: left at 50 - 10
    EXPECT_EQ(b.Left, 40);
    EXPECT_EQ(b.Right, 61);
    EXPECT_EQ(b.Top, 31);
    EXPECT_EQ(b.Bottom, 43);
}

TEST_F(FixedMetrics, EscapementTurnsTheBoxAboutTheReferencePoint)
{
    // 90 degrees counter-clockwise: the text runs upwards from (50, 60), its top to the left.
    const TBox b = OpaqueBox(Align::Left | Align::Top, 50, 60, "abc", 900);
    EXPECT_EQ(b.Left, 50);
    EXPECT_EQ(b.Right, 62);
    EXPECT_EQ(b.Top, 39);
    EXPECT_EQ(b.Bottom, 60);
}

TEST_F(FixedMetrics, ExtentComesFromTheInstalledMetrics)
{
    TBitmapImage image(4, 4);
    TDrawContext dc(image);
    EXPECT_EQ(dc.TextExtent("four"), (TSize{28, 12}));
    SetTextMetrics(nullptr);
    EXPECT_NE(dc.TextExtent("four"), (TSize{28, 12}));
}

TEST(RealFonts, ArialEightPointMeasuresAsTheMetricCompatibleFace)
{
    TBitmapImage image(4, 4);
    TDrawContext dc(image);
    TFontDesc arial;
    arial.Name = "Arial";
    arial.Height = -11;
    dc.SelectFont(arial);
    const TSize w = dc.TextExtent("W");
    EXPECT_EQ(w.cy, 12);
    EXPECT_EQ(w.cx, 10);
    EXPECT_EQ(dc.TextExtent("").cx, 0);
    EXPECT_EQ(TextMetrics().Ascent(arial), 10);
    arial.Bold = true;
    EXPECT_GE(dc.TextExtent("WWWW").cx, 40);
}

TEST(RealFonts, EachFontKeepsItsOwnWidths)
{
    TFontDesc arial, sans, big;
    arial.Name = "Arial";
    sans.Name = "MS Sans Serif"; // falls back to a wider face here
    big.Name = "Arial";
    big.Height = -22;
    const TTextMetrics& m = TextMetrics();
    const int narrow = m.Extent(arial, "WWW").cx;
    EXPECT_GT(m.Extent(sans, "WWW").cx, narrow);
    EXPECT_GE(m.Extent(big, "WWW").cx, 2 * narrow - 1);
    EXPECT_EQ(m.Extent(arial, "WWW").cx, narrow);
}

TEST(RealFonts, PositiveHeightAsksForTheCellHeight)
{
    TFontDesc cell;
    cell.Height = 12;
    EXPECT_LE(TextMetrics().Extent(cell, "W").cy, 12);
    EXPECT_GE(TextMetrics().Extent(cell, "W").cy, 11);
}

TEST(RealFonts, GlyphsAreSolidTextColourInsideTheExtent)
{
    TBitmapImage image(100, 40);
    TDrawContext dc(image);
    dc.SetBkMode(TBkMode::Transparent);
    dc.SetTextColor(0x0000FF);
    dc.TextOut(10, 10, "Ag 0,123");
    const TSize extent = dc.TextExtent("Ag 0,123");
    const TBox b = Inked(image);
    ASSERT_FALSE(b.Empty());
    EXPECT_GE(b.Left, 10);
    EXPECT_LE(b.Right, 10 + extent.cx + 1);
    EXPECT_GE(b.Top, 10);
    EXPECT_LE(b.Bottom, 10 + extent.cy);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) {
            const TRgb c = image.Pixel(x, y);
            ASSERT_TRUE(c == kWhite || c == 0x0000FF) << "antialiased pixel at " << x << "," << y;
        }
}

TEST(RealFonts, ChineseCaptionHasGlyphs)
{
    TBitmapImage image(120, 30);
    TDrawContext dc(image);
    dc.SetBkMode(TBkMode::Transparent);
    dc.TextOut(2, 2, "校验失败！");
    EXPECT_FALSE(Inked(image).Empty());
    EXPECT_GT(dc.TextExtent("校验失败！").cx, 30);
}

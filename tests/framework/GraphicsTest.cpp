// Fonts, pens and brushes: unit conversions, change notifications and what reaches the
// drawing context.
#include "framework/Graphics.h"

#include <gtest/gtest.h>

TEST(Font, SizeAndHeightAreOneValueAtNinetySixDpi)
{
    TFont font;
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.PixelsPerInch(), 96);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    font.SetHeight(-16);
    EXPECT_EQ(font.Size(), 12);
    font.SetHeight(14); // a cell height still converts, with its sign
    EXPECT_EQ(font.Size(), -11);
}

TEST(Font, NotifiesOnlyOnChangeAndAssignNotifiesOnce)
{
    TFont font;
    int changes = 0;
    TObject* sender = nullptr;
    font.OnChange = [&](TObject* S) { ++changes, sender = S; };
    font.SetSize(8); // already -11
    font.SetName("MS Sans Serif");
    font.SetColor(clWindowText);
    font.SetStyle({});
    EXPECT_EQ(changes, 0);
    font.SetStyle({fsBold});
    font.SetColor(clRed);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(sender, &font);

    TFont other;
    other.SetName("Arial");
    other.SetSize(10);
    other.SetStyle({fsItalic, fsUnderline});
    changes = 0;
    font.Assign(other);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(font.Name(), "Arial");
    EXPECT_EQ(font.Height(), -13);
    EXPECT_EQ(font.Color(), clWindowText);
    font.Assign(other);
    EXPECT_EQ(changes, 1);
}

TEST(Font, DescCarriesNameHeightAndStyles)
{
    TFont font;
    font.SetName("Arial");
    font.SetStyle(TFontStyles{fsBold, fsStrikeOut});
    const platform::TFontDesc d = font.Desc();
    EXPECT_EQ(d.Name, "Arial");
    EXPECT_EQ(d.Height, -11);
    EXPECT_TRUE(d.Bold);
    EXPECT_FALSE(d.Italic);
    EXPECT_FALSE(d.Underline);
    EXPECT_TRUE(d.StrikeOut);
    EXPECT_EQ(d.Escapement, 0);
    EXPECT_TRUE(font.Style().With(fsItalic).Without(fsBold).Contains(fsItalic));
    EXPECT_FALSE(font.Style().Without(fsBold).Contains(fsBold));
}

TEST(Pen, ResolvesSystemColoursAndMapsItsEnumerations)
{
    TPen pen;
    int changes = 0;
    pen.OnChange = [&](TObject*) { ++changes; };
    pen.SetColor(clBlack);
    pen.SetWidth(1);
    pen.SetStyle(psSolid);
    pen.SetMode(pmCopy);
    EXPECT_EQ(changes, 0);
    pen.SetColor(clBtnShadow);
    pen.SetWidth(2);
    pen.SetStyle(psDot);
    pen.SetMode(pmXor);
    EXPECT_EQ(changes, 4);
    const platform::TPenDesc d = pen.Desc();
    EXPECT_EQ(d.Color, RgbColor(128, 128, 128));
    EXPECT_EQ(d.Width, 2);
    EXPECT_EQ(d.Style, platform::TPenStyle::Dot);
    EXPECT_EQ(d.Mode, platform::TPenMode::Xor);
    pen.SetStyle(psAlternate);
    EXPECT_EQ(pen.Desc().Style, platform::TPenStyle::Alternate);
    pen.SetStyle(psInsideFrame);
    EXPECT_EQ(pen.Desc().Style, platform::TPenStyle::InsideFrame);

    TPen copy;
    copy.Assign(pen);
    EXPECT_EQ(copy.Desc(), pen.Desc());
}

TEST(Brush, ResolvesColourAndStyle)
{
    TBrush brush;
    EXPECT_EQ(brush.Desc(), (platform::TBrushDesc{0xFFFFFF, platform::TBrushStyle::Solid}));
    int changes = 0;
    brush.OnChange = [&](TObject*) { ++changes; };
    brush.SetColor(clWhite);
    EXPECT_EQ(changes, 0);
    brush.SetColor(clHighlight);
    brush.SetStyle(bsDiagCross);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(brush.Desc(),
              (platform::TBrushDesc{RgbColor(10, 36, 106), platform::TBrushStyle::DiagCross}));
}

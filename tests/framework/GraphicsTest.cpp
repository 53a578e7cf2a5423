// Fonts, pens and brushes: unit conversions, change notifications and what reaches the
// drawing context.
#include "framework/Graphics.h"
#include "tests/support/PropertyChecks.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

namespace {

// Whether Object notified its owner since last asked.
template <class T>
std::function<bool()> Notifies(T& Object)
{
    auto count = std::make_shared<int>(0);
    Object.OnChange = [count](TObject*) { ++*count; };
    return [count] { return std::exchange(*count, 0) > 0; };
}

} // namespace

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
    ExpectActsExactlyOnChange(Notifies(font), {
        {"Size", [&] { font.SetSize(8); }, [&] { font.SetSize(10); }}, // 8 is -11 already
        {"Height", [&] { font.SetHeight(-13); }, [&] { font.SetHeight(-11); }},
        {"Name", [&] { font.SetName("MS Sans Serif"); }, [&] { font.SetName("Arial"); }},
        {"Color", [&] { font.SetColor(clWindowText); }, [&] { font.SetColor(clRed); }},
        {"Style", [&] { font.SetStyle({}); }, [&] { font.SetStyle({fsBold}); }},
        {"Charset", [&] { font.SetCharset(font.Charset()); },
         [&] { font.SetCharset(std::uint8_t(font.Charset() + 1)); }},
    });
    TObject* sender = nullptr;
    int changes = 0;
    font.OnChange = [&](TObject* S) { ++changes, sender = S; };
    font.SetName("MS Sans Serif");
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
    ExpectActsExactlyOnChange(Notifies(pen), {
        {"Color", [&] { pen.SetColor(clBlack); }, [&] { pen.SetColor(clBtnShadow); }},
        {"Width", [&] { pen.SetWidth(1); }, [&] { pen.SetWidth(2); }},
        {"Style", [&] { pen.SetStyle(psSolid); }, [&] { pen.SetStyle(psDot); }},
        {"Mode", [&] { pen.SetMode(pmCopy); }, [&] { pen.SetMode(pmXor); }},
    });
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
    ExpectActsExactlyOnChange(Notifies(brush), {
        {"Color", [&] { brush.SetColor(clWhite); }, [&] { brush.SetColor(clHighlight); }},
        {"Style", [&] { brush.SetStyle(bsSolid); }, [&] { brush.SetStyle(bsDiagCross); }},
    });
    EXPECT_EQ(brush.Desc(),
              (platform::TBrushDesc{RgbColor(10, 36, 106), platform::TBrushStyle::DiagCross}));
}

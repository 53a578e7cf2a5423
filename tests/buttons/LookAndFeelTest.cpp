#include "buttons/cxLookAndFeelPainters.h"
#include "buttons/cxLookAndFeels.h"

#include <gtest/gtest.h>

#include <typeinfo>

TEST(BlendArithmetic, BlendTable)
{
    const TColor grey = RgbColor(212, 208, 200);
    const TColor navy = RgbColor(10, 36, 106);
    struct Case {
        TColor Face, Highlight, Window;
        TcxBlendWeights Weights;
        TColor Expected;
    };
    const Case cases[] = {
        // The classic scheme, the faces that the station's buttons show.
        {grey, navy, clWhite, cxHotBlendWeights, RgbColor(183, 191, 212)},
        {grey, navy, clWhite, cxPressedBlendWeights, RgbColor(136, 147, 177)},
        // A black or white face gives the highlight itself.
        {clBlack, navy, clWhite, cxHotBlendWeights, navy},
        {clWhite, navy, clWhite, cxPressedBlendWeights, navy},
        // Sums above 255 and below 0 are clamped.
        {RgbColor(1, 1, 1), clWhite, clWhite, cxHotBlendWeights, RgbColor(255, 255, 255)},
        {RgbColor(255, 0, 0), clBlack, clBlack, cxHotBlendWeights, RgbColor(0, 0, 0)},
        // Each component on its own.
        {RgbColor(100, 0, 0), RgbColor(0, 100, 0), RgbColor(0, 0, 100), cxPressedBlendWeights,
         RgbColor(14, 44, 40)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cxBlendColors(c.Face, c.Highlight, c.Window, c.Weights), c.Expected)
            << std::hex << c.Face << " " << c.Highlight << " " << c.Window;
}

TEST(UltraFlatPainter, StateTable)
{
    const TcxUltraFlatLookAndFeelPainter p;
    struct Row {
        TcxButtonState State;
        int Border;
        TColor BorderColour, Face, Text;
    };
    const Row rows[] = {
        {cxbsNormal, 1, clBtnText, RgbColor(212, 208, 200), clBtnText},
        {cxbsDefault, 2, clWindowFrame, RgbColor(212, 208, 200), clBtnText},
        {cxbsHot, 1, clHighlight, RgbColor(183, 191, 212), clBtnText},
        {cxbsPressed, 1, clHighlight, RgbColor(136, 147, 177), clHighlightText},
        {cxbsDisabled, 1, clHighlight, RgbColor(212, 208, 200), clBtnShadow},
    };
    EXPECT_TRUE(p.IsButtonHotTrack());
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.State));
        EXPECT_EQ(p.ButtonBorderSize(r.State), r.Border);
        EXPECT_EQ(TcxUltraFlatLookAndFeelPainter::BorderColor(r.State), r.BorderColour);
        EXPECT_EQ(p.ButtonColor(r.State), r.Face);
        EXPECT_EQ(p.ButtonSymbolColor(r.State), r.Text);
    }
}

TEST(LookAndFeel, PainterChoice)
{
    struct Case {
        TcxLookAndFeelKind Kind;
        bool Native, SystemPaint, Themes;
        const std::type_info& Painter;
    };
    const Case cases[] = {
        {lfUltraFlat, false, true, false, typeid(TcxUltraFlatLookAndFeelPainter)},
        {lfFlat, false, true, false, typeid(TcxFlatLookAndFeelPainter)},
        {lfStandard, false, true, false, typeid(TcxStandardLookAndFeelPainter)},
        // Without themes the native style is not available.
        {lfUltraFlat, true, true, false, typeid(TcxUltraFlatLookAndFeelPainter)},
        {lfUltraFlat, true, false, true, typeid(TcxWinXPLookAndFeelPainter)},
        {lfStandard, false, true, true, typeid(TcxWinXPLookAndFeelPainter)},
        {lfStandard, false, false, true, typeid(TcxStandardLookAndFeelPainter)},
        {lfFlat, false, true, true, typeid(TcxFlatLookAndFeelPainter)},
    };
    for (const Case& c : cases) {
        const auto& painter = cxChoosePainter(c.Kind, c.Native, c.SystemPaint, c.Themes);
        EXPECT_EQ(typeid(painter), c.Painter)
            << c.Kind << " " << c.Native << " " << c.SystemPaint << " " << c.Themes;
    }
    EXPECT_FALSE(cxThemesInUse());
}

TEST(LookAndFeel, InheritsFromTheRootUntilGivenValuesOfItsOwn)
{
    TcxLookAndFeel& root = TcxLookAndFeel::Root();
    TcxLookAndFeel lf;
    EXPECT_EQ(lf.Kind(), lfUltraFlat);
    EXPECT_FALSE(lf.NativeStyle());
    EXPECT_FALSE(lf.IsAssigned(lfvKind));
    EXPECT_EQ(typeid(lf.Painter()), typeid(TcxUltraFlatLookAndFeelPainter));

    int changes = 0;
    lf.OnChanged = [&](TObject* sender) {
        EXPECT_EQ(sender, &lf);
        ++changes;
    };
    root.SetKind(lfFlat);
    EXPECT_EQ(lf.Kind(), lfFlat);
    EXPECT_EQ(changes, 1);

    lf.SetKind(lfStandard);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(lf.IsAssigned(lfvKind));
    lf.SetKind(lfStandard); // no change, no notification
    EXPECT_EQ(changes, 2);
    root.SetKind(lfUltraFlat); // the own value shadows the root's
    EXPECT_EQ(lf.Kind(), lfStandard);
    EXPECT_EQ(changes, 2);
    root.SetNativeStyle(true); // but the inherited one still follows
    EXPECT_TRUE(lf.NativeStyle());
    EXPECT_EQ(changes, 3);
    root.SetNativeStyle(false);
    EXPECT_EQ(changes, 4);

    lf.Reset();
    EXPECT_EQ(lf.Kind(), lfUltraFlat);
    EXPECT_FALSE(lf.IsAssigned(lfvKind));
    EXPECT_EQ(changes, 5);
}

TEST(LookAndFeel, ChainsOfMastersAndMastersThatGoFirst)
{
    auto master = std::make_unique<TcxLookAndFeel>();
    TcxLookAndFeel follower(master.get());
    int changes = 0;
    follower.OnChanged = [&](TObject*) { ++changes; };
    master->SetKind(lfFlat);
    EXPECT_EQ(follower.Kind(), lfFlat);
    EXPECT_EQ(changes, 1);

    TcxLookAndFeel copy;
    copy.Assign(*master);
    EXPECT_EQ(copy.Kind(), lfFlat);
    EXPECT_TRUE(copy.IsAssigned(lfvKind));
    EXPECT_FALSE(copy.IsAssigned(lfvNativeStyle));

    // A follower that outlives its master keeps what it last saw.
    master->SetNativeStyle(true);
    follower.SetKind(lfStandard);
    master.reset();
    EXPECT_EQ(follower.Kind(), lfStandard);
    EXPECT_TRUE(follower.NativeStyle());
    follower.Reset(); // nothing to fall back on any more: the values stay
    EXPECT_EQ(follower.Kind(), lfStandard);
    EXPECT_TRUE(follower.NativeStyle());
}

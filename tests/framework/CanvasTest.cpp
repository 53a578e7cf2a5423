// The canvas over a drawing context, and bitmaps with a canvas of their own.
#include "framework/Graphics.h"
#include "tests/support/PropertyChecks.h"

#include <gtest/gtest.h>

namespace {

// Every character 6 pixels wide and 13 high, whatever the font.
class TFixedMetrics : public platform::TTextMetrics {
public:
    TSize Extent(const platform::TFontDesc&, std::string_view Text) const override
    {
        return {int(Text.size()) * 6, 13};
    }
    int Ascent(const platform::TFontDesc&) const override { return 10; }
};

} // namespace

TEST(Canvas, ObjectsReachTheContextWithColoursResolved)
{
    TBitmap bitmap(20, 10);
    TCanvas& canvas = *bitmap.Canvas();
    canvas.Pen()->SetColor(clHighlight);
    canvas.MoveTo(0, 0);
    canvas.LineTo(5, 0);
    EXPECT_EQ(bitmap.Image().Pixel(4, 0), RgbColor(10, 36, 106));
    EXPECT_EQ(bitmap.Image().Pixel(5, 0), clWhite);
    EXPECT_EQ(canvas.PenPos(), (TPoint{5, 0}));
    EXPECT_EQ(canvas.Handle()->Pen().Color, RgbColor(10, 36, 106));

    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect({0, 2, 3, 4});
    EXPECT_EQ(bitmap.Image().Pixel(2, 3), RgbColor(212, 208, 200));
    EXPECT_EQ(canvas.Pixels(2, 3), RgbColor(212, 208, 200));

    canvas.Font()->SetColor(clBtnShadow);
    canvas.TextOut(0, 0, "x");
    EXPECT_EQ(canvas.Handle()->TextColor(), RgbColor(128, 128, 128));
}

TEST(Canvas, BrushChangeSetsTheBackgroundOnlyWhenTheBrushChanges)
{
    TBitmap bitmap(10, 10);
    TCanvas& canvas = *bitmap.Canvas();
    platform::TDrawContext& dc = *canvas.Handle();
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect({0, 0, 1, 1});
    EXPECT_EQ(dc.BkMode(), platform::TBkMode::Opaque);
    EXPECT_EQ(dc.BkColor(), clRed);
    // A setting made on the handle holds until the brush changes again.
    constexpr platform::TRgb kMark = 0x123456;
    dc.SetBkColor(kMark);
    const auto reapplied = [&] {
        canvas.TextOut(0, 0, "a");
        canvas.Rectangle(0, 0, 3, 3);
        const bool changed = dc.BkColor() != kMark;
        dc.SetBkColor(kMark);
        return changed;
    };
    ExpectActsExactlyOnChange(reapplied, {
        {"Color", [&] { canvas.Brush()->SetColor(clRed); },
         [&] { canvas.Brush()->SetColor(clBlue); }},
        {"Style", [&] { canvas.Brush()->SetStyle(bsSolid); },
         [&] { canvas.Brush()->SetStyle(bsClear); }},
    });
    EXPECT_EQ(dc.BkMode(), platform::TBkMode::Transparent) << "a clear brush";
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetStyle(bsClear);
    canvas.FillRect({0, 0, 1, 1});
    EXPECT_EQ(dc.BkColor(), clBlue) << "changed and changed back is still a change";
    canvas.Brush()->SetStyle(bsSolid);
    canvas.FillRect({0, 0, 1, 1});
    EXPECT_EQ(dc.BkMode(), platform::TBkMode::Opaque);
    // Whoever owns the brush may take its change event; the canvas still sees the change.
    canvas.Brush()->OnChange = [](TObject*) {};
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(0, 0, "a");
    EXPECT_EQ(dc.BkMode(), platform::TBkMode::Transparent);
}

TEST(Canvas, MeasuresWithTheCanvasFontAndTheInstalledMetrics)
{
    TFixedMetrics metrics;
    platform::SetTextMetrics(&metrics);
    TBitmap bitmap(10, 10);
    TCanvas& canvas = *bitmap.Canvas();
    EXPECT_EQ(canvas.TextWidth("abcd"), 24);
    EXPECT_EQ(canvas.TextHeight("W"), 13);
    EXPECT_EQ(canvas.TextExtent("ab"), (TSize{12, 13}));
    platform::SetTextMetrics(nullptr);
    canvas.Font()->SetName("Arial");
    EXPECT_EQ(canvas.TextHeight("W"), 12); // Liberation Sans at an 11-pixel em

    TCanvas detached;
    EXPECT_EQ(detached.TextWidth("abc"), 0);
    detached.LineTo(5, 5); // nothing to draw on
    detached.TextOut(0, 0, "x");
    EXPECT_EQ(detached.Pixels(0, 0), platform::InvalidRgb);
    EXPECT_EQ(detached.ClipRect(), TRect{});
}

TEST(Canvas, FrameRectAndTextRectKeepTheClipOfTheCaller)
{
    TBitmap bitmap(10, 10);
    TCanvas& canvas = *bitmap.Canvas();
    canvas.Brush()->SetColor(clBlue);
    canvas.FrameRect({1, 1, 5, 4});
    const platform::TBitmapImage& image = bitmap.Image();
    EXPECT_EQ(image.Pixel(1, 1), clBlue);
    EXPECT_EQ(image.Pixel(4, 3), clBlue);
    EXPECT_EQ(image.Pixel(2, 2), clWhite);
    EXPECT_EQ(image.Pixel(5, 1), clWhite);

    canvas.IntersectClipRect({0, 0, 8, 8});
    canvas.TextRect({2, 2, 4, 4}, 0, 0, "WWW");
    EXPECT_TRUE(canvas.HasClip());
    EXPECT_EQ(canvas.ClipRect(), (TRect{0, 0, 8, 8}));
    canvas.RemoveClip();
    canvas.TextRect({2, 2, 4, 4}, 0, 0, "WWW");
    EXPECT_FALSE(canvas.HasClip());
}

TEST(Bitmap, ResizingKeepsWhatFitsAndTheCanvasKeepsWorking)
{
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetSize(4, 3);
    EXPECT_FALSE(bitmap.Empty());
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect({0, 0, 4, 3});
    bitmap.SetWidth(6);
    EXPECT_EQ(bitmap.Width(), 6);
    EXPECT_EQ(bitmap.Height(), 3);
    EXPECT_EQ(bitmap.Image().Pixel(3, 2), clRed);
    EXPECT_EQ(bitmap.Image().Pixel(4, 2), clWhite);
    bitmap.Canvas()->FillRect({5, 0, 6, 1}); // drawn on the new image
    EXPECT_EQ(bitmap.Image().Pixel(5, 0), clRed);
    bitmap.SetHeight(0);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(Canvas, DrawCopiesABitmapAndIgnoresAbsentOrEmptyOnes)
{
    TBitmap picture(2, 2);
    picture.Canvas()->SetPixels(0, 0, clLime);
    TBitmap target(5, 5);
    target.Canvas()->Draw(3, 3, &picture);
    EXPECT_EQ(target.Image().Pixel(3, 3), clLime);
    TBitmap empty;
    target.Canvas()->Draw(0, 0, &empty);
    target.Canvas()->Draw(0, 0, nullptr);
    target.Canvas()->StretchDraw({0, 0, 4, 4}, nullptr);
    EXPECT_EQ(target.Image().Pixel(0, 0), clWhite);
    target.Canvas()->StretchDraw({0, 0, 4, 4}, &picture);
    EXPECT_EQ(target.Image().Pixel(1, 1), clLime);
    EXPECT_EQ(target.Image().Pixel(2, 2), clWhite);
}

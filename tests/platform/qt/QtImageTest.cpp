// The image behind a drawing context is a Qt image, and saves as one.
#include "platform/DrawContext.h"
#include "platform/qt/QtBridge.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <string>

using namespace platform;

TEST(DrawContextImage, PixelIsBgrAndSavePngRoundTrips)
{
    TBitmapImage image(3, 2);
    TDrawContext dc(image);
    dc.SetPixel(1, 1, 0x123456);
    EXPECT_EQ(image.Pixel(1, 1), 0x123456u);
    EXPECT_EQ(QImageOf(image).pixel(1, 1) & 0xFFFFFF, 0x563412u); // Qt keeps RGB
    const std::string path = testing::TempDir() + "draw_context_roundtrip.png";
    ASSERT_TRUE(image.SavePng(path));
    QImage loaded(QString::fromStdString(path));
    EXPECT_EQ(loaded.pixel(1, 1) & 0xFFFFFF, 0x563412u);
    std::remove(path.c_str());
    EXPECT_FALSE(image.SavePng("/nonexistent-dir/x.png"));
}

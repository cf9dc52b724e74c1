// The picture area's arithmetic, with the figures a user would measure on
// screen (twips).
#include "ui/main/picturelayout.h"

#include <gtest/gtest.h>

using namespace orvane::ui;

namespace {

PictureLayoutInput area(double w, double h, qint32 type, qint32 mode = 0)
{
    PictureLayoutInput in;
    in.width = w;
    in.height = h;
    in.loadedMediaType = type;
    in.sizeMode = mode;
    in.logo = QSizeF(2295, 735);
    return in;
}

} // namespace

TEST(PictureLayout, IdleShowsTwoSquaresAboveTheLogo)
{
    const PictureLayout out = computePictureLayout(area(6000, 4000, 0));
    EXPECT_EQ(out.mediaPlayer->rect, QRectF(0, 132.5, 3000, 3000));
    EXPECT_EQ(out.realPlayer->rect, QRectF(3000, 132.5, 3000, 3000));
    EXPECT_EQ(out.logo->rect.topLeft(), QPointF(1852.5, 3265));
    EXPECT_TRUE(out.mediaPlayer->visible && out.realPlayer->visible && out.logo->visible);
    EXPECT_FALSE(out.mediaPlayerDisplaySize.has_value());

    // Wide: the free height is the side, squares centred in their halves.
    const PictureLayout wide = computePictureLayout(area(10000, 2735, 3));
    EXPECT_EQ(wide.mediaPlayer->rect, QRectF(1500, 0, 2000, 2000));
    EXPECT_EQ(wide.realPlayer->rect, QRectF(6500, 0, 2000, 2000));

    // Lower than the logo: no negative sizes.
    const PictureLayout low = computePictureLayout(area(6000, 500, 0));
    EXPECT_EQ(low.mediaPlayer->rect.width(), 0);
    EXPECT_GE(low.mediaPlayer->rect.top(), 0);
}

TEST(PictureLayout, FirstEngineCoversTheAreaAndTakesTheDisplaySize)
{
    const int expected[] = {0, 2, 4};
    for (int mode = 0; mode < 3; ++mode) {
        const PictureLayout out = computePictureLayout(area(6000, 4000, 1, mode));
        EXPECT_EQ(out.mediaPlayer->rect, QRectF(0, 0, 6000, 4000));
        EXPECT_TRUE(out.mediaPlayer->visible);
        EXPECT_EQ(out.mediaPlayerDisplaySize, expected[mode]);
        EXPECT_EQ(out.realPlayer->rect, QRectF(-10, -10, 10, 10));
        EXPECT_FALSE(out.realPlayer->visible || out.logo->visible);
    }
    EXPECT_FALSE(computePictureLayout(area(6000, 4000, 4, 7)).mediaPlayerDisplaySize.has_value());
}

TEST(PictureLayout, SecondEngineIsCentredAndClampedPerDirection)
{
    PictureLayoutInput in = area(6000, 4000, 2, 1);
    in.clipPixels = QSize(320, 240);
    EXPECT_EQ(computePictureLayout(in).realPlayer->rect, QRectF(0, 0, 6000, 4000))
        << "double size needs 9600 x 7200";

    in.sizeMode = 0; // 4800 x 3600 fits
    EXPECT_EQ(computePictureLayout(in).realPlayer->rect, QRectF(600, 200, 4800, 3600));

    in.clipPixels = QSize(480, 100); // too wide only: squeezed in width alone
    EXPECT_EQ(computePictureLayout(in).realPlayer->rect, QRectF(0, 1250, 6000, 1500));

    in.clipPixels = QSize(0, 0);
    EXPECT_EQ(computePictureLayout(in).realPlayer->rect, QRectF(3000, 2000, 0, 0));

    in.sizeMode = 2;
    const PictureLayout fit = computePictureLayout(in);
    EXPECT_EQ(fit.realPlayer->rect, QRectF(0, 0, 6000, 4000));
    EXPECT_EQ(fit.mediaPlayer->rect, QRectF(-10, -10, 10, 10));
    EXPECT_FALSE(fit.mediaPlayer->visible);
}

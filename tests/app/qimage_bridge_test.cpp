#include <gtest/gtest.h>

#include <QImage>

#include "app/image/qimage_bridge.h"
#include "app/shell/sample_pair.h"
#include "support/test_support.h"

namespace duplora {
namespace {

TEST(QImageBridge, RoundTripKeepsEveryPixel) {
    ImageBuffer src = test::MakeNoise(33, 17, 4);
    const QImage q = QImageFromImageBuffer(src);
    ASSERT_EQ(q.width(), 33);
    ASSERT_EQ(q.height(), 17);
    // Top-down in Qt, bottom-up in the buffer: pixel (0, 0) is the first line seen.
    EXPECT_EQ(q.pixel(0, 0) & 0xFFFFFF, test::PixelAt(src, 0, 0));
    EXPECT_EQ(q.pixel(32, 16) & 0xFFFFFF, test::PixelAt(src, 32, 16));
    EXPECT_TRUE(test::SamePixels(ImageBufferFromQImage(q), src));
    EXPECT_TRUE(QImageFromImageBuffer(ImageBuffer{}).isNull());
    EXPECT_FALSE(ImageBufferFromQImage(QImage{}));
}

TEST(QImageBridge, IndexedPicturesGoThroughTheirTable) {
    for (int bits : {1, 4, 8}) {
        ImageBuffer src = test::MakeIndexed(13, 5, bits, 3);
        const QImage q = QImageFromImageBuffer(src);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x) {
                const std::uint8_t* e = src.ColourTable() + 4 * test::IndexAt(src, x, y);
                const QRgb expected = qRgb(e[2], e[1], e[0]);
                ASSERT_EQ(q.pixel(x, y), expected) << bits << " " << x << "," << y;
            }
    }
}

TEST(SamplePair, ViewsDifferOnlyByDepthShift) {
    SamplePair pair = MakeSamplePair(320, 240);
    ASSERT_TRUE(pair.left && pair.right);
    EXPECT_EQ(pair.left.Width(), 320);
    EXPECT_EQ(pair.right.Height(), 240);
    // The sky at the top is at infinity in both views; the foreground is not.
    EXPECT_EQ(test::PixelAt(pair.left, 5, 2), test::PixelAt(pair.right, 5, 2));
    EXPECT_FALSE(test::SamePixels(pair.left, pair.right, "sample-pair"));
}

}  // namespace
}  // namespace duplora

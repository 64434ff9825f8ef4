#include "core/image/split.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/image/convert.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeImage;
using test::PixelAt;
using test::SamePixels;

std::uint32_t Mark(int x, int y) {
    return 0x010000u + 0x100u * (x + 1) + (y + 1);
}

TEST(SplitPairPicture, SideBySideHalvesDropTheOddColumnAndKeepTheDepth) {
    PicturePair pair = SplitPairPicture(MakeImage(7, 3, Mark), false);
    EXPECT_TRUE(SamePixels(pair.first, MakeImage(3, 3, Mark)));
    EXPECT_TRUE(
        SamePixels(pair.second, MakeImage(3, 3, [](int x, int y) { return Mark(x + 3, y); })));
    ImageBuffer indexed = test::MakeIndexed(10, 4, 8, 3);
    PicturePair split = SplitPairPicture(indexed, false);
    ASSERT_TRUE(split.second);
    EXPECT_EQ(split.second.BitCount(), 8);
    EXPECT_EQ(test::IndexAt(split.second, 0, 2), test::IndexAt(indexed, 5, 2));
}

TEST(SplitPairPicture, SingleViewIsAWholeCopyAndNothingSplitsTooLittle) {
    ImageBuffer picture = MakeImage(7, 3, Mark);
    PicturePair single = SplitPairPicture(picture, true);
    EXPECT_TRUE(SamePixels(single.first, picture));
    EXPECT_FALSE(single.second);
    for (const ImageBuffer& bad : {ImageBuffer{}, MakeImage(1, 5, Mark)}) {
        PicturePair none = SplitPairPicture(bad, false);
        EXPECT_FALSE(none.first);
        EXPECT_FALSE(none.second);
    }
}

ImageBuffer Grey(const ImageBuffer& src, int byte) {
    return MakeImage(src.Width(), src.Height(), [&](int x, int y) {
        const std::uint32_t v = src.Line(y)[x * 3 + byte];
        return v * 0x010101u;
    });
}

TEST(SplitAnaglyph, RedForAnyChannelButZero) {
    ImageBuffer src = test::MakeNoise(13, 9, 4);
    EXPECT_TRUE(SamePixels(SplitAnaglyph(src, 1), Grey(src, 2)));
    EXPECT_TRUE(SamePixels(SplitAnaglyph(src, -3), Grey(src, 2)));
}

TEST(SplitAnaglyph, ChannelZeroTakesTheStrongerOfGreenAndBlueOnTheSampleGrid) {
    // Sampled pixels: every tenth column of every tenth stored row (bottom row first).
    auto picture = [](int sampledGreen, int sampledBlue, int otherGreen, int otherBlue) {
        return MakeImage(21, 15, [=](int x, int y) {
            const bool sampled = (14 - y) % 10 == 0 && x % 10 == 0;
            return static_cast<std::uint32_t>(0x630000 |
                                              (sampled ? sampledGreen : otherGreen) << 8 |
                                              (sampled ? sampledBlue : otherBlue));
        });
    };
    ImageBuffer greener = picture(120, 119, 0, 255);
    EXPECT_TRUE(SamePixels(SplitAnaglyph(greener, 0), Grey(greener, 1)));
    ImageBuffer bluer = picture(10, 200, 255, 0);  // unsampled pixels do not count
    EXPECT_TRUE(SamePixels(SplitAnaglyph(bluer, 0), Grey(bluer, 0)));
    ImageBuffer even = picture(50, 50, 255, 0);  // a tie goes to blue
    EXPECT_TRUE(SamePixels(SplitAnaglyph(even, 0), Grey(even, 0)));
}

TEST(ExtractField, RowsFromTheirField) {
    const struct {
        bool odd;
        std::vector<std::pair<int, int>> rows;  // output stored row r = mean of these rows
    } cases[] = {{false, {{0, 0}, {0, 2}, {2, 2}, {2, 4}, {4, 4}, {4, 4}}},
                 {false, {{0, 0}}},
                 {true, {{1, 1}, {1, 3}, {3, 3}, {3, 5}, {5, 5}, {5, 5}}},
                 // Odd height: the last two rows would need row 5, past the top; they repeat row 3.
                 {true, {{1, 1}, {1, 3}, {3, 3}, {3, 3}, {3, 3}}},
                 {true, {{1, 1}, {1, 1}}},
                 {true, {{0, 0}}}};  // one row has no odd field at all: it is kept
    for (const auto& c : cases) {
        const int h = static_cast<int>(c.rows.size());
        SCOPED_TRACE(testing::Message() << (c.odd ? "odd" : "even") << " field of " << h);
        const ImageBuffer src = test::MakeNoise(5, h, 11);
        ImageBuffer expected = CreateImage(5, h, 24);
        for (int r = 0; r < h; ++r)
            for (int i = 0; i < 15; ++i)
                expected.StoredRow(r)[i] = static_cast<std::uint8_t>(
                    (src.StoredRow(c.rows[r].first)[i] + src.StoredRow(c.rows[r].second)[i]) >> 1);
        EXPECT_TRUE(SamePixels(ExtractField(src, c.odd), expected, "field"));
    }
}

TEST(SplitAnaglyphAndExtractField, BadInput) {
    EXPECT_FALSE(SplitAnaglyph(ImageBuffer{}, 0));
    EXPECT_FALSE(SplitAnaglyph(test::MakeIndexed(4, 4, 8, 1), 1));
    EXPECT_FALSE(ExtractField(ImageBuffer{}, false));
    EXPECT_FALSE(ExtractField(test::MakeIndexed(4, 4, 4, 1), true));
}

}  // namespace
}  // namespace duplora

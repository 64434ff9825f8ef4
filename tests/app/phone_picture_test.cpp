// The phone picture: the drawn rectangle of each view squeezed to the phone's view size and
// sharpened; the new pair is aligned.
#include "app/output/phone_picture.h"

#include <gtest/gtest.h>

#include "core/image/convert.h"
#include "core/image/filter.h"
#include "core/image/resample.h"
#include "core/stereo/common_area.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeNoise;
using test::SamePixels;

TEST(PhonePicture, ViewSizeOfTheSetting) {
    EXPECT_EQ(PhoneViewSize(1), QSize(120, 320));
    EXPECT_EQ(PhoneViewSize(0), QSize(88, 220));
    EXPECT_EQ(PhoneViewSize(7), QSize(88, 220));
}

TEST(PhonePicture, EachViewsPartScaledAndSharpened) {
    const ImageBuffer left = MakeNoise(200, 120, 1);
    const ImageBuffer right = MakeNoise(200, 120, 2);
    const SelectionRect rect{20, 10, 64, 65};
    for (const int dx : {0, 6}) {
        const EditedPair pair = MakePhonePair(left, right, rect, dx, 0, QSize(88, 220));
        ASSERT_TRUE(pair.left && pair.right);
        // The rectangle is in the common area, which starts at each view's own margin.
        const CommonArea area = ComputeCommonArea(200, 120, dx, 0);
        auto expected = [&](const ImageBuffer& view, int margin) {
            const ImageBuffer cut = CropRect(view, margin + 20, 10, margin + 64, 65);
            return SharpenImage(ResizeImage(cut, 88, 220), kPhoneSharpenDivisor);
        };
        EXPECT_TRUE(SamePixels(pair.left, expected(left, area.firstX), "phone_left"));
        EXPECT_TRUE(SamePixels(pair.right, expected(right, area.secondX), "phone_right"));
        ASSERT_TRUE(pair.view.has_value());
        EXPECT_EQ(*pair.view, ViewState{});
    }
    // Nothing of the pair inside the rectangle: nothing is made.
    EXPECT_FALSE(MakePhonePair(left, right, {500, 500, 600, 600}, 0, 0, {88, 220}).left);
    EXPECT_FALSE(MakePhonePair(left, ImageBuffer(), rect, 0, 0, {88, 220}).left);
}

}  // namespace
}  // namespace duplora

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/image/luminance.h"
#include "core/image/luminance_row.h"

namespace duplora {
namespace {

TEST(LuminanceRow, EqualsTheDoubleRuleForEveryColour) {
    // All 16,777,216 colours in one row, blue varying fastest.
    constexpr int kColours = 1 << 24;
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(kColours) * 3);
    for (int c = 0; c < kColours; ++c) {
        bgr[3 * static_cast<std::size_t>(c)] = c & 0xFF;
        bgr[3 * static_cast<std::size_t>(c) + 1] = (c >> 8) & 0xFF;
        bgr[3 * static_cast<std::size_t>(c) + 2] = (c >> 16) & 0xFF;
    }
    std::vector<std::uint8_t> y(kColours);
    LuminanceRow(bgr.data(), y.data(), kColours);
    int wrong = 0;
    for (int c = 0; c < kColours && wrong < 10; ++c) {
        const int want = LuminanceDouble(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        if (y[c] != want) {
            ++wrong;
            ADD_FAILURE() << "colour " << std::hex << c << ": " << std::dec << int{y[c]}
                          << " instead of " << want;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(LuminanceRow, KnownValuesAndShortRows) {
    // (R, G, B) = (0, 72, 24) sums to 44.99999999999999 in double; white is exactly 255.
    const std::uint8_t bgr[] = {24, 72, 0, 255, 255, 255, 200, 150, 100, 0, 0, 0};
    std::uint8_t y[5] = {1, 1, 1, 1, 99};
    LuminanceRow(bgr, y, 4);
    EXPECT_EQ(y[0], 44);
    EXPECT_EQ(y[1], 255);
    EXPECT_EQ(y[2], 140);
    EXPECT_EQ(y[3], 0);
    EXPECT_EQ(y[4], 99);  // nothing written past the row
    LuminanceRow(bgr, y, 0);
    EXPECT_EQ(y[0], 44);
}

TEST(LuminanceRow, GreyRows) {
    // Every grey is marked; a few of them come out one lower in double. A row long enough
    // for whole vectors and a tail, in a picture where neighbours are grey too.
    for (const int count : {269, 31, 7}) {
        std::vector<std::uint8_t> bgr(static_cast<std::size_t>(count) * 3);
        for (int i = 0; i < count; ++i)
            bgr[3 * i] = bgr[3 * i + 1] = bgr[3 * i + 2] = (i * 7) & 0xFF;
        bgr[3 * 5 + 1] = 72;  // one coloured pixel among them: (0, 72, 24) → 44
        bgr[3 * 5] = 24;
        bgr[3 * 5 + 2] = 0;
        std::vector<std::uint8_t> y(static_cast<std::size_t>(count));
        LuminanceRow(bgr.data(), y.data(), count);
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(y[i], LuminanceDouble(bgr[3 * i], bgr[3 * i + 1], bgr[3 * i + 2]))
                << count << " " << i;
    }
    // The grey (23, 23, 23) sums to 22.999… in double.
    const std::uint8_t grey23[] = {23, 23, 23};
    std::uint8_t y = 0;
    LuminanceRow(grey23, &y, 1);
    EXPECT_EQ(y, 22);
}

}  // namespace
}  // namespace duplora

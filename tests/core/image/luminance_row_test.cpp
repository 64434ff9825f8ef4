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

TEST(LuminanceRow, KnownValuesAndTailsOfShortRows) {
    // (R, G, B) = (0, 72, 24) sums to 44.99999999999999 in double, grey 23 to 22.999….
    const std::uint8_t bgr[] = {24, 72, 0, 23, 23, 23, 255, 255, 255, 200, 150, 100};
    std::uint8_t y[5] = {1, 1, 1, 1, 99};
    LuminanceRow(bgr, y, 4);
    EXPECT_EQ(y[0], 44);
    EXPECT_EQ(y[1], 22);
    EXPECT_EQ(y[2], 255);
    EXPECT_EQ(y[3], 140);
    EXPECT_EQ(y[4], 99);  // nothing written past the row
    LuminanceRow(bgr, y, 0);
    EXPECT_EQ(y[0], 44);
    // Rows that leave tails after whole vectors.
    for (const int count : {7, 31, 269}) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(count) * 3), out(count + 1, 7);
        for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<std::uint8_t>(i * 37);
        LuminanceRow(row.data(), out.data(), count);
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(out[i], LuminanceDouble(row[3 * i], row[3 * i + 1], row[3 * i + 2]))
                << count << " " << i;
        EXPECT_EQ(out[count], 7);
    }
}

}  // namespace
}  // namespace duplora

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/image/luminance.h"
#include "core/image/luminance_row.h"

namespace duplora {
namespace {

// The table method and the row routine both equal the double rule, for every colour.
TEST(Luminance, BitExactForAllColours) {
    constexpr int kColours = 1 << 24;  // blue varies fastest
    std::vector<std::uint8_t> bgr(std::size_t{kColours} * 3), row(kColours);
    for (std::size_t c = 0; c < kColours; ++c)
        for (int k = 0; k < 3; ++k) bgr[3 * c + k] = static_cast<std::uint8_t>(c >> (8 * k));
    LuminanceRow(bgr.data(), row.data(), kColours);
    const LuminanceTables& t = GetLuminanceTables();
    int wrong = 0;
    for (int c = 0; c < kColours && wrong < 10; ++c) {
        const int b = c & 0xFF, g = (c >> 8) & 0xFF, r = c >> 16;
        const int want = static_cast<int>(0.587 * g + 0.114 * b + 0.299 * r);
        if (Luminance(t, b, g, r) == want && row[c] == want) continue;
        ++wrong;
        ADD_FAILURE() << "colour " << std::hex << c << std::dec << ": " << Luminance(t, b, g, r)
                      << " and " << int{row[c]} << " instead of " << want;
    }
}

TEST(LuminanceRow, KnownValuesAndTailsOfShortRows) {
    // (R, G, B) = (0, 72, 24) sums to 44.99999999999999 in double, grey 23 to 22.999….
    const std::uint8_t bgr[] = {24, 72, 0, 23, 23, 23, 255, 255, 255, 200, 150, 100};
    std::uint8_t y[5] = {1, 1, 1, 1, 99};
    LuminanceRow(bgr, y, 4);
    EXPECT_EQ(std::vector<int>(y, y + 5), (std::vector<int>{44, 22, 255, 140, 99}));
    EXPECT_EQ(Luminance(24, 72, 0), 44);
    LuminanceRow(bgr, y, 0);
    EXPECT_EQ(y[0], 44);
    // Rows that leave tails after whole vectors; nothing is written past the row.
    for (const int count : {7, 31, 269}) {
        std::vector<std::uint8_t> in(std::size_t(count) * 3), out(count + 1, 7);
        for (std::size_t i = 0; i < in.size(); ++i) in[i] = static_cast<std::uint8_t>(i * 37);
        LuminanceRow(in.data(), out.data(), count);
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(out[i], LuminanceDouble(in[3 * i], in[3 * i + 1], in[3 * i + 2])) << i;
        EXPECT_EQ(out[count], 7);
    }
}

}  // namespace
}  // namespace duplora

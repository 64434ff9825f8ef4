// The least-squares anaglyphs: the fast packed form against the rule, term by term over
// every byte, over every sum a field can hold, and on whole pictures.
#include "core/stereo/dubois.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/combine.h"
#include "stereo_test_util.h"

namespace duplora {
namespace {

constexpr DuboisFilters kAll[] = {DuboisFilters::RedCyan, DuboisFilters::GreenMagenta,
                                  DuboisFilters::AmberBlue};

// Every packed term grows by its weight per step of its byte, in its own field, never below
// zero; the terms at byte 0 add up to the field's offset, 500 and a whole number of
// thousands: so the packed sum is the exact sum plus that offset, field by field.
TEST(Dubois, EveryPackedTermIsTheWeightedByteInItsField) {
    for (DuboisFilters f : kAll) {
        const DuboisWeights& w = DuboisWeightsOf(f);
        const DuboisPackedTables t = MakeDuboisPackedTables(w);
        for (int out = 0; out < 3; ++out) {
            const int field = 2 - out;
            const auto at = [&](int in, int v) {
                return static_cast<std::int64_t>((t.terms[in][v] >> (field * kDuboisFieldBits)) &
                                                 kDuboisFieldMask);
            };
            std::int64_t atZero = 0, atTop = 0;
            for (int in = 0; in < 6; ++in) {
                const int weight = in < 3 ? w.left[out][in] : w.right[out][in - 3];
                for (int v = 0; v < 256; ++v) {
                    ASSERT_EQ(at(in, v) - at(in, 0), std::int64_t{weight} * v) << in << " " << v;
                    ASSERT_GE(at(in, v), 0);
                }
                atZero += at(in, 0);
                atTop += std::max(at(in, 0), at(in, 255));
            }
            EXPECT_EQ(atZero, t.offset[field]);
            EXPECT_EQ((t.offset[field] - 500) % 1000, 0);
            // Six maximal terms still fit the field, so no field carries into the next.
            EXPECT_LE(atTop, static_cast<std::int64_t>(kDuboisFieldMask));
        }
    }
}

// The channel of every sum a field can hold, through the packed word, is the rule's
// round-half-up and clamp of the exact sum in thousandths.
TEST(Dubois, EveryFieldValueGivesTheRulesChannel) {
    for (DuboisFilters f : kAll) {
        const DuboisPackedTables t = MakeDuboisPackedTables(DuboisWeightsOf(f));
        for (int field = 0; field < 3; ++field) {
            const std::int64_t offset = t.offset[field];
            // Every word the field can hold, read as offset + exact sum.
            for (std::int64_t word = 0; word <= static_cast<std::int64_t>(kDuboisFieldMask);
                 ++word) {
                const std::int64_t sum = word - offset;
                const std::uint64_t packed = static_cast<std::uint64_t>(word)
                                             << (field * kDuboisFieldBits);
                ASSERT_EQ(DuboisPackedChannel(t, packed, field),
                          static_cast<std::uint32_t>(DuboisChannel(sum)))
                    << sum;
            }
        }
    }
    // The rule itself: halves round up, the ends clamp.
    EXPECT_EQ(DuboisChannel(-501), 0);
    EXPECT_EQ(DuboisChannel(-500), 0);
    EXPECT_EQ(DuboisChannel(499), 0);
    EXPECT_EQ(DuboisChannel(500), 1);
    EXPECT_EQ(DuboisChannel(254499), 254);
    EXPECT_EQ(DuboisChannel(254500), 255);
    EXPECT_EQ(DuboisChannel(900000), 255);
}

// Whole pictures: every pixel of the composition is the rule applied to the two pixels.
TEST(Dubois, ComposedPicturesFollowTheRuleOnRandomPictures) {
    const ImageBuffer left = test::MakeNoise(67, 31, 11);
    const ImageBuffer right = test::MakeNoise(71, 31, 12);
    const CommonArea area{4, 0, 0, 0};
    const AnaglyphTables tables = BuildAnaglyphTables(150, 60);  // not used by these methods
    const auto rgb = [](std::uint32_t c) {
        return std::array<int, 3>{test::Red(c), test::Green(c), test::Blue(c)};
    };
    const std::tuple<ColourAnaglyphKind, DuboisFilters, const char*> kinds[] = {
        {ColourAnaglyphKind::DuboisRedCyan, DuboisFilters::RedCyan, "dubois-red-cyan"},
        {ColourAnaglyphKind::DuboisGreenMagenta, DuboisFilters::GreenMagenta,
         "dubois-green-magenta"},
        {ColourAnaglyphKind::DuboisAmberBlue, DuboisFilters::AmberBlue, "dubois-amber-blue"}};
    for (const auto& [kind, filters, key] : kinds) {
        // Each is a row of the colour anaglyph table, stored by its kind's number.
        const AnaglyphMethodRow* row = AnaglyphMethodByKey(DisplayMode::ColourAnaglyph, key);
        ASSERT_NE(row, nullptr) << key;
        EXPECT_EQ(ColourAnaglyphKindFromNumber(row->number), kind);
        const ImageBuffer out = ComposeColourAnaglyph(left, right, area, kind, tables);
        ASSERT_TRUE(out);
        ASSERT_EQ(out.Width(), 63);
        ASSERT_EQ(out.Height(), 31);
        const DuboisWeights& w = DuboisWeightsOf(filters);
        // The second view's area starts four columns in.
        for (int y = 0; y < out.Height(); ++y)
            for (int x = 0; x < out.Width(); ++x) {
                const std::array<int, 3> e = DuboisPixel(w, rgb(test::PixelAt(left, x, y)),
                                                         rgb(test::PixelAt(right, x + 4, y)));
                ASSERT_EQ(test::PixelAt(out, x, y), test::Rgb(e[0], e[1], e[2])) << x << "," << y;
            }
    }
}

// The rule in double precision agrees with the integer rule wherever the sum is not within
// rounding error of a tie; and known values: white on the left only, red/cyan.
TEST(Dubois, IntegerRuleMatchesTheDecimalRule) {
    std::mt19937 random(5);
    for (DuboisFilters f : kAll) {
        const DuboisWeights& w = DuboisWeightsOf(f);
        for (int k = 0; k < 200000; ++k) {
            std::array<int, 3> l, r;
            for (int& v : l) v = static_cast<int>(random() & 255);
            for (int& v : r) v = static_cast<int>(random() & 255);
            const std::array<int, 3> got = DuboisPixel(w, l, r);
            for (int c = 0; c < 3; ++c) {
                double sum = 0;
                for (int i = 0; i < 3; ++i)
                    sum += w.left[c][i] / 1000.0 * l[i] + w.right[c][i] / 1000.0 * r[i];
                if (std::fabs(sum - std::floor(sum) - 0.5) < 1e-9) continue;
                ASSERT_EQ(got[c], static_cast<int>(std::clamp(std::round(sum), 0.0, 255.0)));
            }
        }
    }
    const DuboisWeights& redCyan = DuboisWeightsOf(DuboisFilters::RedCyan);
    // Red: 255 × (0.456 + 0.5 + 0.176) = 288.66 → 255; green and blue negative → 0.
    EXPECT_EQ(DuboisPixel(redCyan, {255, 255, 255}, {0, 0, 0}), (std::array<int, 3>{255, 0, 0}));
    // Right white: red −0.133 × 255 → 0, green 1.094 × 255 → 255, blue 1.041 × 255 → 255.
    EXPECT_EQ(DuboisPixel(redCyan, {0, 0, 0}, {255, 255, 255}), (std::array<int, 3>{0, 255, 255}));
}

}  // namespace
}  // namespace duplora

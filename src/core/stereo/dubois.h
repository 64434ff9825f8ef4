// The least-squares anaglyphs: each output channel is a weighted sum of the left and the
// right pixel's red, green and blue, rounded and clamped to 0..255. The weights are given in
// thousandths, so the sum is an exact integer and the rounding has no ties to argue about.
#pragma once

#include <array>
#include <cstdint>

namespace duplora {

// Rows are output red, green, blue; columns input red, green, blue; in thousandths.
using DuboisMatrix = std::array<std::array<int, 3>, 3>;

struct DuboisWeights {
    DuboisMatrix left;
    DuboisMatrix right;
};

enum class DuboisFilters { RedCyan, GreenMagenta, AmberBlue };

const DuboisWeights& DuboisWeightsOf(DuboisFilters filters);

// The channel value of an exact weighted sum in thousandths: round half up, clamped.
constexpr int DuboisChannel(std::int64_t thousandths) {
    if (thousandths < 0) return 0;
    const std::int64_t value = (thousandths + 500) / 1000;
    return value > 255 ? 255 : static_cast<int>(value);
}

// One output pixel by the rule, straight from the weights (r, g, b of each view).
std::array<int, 3> DuboisPixel(const DuboisWeights& weights, const std::array<int, 3>& left,
                               const std::array<int, 3>& right);

// The fast form: every input byte looks up its three weighted terms at once, packed in
// 21-bit fields of one 64-bit word (red output in the high field). Each term carries an
// offset that keeps it non-negative, so the six words add without one field borrowing from
// another; the offsets of a field add up to 500 (the rounding) plus a whole number of
// thousands, K. So a field's sum divided by 1000 is the rounded channel plus K / 1000, and a
// small table takes that quotient to the clamped channel byte.
inline constexpr int kDuboisFieldBits = 21;
inline constexpr std::uint64_t kDuboisFieldMask = (std::uint64_t{1} << kDuboisFieldBits) - 1;
inline constexpr std::size_t kDuboisQuotients = (kDuboisFieldMask + 1) / 1000 + 1;

struct DuboisPackedTables {
    // [0..2] the left view's red, green, blue; [3..5] the right view's.
    std::array<std::array<std::uint64_t, 256>, 6> terms;
    // The summed offset of each field (0 blue, 1 green, 2 red): 500 + K.
    std::array<std::int64_t, 3> offset;
    // Field quotient (sum / 1000) to channel byte, per field.
    std::array<std::array<std::uint8_t, kDuboisQuotients>, 3> channel;
};

DuboisPackedTables MakeDuboisPackedTables(const DuboisWeights& weights);

// The channel byte of field 0 (blue), 1 (green) or 2 (red) of a sum of six terms.
inline std::uint32_t DuboisPackedChannel(const DuboisPackedTables& tables, std::uint64_t sum,
                                         int field) {
    const auto value = static_cast<std::uint32_t>(sum >> (field * kDuboisFieldBits)) &
                       static_cast<std::uint32_t>(kDuboisFieldMask);
    return tables.channel[static_cast<std::size_t>(field)][value / 1000];
}

}  // namespace duplora

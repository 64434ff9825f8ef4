#include "core/stereo/dubois.h"

#include <algorithm>
#include <cstdlib>

namespace duplora {

namespace {

// clang-format off
constexpr DuboisWeights kRedCyan{
    {{{456, 500, 176}, {-40, -38, -16}, {-15, -21, -5}}},
    {{{-43, -88, -2}, {378, 734, -18}, {-72, -113, 1226}}}};
constexpr DuboisWeights kGreenMagenta{
    {{{-62, -158, -39}, {284, 668, 143}, {-15, -27, 21}}},
    {{{529, 705, 24}, {-16, -15, -65}, {9, 75, 937}}}};
constexpr DuboisWeights kAmberBlue{
    {{{1062, -205, 299}, {-26, 908, 68}, {-38, -173, 22}}},
    {{{-16, -123, -17}, {6, 62, -17}, {94, 185, 911}}}};
// clang-format on

// The largest sum of absolute weights of any output channel, times 255, twice over (the
// biased terms run from 0 to twice their magnitude) must fit a field.
constexpr bool FitsFields(const DuboisWeights& w) {
    for (int out = 0; out < 3; ++out) {
        std::int64_t magnitude = 0;
        for (int in = 0; in < 3; ++in) {
            magnitude += w.left[out][in] < 0 ? -w.left[out][in] : w.left[out][in];
            magnitude += w.right[out][in] < 0 ? -w.right[out][in] : w.right[out][in];
        }
        // The largest sum: every term at its top, plus the rounding and the padding to K.
        if (2 * magnitude * 255 + 500 + 999 > static_cast<std::int64_t>(kDuboisFieldMask))
            return false;
    }
    return true;
}
static_assert(FitsFields(kRedCyan) && FitsFields(kGreenMagenta) && FitsFields(kAmberBlue));

}  // namespace

const DuboisWeights& DuboisWeightsOf(DuboisFilters filters) {
    switch (filters) {
        case DuboisFilters::GreenMagenta:
            return kGreenMagenta;
        case DuboisFilters::AmberBlue:
            return kAmberBlue;
        case DuboisFilters::RedCyan:
        default:
            return kRedCyan;
    }
}

std::array<int, 3> DuboisPixel(const DuboisWeights& weights, const std::array<int, 3>& left,
                               const std::array<int, 3>& right) {
    std::array<int, 3> out{};
    for (int c = 0; c < 3; ++c) {
        std::int64_t sum = 0;
        for (int i = 0; i < 3; ++i)
            sum += std::int64_t{weights.left[c][i]} * left[i] +
                   std::int64_t{weights.right[c][i]} * right[i];
        out[c] = DuboisChannel(sum);
    }
    return out;
}

DuboisPackedTables MakeDuboisPackedTables(const DuboisWeights& weights) {
    DuboisPackedTables t{};
    for (int out = 0; out < 3; ++out) {
        const int field = 2 - out;  // red is the high field: blue | green | red from the bottom
        // Each term's own offset, |weight| × 255, keeps it non-negative; the first term also
        // carries what brings the field's total offset to 500 + K.
        std::int64_t biases = 0;
        for (int i = 0; i < 3; ++i)
            biases += (std::llabs(weights.left[out][i]) + std::llabs(weights.right[out][i])) * 255;
        const std::int64_t k = (biases + 999) / 1000 * 1000;
        const std::int64_t offset = 500 + k;
        for (int in = 0; in < 6; ++in) {
            const DuboisMatrix& m = in < 3 ? weights.left : weights.right;
            const std::int64_t weight = m[out][in % 3];
            const std::int64_t bias = std::llabs(weight) * 255 + (in == 0 ? offset - biases : 0);
            for (int v = 0; v < 256; ++v)
                t.terms[static_cast<std::size_t>(in)][static_cast<std::size_t>(v)] |=
                    static_cast<std::uint64_t>(weight * v + bias) << (field * kDuboisFieldBits);
        }
        t.offset[static_cast<std::size_t>(field)] = offset;
        for (std::size_t q = 0; q < kDuboisQuotients; ++q) {
            const std::int64_t value = static_cast<std::int64_t>(q) - k / 1000;
            t.channel[static_cast<std::size_t>(field)][q] =
                static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, 255));
        }
    }
    return t;
}

}  // namespace duplora

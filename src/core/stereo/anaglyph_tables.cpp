#include "core/stereo/anaglyph_tables.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace duplora {
namespace {

constexpr int kMinGamma = 1;
constexpr int kMaxGamma = 500;

// Entry i = trunc(255 × (i / 255)^(100 / g)), with 1/255 written as the decimal constant
// the levels have always been computed with, so that tables stay bit-identical.
LevelTable GammaLevels(int gamma) {
    gamma = std::clamp(gamma, kMinGamma, kMaxGamma);
    const double exponent = 100.0 / gamma;
    LevelTable table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(
            static_cast<int>(255.0 * std::pow(i * 0.00392156862745098, exponent)));
    return table;
}

}  // namespace

AnaglyphTables BuildAnaglyphTables(int leftGamma, int rightGamma) {
    return {GammaLevels(leftGamma), GammaLevels(rightGamma)};
}

int AnaglyphGammaFromSetting(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end == text.data()) return 100;
    if (error == std::errc::result_out_of_range) return text.front() == '-' ? kMinGamma : kMaxGamma;
    return static_cast<int>(std::clamp<long>(value, kMinGamma, kMaxGamma));
}

}  // namespace duplora

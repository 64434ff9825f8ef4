#include "core/stereo/anaglyph_tables.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/align/gamma.h"

namespace duplora {
namespace {

LevelTable GammaLevels(int gamma) {
    const auto levels = BuildGammaTable(gamma);
    LevelTable table{};
    for (int i = 0; i < 256; ++i) table[i] = levels[i];
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

// The two level tables the anaglyph composition passes its channels through: every
// channel that carries the left view goes through the left table, every channel of the
// right view through the right one. Each is the power-law table of a gamma value in
// hundredths (1–500, 100 leaves the levels as they are).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace duplora {

using LevelTable = std::array<std::uint8_t, 256>;

struct AnaglyphTables {
    LevelTable left;
    LevelTable right;
};

// Tables for the two gamma values; values outside 1–500 are taken as the nearest end.
AnaglyphTables BuildAnaglyphTables(int leftGamma, int rightGamma);

// The gamma stored as decimal text in the settings; an empty or unreadable value is 100,
// and values outside 1–500 are taken as the nearest end.
int AnaglyphGammaFromSetting(std::string_view text);

}  // namespace duplora

// Text <-> number rules of the stored settings. Every setting is kept as text; numbers are
// read the way the program has always read them (leading blanks, an optional sign, decimal
// digits, anything after them ignored) and written as plain decimal text.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace duplora {

// The number at the start of the text, or none when the text does not start with one
// (empty, blank or garbage). Numbers beyond the int range saturate, so the range check
// that follows replaces them instead of wrapping into range.
std::optional<int> ParseSettingNumber(std::string_view text);

// Same, with 0 for a text that holds no number.
int ParseSettingInt(std::string_view text);

// Decimal text of a number ("%d").
std::string FormatSettingInt(int value);

// The fields of a text in which each field is followed by the separator ("a,b,c," or
// "a\tb\t"); a missing last separator is accepted. At most maxFields fields are returned;
// with more, the last one keeps the rest of the text, separators included.
std::vector<std::string_view> SplitSettingFields(std::string_view text, char separator,
                                                 std::size_t maxFields = SIZE_MAX);

// The numbers of a separated list, one per field; a field that holds no number is none,
// so the caller keeps its default there. At most maxFields fields are looked at.
std::vector<std::optional<int>> ParseSettingNumbers(std::string_view text, char separator,
                                                    std::size_t maxFields);

// Each number followed by the separator ("%d,%d," or "%d\t%d\t").
std::string FormatSettingInts(std::span<const int> values, char separator);

}  // namespace duplora

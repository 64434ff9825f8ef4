#include "core/shell/setting_values.h"

#include <climits>
#include <cstdint>

namespace duplora {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

std::optional<int> ParseSettingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
    // Accumulated as a magnitude in 64 bits and stopped once it is past any int.
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude <= std::int64_t{INT_MAX} + 1) magnitude = magnitude * 10 + (text[i] - '0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int ParseSettingInt(std::string_view text) {
    return ParseSettingNumber(text).value_or(0);
}

std::string FormatSettingInt(int value) {
    return std::to_string(value);
}

std::vector<std::string_view> SplitSettingFields(std::string_view text, char separator,
                                                 std::size_t maxFields) {
    std::vector<std::string_view> fields;
    if (maxFields == 0) return fields;
    std::size_t start = 0;
    while (start < text.size()) {
        if (fields.size() + 1 == maxFields) {
            // The last field keeps the rest; only its own closing separator is dropped.
            std::string_view rest = text.substr(start);
            if (!rest.empty() && rest.back() == separator) rest.remove_suffix(1);
            fields.push_back(rest);
            return fields;
        }
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

std::vector<std::optional<int>> ParseSettingNumbers(std::string_view text, char separator,
                                                    std::size_t maxFields) {
    std::vector<std::optional<int>> numbers;
    const auto fields = SplitSettingFields(text, separator);
    for (std::size_t k = 0; k < fields.size() && k < maxFields; ++k)
        numbers.push_back(ParseSettingNumber(fields[k]));
    return numbers;
}

std::string FormatSettingInts(std::span<const int> values, char separator) {
    std::string text;
    for (int v : values) {
        text += std::to_string(v);
        text += separator;
    }
    return text;
}

}  // namespace duplora

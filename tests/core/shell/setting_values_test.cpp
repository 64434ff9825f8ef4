#include "core/shell/setting_values.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace duplora {
namespace {

TEST(SettingNumber, ReadsTheLeadingDecimalNumber) {
    // Nothing to read, a sign alone, leading blanks, trailing text, hexadecimal, and clamping
    // just beyond the int range and beyond any integer type.
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"", {}},
        {"- 3", {}},
        {"  \t12", 12},
        {"+7", 7},
        {"-5", -5},
        {"3,4,", 3},
        {"0x10", 0},
        {"2147483648", INT_MAX},
        {"-2147483649", INT_MIN},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseSettingNumber(text), expected) << '"' << text << '"';
        EXPECT_EQ(ParseSettingInt(text), expected.value_or(0)) << '"' << text << '"';
    }
    EXPECT_EQ(ParseSettingNumber("-99999999999999999999999999"), INT_MIN);
}

TEST(SettingFields, SplitsFieldsEachFollowedByTheSeparator) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(SplitSettingFields("640,480,800,", ','), (V{"640", "480", "800"}));
    EXPECT_EQ(SplitSettingFields("a,,b,", ','), (V{"a", "", "b"}));
    EXPECT_EQ(SplitSettingFields("", ','), V{});
    EXPECT_EQ(SplitSettingFields(",", ','), V{""});
    // The last allowed field keeps the rest of the text, separators inside included.
    EXPECT_EQ(SplitSettingFields("1\t2\ta\tb\t", '\t', 3), (V{"1", "2", "a\tb"}));
    EXPECT_EQ(SplitSettingFields("1\t2\t\t", '\t', 3), (V{"1", "2", ""}));
    EXPECT_EQ(SplitSettingFields("1\t2\t", '\t', 0), V{});
}

TEST(SettingFields, NumbersOfAListKeepTheirGaps) {
    const auto n = ParseSettingNumbers("100,x,,-5, 7,9,", ',', 5);
    ASSERT_EQ(n.size(), 5u);
    EXPECT_EQ(n, (std::vector<std::optional<int>>{100, std::nullopt, std::nullopt, -5, 7}));
    EXPECT_TRUE(ParseSettingNumbers("", ',', 10).empty());
}

TEST(SettingFields, FormattedListsReadBackTheSame) {
    const std::vector<int> values{640, 480, -3, 0, 2147483647, -2147483647 - 1};
    const std::string text = FormatSettingInts(values, ',');
    EXPECT_EQ(text, "640,480,-3,0,2147483647,-2147483648,");
    const auto back = ParseSettingNumbers(text, ',', 100);
    ASSERT_EQ(back.size(), values.size());
    for (std::size_t k = 0; k < values.size(); ++k) EXPECT_EQ(back[k], values[k]);
    EXPECT_EQ(FormatSettingInts(std::vector<int>{1, 4, 3}, '\t'), "1\t4\t3\t");
    EXPECT_EQ(FormatSettingInt(-17), "-17");
}

}  // namespace
}  // namespace duplora

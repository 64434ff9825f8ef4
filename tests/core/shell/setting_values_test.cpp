#include "core/shell/setting_values.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace duplora {
namespace {

struct NumberCase {
    const char* text;
    std::optional<int> expected;
};

class SettingNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(SettingNumber, ReadsTheLeadingDecimalNumber) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(ParseSettingNumber(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(ParseSettingInt(c.text), c.expected.value_or(0)) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingNumber,
    ::testing::Values(NumberCase{"", std::nullopt}, NumberCase{"   ", std::nullopt},
                      NumberCase{"abc", std::nullopt}, NumberCase{"-", std::nullopt},
                      NumberCase{"- 3", std::nullopt}, NumberCase{"0", 0}, NumberCase{"70", 70},
                      NumberCase{"  \t12", 12}, NumberCase{"+7", 7}, NumberCase{"-5", -5},
                      NumberCase{"12abc", 12}, NumberCase{"3,4,", 3}, NumberCase{"0x10", 0},
                      NumberCase{"007", 7}, NumberCase{"2147483647", INT_MAX},
                      NumberCase{"2147483648", INT_MAX}, NumberCase{"-2147483648", INT_MIN},
                      NumberCase{"-2147483649", INT_MIN},
                      NumberCase{"99999999999999999999999999", INT_MAX},
                      NumberCase{"-99999999999999999999999999", INT_MIN}));

TEST(SettingFields, SplitsFieldsEachFollowedByTheSeparator) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(SplitSettingFields("640,480,800,", ','), (V{"640", "480", "800"}));
    EXPECT_EQ(SplitSettingFields("640,480", ','), (V{"640", "480"}));
    EXPECT_EQ(SplitSettingFields("a,,b,", ','), (V{"a", "", "b"}));
    EXPECT_EQ(SplitSettingFields("", ','), V{});
    EXPECT_EQ(SplitSettingFields(",", ','), V{""});
    // The last allowed field keeps the rest of the text, separators inside included.
    EXPECT_EQ(SplitSettingFields("1\t2\ta\tb\t", '\t', 3), (V{"1", "2", "a\tb"}));
    EXPECT_EQ(SplitSettingFields("1\t2\t\t", '\t', 3), (V{"1", "2", ""}));
    EXPECT_EQ(SplitSettingFields("1\t2\t", '\t', 3), (V{"1", "2"}));
    EXPECT_EQ(SplitSettingFields("1\t2\t", '\t', 0), V{});
}

TEST(SettingFields, NumbersOfAListKeepTheirGaps) {
    const auto n = ParseSettingNumbers("100,x,,-5, 7,9,", ',', 5);
    ASSERT_EQ(n.size(), 5u);
    EXPECT_EQ(n[0], 100);
    EXPECT_EQ(n[1], std::nullopt);
    EXPECT_EQ(n[2], std::nullopt);
    EXPECT_EQ(n[3], -5);
    EXPECT_EQ(n[4], 7);
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

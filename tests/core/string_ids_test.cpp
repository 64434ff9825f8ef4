#include "res/core/string_ids.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "core/strings.h"

namespace duplora {
namespace {

// Every enumerator of the header is in kAllStringIds, and they name the entries of the table
// in order, none beyond it: an enumerator added to the enum alone escapes no one.
TEST(StringIds, NameEveryEntryOfTheTableOnce) {
    std::ifstream in(DUPLORA_STRING_IDS_HEADER);
    ASSERT_TRUE(in) << DUPLORA_STRING_IDS_HEADER;
    const std::regex enumerator(R"(^\s+\w+ = (\d+),)");
    std::vector<int> values;
    bool inEnum = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("enum StringId")) inEnum = true;
        if (inEnum && line.starts_with("};")) break;
        std::smatch m;
        if (inEnum && std::regex_search(line, m, enumerator)) values.push_back(std::stoi(m[1]));
    }
    const auto table = StringTable();
    ASSERT_EQ(values.size(), std::size(kAllStringIds));
    ASSERT_EQ(values.size(), table.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i], static_cast<int>(kAllStringIds[i])) << "at index " << i;
        EXPECT_EQ(values[i], table[i].id) << "at index " << i;
    }
}

}  // namespace
}  // namespace duplora

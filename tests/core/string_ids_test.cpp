#include "res/core/string_ids.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "core/strings.h"

namespace duplora {
namespace {

// One name for every entry of the table and none beyond it: kAllStringIds follows the ids,
// and each of them has a text.
TEST(StringIds, NameEveryEntryOfTheTableOnce) {
    const auto table = StringTable();
    ASSERT_EQ(std::size(kAllStringIds), table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(static_cast<int>(kAllStringIds[i]), table[i].id) << "at index " << i;
    EXPECT_EQ(LoadResString(StringId::ErrorCaption), "FEHLER");
    EXPECT_EQ(FormatResString(StringId::SaveChangesQuestion, "urlaub"),
              "Änderungen im Bild [urlaub] speichern ?");
}

// Every enumerator of the header is in kAllStringIds, in the same order: an enumerator
// added to the enum alone would otherwise escape the test above.
TEST(StringIds, TheListHoldsEveryEnumerator) {
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
    ASSERT_EQ(values.size(), std::size(kAllStringIds));
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(values[i], static_cast<int>(kAllStringIds[i])) << "at index " << i;
}

}  // namespace
}  // namespace duplora

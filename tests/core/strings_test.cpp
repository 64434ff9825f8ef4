#include "core/strings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace duplora {
namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<std::uint8_t>(s[i]);
        const int extra = c < 0x80                 ? 0
                          : c >= 0xC2 && c <= 0xDF ? 1
                          : c >= 0xE0 && c <= 0xEF ? 2
                          : c >= 0xF0 && c <= 0xF4 ? 3
                                                   : -1;
        if (extra < 0 || i + extra >= s.size() + (extra == 0)) return false;
        std::uint32_t cp = c & (0x7F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto cc = static_cast<std::uint8_t>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) ||
            (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            return false;
        i += extra + 1;
    }
    return true;
}

// Sorted unique ids and non-empty UTF-8 texts. Callers fill the texts with printf: only
// %d, %02d, %s and %% may occur. A written-out escape ("\n" as two characters) means a
// text was copied wrongly.
TEST(StringTable, SortedUniqueIdsWithNonEmptyUtf8TextsAndKnownConversions) {
    EXPECT_TRUE(
        IsValidUtf8("Bildgr\xC3\xB6\xC3\x9F"
                    "e"));
    EXPECT_FALSE(
        IsValidUtf8("Gr\xF6\xDF"
                    "e"));                      // Latin-1
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a surrogate
    const auto table = StringTable();
    ASSERT_GT(table.size(), 100u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const StringEntry& e = table[i];
        EXPECT_TRUE(i == 0 || table[i - 1].id < e.id) << "at index " << i;
        ASSERT_NE(e.text, nullptr) << e.id;
        const std::string_view t = e.text;
        EXPECT_FALSE(t.empty()) << e.id;
        EXPECT_TRUE(IsValidUtf8(t)) << e.id;
        for (const char* escape : {"\\n", "\\r", "\\t"})
            EXPECT_EQ(t.find(escape), std::string_view::npos) << e.id;
        for (std::size_t at = t.find('%'); at != std::string_view::npos; at = t.find('%', at)) {
            const std::string_view rest = t.substr(at + 1);
            const std::size_t length =
                rest.starts_with("02d")                                                   ? 4
                : rest.starts_with("d") || rest.starts_with("s") || rest.starts_with("%") ? 2
                                                                                          : 0;
            if (length == 0) {
                ADD_FAILURE() << "id " << e.id << ": unknown conversion in \"" << t << "\"";
                break;
            }
            at += length;
        }
    }
}

// Letter for letter where a text could be mangled: umlauts, ß, °, tabs, control
// characters, quotes and a leading backslash. Missing ids give empty texts.
TEST(LoadResString, TextsThatAreEasyToMangleAndMissingIds) {
    const std::pair<int, const char*> samples[] = {
        {2235, "360° Panorama Modus"},
        {2525, "An Fensterröße anpassen\tF"},
        {2569, "\\Duplora.lnk"},
        {2600, "vorherige Ausrichtung wird verändert, \nWollen Sie speichern?"},
        {2619, "Ergebnis: Leserfehler.\r\n\r\n"},
        {2644, "\"%d/%d Quelle(%s)\""},
        {2698,
         "Bildgröße(%d x %d) muß kleiner als die Texsturgröße(%d x %d) im\n OpenGL Modus "
         "sein. \nSoll DPL  die Bildgröße anpassen? "}};
    for (const auto& [id, text] : samples) EXPECT_EQ(LoadResString(id), text) << id;
    for (int id : {0, -1, 2199, 2504, 3000}) EXPECT_EQ(LoadResString(id), "") << id;
    EXPECT_EQ(FormatResString(2504, 1, 2), "");
    // Two results stay valid together.
    const std::string text = LoadResString(2509), caption = LoadResString(2505);
    EXPECT_EQ(text + "|" + caption, "Kann Bild nicht speichern|FEHLER");
}

TEST(FormatResString, FillsNumbersTextsAndPercentSigns) {
    EXPECT_EQ(FormatResString(2589, 42), "lese... 42 %");
    EXPECT_EQ(FormatResString(2601, 0, 5), "-0.5 Grad");
    EXPECT_EQ(FormatResString(2604, 1, 5, 128), "Gamma = 1.05 durchschnittliche Dichte = 128");
    EXPECT_EQ(FormatResString(2638, "urlaub"), "Änderungen im Bild [urlaub] speichern ?");
    EXPECT_EQ(
        FormatResString(2568, "l.jpg", "r.jpg", 800, 600, 50, -3, 4),
        "Links(l.jpg) Rechts(r.jpg) Bildgröße(800 x 600) Zoom(50%) Ausrichtung(x = -3 y = 4)");
}

}  // namespace
}  // namespace duplora

#include "core/strings.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "res/core/string_ids.h"

namespace duplora {
namespace {

// Strict UTF-8 as the C library's converter reads it: no overlong forms, no surrogates,
// nothing above U+10FFFF, nothing cut short.
bool IsValidUtf8(std::string_view s) {
    const iconv_t cd = iconv_open("UTF-32LE", "UTF-8");
    std::vector<char> out(4 * s.size() + 4);
    char* in = const_cast<char*>(s.data());
    char* to = out.data();
    std::size_t inLeft = s.size(), outLeft = out.size();
    const bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok && inLeft == 0;
}

// Sorted unique ids and non-empty UTF-8 texts. Callers fill the texts with printf: only
// %d, %02d, %s and %% may occur. A written-out escape ("\n" as two characters) means a
// text was copied wrongly.
TEST(StringTable, SortedUniqueIdsWithNonEmptyUtf8TextsAndKnownConversions) {
    EXPECT_TRUE(IsValidUtf8("Bildgr\xC3\xB6\xC3\x9F"));
    for (const char* bad : {"Gr\xF6\xDF", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;  // Latin-1, overlong, surrogate, too high
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
    const std::string text = LoadResString(StringId::CannotSaveImage),
                      caption = LoadResString(StringId::ErrorCaption);
    EXPECT_EQ(text + "|" + caption, "Kann Bild nicht speichern|FEHLER");
}

TEST(FormatResString, FillsNumbersTextsAndPercentSigns) {
    EXPECT_EQ(FormatResString(StringId::ProgressReading, 42), "lese... 42 %");
    EXPECT_EQ(FormatResString(StringId::NegativeDegrees, 0, 5), "-0.5 Grad");
    EXPECT_EQ(FormatResString(StringId::GammaDensity, 1, 5, 128),
              "Gamma = 1.05 durchschnittliche Dichte = 128");
    EXPECT_EQ(FormatResString(StringId::SaveChangesQuestion, "urlaub"),
              "Änderungen im Bild [urlaub] speichern ?");
    EXPECT_EQ(
        FormatResString(StringId::InfoOverlay, "l.jpg", "r.jpg", 800, 600, 50, -3, 4),
        "Links(l.jpg) Rechts(r.jpg) Bildgröße(800 x 600) Zoom(50%) Ausrichtung(x = -3 y = 4)");
}

// A translator sees the German template, never the filled-in text, and an argument that
// happens to be a German text stays as given.
std::string Shouted(std::string_view german) {
    if (german == "lese... %d %%") return "reading... %d %%";
    if (german == "Änderungen im Bild [%s] speichern ?") return "Save the changes to [%s]?";
    return std::string(german);
}

TEST(TextTranslator, TranslatesTemplatesBeforeFillingAndStaysOffByDefault) {
    EXPECT_EQ(TranslateText("lese... %d %%"), "lese... %d %%");
    SetTextTranslator(Shouted);
    EXPECT_EQ(FormatResString(StringId::ProgressReading, 42), "reading... 42 %");
    EXPECT_EQ(FormatResString(StringId::SaveChangesQuestion, "lese... %d %%"),
              "Save the changes to [lese... %d %%]?");
    EXPECT_EQ(LoadResString(StringId::ErrorCaption), "FEHLER");
    EXPECT_EQ(LoadResString(2504), "");
    SetTextTranslator(nullptr);
    EXPECT_EQ(FormatResString(StringId::ProgressReading, 42), "lese... 42 %");
}

}  // namespace
}  // namespace duplora

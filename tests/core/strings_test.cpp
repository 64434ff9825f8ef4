#include "core/strings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace duplora {
namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<std::uint8_t>(s[i]);
        int extra;
        std::uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= s.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto cc = static_cast<std::uint8_t>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000)) return false;
        if (cp >= 0xD800 && cp <= 0xDFFF) return false;
        if (cp > 0x10FFFF) return false;
        i += extra + 1;
    }
    return true;
}

TEST(StringTable, SortedWithUniqueIds) {
    const auto table = StringTable();
    ASSERT_GT(table.size(), 100u);
    for (std::size_t i = 1; i < table.size(); ++i) {
        EXPECT_LT(table[i - 1].id, table[i].id) << "at index " << i;
    }
}

TEST(StringTable, EveryTextIsNonEmptyValidUtf8) {
    for (const StringEntry& e : StringTable()) {
        ASSERT_NE(e.text, nullptr) << e.id;
        EXPECT_FALSE(std::string_view(e.text).empty()) << e.id;
        EXPECT_TRUE(IsValidUtf8(e.text)) << e.id;
    }
}

TEST(StringTable, Utf8CheckerRejectsBrokenText) {
    EXPECT_TRUE(
        IsValidUtf8("Bildgr\xC3\xB6\xC3\x9F"
                    "e"));
    EXPECT_FALSE(
        IsValidUtf8("Gr\xF6\xDF"
                    "e"));                      // Latin-1
    EXPECT_FALSE(IsValidUtf8("\xC3"));          // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
}

// A text that still holds a written-out escape was copied wrongly: the newline, return and tab
// must be real control characters.
TEST(StringTable, NoEscapeLeftAsPlainText) {
    for (const StringEntry& e : StringTable()) {
        const std::string_view t = e.text;
        EXPECT_EQ(t.find("\\n"), std::string_view::npos) << e.id;
        EXPECT_EQ(t.find("\\r"), std::string_view::npos) << e.id;
        EXPECT_EQ(t.find("\\t"), std::string_view::npos) << e.id;
    }
}

// Callers fill the texts with printf; only %d, %02d, %s and %% may occur.
TEST(StringTable, OnlyKnownConversions) {
    for (const StringEntry& e : StringTable()) {
        const std::string_view t = e.text;
        for (std::size_t i = t.find('%'); i != std::string_view::npos; i = t.find('%', i)) {
            const std::string_view rest = t.substr(i + 1);
            if (rest.starts_with("d") || rest.starts_with("s") || rest.starts_with("%")) {
                i += 2;
            } else if (rest.starts_with("02d")) {
                i += 4;
            } else {
                ADD_FAILURE() << "id " << e.id << ": unknown conversion in \"" << t << "\"";
                break;
            }
        }
    }
}

TEST(LoadResString, MissingIdGivesEmptyText) {
    for (int id : {0, -1, 1, 2199, 2504, 2611, 2700, 3000, 99999}) {
        EXPECT_EQ(LoadResString(id), "") << id;
    }
}

TEST(LoadResString, ResultsStayValidTogether) {
    const std::string text = LoadResString(2509);
    const std::string caption = LoadResString(2505);
    const std::string third = LoadResString(2515);
    EXPECT_EQ(text, "Kann Bild nicht speichern");
    EXPECT_EQ(caption, "FEHLER");
    EXPECT_EQ(third, "Achtung");
}

struct Sample {
    int id;
    const char* text;
};

class StringSample : public ::testing::TestWithParam<Sample> {};

TEST_P(StringSample, LetterForLetter) {
    EXPECT_EQ(LoadResString(GetParam().id), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Spread, StringSample,
    ::testing::Values(
        Sample{2200, "Linkes/Rechtes Bild öffnen..."}, Sample{2235, "360° Panorama Modus"},
        Sample{2501, "Duplora"}, Sample{2510, "Kann JPEG Daten nicht apeichern"},
        Sample{2525, "An Fensterröße anpassen\tF"}, Sample{2562, "Bildgröße: %dx%d  Farben: %s "},
        Sample{2564, "Dateigröße nach Speichern:\n ca. %d Bytes"}, Sample{2569, "\\Duplora.lnk"},
        Sample{2585, "Originaldatein wiederhergestellt !  Zum Beenden, [Abbrechen] drücken "},
        Sample{2589, "lese... %d %%"},
        Sample{2592, "Linkes Bild(%s [%d x %d]) Rechtes Bild(%s [%d x %d])  (%d/%d)  "},
        Sample{2600, "vorherige Ausrichtung wird verändert, \nWollen Sie speichern?"},
        Sample{2619, "Ergebnis: Leserfehler.\r\n\r\n"},
        Sample{2623, "Datei bereits vorhanden. Wollen Sie diese Überschreiben?\t"},
        Sample{2631, "Fester Ausschnitt (%dx%d)\t3"},
        Sample{2638, "Änderungen im Bild [%s] speichern ?"}, Sample{2644, "\"%d/%d Quelle(%s)\""},
        Sample{2688, "Öffne '%s' als Stereopaar?"},
        Sample{2698,
               "Bildgröße(%d x %d) muß kleiner als die Texsturgröße(%d x %d) im\n OpenGL Modus "
               "sein. \nSoll DPL  die Bildgröße anpassen? "},
        Sample{2699, "Panorama Modus"}));

TEST(FormatResString, FillsNumbersAndTexts) {
    EXPECT_EQ(FormatResString(2589, 42), "lese... 42 %");
    EXPECT_EQ(FormatResString(2590, 100), "schreibe... 100 %");
    EXPECT_EQ(FormatResString(2562, 640, 480, "256 Farben"),
              "Bildgröße: 640x480  Farben: 256 Farben ");
    EXPECT_EQ(FormatResString(2601, 0, 5), "-0.5 Grad");
    EXPECT_EQ(FormatResString(2604, 1, 5, 128), "Gamma = 1.05 durchschnittliche Dichte = 128");
    EXPECT_EQ(FormatResString(2638, "urlaub"), "Änderungen im Bild [urlaub] speichern ?");
    EXPECT_EQ(FormatResString(2620, "/tmp/a.jpg"), "-> Ausgabe(/tmp/a.jpg)\r\n");
    EXPECT_EQ(
        FormatResString(2568, "l.jpg", "r.jpg", 800, 600, 50, -3, 4),
        "Links(l.jpg) Rechts(r.jpg) Bildgröße(800 x 600) Zoom(50%) Ausrichtung(x = -3 y = 4)");
    EXPECT_EQ(FormatResString(2630, 1024, 768), "Fester Ausschnitt (1024x768)\t2");
}

TEST(FormatResString, MissingIdGivesEmptyText) {
    EXPECT_EQ(FormatResString(2504, 1, 2), "");
}

}  // namespace
}  // namespace duplora

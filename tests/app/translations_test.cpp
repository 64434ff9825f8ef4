// The English catalogue beside the German texts: which locale chooses it, that it covers every
// text of the string and command tables with the same placeholders, that the lookups go
// through it only while it is installed, and that the help pages list every key and every
// option of the converter.
#include "app/shell/translations.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/shell/commands.h"
#include "app/shell/help_page.h"
#include "core/strings.h"
#include "gui_application.h"
#include "res/core/string_ids.h"

namespace duplora {
namespace {

struct LanguageCase {
    const char* name;
    LocaleEnvironment environment;
    UiLanguage expected;
};

const LanguageCase kLanguageCases[] = {
    {"nothing set", {}, UiLanguage::German},
    {"C", {"", "", "", "C"}, UiLanguage::German},
    {"C.UTF-8", {"", "", "", "C.UTF-8"}, UiLanguage::German},
    {"POSIX", {"", "", "", "POSIX"}, UiLanguage::German},
    {"German", {"", "", "", "de_DE.UTF-8"}, UiLanguage::German},
    {"French", {"", "", "", "fr_FR.UTF-8"}, UiLanguage::German},
    {"English", {"", "", "", "en_US.UTF-8"}, UiLanguage::English},
    {"English without country", {"", "", "", "en"}, UiLanguage::English},
    {"British with modifier", {"", "", "", "en_GB.ISO-8859-15@euro"}, UiLanguage::English},
    {"LC_ALL before LANG", {"", "C", "", "en_US.UTF-8"}, UiLanguage::German},
    {"LC_MESSAGES before LANG", {"", "", "en_US.UTF-8", "de_DE.UTF-8"}, UiLanguage::English},
    {"LC_ALL before LC_MESSAGES", {"", "de_DE.UTF-8", "en_US.UTF-8", ""}, UiLanguage::German},
    {"LANGUAGE first", {"en_GB:de", "", "", "de_DE.UTF-8"}, UiLanguage::English},
    {"LANGUAGE ignored in C", {"en", "", "", "C"}, UiLanguage::German},
    {"LANGUAGE ignored without locale", {"en", "", "", ""}, UiLanguage::German},
    {"LANGUAGE's first known wins", {"fr:de:en", "", "", "en_US.UTF-8"}, UiLanguage::German},
    {"LANGUAGE's unknown skipped", {"fr:en", "", "", "de_DE.UTF-8"}, UiLanguage::English},
    {"LANGUAGE of unknowns only", {"fr:it", "", "", "en_US.UTF-8"}, UiLanguage::English},
};

TEST(UiLanguage, FollowsTheMessagesLocaleAndStaysGermanForCAndOthers) {
    for (const LanguageCase& c : kLanguageCases)
        EXPECT_EQ(UiLanguageOf(c.environment), c.expected) << c.name;
}

// printf conversions and %1-style markers, in order.
std::vector<std::string> Placeholders(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%(?:\\d+|0?\\d*[ds%])"));
    std::vector<std::string> found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found.push_back(it.next().captured().toStdString());
    return found;
}

// Whether a text has a mnemonic ("&" before a character other than "&").
bool HasMnemonic(const QString& text) {
    static const QRegularExpression mnemonic(QStringLiteral("&[^&\\s]"));
    return text.contains(mnemonic);
}

struct CatalogueEntry {
    QString translation;
    bool finished = false;
};

// The text of the element the reader is at; control characters stand as <byte value="xd"/>.
QString ElementText(QXmlStreamReader& xml) {
    QString text;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        switch (xml.readNext()) {
            case QXmlStreamReader::Characters:
                text += xml.text();
                break;
            case QXmlStreamReader::StartElement:
                ++depth;
                if (xml.name() == QLatin1String("byte"))
                    text += QChar(
                        xml.attributes().value(QLatin1String("value")).mid(1).toInt(nullptr, 16));
                break;
            case QXmlStreamReader::EndElement:
                --depth;
                break;
            default:
                break;
        }
    }
    return text;
}

// The catalogue as written: source → translation and whether it is finished.
std::map<QString, CatalogueEntry> ReadCatalogue(const QString& path) {
    std::map<QString, CatalogueEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return entries;
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("source")) {
            source = ElementText(xml);
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            CatalogueEntry entry;
            entry.finished = type.isEmpty();
            entry.translation = ElementText(xml);
            entries[source] = entry;
        }
    }
    return entries;
}

// Every text of the string table, the command table and the menus' own texts, as written.
std::set<QString> TableTexts() {
    std::set<QString> texts;
    for (const StringEntry& entry : StringTable()) texts.insert(QString::fromUtf8(entry.text));
    for (const CommandEntry& command : CommandTable())
        if (!command.text.empty()) texts.insert(QString::fromUtf8(command.text));
    for (const MenuDef& menu : AllMenus())
        for (const MenuEntry& entry : menu.entries)
            if (!entry.text.empty()) texts.insert(QString::fromUtf8(entry.text));
    return texts;
}

TEST(EnglishCatalogue, CoversEveryTableTextFinishedWithTheSamePlaceholdersAndMnemonics) {
    test::EnsureGuiApplication();
    QTranslator compiled;
    ASSERT_TRUE(compiled.load(QStringLiteral(":/i18n/duplora_en.qm")));
    const auto written =
        ReadCatalogue(QStringLiteral(DUPLORA_SOURCE_DIR "/res/i18n/duplora_en.ts"));
    ASSERT_FALSE(written.empty());
    for (const QString& text : TableTexts()) {
        const std::string shown = text.toStdString();
        const auto it = written.find(text);
        ASSERT_NE(it, written.end()) << "not in the catalogue: " << shown;
        EXPECT_TRUE(it->second.finished) << "unfinished: " << shown;
        const QString english = compiled.translate(kTranslationContext, text.toUtf8().constData());
        EXPECT_FALSE(english.isEmpty()) << "not compiled: " << shown;
        EXPECT_EQ(english, it->second.translation) << shown;
        EXPECT_EQ(Placeholders(english), Placeholders(text)) << shown;
        EXPECT_EQ(HasMnemonic(english), HasMnemonic(text)) << shown;
        EXPECT_EQ(english.count(QLatin1Char('\t')), text.count(QLatin1Char('\t'))) << shown;
    }
}

class English : public ::testing::Test {
  protected:
    void SetUp() override {
        test::EnsureGuiApplication();
        ASSERT_TRUE(InstallTranslations(UiLanguage::English));
    }
    void TearDown() override { InstallTranslations(UiLanguage::German); }
};

const MenuEntry* FirstItem(MenuId menu, CommandId command) {
    for (const MenuEntry& entry : GetMenu(menu).entries)
        if (entry.kind == MenuEntryKind::Item && entry.command == command) return &entry;
    return nullptr;
}

TEST_F(English, StringAndCommandTablesAreLookedUpInEnglishUntilGermanIsBack) {
    EXPECT_EQ(CurrentUiLanguage(), UiLanguage::English);
    EXPECT_EQ(LoadResString(StringId::ErrorCaption), "ERROR");
    EXPECT_EQ(FormatResString(StringId::SaveChangesQuestion, "urlaub"),
              "Save the changes to the picture [urlaub]?");
    EXPECT_EQ(FormatResString(StringId::ProgressReading, 42), "reading... 42 %");
    const MenuEntry* open = FirstItem(MenuId::StartFile, CmdOpenStereo);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(MenuItemText(*open), "Open &stereo picture...");
    EXPECT_EQ(Tr("Abbrechen"), QStringLiteral("Cancel"));
    EXPECT_EQ(TranslatedText(QStringLiteral("&Datei")), QStringLiteral("&File"));
    EXPECT_EQ(TranslatedText(QStringLiteral("no such text")), QStringLiteral("no such text"));

    InstallTranslations(UiLanguage::German);
    EXPECT_EQ(CurrentUiLanguage(), UiLanguage::German);
    EXPECT_EQ(LoadResString(StringId::ErrorCaption), "FEHLER");
    EXPECT_EQ(MenuItemText(*open), "&Stereobild öffnen...");
    EXPECT_EQ(TranslatedText(QStringLiteral("&Datei")), QStringLiteral("&Datei"));
}

// ---- help pages --------------------------------------------------------------------------------

QString ReadPage(const char* name) {
    QFile file(QStringLiteral(DUPLORA_SOURCE_DIR "/res/help/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// A key as the menus of a language show it.
QString KeyAsShown(std::string_view key, UiLanguage language) {
    QString text = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
    if (language == UiLanguage::German) {
        text.replace(QStringLiteral("Ctrl+"), QStringLiteral("Strg+"));
        text.replace(QStringLiteral("Shift+"), QStringLiteral("Umschalt+"));
    }
    return text;
}

TEST(HelpPages, ListEveryKeyOfTheCommandTableAndEveryOptionOfTheConverter) {
    const std::pair<const char*, UiLanguage> pages[] = {{"duplora-de.html", UiLanguage::German},
                                                        {"duplora-en.html", UiLanguage::English}};
    QProcess converter;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("LC_ALL"));
    converter.setProcessEnvironment(environment);
    converter.start(QStringLiteral(DUPLORA_CONVERT_PROGRAM), {QStringLiteral("--help")});
    ASSERT_TRUE(converter.waitForFinished(60000));
    const QString help = QString::fromUtf8(converter.readAllStandardOutput());
    QStringList options;
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--[a-z][a-z-]+"));
    for (auto it = option.globalMatch(help); it.hasNext();) options << it.next().captured();
    options.removeDuplicates();
    ASSERT_GE(options.size(), 20);

    for (const auto& [name, language] : pages) {
        const QString page = ReadPage(name);
        ASSERT_FALSE(page.isEmpty()) << name;
        EXPECT_TRUE(page.contains(
            QStringLiteral("<html lang=\"%1\">").arg(language == UiLanguage::German ? "de" : "en")))
            << name;
        for (const CommandEntry& command : CommandTable()) {
            for (std::string_view key : command.keys) {
                if (key.empty()) continue;
                const QString shown =
                    QStringLiteral("<kbd>%1</kbd>").arg(KeyAsShown(key, language).toHtmlEscaped());
                EXPECT_TRUE(page.contains(shown))
                    << name << ": " << key << " of command " << command.id;
            }
        }
        for (const QString& o : options)
            EXPECT_TRUE(page.contains(o)) << name << ": " << o.toStdString();
    }
}

TEST(HelpPages, AreFoundBesideTheProgramOrInTheSharedFolderAndFallBackToGerman) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString shared = root.filePath(QStringLiteral("share/duplora/help"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(shared));
    const std::string program = bin.toStdString();
    const auto put = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0;
    };
    EXPECT_EQ(FindHelpPage(program, UiLanguage::German), "");

    ASSERT_TRUE(put(shared + QStringLiteral("/duplora-de.html")));
    const std::string german = (shared + QStringLiteral("/duplora-de.html")).toStdString();
    EXPECT_EQ(FindHelpPage(program, UiLanguage::German), german);
    EXPECT_EQ(FindHelpPage(program, UiLanguage::English), german);

    ASSERT_TRUE(put(shared + QStringLiteral("/duplora-en.html")));
    EXPECT_EQ(FindHelpPage(program, UiLanguage::English),
              (shared + QStringLiteral("/duplora-en.html")).toStdString());

    ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral("/help")));
    ASSERT_TRUE(put(bin + QStringLiteral("/help/duplora-en.html")));
    EXPECT_EQ(FindHelpPage(program, UiLanguage::English),
              (bin + QStringLiteral("/help/duplora-en.html")).toStdString());
}

}  // namespace
}  // namespace duplora

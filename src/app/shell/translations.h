// The interface in the user's language. German is the program's own language and needs no
// catalogue; English comes from a Qt catalogue compiled into the program. The string table,
// the menus and the converter go through TranslateText (core/strings.h); the windows also
// translate the literal texts of their dialogs as they are shown.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace duplora {

enum class UiLanguage { German, English };

// The locale variables as the C library reads them for messages.
struct LocaleEnvironment {
    std::string language;    // LANGUAGE: a colon-separated list of preferences
    std::string lcAll;       // LC_ALL
    std::string lcMessages;  // LC_MESSAGES
    std::string lang;        // LANG
};

// English when the user's messages locale asks for English; German for everything else,
// including "C", "POSIX" and no locale at all. As in the C library, LANGUAGE counts only
// when a real locale is set, and its first entry in a language the program has decides.
UiLanguage UiLanguageOf(const LocaleEnvironment& environment);
// The same for this process's environment.
UiLanguage SystemUiLanguage();

// Makes `language` the language of the texts: the catalogue goes to Qt's translators of the
// running application and the string table is looked up through it. German removes any
// catalogue. False when the catalogue could not be loaded (the texts stay German).
bool InstallTranslations(UiLanguage language);
UiLanguage CurrentUiLanguage();

// The context every text of the catalogue is in.
inline constexpr const char* kTranslationContext = "Duplora";

// A German literal of the interface in the user's language.
QString Tr(std::string_view german);
// A text shown by a widget in the user's language when the catalogue knows it as it is;
// otherwise unchanged.
QString TranslatedText(const QString& text);

}  // namespace duplora

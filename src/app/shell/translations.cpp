#include "app/shell/translations.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QTranslator>

#include <cstdlib>

#include "core/strings.h"

namespace duplora {

namespace {

UiLanguage gLanguage = UiLanguage::German;

// The language part of a locale name: "en" of "en_GB.UTF-8@euro".
std::string_view LanguageCode(std::string_view name) {
    const std::size_t end = name.find_first_of("_.@-");
    return end == std::string_view::npos ? name : name.substr(0, end);
}

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string TranslateWithQt(std::string_view german) {
    const QByteArray source(german.data(), static_cast<qsizetype>(german.size()));
    return QCoreApplication::translate(kTranslationContext, source.constData()).toStdString();
}

// Loaded once; installed into each application object that asks (the program makes a small
// one for --help before the real one).
QTranslator* EnglishCatalogue() {
    static QTranslator* catalogue = [] {
        auto* translator = new QTranslator;
        if (!translator->load(QStringLiteral(":/i18n/duplora_en.qm"))) {
            delete translator;
            return static_cast<QTranslator*>(nullptr);
        }
        return translator;
    }();
    return catalogue;
}

}  // namespace

UiLanguage UiLanguageOf(const LocaleEnvironment& environment) {
    std::string_view locale = environment.lcAll;
    if (locale.empty()) locale = environment.lcMessages;
    if (locale.empty()) locale = environment.lang;
    const std::string_view code = LanguageCode(locale);
    if (code.empty() || code == "C" || code == "POSIX") return UiLanguage::German;
    std::string_view preferences = environment.language;
    while (!preferences.empty()) {
        const std::size_t colon = preferences.find(':');
        const std::string_view entry = LanguageCode(preferences.substr(0, colon));
        if (entry == "en") return UiLanguage::English;
        if (entry == "de") return UiLanguage::German;
        if (colon == std::string_view::npos) break;
        preferences.remove_prefix(colon + 1);
    }
    return code == "en" ? UiLanguage::English : UiLanguage::German;
}

UiLanguage SystemUiLanguage() {
    return UiLanguageOf(
        {Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")});
}

bool InstallTranslations(UiLanguage language) {
    QTranslator* english = EnglishCatalogue();
    if (language == UiLanguage::German || !english) {
        if (english) QCoreApplication::removeTranslator(english);
        SetTextTranslator(nullptr);
        gLanguage = UiLanguage::German;
        return language == UiLanguage::German;
    }
    if (!QCoreApplication::instance()) return false;
    QCoreApplication::installTranslator(english);
    SetTextTranslator(TranslateWithQt);
    gLanguage = language;
    return true;
}

UiLanguage CurrentUiLanguage() {
    return gLanguage;
}

QString Tr(std::string_view german) {
    return QString::fromStdString(TranslateText(german));
}

QString TranslatedText(const QString& text) {
    if (gLanguage == UiLanguage::German || text.isEmpty()) return text;
    return QCoreApplication::translate(kTranslationContext, text.toUtf8().constData());
}

}  // namespace duplora

// The per-user settings store: one INI file (organisation "Ferrowyn", application
// "duplmaker") in the user's config folder, holding every setting as a text value under its
// old name. Reads never fail: a value that is missing or unreadable reads as empty text.
// Writes go through QSettings, which replaces the file atomically.
#pragma once

#include <QFont>
#include <QSettings>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace duplora {

// Name and text of values to write together.
using SettingWrites = std::vector<std::pair<std::string, std::string>>;

class SettingsStore {
  public:
    // The user's store: <config folder>/Ferrowyn/duplmaker.ini.
    SettingsStore();
    // A store in the given INI file (tests, or a portable set-up).
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Where the user's store lives (the config folder of QStandardPaths).
    static QString UserStorePath();

    QString FilePath() const;

    // The value's text (UTF-8); empty when it is missing or not a text.
    std::string ReadSetting(std::string_view name) const;
    // Stores the text and writes the file. False when the file could not be written; the
    // caller carries on, as it always has.
    bool WriteSetting(std::string_view name, std::string_view text);
    // Several values in one rewrite of the file.
    bool WriteSettings(const SettingWrites& writes);

    // Font values (LOGFONT, LOGFONT1) hold QFont::toString() text; none when the value is
    // missing or does not describe a font.
    std::optional<QFont> ReadSettingFont(std::string_view name) const;
    bool WriteSettingFont(std::string_view name, const QFont& font);

  private:
    bool Sync();

    std::unique_ptr<QSettings> settings_;
};

}  // namespace duplora

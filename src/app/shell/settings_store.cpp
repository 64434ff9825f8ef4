#include "app/shell/settings_store.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

namespace duplora {

namespace {

QString Key(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

SettingsStore::SettingsStore() : SettingsStore(UserStorePath()) {}

SettingsStore::SettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {
    // A rewrite goes to a temporary file that is renamed over the old one, never in place.
    settings_->setAtomicSyncRequired(true);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::UserStorePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Ferrowyn/duplmaker.ini");
}

QString SettingsStore::FilePath() const {
    return settings_->fileName();
}

std::string SettingsStore::ReadSetting(std::string_view name) const {
    const QVariant value = settings_->value(Key(name));
    // A hand-edited value with commas and no quotes comes back as a list; it is the same
    // text to us ("640,480,800,600,").
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray)
        return value.toString().toStdString();
    return {};
}

bool SettingsStore::WriteSetting(std::string_view name, std::string_view text) {
    settings_->setValue(Key(name), Text(text));
    return Sync();
}

bool SettingsStore::WriteSettings(const SettingWrites& writes) {
    for (const auto& [name, text] : writes) settings_->setValue(Key(name), Text(text));
    return Sync();
}

std::optional<QFont> SettingsStore::ReadSettingFont(std::string_view name) const {
    const std::string text = ReadSetting(name);
    if (text.empty()) return std::nullopt;
    QFont font;
    if (!font.fromString(QString::fromStdString(text))) return std::nullopt;
    return font;
}

bool SettingsStore::WriteSettingFont(std::string_view name, const QFont& font) {
    return WriteSetting(name, font.toString().toStdString());
}

bool SettingsStore::Sync() {
    settings_->sync();
    switch (settings_->status()) {
        case QSettings::NoError:
            return true;
        case QSettings::AccessError:
            return false;
        default: {
            // A file with unreadable lines is still rewritten, but its format error hides any
            // later access error; the new file is made in the same folder, so that folder
            // being writable is what counts.
            const QFileInfo folder(QFileInfo(settings_->fileName()).absolutePath());
            return folder.isDir() && folder.isWritable();
        }
    }
}

}  // namespace duplora

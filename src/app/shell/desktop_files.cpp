#include "app/shell/desktop_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace duplora {

DesktopFolders DesktopFolders::User() {
    return {QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)};
}

QByteArray KeyFileEscaped(const QByteArray& value) {
    QByteArray out;
    out.reserve(value.size() + 8);
    for (char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

QByteArray DesktopExecArgument(const QString& argument) {
    QByteArray quoted = "\"";
    for (char c : argument.toUtf8()) {
        if (c == '%') {
            quoted += "%%";
            continue;
        }
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    // The key-file escapes are undone before the command line is split, so they go on top.
    return KeyFileEscaped(quoted);
}

QByteArray ShellQuoted(const QString& argument) {
    QByteArray quoted = "'";
    for (char c : argument.toUtf8()) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    quoted += '\'';
    return quoted;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes,
                         QFileDevice::Permissions permissions) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) return false;
    if (permissions != QFileDevice::Permissions{}) return QFile::setPermissions(path, permissions);
    return true;
}

}  // namespace duplora

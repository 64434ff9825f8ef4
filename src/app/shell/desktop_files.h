// Small pieces shared by the desktop-integration files (file associations and the "send to"
// launchers): where the user's XDG folders are, quoting for launcher command lines, and
// replacing a file atomically.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace duplora {

// The user's XDG base folders; tests point both into a temporary home.
struct DesktopFolders {
    QString configHome;  // $XDG_CONFIG_HOME: mimeapps.list
    QString dataHome;    // $XDG_DATA_HOME: applications/, mime/, file-manager places

    // From QStandardPaths (in test mode these are under ~/.qttest).
    static DesktopFolders User();
};

// One argument of a desktop entry's Exec key: quoted, with the quoting escapes and the
// key-file escapes applied, and literal percent signs doubled.
QByteArray DesktopExecArgument(const QString& argument);

// A word for a POSIX shell: in single quotes, with single quotes spliced in.
QByteArray ShellQuoted(const QString& argument);

// Escapes a value for a key file (backslash, newline, tab, carriage return).
QByteArray KeyFileEscaped(const QByteArray& value);

// Writes the bytes to a temporary file beside the target and renames it over the target;
// creates the folder when needed. The permissions, when given, are set on the result.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes,
                         QFileDevice::Permissions permissions = {});

}  // namespace duplora

#include "app/shell/file_associations.h"

#include <QFile>
#include <QList>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include <optional>
#include <utility>

#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

constexpr char kSection[] = "[Default Applications]";
// Marks the desktop entry as the one these switches made, so a hand-made one is left alone.
constexpr char kMarker[] = "X-Duplora-Association=true";

const char* UndoGroup(AssociationType type) {
    switch (type) {
        case AssociationType::Das:
            return "das";
        case AssociationType::Jpg:
            return "jpg";
        case AssociationType::Jps:
            return "jps";
    }
    return "jpg";
}

// mimeapps.list as raw lines, so that what we do not touch is written back as it was read.
struct ListFile {
    bool exists = false;
    QList<QByteArray> lines;  // without their '\n' ('\r' of a CRLF file stays)
    bool finalNewline = true;
};

// None when the file exists but cannot be read: then nothing may be written over it.
std::optional<ListFile> ReadList(const QString& path) {
    ListFile list;
    QFile file(path);
    if (!file.exists()) return list;
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    list.exists = true;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) return list;
    list.lines = bytes.split('\n');
    list.finalNewline = bytes.endsWith('\n');
    if (list.finalNewline) list.lines.removeLast();
    return list;
}

QByteArray Joined(const ListFile& list) {
    QByteArray bytes = list.lines.join('\n');
    if (list.finalNewline && !list.lines.isEmpty()) bytes += '\n';
    return bytes;
}

int FindSection(const ListFile& list) {
    for (int i = 0; i < list.lines.size(); ++i)
        if (list.lines[i].trimmed() == kSection) return i;
    return -1;
}

// The line after the section's last line.
int SectionEnd(const ListFile& list, int header) {
    int i = header + 1;
    while (i < list.lines.size() && !list.lines[i].trimmed().startsWith('[')) ++i;
    return i;
}

int FindKey(const ListFile& list, int header, const QByteArray& key) {
    if (header < 0) return -1;
    const int end = SectionEnd(list, header);
    for (int i = header + 1; i < end; ++i) {
        const QByteArray line = list.lines[i].trimmed();
        if (line.startsWith('#')) continue;
        const qsizetype eq = line.indexOf('=');
        if (eq > 0 && line.left(eq).trimmed() == key) return i;
    }
    return -1;
}

QByteArray FirstDesktopId(const QByteArray& line) {
    const QByteArray value = line.mid(line.indexOf('=') + 1);
    return value.split(';').first().trimmed();
}

// A new line ends like the line it is placed beside (CRLF files stay CRLF).
QByteArray LineLike(QByteArray text, const QByteArray& neighbour) {
    if (neighbour.endsWith('\r')) text += '\r';
    return text;
}

QByteArray XmlEscaped(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped().toUtf8();
}

QByteArray ReadWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// Writes only when the content differs; reports whether the file changed.
bool Store(const QString& path, const QByteArray& bytes, bool& changed) {
    if (QFile::exists(path) && ReadWhole(path) == bytes) return true;
    changed = true;
    return WriteFileAtomically(path, bytes);
}

bool RemoveFile(const QString& path, bool& changed) {
    if (!QFile::exists(path)) return true;
    changed = true;
    return QFile::remove(path);
}

}  // namespace

AssociationInfo AssociationOf(AssociationType type) {
    switch (type) {
        case AssociationType::Das:
            return {".das", "image/x-das", StringId::FileTypeDas, 1237};
        case AssociationType::Jpg:
            return {".jpg", "image/jpeg", StringId::FileTypeJpeg, 1239};
        case AssociationType::Jps:
            return {".jps", "image/x-jps", StringId::FileTypeJps, 1276};
    }
    return {".jpg", "image/jpeg", StringId::FileTypeJpeg, 1239};
}

FileAssociations::FileAssociations(DesktopFolders folders, QString executable,
                                   bool runDatabaseTools)
    : folders_(std::move(folders)),
      executable_(std::move(executable)),
      runDatabaseTools_(runDatabaseTools) {}

QString FileAssociations::MimeAppsPath() const {
    return folders_.configHome + QStringLiteral("/mimeapps.list");
}

QString FileAssociations::DesktopEntryPath() const {
    return folders_.dataHome + QStringLiteral("/applications/") + QLatin1String(kDesktopEntryName);
}

QString FileAssociations::MimePackagePath() const {
    return folders_.dataHome + QStringLiteral("/mime/packages/duplora.xml");
}

QString FileAssociations::UndoPath() const {
    return folders_.configHome + QStringLiteral("/Ferrowyn/duplmaker-associations.ini");
}

bool FileAssociations::IsAssociated(AssociationType type) const {
    const auto list = ReadList(MimeAppsPath());
    if (!list) return false;
    const int line = FindKey(*list, FindSection(*list), AssociationOf(type).mimeType);
    return line >= 0 && FirstDesktopId(list->lines[line]) == kDesktopEntryName;
}

bool FileAssociations::Associate(AssociationType type) {
    auto list = ReadList(MimeAppsPath());
    if (!list) return false;
    const QByteArray key = AssociationOf(type).mimeType;
    const QByteArray ours = key + '=' + kDesktopEntryName + ';';
    const int header = FindSection(*list);
    const int line = FindKey(*list, header, key);
    if (line >= 0 && FirstDesktopId(list->lines[line]) == kDesktopEntryName)
        return UpdateSupportFiles();

    // The undo is kept before the list changes, so a failure in between loses nothing.
    QSettings undo(UndoPath(), QSettings::IniFormat);
    const QString group = QLatin1String(UndoGroup(type));
    undo.remove(group);
    if (line >= 0) {
        undo.setValue(group + QStringLiteral("/kind"), QStringLiteral("replaced"));
        undo.setValue(group + QStringLiteral("/line"), list->lines[line]);
        list->lines[line] = LineLike(ours, list->lines[line]);
    } else if (header >= 0) {
        undo.setValue(group + QStringLiteral("/kind"), QStringLiteral("inserted"));
        list->lines.insert(header + 1, LineLike(ours, list->lines[header]));
    } else {
        undo.setValue(group + QStringLiteral("/kind"), QStringLiteral("inserted"));
        const bool blank = !list->lines.isEmpty() && !list->lines.last().trimmed().isEmpty();
        if (blank) list->lines.append(LineLike({}, list->lines.last()));
        if (list->lines.isEmpty()) list->finalNewline = true;
        const QByteArray neighbour = list->lines.isEmpty() ? QByteArray() : list->lines.last();
        list->lines.append(LineLike(kSection, neighbour));
        list->lines.append(LineLike(ours, neighbour));
        undo.setValue(QStringLiteral("section/created"), true);
        undo.setValue(QStringLiteral("section/blankAdded"), blank);
        undo.setValue(QStringLiteral("section/fileCreated"), !list->exists);
    }
    undo.sync();
    if (undo.status() != QSettings::NoError) return false;
    if (!WriteFileAtomically(MimeAppsPath(), Joined(*list))) return false;
    return UpdateSupportFiles();
}

bool FileAssociations::Dissociate(AssociationType type) {
    auto list = ReadList(MimeAppsPath());
    if (!list) return false;
    const QByteArray key = AssociationOf(type).mimeType;
    const int header = FindSection(*list);
    const int line = FindKey(*list, header, key);
    QSettings undo(UndoPath(), QSettings::IniFormat);
    const QString group = QLatin1String(UndoGroup(type));
    const bool ours = line >= 0 && FirstDesktopId(list->lines[line]) == kDesktopEntryName;

    bool ok = true;
    if (ours) {
        const QByteArray previous = undo.value(group + QStringLiteral("/line")).toByteArray();
        const bool replaced =
            undo.value(group + QStringLiteral("/kind")).toString() == QStringLiteral("replaced");
        if (replaced && !previous.trimmed().isEmpty())
            list->lines[line] = previous;
        else
            list->lines.removeAt(line);
        bool removeFile = false;
        // A section that we added and that holds nothing else any more goes as well.
        if (undo.value(QStringLiteral("section/created")).toBool() &&
            SectionEnd(*list, header) == header + 1) {
            list->lines.removeAt(header);
            if (undo.value(QStringLiteral("section/blankAdded")).toBool() && header > 0 &&
                list->lines[header - 1].trimmed().isEmpty())
                list->lines.removeAt(header - 1);
            removeFile =
                undo.value(QStringLiteral("section/fileCreated")).toBool() && list->lines.isEmpty();
            undo.remove(QStringLiteral("section"));
        }
        ok = removeFile ? QFile::remove(MimeAppsPath())
                        : WriteFileAtomically(MimeAppsPath(), Joined(*list));
    }
    // Without our default (never set, or replaced by the user since) the undo is stale.
    if (ok) undo.remove(group);
    undo.sync();
    if (undo.allKeys().isEmpty()) QFile::remove(UndoPath());
    return UpdateSupportFiles() && ok;
}

bool FileAssociations::UpdateSupportFiles() {
    const bool das = IsAssociated(AssociationType::Das);
    const bool jpg = IsAssociated(AssociationType::Jpg);
    const bool jps = IsAssociated(AssociationType::Jps);
    bool changed = false;
    bool ok = true;

    const QString entryPath = DesktopEntryPath();
    const bool entryIsOurs = !QFile::exists(entryPath) || ReadWhole(entryPath).contains(kMarker);
    if (entryIsOurs) {
        if (das || jpg || jps) {
            const QByteArray entry =
                QByteArray("[Desktop Entry]\n") + "Type=Application\n" + "Name=Duplora\n" +
                "Exec=" + DesktopExecArgument(executable_) + " %f\n" + "Icon=duplora\n" +
                "Terminal=false\n" + "Categories=Graphics;Viewer;\n" +
                "MimeType=image/jpeg;image/x-jps;image/x-das;\n" + kMarker + '\n';
            ok &= Store(entryPath, entry, changed);
        } else {
            ok &= RemoveFile(entryPath, changed);
        }
    }

    if (das || jps) {
        QByteArray xml =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
        if (jps) {
            xml += "  <mime-type type=\"image/x-jps\">\n    <comment>" +
                   XmlEscaped(LoadResString(AssociationOf(AssociationType::Jps).descriptionId)) +
                   "</comment>\n"
                   "    <sub-class-of type=\"image/jpeg\"/>\n"
                   "    <glob pattern=\"*.jps\"/>\n  </mime-type>\n";
        }
        if (das) {
            xml += "  <mime-type type=\"image/x-das\">\n    <comment>" +
                   XmlEscaped(LoadResString(AssociationOf(AssociationType::Das).descriptionId)) +
                   "</comment>\n"
                   "    <glob pattern=\"*.das\"/>\n  </mime-type>\n";
        }
        xml += "</mime-info>\n";
        ok &= Store(MimePackagePath(), xml, changed);
    } else {
        ok &= RemoveFile(MimePackagePath(), changed);
    }

    if (changed) RefreshDatabases();
    return ok;
}

void FileAssociations::RefreshDatabases() const {
    if (!runDatabaseTools_) return;
    const std::pair<const char*, QString> tools[] = {
        {"update-mime-database", folders_.dataHome + QStringLiteral("/mime")},
        {"update-desktop-database", folders_.dataHome + QStringLiteral("/applications")}};
    for (const auto& [tool, folder] : tools) {
        const QString program = QStandardPaths::findExecutable(QLatin1String(tool));
        if (!program.isEmpty()) QProcess::startDetached(program, {folder});
    }
}

}  // namespace duplora

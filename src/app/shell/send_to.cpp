#include "app/shell/send_to.h"

#include <QFile>

#include <utility>

#include "app/shell/desktop_files.h"

namespace duplora {

namespace {

constexpr QFileDevice::Permissions kExecutable =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
    QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

enum Launcher { kNautilus, kNemo, kKde, kFileManagerActions, kLauncherCount };

const char* const kRelativePaths[kLauncherCount] = {
    "/nautilus/scripts/Duplora", "/nemo/actions/duplora.nemo_action",
    "/kio/servicemenus/duplora.desktop", "/file-manager/actions/duplora.desktop"};

QByteArray Content(Launcher launcher, const QString& executable) {
    switch (launcher) {
        case kNautilus:
            // The file manager passes the chosen files as arguments.
            return "#!/bin/sh\nexec " + ShellQuoted(executable) + " \"$@\"\n";
        case kNemo:
            // Nemo splits its command line like a shell after reading it as a key file.
            return QByteArray("[Nemo Action]\n") + "Name=Duplora\n" + "Comment=Duplora\n" +
                   "Exec=" + KeyFileEscaped(ShellQuoted(executable)) + " %F\n" +
                   "Icon-Name=duplora\n" + "Selection=notnone\n" + "Extensions=any;\n";
        case kKde:
            return QByteArray("[Desktop Entry]\n") + "Type=Service\n" + "MimeType=all/allfiles;\n" +
                   "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n" + "Actions=duplora;\n\n" +
                   "[Desktop Action duplora]\n" + "Name=Duplora\n" + "Icon=duplora\n" +
                   "Exec=" + DesktopExecArgument(executable) + " %F\n";
        case kFileManagerActions:
            return QByteArray("[Desktop Entry]\n") + "Type=Action\n" + "Name=Duplora\n" +
                   "Icon=duplora\n" + "Profiles=files;\n\n" + "[X-Action-Profile files]\n" +
                   "Name=Duplora\n" + "MimeTypes=all/allfiles;\n" +
                   "Exec=" + DesktopExecArgument(executable) + " %F\n";
        case kLauncherCount:
            break;
    }
    return {};
}

}  // namespace

SendToLauncher::SendToLauncher(QString dataHome, QString executable)
    : dataHome_(std::move(dataHome)), executable_(std::move(executable)) {}

QStringList SendToLauncher::Paths() const {
    QStringList paths;
    for (const char* relative : kRelativePaths) paths << dataHome_ + QLatin1String(relative);
    return paths;
}

bool SendToLauncher::Exists() const {
    for (const QString& path : Paths())
        if (QFile::exists(path)) return true;
    return false;
}

bool SendToLauncher::Create() {
    const QStringList paths = Paths();
    bool ok = true;
    for (int k = 0; k < kLauncherCount; ++k) {
        const auto launcher = static_cast<Launcher>(k);
        // The script and the KDE service menu are only used when they may be executed.
        const bool executable = launcher == kNautilus || launcher == kKde;
        ok &= WriteFileAtomically(paths[k], Content(launcher, executable_),
                                  executable ? kExecutable : QFileDevice::Permissions{});
    }
    return ok;
}

bool SendToLauncher::Remove() {
    bool ok = true;
    for (const QString& path : Paths())
        if (QFile::exists(path)) ok &= QFile::remove(path);
    return ok;
}

}  // namespace duplora

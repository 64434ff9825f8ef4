#include "gui/shell/screenshots.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>

#include "gui/shell/main_window.h"

namespace duplora {

namespace {

// Lets posted commands and paint events run.
void Settle() {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 300) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

}  // namespace

QStringList TakeModeScreenshots(MainWindow& window, const QString& folder) {
    QDir().mkpath(folder);
    const struct {
        CommandId command;
        const char* name;
    } modes[] = {
        {CmdSideBySide, "side-by-side"},
        {CmdGreyAnaglyph, "grey-anaglyph"},
        {CmdOverUnder, "over-under"},
    };
    QStringList written;
    Settle();
    for (const auto& mode : modes) {
        window.ExecuteCommand(mode.command);
        window.ExecuteCommand(CmdFitWindow);
        Settle();
        const QString path = QDir(folder).filePath(QString::fromLatin1(mode.name) + ".png");
        if (window.grab().save(path)) written << path;
    }
    return written;
}

}  // namespace duplora

#include "gui/align/align_screenshots.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>

#include "app/shell/settings.h"
#include "gui/align/adjust_dialog.h"
#include "gui/align/gamma_dialogs.h"
#include "gui/shell/main_window.h"

namespace duplora {

namespace {

// Shows the dialog until it has laid out and painted, and saves what it shows.
bool Photograph(QDialog& dialog, const QString& folder, QStringList& written) {
    dialog.show();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 400) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const QString path =
        QDir(folder).filePath(QStringLiteral("dialog-%1.png").arg(dialog.objectName()));
    const bool saved = dialog.grab().save(path);
    if (saved) written << path;
    dialog.close();
    return saved;
}

}  // namespace

QStringList TakeAlignDialogScreenshots(MainWindow& window, const QString& folder) {
    QStringList written;
    StereoDocument& document = window.Document();
    if (!document.BothLoaded() || !document.Left().image || !document.Right().image) return written;
    QDir().mkpath(folder);
    // The dialogs only read the settings here: nothing is stored.
    Settings settings = window.CurrentSettings();
    AdjustDialogMemory memory;
    for (bool extended : {false, true}) {
        AdjustDialogSetup setup;
        setup.parent = &window;
        setup.settings = &settings;
        setup.left = &document.Left().image;
        setup.right = &document.Right().image;
        setup.dx = document.Dx();
        setup.dy = document.Dy();
        setup.extended = extended;
        setup.memory = &memory;
        AdjustDialog dialog(setup);
        Photograph(dialog, folder, written);
    }
    GammaDialog gamma(&window, document.Left().image, document.Right().image);
    Photograph(gamma, folder, written);
    int shown = 0;
    AnaglyphSettingsSetup anaglyph;
    anaglyph.parent = &window;
    anaglyph.left = &document.Left().image;
    anaglyph.right = &document.Right().image;
    anaglyph.greyPair = document.GreyPair();
    anaglyph.colourKind = document.ColourKind();
    anaglyph.leftGamma = settings.leftGamma;
    anaglyph.rightGamma = settings.rightGamma;
    anaglyph.shownViews = &shown;
    AnaglyphSettingsDialog anaglyphDialog(anaglyph);
    Photograph(anaglyphDialog, folder, written);
    return written;
}

}  // namespace duplora

// Pictures of the alignment dialogs over the open pair, for checking how they look without a
// person at the screen.
#pragma once

#include <QString>
#include <QStringList>

namespace duplora {

class MainWindow;

// Shows "Justage", "erweiterte Justage", "Gamma Justage" and "Anaglyph Einstellungen" for the
// open pair one after the other and saves a grab of each as <folder>/dialog-<resource>.png.
// Returns the files written; none without a pair.
QStringList TakeAlignDialogScreenshots(MainWindow& window, const QString& folder);

}  // namespace duplora

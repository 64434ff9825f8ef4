// Pictures of the window in several display modes, for checking how the program looks
// without a person at the screen.
#pragma once

#include <QString>
#include <QStringList>

namespace duplora {

class MainWindow;

// Shows the open pair side by side, as a grey anaglyph and over/under, each fitted to the
// window, and saves a grab of the whole window as <folder>/<mode>.png. Returns the files
// written.
QStringList TakeModeScreenshots(MainWindow& window, const QString& folder);

}  // namespace duplora

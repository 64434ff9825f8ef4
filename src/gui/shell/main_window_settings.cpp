// The main window's settings commands: the settings dialog, page flipping, the command-line
// start, the free-trim ratio and the about box.
#include "gui/shell/main_window.h"

namespace duplora {

void MainWindow::RegisterSettingsCommands() {}

}  // namespace duplora

// The main window's settings commands: the settings dialog, page flipping, the command-line
// start, the free-trim ratio and the about box.
#include <QCoreApplication>

#include "gui/shell/dialog_host.h"
#include "gui/shell/main_window.h"
#include "gui/shell/settings_windows.h"
#include "gui/stereo/view_widget.h"

namespace duplora {

void MainWindow::RegisterSettingsCommands() {
    using G = CommandGuard;
    const auto context = [this] {
        SettingsWindowContext c;
        c.parent = this;
        c.host = &host_;
        c.settings = &settings_;
        c.store = &store_;
        c.programPath = QCoreApplication::applicationFilePath();
        return c;
    };
    commands_.Add(CmdSettings, G::Always, [this, context](CommandId) {
        RunSettingsDialog(context());
        // The background colour and the free space around the picture may have changed.
        document_.SetFrameWidth(ViewFrameWidth(settings_));
        view_->Relayout();
        view_->viewport()->update();
        RefitAfterResize();
    });
    commands_.Add(CmdPageFlipSettings, G::Always,
                  [context](CommandId) { RunPageFlipDialog(context()); });
    commands_.Add(CmdStartSettings, G::Always,
                  [context](CommandId) { RunCommandLineStartDialog(context()); });
    commands_.Add(CmdFreeTrimSettings, G::Always,
                  [context](CommandId) { RunFreeTrimDialog(context()); });
    commands_.Add(CmdAbout, G::Always, [this](CommandId) { RunAboutDialog(this, host_); });
}

}  // namespace duplora

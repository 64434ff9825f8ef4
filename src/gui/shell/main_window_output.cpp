// The commands that take the pair out of the window: printing, the HTML page and the phone
// picture (gui/output/output_commands.h does the work).
#include "gui/output/output_commands.h"
#include "gui/shell/main_window.h"

namespace duplora {

void MainWindow::RegisterOutputCommands() {
    using G = CommandGuard;
    auto context = WithServices<OutputContext>(Services());
    context.view = view_;
    context.programFolder = programFolder_;
    context.input = [this] { return Input(); };
    context.post = [this](CommandId command) { PostCommand(command); };
    context.pictureReplaced = [this] { RefitAfterResize(); };
    context.stopSlideShow = [this] {
        if (slideShowRunning_) ToggleSlideShow();
    };
    outputs_ = std::make_unique<OutputCommands>(std::move(context));
    const CommandRegistry::Handler run = [this](CommandId command) { outputs_->Execute(command); };
    commands_.Add(CmdPrint, G::Loaded, run);
    commands_.Add(CmdPrintSettings, G::Always, run);
    commands_.Add(CmdHtml, G::Stereo, run);
    commands_.Add(CmdPhoneImage, G::StereoNoGl, run);
    commands_.Add({CmdPhoneAreaFinished, CmdSavePhoneImage, CmdWritePhoneImage}, G::Internal, run);
}

}  // namespace duplora

// Batch conversion from the window (gui/batch/conversion_commands.h does the work).
#include "gui/batch/conversion_commands.h"
#include "gui/lists/list_commands.h"
#include "gui/shell/main_window.h"

namespace duplora {

void MainWindow::RegisterConversionCommands() {
    auto context = WithServices<ConversionContext>(Services());
    context.codec = [this] { return Codec(); };
    context.stopSlideShow = [this] {
        if (slideShowRunning_) ToggleSlideShow();
    };
    // The list chosen for writing entries is the one offered for converting.
    context.currentList = [this] { return lists_ ? lists_->SelectedList() : std::string(); };
    conversions_ = std::make_unique<ConversionCommands>(std::move(context));
    conversions_->Register(commands_);
}

}  // namespace duplora

// The commands for many files at once: the slide-show lists and their show
// (gui/lists/list_commands.h), renaming and the mosaic (gui/lists/folder_tools.h).
#include "gui/lists/folder_tools.h"
#include "gui/lists/list_commands.h"
#include "gui/shell/main_window.h"
#include "gui/stereo/view_widget.h"

namespace duplora {

void MainWindow::RegisterListCommands() {
    auto context = WithServices<ListCommandContext>(Services());
    context.mayReplacePair = [this] { return MayReplacePair(); };
    context.openStereo = [this](const std::string& path, StereoLayout layout) {
        return OpenStereo(path, layout, OpenSource::List);
    };
    context.openPair = [this](const std::string& left, const std::string& right) {
        return OpenPair(left, right, OpenSource::List);
    };
    context.layout = [this] { return stereoLayout_; };
    context.pendingPath = [this] { return pendingPath_; };
    context.redisplay = [this] {
        Recompose();
        view_->Relayout();
    };
    context.execute = [this](CommandId command) { ExecuteCommand(command); };
    context.setTitle = [this](const QString& title) { setWindowTitle(title); };
    context.preview = [this] {
        PreviewOptions preview;
        preview.codec = Codec();
        return preview;
    };
    lists_ = std::make_unique<ListCommands>(std::move(context));
    lists_->Register(commands_);

    FolderToolContext tools;
    tools.parent = this;
    tools.host = &host_;
    tools.settings = &settings_;
    tools.codec = [this] { return Codec(); };
    tools.restoreTitle = [this] { ShowTexts(); };
    RegisterFolderTools(commands_, tools);
}

}  // namespace duplora

// The main window's file commands: the open dialogs (stereo file, left and right files,
// single picture), the opening of what they chose, and the two save dialogs.
#include <QFileInfo>

#include "app/shell/path_names.h"
#include "core/formats/open_preview.h"
#include "core/formats/plugins.h"
#include "core/strings.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/main_window.h"
#include "gui/shell/open_dialogs.h"
#include "gui/shell/open_pair.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

void MainWindow::RegisterFileCommands() {
    using G = CommandGuard;
    CommandRegistry& c = commands_;
    c.Add(CmdOpenStereo, G::Always, [this](CommandId) { OpenStereoDialog(); });
    c.Add(CmdOpenLeftRight, G::Always, [this](CommandId) { OpenLeftRightDialog(); });
    c.Add(CmdOpenSingle, G::Always, [this](CommandId) { OpenSingleDialog(); });
    c.Add(CmdSaveStereo, G::Loaded, [this](CommandId) { SaveStereoCommand(); });
    c.Add(CmdSaveLeftRight, G::Loaded, [this](CommandId) { SaveLeftRightCommand(); });
    c.Add(CmdOpenPending, G::Internal, [this](CommandId) {
        if (!MayReplacePair()) return;
        OpenStereo(pendingPath_, stereoLayout_,
                   fromHistory_ ? OpenSource::History : OpenSource::Pending);
    });
    c.Add(CmdOpenPendingPair, G::Internal, [this](CommandId) {
        if (!MayReplacePair()) return;
        OpenPair(pendingLeftPath_, pendingPath_,
                 fromHistory_ ? OpenSource::History : OpenSource::Pending);
    });
    c.Add({CmdHistory1, CmdHistory2, CmdHistory3, CmdHistory4, CmdHistory5}, G::Always,
          [this](CommandId command) { OpenFromHistory(command); });
    c.Add(CmdPaste, G::Always, [this](CommandId) { Paste(); });
    c.Add(CmdCopy, G::Loaded, [this](CommandId) { Copy(); });
}

// ---- opening ---------------------------------------------------------------------------------

CodecOptions MainWindow::Codec() {
    if (!plugins_) plugins_ = std::make_shared<PluginTable>(LoadPlugins(settings_.pluginFolder));
    CodecOptions codec;
    codec.allowLzw = LzwTiffAllowed(settings_);
    codec.plugins = plugins_.get();
    return codec;
}

OpenDialogSetup MainWindow::OpenSetup(OpenDialogKind kind, int title, const std::string& folder) {
    OpenDialogSetup setup;
    setup.kind = kind;
    setup.title = Res(title);
    setup.folder = Q(folder);
    setup.preview.codec = Codec();
    setup.preview.readDas = ReadDasPreview;
    setup.filter = OpenDialogFilter(setup.preview.codec.plugins);
    setup.layout = LayoutForStereoDialog(stereoLayout_);
    setup.showPreview = settings_.openPreview != 0;
    setup.fitSize = settings_.openAtFullSize != 0;
    return setup;
}

void MainWindow::RememberOpenOptions(bool showPreview, bool fitSize) {
    settings_.openPreview = showPreview ? 1 : 0;
    settings_.openAtFullSize = fitSize ? 1 : 0;
    store_.WriteSettings(SettingWritesFor(settings_, {setting::kNOpenPreview, setting::kNFitSize}));
}

void MainWindow::OpenStereoDialog() {
    if (!MayReplacePair()) return;
    // A pair of two files or a single picture was last: the dialog starts side by side.
    stereoLayout_ = LayoutForStereoDialog(stereoLayout_);
    OpenDialog dialog(
        OpenSetup(OpenDialogKind::StereoFile, StringId::OpenStereoTitle, settings_.openFolder),
        this);
    const bool accepted = dialog.Run(host_);
    // A layout picked is kept even when the dialog is cancelled.
    stereoLayout_ = dialog.Layout();
    RememberOpenOptions(dialog.ShowPreview(), dialog.FitSize());
    if (!accepted) return;
    commandLineStart_ = false;
    fromHistory_ = false;
    OpenStereo(dialog.Chosen().front().toStdString(), stereoLayout_, OpenSource::Dialog);
}

void MainWindow::OpenSingleDialog() {
    if (!MayReplacePair()) return;
    OpenDialog dialog(
        OpenSetup(OpenDialogKind::Single, StringId::OpenSingleTitle, settings_.openFolder), this);
    if (!dialog.Run(host_)) return;
    commandLineStart_ = false;
    fromHistory_ = false;
    OpenStereo(dialog.Chosen().front().toStdString(), StereoLayout::Single, OpenSource::Dialog);
}

void MainWindow::OpenLeftRightDialog() {
    if (!MayReplacePair()) return;
    OpenDialog dialog(
        OpenSetup(OpenDialogKind::LeftRight, StringId::OpenLeftTitle, settings_.openFolder), this);
    const bool accepted = dialog.Run(host_);
    RememberOpenOptions(dialog.ShowPreview(), dialog.FitSize());
    if (!accepted) return;
    const QStringList files = dialog.Chosen();
    const std::string left = files[0].toStdString();
    std::string right;
    if (files.size() >= 2) {
        // Two picked at once: the first as the left view, as the name box lists them.
        right = files[1].toStdString();
    } else {
        right = AskForPartner(this, host_, left, rightFolder_);
        if (right.empty()) {
            OpenDialog second(OpenSetup(OpenDialogKind::RightFile, StringId::OpenRightTitle,
                                        std::string(FolderPart(left))),
                              this);
            const bool chosen = second.Run(host_);
            RememberOpenOptions(second.ShowPreview(), settings_.openAtFullSize != 0);
            if (!chosen) return;
            right = second.Chosen().front().toStdString();
        }
    }
    commandLineStart_ = false;
    fromHistory_ = false;
    OpenPair(left, right, OpenSource::Dialog);
}

bool MainWindow::OpenStereo(const std::string& path, StereoLayout layout, OpenSource source) {
    OpenedViews views = OpenStereoPicture(path, layout, Codec(), WorkProgress());
    const OpenedKind kind = layout == StereoLayout::Single ? OpenedKind::Mono : OpenedKind::Stereo;
    return TakeOpened(std::move(views), kind, layout, source);
}

bool MainWindow::OpenPair(const std::string& left, const std::string& right, OpenSource source) {
    OpenedViews views = OpenPairFiles(left, right, Codec(), WorkProgress());
    const bool ok = TakeOpened(std::move(views), OpenedKind::Stereo, StereoLayout::Pair, source);
    if (ok) rightFolder_ = std::string(FolderPart(right));
    return ok;
}

// ---- saving ----------------------------------------------------------------------------------

bool MainWindow::SaveStereoCommand() {
    if (!document_.BothLoaded() || !document_.Left().image) return false;
    const SaveContext context{
        this, &host_, &settings_, &store_, &saveMemory_, document_.Left().path, &WorkProgress()};
    const bool saved = SaveStereoWithDialog(context, Input(), document_.SingleImageMode());
    if (saved) document_.SetModified(false);
    // The writing progress gives way to the pair's texts.
    ShowTexts();
    return saved;
}

void MainWindow::SaveLeftRightCommand() {
    if (!document_.BothLoaded() || !document_.Left().image) return;
    const SaveContext context{
        this, &host_, &settings_, &store_, &saveMemory_, document_.Left().path, &WorkProgress()};
    SaveLeftRightWithDialog(context, Input());
    ShowTexts();
}

}  // namespace duplora

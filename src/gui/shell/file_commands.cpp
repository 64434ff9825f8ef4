#include "gui/shell/file_commands.h"

#include <optional>

#include "app/edit/frame_style.h"
#include "app/shell/dialog_texts.h"
#include "app/shell/path_names.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "core/formats/stereo_open.h"
#include "core/formats/stereo_save.h"
#include "core/strings.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/save_dialogs.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

SaveDialogSetup SetupFor(const SaveContext& context, SaveDialogKind kind,
                         const ImageBuffer& image) {
    SaveDialogSetup setup;
    setup.kind = kind;
    setup.folder = Q(context.settings->saveFolder);
    setup.name = Q(std::string(FileNamePart(context.leftPath)));
    setup.saveImage = &image;
    setup.settings.type = context.memory->type;
    setup.settings.quality = context.settings->jpegQuality;
    setup.settings.exifThumbnail = context.memory->exifThumbnail;
    setup.settings.mirrorLeft = context.memory->mirrorLeft;
    setup.leftSuffix = Q(context.settings->leftSuffix);
    setup.rightSuffix = Q(context.settings->rightSuffix);
    return setup;
}

// What the dialog leaves behind whether it was accepted or not.
void Remember(const SaveContext& context, const SaveDialog& dialog) {
    const SaveSettings chosen = dialog.Settings();
    context.memory->type = chosen.type;
    context.memory->exifThumbnail = chosen.exifThumbnail;
    context.memory->mirrorLeft = chosen.mirrorLeft;
    Settings& settings = *context.settings;
    settings.jpegQuality = chosen.quality;
    if (dialog.Kind() == SaveDialogKind::LeftRight) {
        settings.leftSuffix = LimitNameSuffix(dialog.LeftSuffix().toStdString());
        settings.rightSuffix = LimitNameSuffix(dialog.RightSuffix().toStdString());
    }
    context.store->WriteSettings(
        SettingWritesFor(settings, {setting::kNQuality, setting::kLeftname, setting::kRightname}));
}

// Shows the dialog and keeps what it leaves behind; the chosen name (its folder remembered as
// the next save folder), or nothing when cancelled.
std::optional<std::string> RunSaveDialog(const SaveContext& context, SaveDialog& dialog) {
    const bool accepted = dialog.Run(*context.host);
    Remember(context, dialog);
    if (!accepted) return std::nullopt;
    std::string path = dialog.Chosen().front().toStdString();
    context.settings->saveFolder = std::string(FolderPart(path));
    return path;
}

// Tells the failure, or the warnings of what was written; true when it was written.
const Progress& ProgressOf(const SaveContext& context) {
    return context.progress ? *context.progress : NoProgress();
}

// What was written, or why not; a save the user stopped needs no message (the file on disk
// is as it was).
bool TellSavedUnlessStopped(const SaveContext& context, const Result<Warnings>& saved) {
    if (!saved && ProgressOf(context).Cancelled()) return false;
    return context.host->TellSaved(context.parent, saved);
}

}  // namespace

bool SaveStereoWithDialog(const SaveContext& context, const CompositionInput& input, bool single) {
    Result<ImageBuffer> composed = ComposeSaveImage(input, single);
    if (!composed) {
        context.host->Tell(context.parent, composed.Error());
        return false;
    }
    // The frame shown in the view is burnt in with its print/save widths before the dialog,
    // so that its size and estimate are the file's.
    Warnings frameFailed;
    ImageBuffer saveImage =
        FrameWhenShown(std::move(composed).Value(), single ? DisplayMode::Single : input.mode,
                       context.settings->border, &frameFailed);
    for (const Failure& failure : frameFailed) context.host->Tell(context.parent, failure);
    SaveDialogSetup setup = SetupFor(context, SaveDialogKind::StereoPicture, saveImage);
    setup.title = Q(SaveDialogTitle(single));
    SaveDialog dialog(setup, context.parent);
    const std::optional<std::string> path = RunSaveDialog(context, dialog);
    // Asked here rather than by the file dialog: only now does the name have its ending.
    if (!path || !ConfirmReplace(*path, context.host->Asking(context.parent))) return false;
    const SaveSettings chosen = dialog.Settings();
    // The mirror works on the composed copy; the views stay as they are.
    const ImageBuffer written =
        ApplySaveMirror(std::move(saveImage), chosen.mirrorLeft, input.mode, single);
    if (!written) {
        context.host->Tell(context.parent, Res(StringId::CannotSaveImage),
                           Res(StringId::ErrorCaption));
        return false;
    }
    return TellSavedUnlessStopped(context,
                                  SaveStereoPicture(*path, written, chosen, ProgressOf(context)));
}

bool SaveLeftRightWithDialog(const SaveContext& context, const CompositionInput& input) {
    Result<ImageBuffer> composed = ComposeLeftRightImage(input);
    if (!composed) {
        context.host->Tell(context.parent, composed.Error());
        context.host->Tell(context.parent, Res(StringId::CannotStoreValues),
                           Res(StringId::ErrorCaption));
        return false;
    }
    const ImageBuffer pair = std::move(composed).Value();
    SaveDialogSetup setup = SetupFor(context, SaveDialogKind::LeftRight, pair);
    setup.title = Q(LeftRightSaveDialogTitle());
    // The type list here has JPEG and BMP only.
    if (setup.settings.type != OutputFormat::Bmp) setup.settings.type = OutputFormat::Jpeg;
    SaveDialog dialog(setup, context.parent);
    const std::optional<std::string> path = RunSaveDialog(context, dialog);
    if (!path) return false;
    // Each file gets a frame of its own while the frame is shown.
    const BorderSet border = context.settings->border;
    Warnings frameFailed;
    const auto frame = [&border, &frameFailed](ImageBuffer& view) {
        view = FrameWhenShown(std::move(view), DisplayMode::Single, border, &frameFailed);
    };
    // Equal names are refused and the replace question asked by the saver.
    Result<Warnings> saved = SaveLeftRightFiles(
        *path, pair, context.settings->leftSuffix, context.settings->rightSuffix, dialog.Settings(),
        context.host->Asking(context.parent), frame, ProgressOf(context));
    // A frame that could not be made is told once, however many files went without it.
    if (saved && !frameFailed.empty()) saved.Value().push_back(frameFailed.front());
    return TellSavedUnlessStopped(context, saved);
}

std::string AskForPartner(QWidget* parent, DialogHost& host, const std::string& left,
                          const std::string& lastRightFolder) {
    const std::optional<std::string> partner = ProposeRightPartner(left, lastRightFolder);
    if (!partner) return {};
    const auto answer =
        host.Ask(parent, Q(PartnerQuestionText(*partner)), Q(PartnerQuestionCaption()),
                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
    return answer == QMessageBox::Yes ? *partner : std::string();
}

}  // namespace duplora

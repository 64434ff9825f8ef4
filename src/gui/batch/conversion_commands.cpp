#include "gui/batch/conversion_commands.h"

#include <QFileInfo>

#include <utility>

#include "app/batch/batch_settings.h"
#include "app/batch/batch_start.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "core/batch/batch_run.h"
#include "core/formats/open_preview.h"
#include "gui/batch/conversion_dialog.h"
#include "gui/batch/conversion_progress.h"
#include "gui/shell/command_registry.h"
#include "gui/shell/open_dialogs.h"
#include "gui/shell/ui_text.h"

namespace duplora {

ConversionCommands::ConversionCommands(ConversionContext context) : c_(std::move(context)) {}

ConversionCommands::~ConversionCommands() {
    StopForClose();
}

void ConversionCommands::Register(CommandRegistry& registry) {
    registry.Add({CmdBatch, CmdBatchFromList}, CommandGuard::Always,
                 [this](CommandId command) { Execute(command); });
}

void ConversionCommands::Execute(CommandId command) {
    if (command == CmdBatch || command == CmdBatchFromList) Run(command == CmdBatchFromList);
}

bool ConversionCommands::Running() const {
    return progress_ && progress_->Running();
}

void ConversionCommands::StopForClose() {
    if (progress_) progress_->GiveUp();
}

void ConversionCommands::Run(bool fromList) {
    if (c_.stopSlideShow) c_.stopSlideShow();
    // One run at a time: its window comes to the front instead.
    if (Running()) {
        progress_->show();
        progress_->raise();
        progress_->activateWindow();
        return;
    }
    const Settings& settings = *c_.settings;
    // The options stay as the dialog was left; the quality and the target are the stored ones,
    // which the save dialogs change too.
    const BatchOptions stored = BatchOptionsFromSettings(settings);
    BatchOptions options = options_.value_or(stored);
    options.quality = stored.quality;
    options.targetFolder = stored.targetFolder;
    options.greyPair = stored.greyPair;
    options.colourKind = stored.colourKind;

    const CodecOptions codec = c_.codec ? c_.codec() : CodecOptions{};
    ConversionDialogSetup setup;
    setup.fromList = fromList;
    setup.folder = Q(settings.openFolder);
    if (fromList && c_.currentList) {
        setup.list = Q(c_.currentList());
        if (!setup.list.isEmpty()) setup.folder = QFileInfo(setup.list).absolutePath();
    }
    setup.filter = OpenDialogFilter(codec.plugins);
    setup.options = options;
    setup.quickAdjustment = settings.quickAdjustment;
    // The quick-adjustment values fill the fields the first time in a program run.
    setup.prefill = !prefilled_ && !options_;
    prefilled_ = true;
    setup.showPreview = settings.openPreview != 0;
    setup.preview.codec = codec;
    setup.preview.readDas = ReadDasPreview;
    setup.host = c_.host;

    ConversionDialog dialog(std::move(setup), c_.parent);
    const bool accepted = dialog.Run(*c_.host);
    options_ = dialog.Options();
    if (!accepted || !dialog.Job()) return;

    const BatchOptions& runOptions = dialog.RunOptions();
    const SettingWrites writes = RememberBatchStart(*c_.settings, runOptions);
    if (c_.store) c_.store->WriteSettings(writes);
    options_->targetFolder = runOptions.targetFolder;

    if (!progress_) progress_ = new BatchProgressWindow(*c_.host, c_.parent);
    progress_->show();
    progress_->raise();
    progress_->Start(*dialog.Job(), runOptions,
                     BatchEnvironmentFromSettings(*c_.settings, codec.plugins),
                     DefaultBatchThreads());
}

}  // namespace duplora

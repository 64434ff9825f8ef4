// The batch conversion commands of the window: "Mehrfach Konvertierung" over picked files and
// "Mehrfach Konvertierung aus einer Liste" over a slide-show list. The dialog's options are kept
// for the program run; a started run goes on in its modeless progress window while the main
// window stays usable.
#pragma once

#include <QPointer>

#include <functional>
#include <optional>
#include <string>

#include "core/batch/batch_options.h"
#include "core/formats/codec_options.h"
#include "core/shell/command_ids.h"
#include "gui/shell/window_services.h"

namespace duplora {

class BatchProgressWindow;
class CommandRegistry;

struct ConversionContext : WindowServices {
    // How pictures are read now (the plug-ins live as long as the window).
    std::function<CodecOptions()> codec;
    // The slide-show list shown now; empty when none.
    std::function<std::string()> currentList;
    std::function<void()> stopSlideShow;
};

class ConversionCommands {
  public:
    explicit ConversionCommands(ConversionContext context);
    // A run still going is given up and waited for.
    ~ConversionCommands();
    ConversionCommands(const ConversionCommands&) = delete;
    ConversionCommands& operator=(const ConversionCommands&) = delete;

    // Registers CmdBatch and CmdBatchFromList.
    void Register(CommandRegistry& registry);
    void Execute(CommandId command);
    // Closing the program: the file being converted is given up (what it wrote removed) and
    // the worker has ended when this returns.
    void StopForClose();

    bool Running() const;

  private:
    void Run(bool fromList);

    ConversionContext c_;
    std::optional<BatchOptions> options_;  // as the dialog was left
    bool prefilled_ = false;
    QPointer<BatchProgressWindow> progress_;
};

}  // namespace duplora

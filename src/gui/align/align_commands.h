// The alignment commands of the window: "Justage" and "erweiterte Justage", "Gamma Justage"
// and the two anaglyph settings entries. Each runs its dialog through the DialogHost and
// applies a confirmed result to the pair as one undoable edit.
#pragma once

#include <functional>

#include "app/shell/stereo_document.h"
#include "core/shell/command_ids.h"
#include "gui/shell/window_services.h"

class QStatusBar;

namespace duplora {

class CommandRegistry;

struct AlignCommandContext : WindowServices {
    QStatusBar* statusBar = nullptr;  // where the correction shows its progress
    std::function<void(CommandId)> execute;
    // The pair's offset changed without new pictures.
    std::function<void()> offsetChanged;
};

// Registers the handlers of CmdAdjust, CmdExtendedAdjust, CmdGamma, CmdGreyAnaglyphSettings
// and CmdColourAnaglyphSettings; they share what the dialogs remember for the program run.
// CmdAutoAlign too (auto_align_command.h).
void RegisterAlignCommands(CommandRegistry& registry, const AlignCommandContext& context);

}  // namespace duplora

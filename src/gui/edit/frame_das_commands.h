// The frame's settings ("Rahmen Einstellungen..."), the DAS container dialog
// ("Erstellen/Wiederherstellen DAS Datei...") and "Schreibe Ausrichtung", which keeps the
// pair's alignment in the open container.
#pragma once

#include <functional>

#include "core/util/progress.h"
#include "gui/shell/window_services.h"

namespace duplora {

class CommandRegistry;

struct FrameDasCommandContext : WindowServices {
    // The writing's progress, handed out ready for new work.
    std::function<const Progress&()> progress;
    // After the writing: the status bar shows the pair's texts again.
    std::function<void()> workDone;
    // The frame's settings changed: the view takes the new frame width and repaints.
    std::function<void()> borderChanged;
    // While a slide-show list plays: writes the alignment into its shown entry instead of a
    // file, and says so. Returns false when no list plays.
    std::function<bool()> writeListAlignment;
};

// Registers the handlers of CmdBorderSettings, CmdMakeDas and CmdWriteAlignment.
void RegisterFrameDasCommands(CommandRegistry& registry, const FrameDasCommandContext& context);

}  // namespace duplora

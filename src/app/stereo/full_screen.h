// What the full-screen commands do in the current state.
#pragma once

#include "core/shell/command_ids.h"

namespace duplora {

enum class FullScreenStep { Nothing, CloseOpenGl, Toggle };

// CmdFullScreen toggles full screen, CmdLeaveFullScreen (Esc) only leaves it; both need a loaded
// pair. Esc outside full screen closes the OpenGL stereo window when it runs.
FullScreenStep FullScreenAction(CommandId command, bool bothLoaded, bool fullScreen,
                                bool openGlRunning);

}  // namespace duplora

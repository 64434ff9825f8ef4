// What the full-screen commands do in the current state.
#pragma once

namespace duplora {

enum class FullScreenStep { Nothing, CloseOpenGl, Toggle };

// 2018 toggles full screen, 2052 (Esc) only leaves it; both need a loaded pair. Esc outside
// full screen closes the OpenGL stereo window when it runs.
FullScreenStep FullScreenAction(int command, bool bothLoaded, bool fullScreen, bool openGlRunning);

}  // namespace duplora

#include "app/stereo/full_screen.h"

namespace duplora {

FullScreenStep FullScreenAction(CommandId command, bool bothLoaded, bool fullScreen,
                                bool openGlRunning) {
    if (command != CmdFullScreen && command != CmdLeaveFullScreen) {
        return FullScreenStep::Nothing;
    }
    if (!bothLoaded) return FullScreenStep::Nothing;
    if (command == CmdLeaveFullScreen && !fullScreen) {
        return openGlRunning ? FullScreenStep::CloseOpenGl : FullScreenStep::Nothing;
    }
    return FullScreenStep::Toggle;
}

}  // namespace duplora

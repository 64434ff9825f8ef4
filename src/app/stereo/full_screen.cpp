#include "app/stereo/full_screen.h"

#include "app/stereo/view_numbers.h"

namespace duplora {

FullScreenStep FullScreenAction(int command, bool bothLoaded, bool fullScreen, bool openGlRunning) {
    if (command != view_command::kFullScreen && command != view_command::kLeaveFullScreen) {
        return FullScreenStep::Nothing;
    }
    if (!bothLoaded) return FullScreenStep::Nothing;
    if (command == view_command::kLeaveFullScreen && !fullScreen) {
        return openGlRunning ? FullScreenStep::CloseOpenGl : FullScreenStep::Nothing;
    }
    return FullScreenStep::Toggle;
}

}  // namespace duplora

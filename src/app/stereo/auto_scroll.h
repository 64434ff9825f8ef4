// Automatic scrolling of a panorama: the view moves by itself, swinging back at the ends or,
// in panorama mode, running on round the picture; keys steer it while it runs.
#pragma once

namespace duplora {

struct AutoScroll {
    int position = 0;
    int direction = 1;  // +1 or −1
    int step = 1;       // pixels per pass
    int delay = 4;      // the pause per pass is delay × delay milliseconds
    bool operator==(const AutoScroll&) const = default;
};

inline constexpr int kAutoScrollMaxDelay = 32;

// Nothing moves when the picture fits the pane in that direction.
inline bool AutoScrollPossible(int maximum) {
    return maximum > 0;
}

// One pass. Without wrapping the position stops at 0 and at the maximum and turns back;
// with wrapping (panorama, horizontally) it runs on round `pictureLength`.
AutoScroll AutoScrollPass(AutoScroll state, int maximum, int pictureLength, bool wrap);

inline int AutoScrollPauseMs(const AutoScroll& state) {
    return state.delay * state.delay;
}

// Faster: more pixels per pass once the pause is at its shortest; slower the other way.
AutoScroll AutoScrollFaster(AutoScroll state);
AutoScroll AutoScrollSlower(AutoScroll state);

enum class AutoScrollKey { Left, Right, Up, Down, P, Other };

struct AutoScrollKeyResult {
    AutoScroll state;
    bool togglePanorama = false;
    bool stop = false;
};

// A key pressed while scrolling. Horizontally Left and Right choose the direction and Up and
// Down the speed; vertically Up and Down choose the direction and Right and Left the speed.
// P toggles panorama; any other key ends the scrolling.
AutoScrollKeyResult AutoScrollOnKey(AutoScroll state, AutoScrollKey key, bool horizontal);

}  // namespace duplora

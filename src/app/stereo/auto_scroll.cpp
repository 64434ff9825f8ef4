#include "app/stereo/auto_scroll.h"

#include "app/stereo/pane_mouse.h"

namespace duplora {

AutoScroll AutoScrollPass(AutoScroll s, int maximum, int pictureLength, bool wrap) {
    s.position += s.direction * s.step;
    if (wrap && pictureLength > 0) {
        s.position = WrapPosition(s.position, pictureLength);
        return s;
    }
    if (s.position <= 0) {
        s.position = 0;
        s.direction = 1;
    } else if (s.position >= maximum) {
        s.position = maximum;
        s.direction = -1;
    }
    return s;
}

AutoScroll AutoScrollFaster(AutoScroll s) {
    if (s.delay <= 4) {
        s.delay = 4;
        s.step += 1;
    } else {
        s.delay -= 1;
        s.step = 1;
    }
    return s;
}

AutoScroll AutoScrollSlower(AutoScroll s) {
    if (s.step < 2) {
        s.step = 1;
        // Already a pause of a second per pass; no need to grow further.
        if (s.delay < kAutoScrollMaxDelay) s.delay += 1;
    } else {
        s.step -= 1;
        s.delay = 4;
    }
    return s;
}

AutoScrollKeyResult AutoScrollOnKey(AutoScroll s, AutoScrollKey key, bool horizontal) {
    AutoScrollKeyResult r{s};
    if (key == AutoScrollKey::P) {
        r.togglePanorama = true;
        return r;
    }
    if (horizontal) {
        switch (key) {
            case AutoScrollKey::Left:
                r.state.direction = -1;
                return r;
            case AutoScrollKey::Right:
                r.state.direction = 1;
                return r;
            case AutoScrollKey::Up:
                r.state = AutoScrollFaster(s);
                return r;
            case AutoScrollKey::Down:
                r.state = AutoScrollSlower(s);
                return r;
            default:
                break;
        }
    } else {
        switch (key) {
            case AutoScrollKey::Up:
                r.state.direction = 1;
                return r;
            case AutoScrollKey::Down:
                r.state.direction = -1;
                return r;
            case AutoScrollKey::Right:
                r.state = AutoScrollFaster(s);
                return r;
            case AutoScrollKey::Left:
                r.state = AutoScrollSlower(s);
                return r;
            default:
                break;
        }
    }
    r.stop = true;
    return r;
}

}  // namespace duplora

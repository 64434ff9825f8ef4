// Automatic scrolling of the view ("Horizontal/Vertikal auto scroll (für Panorama)"): a
// timer moves the picture pass by pass, swinging back at the ends or running round a
// panorama, while the window goes on handling its events. Keys steer it as it runs: the
// arrows choose direction and speed, P switches panorama, any other key or a left click
// ends it.
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

#include "app/stereo/auto_scroll.h"

namespace duplora {

class CommandRegistry;
class StereoDocument;
class ViewWidget;

class AutoScroller : public QObject {
  public:
    AutoScroller(ViewWidget& view, StereoDocument& document, std::function<void()> togglePanorama);
    ~AutoScroller() override;

    // Starts scrolling one way; false (nothing happens) when the picture fits the view
    // that way.
    bool Start(bool vertical);
    void Stop();
    bool Running() const { return running_; }
    bool Vertical() const { return vertical_; }
    const AutoScroll& State() const { return state_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Pass();
    bool InWindow(QObject* watched) const;

    ViewWidget& view_;
    StereoDocument& document_;
    std::function<void()> togglePanorama_;
    QTimer timer_;
    AutoScroll state_;
    bool vertical_ = false;
    bool running_ = false;
};

struct AutoScrollCommandContext {
    ViewWidget* view = nullptr;
    StereoDocument* document = nullptr;
    // CmdPanorama, as P asks while scrolling.
    std::function<void()> togglePanorama;
    // Hands the scrolling to a running page-flipping output; false when none runs.
    std::function<bool(bool vertical)> startInOutput;
};

// Registers CmdAutoScrollHorizontal and CmdAutoScrollVertical; the scroller lives as long
// as the registry's handlers.
void RegisterAutoScrollCommands(CommandRegistry& registry, const AutoScrollCommandContext& context);

}  // namespace duplora

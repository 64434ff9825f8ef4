#include "gui/stereo/auto_scroller.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <memory>

#include "app/shell/stereo_document.h"
#include "gui/shell/command_registry.h"
#include "gui/stereo/view_widget.h"

namespace duplora {

namespace {

AutoScrollKey KeyOf(int key) {
    switch (key) {
        case Qt::Key_Left:
            return AutoScrollKey::Left;
        case Qt::Key_Right:
            return AutoScrollKey::Right;
        case Qt::Key_Up:
            return AutoScrollKey::Up;
        case Qt::Key_Down:
            return AutoScrollKey::Down;
        case Qt::Key_P:
            return AutoScrollKey::P;
        default:
            return AutoScrollKey::Other;
    }
}

bool ModifierOnly(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

}  // namespace

AutoScroller::AutoScroller(ViewWidget& view, StereoDocument& document,
                           std::function<void()> togglePanorama)
    : view_(view), document_(document), togglePanorama_(std::move(togglePanorama)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &AutoScroller::Pass);
}

AutoScroller::~AutoScroller() {
    if (running_) qApp->removeEventFilter(this);
}

bool AutoScroller::Start(bool vertical) {
    Stop();
    const QPoint maximum = view_.ScrollMaximum();
    if (!AutoScrollPossible(vertical ? maximum.y() : maximum.x())) return false;
    vertical_ = vertical;
    state_ = AutoScroll{};
    state_.position = vertical ? document_.ScrollY() : document_.ScrollX();
    running_ = true;
    view_.setFocus(Qt::OtherFocusReason);
    // Keys and clicks steer the scrolling before the window's shortcuts see them.
    qApp->installEventFilter(this);
    timer_.start(0);
    return true;
}

void AutoScroller::Stop() {
    if (!running_) return;
    running_ = false;
    timer_.stop();
    qApp->removeEventFilter(this);
    view_.window()->activateWindow();
    view_.window()->setFocus(Qt::OtherFocusReason);
}

void AutoScroller::Pass() {
    if (!running_) return;
    const QPoint maximum = view_.ScrollMaximum();
    const int max = vertical_ ? maximum.y() : maximum.x();
    if (!AutoScrollPossible(max)) {
        // The picture came to fit the view (a new picture, another zoom).
        Stop();
        return;
    }
    const bool wrap = !vertical_ && document_.Panorama();
    const int length =
        vertical_ ? view_.ScrollPictureSize().height() : view_.ScrollPictureSize().width();
    // The position may have been moved meanwhile by the scroll bars or a drag.
    state_.position = vertical_ ? document_.ScrollY() : document_.ScrollX();
    state_ = AutoScrollPass(state_, max, length, wrap);
    const QPoint to = vertical_ ? QPoint(document_.ScrollX(), state_.position)
                                : QPoint(state_.position, document_.ScrollY());
    view_.MoveTo(to);
    timer_.start(AutoScrollPauseMs(state_));
}

bool AutoScroller::InWindow(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window() == view_.window();
}

bool AutoScroller::eventFilter(QObject* watched, QEvent* event) {
    if (!running_ || !InWindow(watched)) return false;
    switch (event->type()) {
        case QEvent::ShortcutOverride: {
            // The key comes as a key press to the scrolling, not to a shortcut.
            const auto* key = static_cast<QKeyEvent*>(event);
            if (ModifierOnly(key->key())) return false;
            event->accept();
            return true;
        }
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (ModifierOnly(key->key())) return false;
            const AutoScrollKeyResult r = AutoScrollOnKey(state_, KeyOf(key->key()), !vertical_);
            state_ = r.state;
            if (r.togglePanorama && togglePanorama_) togglePanorama_();
            if (r.stop) {
                Stop();
            } else if (timer_.isActive()) {
                // A new speed counts from the next pass on.
                timer_.start(AutoScrollPauseMs(state_));
            }
            return true;
        }
        case QEvent::KeyRelease:
            return !ModifierOnly(static_cast<QKeyEvent*>(event)->key());
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) Stop();
            return true;
        case QEvent::MouseButtonRelease:
            return true;
        default:
            return false;
    }
}

void RegisterAutoScrollCommands(CommandRegistry& registry,
                                const AutoScrollCommandContext& context) {
    auto scroller =
        std::make_shared<AutoScroller>(*context.view, *context.document, context.togglePanorama);
    const auto start = [scroller, output = context.startInOutput](CommandId command) {
        const bool vertical = command == CmdAutoScrollVertical;
        if (output && output(vertical)) return;
        scroller->Start(vertical);
    };
    registry.Add({CmdAutoScrollHorizontal, CmdAutoScrollVertical}, CommandGuard::Loaded, start);
}

}  // namespace duplora

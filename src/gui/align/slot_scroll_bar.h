// A scroll bar that the keyboard moves as dialog scroll bars do: Left, Up and Page Up make
// the value smaller, Right, Down and Page Down larger, Home and End go to the ends, in
// either orientation. (Qt's own scroll bars turn the horizontal keys round.)
#pragma once

#include <QKeyEvent>
#include <QScrollBar>

namespace duplora {

class SlotScrollBar : public QScrollBar {
  public:
    SlotScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {
        setFocusPolicy(Qt::StrongFocus);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        SliderAction action = SliderNoAction;
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up:
                action = SliderSingleStepSub;
                break;
            case Qt::Key_Right:
            case Qt::Key_Down:
                action = SliderSingleStepAdd;
                break;
            case Qt::Key_PageUp:
                action = SliderPageStepSub;
                break;
            case Qt::Key_PageDown:
                action = SliderPageStepAdd;
                break;
            case Qt::Key_Home:
                action = SliderToMinimum;
                break;
            case Qt::Key_End:
                action = SliderToMaximum;
                break;
            default:
                QScrollBar::keyPressEvent(event);
                return;
        }
        triggerAction(action);
        event->accept();
    }
};

}  // namespace duplora

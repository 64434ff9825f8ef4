// The view inside the main window: three panes that paint the display composer's pictures,
// laid out for the display mode, with the scroll bars of the shown picture. The panes paint
// only what is visible, straight from the composer's rows; the mouse drags the picture and
// steps through the folder at the panes' edges; the wheel asks the window to zoom.
#pragma once

#include <QAbstractScrollArea>
#include <QCursor>
#include <QPoint>
#include <QWidget>

#include <array>
#include <optional>

#include "app/stereo/pane_mouse.h"
#include "app/stereo/selection.h"
#include "app/stereo/view_layout.h"
#include "core/shell/command_ids.h"
#include "gui/stereo/pane_picture.h"

namespace duplora {

class DisplayComposer;
class StereoDocument;
struct Settings;
class ViewWidget;

// One pane: shows display picture `index` (0 composite, 1 left, 2 right).
class PaneWidget : public QWidget {
    Q_OBJECT

  public:
    PaneWidget(ViewWidget* view, int index);
    int Index() const { return index_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    ViewWidget* view_;
    int index_;
};

class ViewWidget : public QAbstractScrollArea {
    Q_OBJECT

  public:
    ViewWidget(StereoDocument& document, const DisplayComposer& composer, const Settings& settings,
               QWidget* parent = nullptr);

    // Places the panes for the mode and the composer's pictures, sets the scroll range and
    // clamps the document's scroll position; run after every composition and resize.
    void Relayout();
    // Repaints the shown panes (after a scroll).
    void RepaintPanes();
    // Scrolls to the position (clamped), as the navigator asks.
    void ScrollTo(QPoint position);
    // Moves to `position` as given, which the caller has clamped, or wrapped round a
    // panorama (automatic scrolling).
    void MoveTo(QPoint position);
    // The picture that scrolling moves over (the scroll pane's).
    QSize ScrollPictureSize() const;

    PaneWidget* Pane(int index) const { return panes_[index]; }
    // The pane's rectangle in the client area (the viewport); empty when not shown.
    QRect PaneRect(int index) const;
    // The client size of the pane whose size rules scrolling in the current mode.
    QSize ScrollPaneClient() const;
    QPoint ScrollMaximum() const { return maximum_; }
    PanState Pan() const { return pan_; }

    // The hide-cursor flag (CmdMouseCursor).
    void SetCursorHidden(bool hidden);
    bool CursorHidden() const { return cursorHidden_; }
    bool Dragging() const { return dragging_; }

    // What pane `index` paints into `dirty` (pane coordinates).
    void PaintPane(const PaneWidget& pane, QPainter& painter, const QRect& dirty) const;
    // What pane `index` shows, as last made for the screen.
    const PanePicture& PanePictureOf(int index) const { return panePictures_[index]; }

    // ---- selections -------------------------------------------------------------------------
    // Starts drawing a rectangle (free trim, preset ratio, phone area), keeping the ratio
    // when one is given.
    void BeginSelection(SelectionMode mode, std::optional<QSize> ratio = std::nullopt);
    // Starts a fixed-size rectangle; the command that placed it, forwarded next, puts it at
    // the top-left of what is shown.
    void BeginFixedSelection(const SelectionRect& rect, CommandId trigger);
    // A command the main window passes on while a selection is active: places a waiting
    // fixed-size rectangle or cancels the selection.
    void ForwardToSelection(CommandId command);
    bool SelectionActive() const { return selection_.Active(); }
    duplora::SelectionMode SelectionMode() const { return selection_.Mode(); }
    // The rectangle in full-size pixels; after a finished selection the one to cut by.
    const SelectionRect& SelectionRectangle() const { return selection_.Rect(); }
    // How pane `index` shows its picture, for mapping the mouse to picture pixels.
    SelectionView SelectionViewOf(int index) const;
    // The rubber band and the cross-hair over what PaintPane painted, by inverting pixels.
    void PaintSelection(const PaneWidget& pane, QPainter& painter) const;

  signals:
    // A request for the main window: edge-zone clicks and double clicks (next / previous
    // image), and the wheel (zoom).
    void CommandRequested(duplora::CommandId command);
    // The view's client area changed size.
    void ClientResized();
    // The panes were placed anew, and the scroll position moved.
    void LaidOut();
    void Scrolled();
    // The selection's corners and size for the status bar ("(x1,y1)-(x2,y2) [w X h]");
    // empty when a selection was given up.
    void SelectionStatus(const QString& text);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    friend class PaneWidget;
    void PanePress(PaneWidget& pane, QMouseEvent* event);
    void PaneMove(PaneWidget& pane, QMouseEvent* event);
    void PaneRelease(PaneWidget& pane, QMouseEvent* event);
    void PaneDoubleClick(PaneWidget& pane, QMouseEvent* event);
    void UpdateCursor(PaneWidget& pane, QPoint point);
    void UpdateAllCursors();
    void ApplySelection(const SelectionOutcome& outcome);
    void ScrollBarMoved();
    void SetScrollBars();
    DisplayMode Mode() const;
    QSize PictureSize(int index) const;
    QColor Background() const;

    StereoDocument& document_;
    const DisplayComposer& composer_;
    const Settings& settings_;
    std::array<PaneWidget*, 3> panes_{};
    QPoint maximum_;
    PanState pan_ = PanState::Fits;
    bool inLayout_ = false;
    bool settingBars_ = false;
    bool cursorHidden_ = false;
    bool dragging_ = false;
    QPoint dragFrom_;
    EdgeZone zone_ = EdgeZone::None;
    QCursor previousCursor_;
    QCursor nextCursor_;
    SelectionTracker selection_;
    std::optional<QPoint> crossHair_;  // pane coordinates, drawn in every shown pane
    // The panes' pictures made for the screen; painting refreshes them.
    mutable std::array<PanePicture, 3> panePictures_;
};

}  // namespace duplora

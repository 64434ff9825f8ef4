// The navigator: a small window with a thumbnail of the shown picture and the visible part
// outlined; dragging on it scrolls the view.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <optional>

#include "app/stereo/navigator.h"

namespace duplora {

class DisplayComposer;
class StereoDocument;
class ViewWidget;

class NavigatorWindow : public QWidget {
    Q_OBJECT

  public:
    NavigatorWindow(StereoDocument& document, const DisplayComposer& composer, ViewWidget& view,
                    QWidget* owner);

    // Makes the thumbnail anew from the display picture (after a composition or a resize).
    void Rebuild();
    QSize ThumbnailSize() const { return thumbnail_.size(); }
    QPoint ThumbnailOffset() const;
    // The outline of the visible part, in this window's coordinates.
    QRect VisibleFrame() const;

  signals:
    // The user closed the window: the same as the show/hide command.
    void CloseRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    int SourceIndex() const;
    QSize PictureSize() const;

    StereoDocument& document_;
    const DisplayComposer& composer_;
    ViewWidget& view_;
    QImage thumbnail_;
    std::optional<NavigatorDrag> drag_;
};

}  // namespace duplora

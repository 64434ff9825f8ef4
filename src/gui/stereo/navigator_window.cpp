#include "gui/stereo/navigator_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/image/qimage_bridge.h"
#include "app/shell/stereo_document.h"
#include "core/image/convert.h"
#include "core/stereo/display_composer.h"
#include "gui/stereo/view_widget.h"

namespace duplora {

NavigatorWindow::NavigatorWindow(StereoDocument& document, const DisplayComposer& composer,
                                 ViewWidget& view, QWidget* owner)
    : QWidget(owner, Qt::Tool), document_(document), composer_(composer), view_(view) {
    setObjectName(QStringLiteral("LOCATION"));
    setWindowTitle(QStringLiteral("Navigator"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    resize(200, 150);
}

int NavigatorWindow::SourceIndex() const {
    // The left picture where the mode has one, else the composite.
    return composer_.FirstView() ? DisplayComposer::kFirstView : DisplayComposer::kComposite;
}

QSize NavigatorWindow::PictureSize() const {
    const ImageBuffer& picture =
        composer_.Get(static_cast<DisplayComposer::Picture>(SourceIndex()));
    return picture ? QSize(picture.Width(), picture.Height()) : QSize();
}

void NavigatorWindow::Rebuild() {
    thumbnail_ = QImage();
    const ImageBuffer& picture =
        composer_.Get(static_cast<DisplayComposer::Picture>(SourceIndex()));
    const QSize size = NavigatorThumbnailSize(PictureSize(), this->size());
    if (picture && !size.isEmpty()) {
        const ImageBuffer small =
            CropScaleView(picture, size.width(), size.height(), 0, 0, 0, 0, false);
        thumbnail_ = QImageFromImageBuffer(small);
    }
    update();
}

QPoint NavigatorWindow::ThumbnailOffset() const {
    return NavigatorThumbnailOffset(thumbnail_.size(), size());
}

QRect NavigatorWindow::VisibleFrame() const {
    return NavigatorFrame(QPoint(document_.ScrollX(), document_.ScrollY()),
                          view_.ScrollPaneClient(), PictureSize(), thumbnail_.size(),
                          ThumbnailOffset());
}

void NavigatorWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (thumbnail_.isNull()) return;
    painter.drawImage(ThumbnailOffset(), thumbnail_);
    // The visible part, outlined so that it shows on any picture.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    const QRect frame = VisibleFrame();
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

void NavigatorWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Rebuild();
}

void NavigatorWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    drag_.emplace(event->position().toPoint(), QPoint(document_.ScrollX(), document_.ScrollY()));
}

void NavigatorWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!drag_ || thumbnail_.isNull()) return;
    const QPoint scroll = drag_->ScrollFor(event->position().toPoint(), PictureSize(),
                                           thumbnail_.size(), view_.ScrollMaximum());
    if (scroll == QPoint(document_.ScrollX(), document_.ScrollY())) return;
    view_.ScrollTo(scroll);
    update();
}

void NavigatorWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) drag_.reset();
}

void NavigatorWindow::closeEvent(QCloseEvent* event) {
    // The window stays; the command hides it and remembers that.
    event->ignore();
    emit CloseRequested();
}

}  // namespace duplora

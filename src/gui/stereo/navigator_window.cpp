#include "gui/stereo/navigator_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/image/qimage_bridge.h"
#include "app/shell/stereo_document.h"
#include "core/image/pixel_gather.h"
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
    return composer_.Has(DisplayComposer::kFirstView) ? DisplayComposer::kFirstView
                                                      : DisplayComposer::kComposite;
}

QSize NavigatorWindow::PictureSize() const {
    const auto which = static_cast<DisplayComposer::Picture>(SourceIndex());
    return composer_.Has(which) ? QSize(composer_.Width(which), composer_.Height(which)) : QSize();
}

void NavigatorWindow::Rebuild() {
    thumbnail_ = QImage();
    const QSize picture = PictureSize();
    const QSize size = NavigatorThumbnailSize(picture, this->size());
    if (!picture.isEmpty() && !size.isEmpty()) {
        // The thumbnail's pixels only, picked as a nearest-neighbour scaling of the picture
        // would pick them.
        const std::vector<int> cols =
            FixedPointWalk(0, std::int64_t{picture.width()} * 1024 / size.width(), size.width());
        const std::vector<int> rows =
            FixedPointWalk(0, std::int64_t{picture.height()} * 1024 / size.height(), size.height());
        const ImageBuffer small = composer_.RenderSampled(
            static_cast<DisplayComposer::Picture>(SourceIndex()), cols, rows);
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

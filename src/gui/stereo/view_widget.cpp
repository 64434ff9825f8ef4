#include "gui/stereo/view_widget.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QRegion>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "app/image/qimage_bridge.h"
#include "app/shell/open_rules.h"
#include "app/shell/settings.h"
#include "app/shell/stereo_document.h"
#include "core/stereo/display_composer.h"

namespace duplora {

namespace {

// The edge-zone cursors: a fat arrow pointing back or on.
QCursor ArrowCursor(bool next) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygon arrow(
        QList<QPoint>{{2, 16}, {14, 4}, {14, 11}, {29, 11}, {29, 21}, {14, 21}, {14, 28}});
    if (next) {
        for (QPoint& point : arrow) point.setX(31 - point.x());
    }
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(Qt::black);
    p.drawPolygon(arrow);
    p.end();
    return QCursor(pixmap, next ? 29 : 2, 16);
}

}  // namespace

// ---- pane -----------------------------------------------------------------------------------

PaneWidget::PaneWidget(ViewWidget* view, int index)
    : QWidget(view->viewport()), view_(view), index_(index) {
    setObjectName(QStringLiteral("pane%1").arg(index));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    hide();
}

void PaneWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    view_->PaintPane(*this, painter, event->rect());
    view_->PaintSelection(*this, painter);
}

void PaneWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    view_->PanePress(*this, event);
}

void PaneWidget::mouseMoveEvent(QMouseEvent* event) {
    view_->PaneMove(*this, event);
}

void PaneWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    view_->PaneRelease(*this, event);
}

void PaneWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    view_->PaneDoubleClick(*this, event);
}

// ---- view -----------------------------------------------------------------------------------

ViewWidget::ViewWidget(StereoDocument& document, const DisplayComposer& composer,
                       const Settings& settings, QWidget* parent)
    : QAbstractScrollArea(parent),
      document_(document),
      composer_(composer),
      settings_(settings),
      previousCursor_(ArrowCursor(false)),
      nextCursor_(ArrowCursor(true)) {
    setObjectName(QStringLiteral("view"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setSingleStep(kScrollLine);
        // The picture moves when the thumb is let go, not while it is dragged.
        bar->setTracking(false);
        connect(bar, &QScrollBar::valueChanged, this, [this] { ScrollBarMoved(); });
        // The thumb is as long as the pane, but a click beside it moves a fixed page.
        connect(bar, &QScrollBar::actionTriggered, this, [bar](int action) {
            if (action == QAbstractSlider::SliderPageStepAdd)
                bar->setSliderPosition(std::min(bar->maximum(), bar->value() + kScrollPage));
            else if (action == QAbstractSlider::SliderPageStepSub)
                bar->setSliderPosition(std::max(bar->minimum(), bar->value() - kScrollPage));
        });
    }
    for (int i = 0; i < 3; ++i) panes_[i] = new PaneWidget(this, i);
}

DisplayMode ViewWidget::Mode() const {
    return document_.Mode();
}

QSize ViewWidget::PictureSize(int index) const {
    const auto which = static_cast<DisplayComposer::Picture>(index);
    return composer_.Has(which) ? QSize(composer_.Width(which), composer_.Height(which))
                                : QSize(0, 0);
}

QColor ViewWidget::Background() const {
    return QColorFromColourRef(settings_.border.background);
}

QRect ViewWidget::PaneRect(int index) const {
    const PaneWidget* pane = panes_[index];
    return pane->isVisibleTo(const_cast<ViewWidget*>(this)) ? pane->geometry() : QRect();
}

QSize ViewWidget::ScrollPaneClient() const {
    return PaneRect(ScrollPane(Mode())).size();
}

void ViewWidget::Relayout() {
    if (inLayout_) return;
    inLayout_ = true;
    const DisplayMode mode = Mode();
    const std::array<QSize, 3> pictures{PictureSize(0), PictureSize(1), PictureSize(2)};
    // Twice: the first pass may add or take away scroll bars and so change the client area.
    for (int pass = 0; pass < 2; ++pass) {
        const PaneLayout layout = LayoutPanes(mode, settings_.packToCentre, viewport()->size(),
                                              document_.FrameWidth(), pictures);
        for (int i = 0; i < 3; ++i) {
            const QRect r = layout.panes[i];
            const bool shown = PaneShown(mode, i) && !r.isEmpty();
            panes_[i]->setGeometry(shown ? r : QRect(0, 0, 0, 0));
            panes_[i]->setVisible(shown);
        }
        const int scrollPane = ScrollPane(mode);
        const QSize client = layout.panes[scrollPane].size();
        const QSize picture = pictures[scrollPane];
        const ScrollState scroll =
            FitScroll(picture, client, QPoint(document_.ScrollX(), document_.ScrollY()));
        document_.SetScroll(scroll.position.x(), scroll.position.y());
        maximum_ = scroll.maximum;
        pan_ = PanStateFor(picture, client);
        settingBars_ = true;
        horizontalScrollBar()->setRange(0, maximum_.x());
        horizontalScrollBar()->setPageStep(std::max(1, client.width()));
        verticalScrollBar()->setRange(0, maximum_.y());
        verticalScrollBar()->setPageStep(std::max(1, client.height()));
        settingBars_ = false;
        SetScrollBars();
    }
    inLayout_ = false;
    viewport()->update();
    RepaintPanes();
    emit LaidOut();
}

void ViewWidget::ScrollTo(QPoint position) {
    const int x = std::clamp(position.x(), 0, maximum_.x());
    const int y = std::clamp(position.y(), 0, maximum_.y());
    if (x == document_.ScrollX() && y == document_.ScrollY()) return;
    document_.SetScroll(x, y);
    SetScrollBars();
    RepaintPanes();
    emit Scrolled();
}

void ViewWidget::MoveTo(QPoint position) {
    if (position == QPoint(document_.ScrollX(), document_.ScrollY())) return;
    document_.SetScroll(position.x(), position.y());
    SetScrollBars();
    RepaintPanes();
    emit Scrolled();
}

QSize ViewWidget::ScrollPictureSize() const {
    return PictureSize(ScrollPane(Mode()));
}

void ViewWidget::SetScrollBars() {
    settingBars_ = true;
    horizontalScrollBar()->setValue(document_.ScrollX());
    verticalScrollBar()->setValue(document_.ScrollY());
    settingBars_ = false;
}

void ViewWidget::RepaintPanes() {
    for (PaneWidget* pane : panes_)
        if (pane->isVisibleTo(this)) pane->update();
}

void ViewWidget::ScrollBarMoved() {
    if (settingBars_ || inLayout_) return;
    const int x = std::clamp(horizontalScrollBar()->value(), 0, maximum_.x());
    const int y = std::clamp(verticalScrollBar()->value(), 0, maximum_.y());
    if (x == document_.ScrollX() && y == document_.ScrollY()) return;
    document_.SetScroll(x, y);
    RepaintPanes();
    emit Scrolled();
}

void ViewWidget::scrollContentsBy(int, int) {
    // The panes paint from the document's scroll position; nothing moves by itself.
}

void ViewWidget::SetCursorHidden(bool hidden) {
    cursorHidden_ = hidden;
    for (PaneWidget* pane : panes_) UpdateCursor(*pane, pane->mapFromGlobal(QCursor::pos()));
}

void ViewWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (inLayout_) return;
    Relayout();
    emit ClientResized();
}

void ViewWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Background());
    const BorderSet& border = settings_.border;
    if (border.show == 0) return;
    const bool anyPicture = !PictureSize(0).isEmpty() || !PictureSize(1).isEmpty();
    if (!anyPicture) return;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColorFromColourRef(border.middleColour));
    for (int i = 0; i < 3; ++i) {
        const auto bands = BorderBandsAround(PaneRect(i), border);
        if (!bands) continue;
        painter.fillRect(bands->outer, QColorFromColourRef(border.outerColour));
        if (bands->cornerDiameter > 0) {
            const qreal radius = bands->cornerDiameter / 2.0;
            painter.drawRoundedRect(QRectF(bands->middle), radius, radius);
        } else {
            painter.fillRect(bands->middle, QColorFromColourRef(border.middleColour));
        }
        painter.fillRect(bands->inner, QColorFromColourRef(border.innerColour));
    }
}

void ViewWidget::wheelEvent(QWheelEvent* event) {
    // The wheel zooms; the main window decides.
    if (const auto command = WheelCommand(event->angleDelta().y())) emit CommandRequested(*command);
    event->accept();
}

void ViewWidget::PaintPane(const PaneWidget& pane, QPainter& painter, const QRect& dirty) const {
    const int index = pane.Index();
    const QSize size = PictureSize(index);
    const QSize client = pane.size();
    if (size.isEmpty()) {
        painter.fillRect(dirty, Background());
        return;
    }
    QPoint origin = PaintOrigin(size, client, QPoint(document_.ScrollX(), document_.ScrollY()));
    if (Mode() == DisplayMode::Interlace) {
        // Picture lines keep their screen-line parity, whatever the pane's place.
        const int screenY = pane.mapToGlobal(QPoint(0, 0)).y();
        origin.setY(InterlaceOriginY(origin.y(), screenY, size.height()));
    }
    std::optional<int> wrapX;
    if (document_.Panorama()) wrapX = PanoramaSecondCopyX(size.width(), client.width(), origin.x());
    // Only the visible part is made, once; repaints of the same view draw it again.
    panePictures_[index].Paint(painter, dirty, composer_,
                               static_cast<DisplayComposer::Picture>(index), client, origin, wrapX,
                               Background());
}

// ---- mouse ----------------------------------------------------------------------------------

void ViewWidget::UpdateCursor(PaneWidget& pane, QPoint point) {
    CursorInput in;
    in.hasPicture = !PictureSize(pane.Index()).isEmpty();
    in.selectionMode = selection_.Mode();
    in.dragging = dragging_;
    in.hideCursor = cursorHidden_;
    in.zone = dragging_ ? EdgeZone::None : EdgeZoneAt(point, pane.size(), pan_);
    in.pan = pan_;
    switch (ChooseCursor(in)) {
        case PaneCursor::Arrow:
            pane.setCursor(Qt::ArrowCursor);
            break;
        case PaneCursor::Select:
            pane.setCursor(Qt::CrossCursor);
            break;
        case PaneCursor::MoveSelection:
            pane.setCursor(Qt::SizeAllCursor);
            break;
        case PaneCursor::OpenHand:
            pane.setCursor(Qt::OpenHandCursor);
            break;
        case PaneCursor::ClosedHand:
            pane.setCursor(Qt::ClosedHandCursor);
            break;
        case PaneCursor::Previous:
            pane.setCursor(previousCursor_);
            break;
        case PaneCursor::Next:
            pane.setCursor(nextCursor_);
            break;
        case PaneCursor::Hidden:
            pane.setCursor(Qt::BlankCursor);
            break;
    }
}

void ViewWidget::PanePress(PaneWidget& pane, QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (selection_.Active()) {
        ApplySelection(selection_.Press(point, SelectionViewOf(pane.Index())));
        UpdateCursor(pane, point);
        return;
    }
    const EdgeZone zone = EdgeZoneAt(point, pane.size(), pan_);
    const PaneClick click = ClickAction(zone, pan_);
    if (click == PaneClick::StartDrag) {
        dragging_ = true;
        dragFrom_ = event->globalPosition().toPoint();
        UpdateCursor(pane, point);
        return;
    }
    if (const CommandId command = ClickCommand(click)) emit CommandRequested(command);
}

void ViewWidget::PaneMove(PaneWidget& pane, QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (selection_.Active()) {
        ApplySelection(selection_.Move(point, SelectionViewOf(pane.Index())));
        UpdateCursor(pane, point);
        return;
    }
    if (!dragging_) {
        UpdateCursor(pane, point);
        return;
    }
    const QPoint to = event->globalPosition().toPoint();
    const QSize picture = PictureSize(ScrollPane(Mode()));
    const QPoint scroll = DragScroll(QPoint(document_.ScrollX(), document_.ScrollY()), dragFrom_,
                                     to, maximum_, picture, document_.Panorama());
    dragFrom_ = to;
    if (scroll == QPoint(document_.ScrollX(), document_.ScrollY())) return;
    document_.SetScroll(scroll.x(), scroll.y());
    SetScrollBars();
    RepaintPanes();
    emit Scrolled();
}

void ViewWidget::PaneRelease(PaneWidget& pane, QMouseEvent* event) {
    if (selection_.Active()) {
        const QPoint point = event->position().toPoint();
        const SelectionOutcome outcome =
            selection_.Release(point, SelectionViewOf(pane.Index()), settings_.twoStepTrim == 1);
        ApplySelection(outcome);
        UpdateAllCursors();
        // The finished rectangle stays readable for the command that cuts by it.
        if (outcome.command) emit CommandRequested(outcome.command);
        return;
    }
    if (!dragging_) return;
    dragging_ = false;
    UpdateCursor(pane, event->position().toPoint());
}

void ViewWidget::PaneDoubleClick(PaneWidget& pane, QMouseEvent* event) {
    // A quick second click on a rectangle grabs it, like any press.
    if (selection_.Active()) {
        PanePress(pane, event);
        return;
    }
    emit CommandRequested(CmdNextImage);
}

// ---- selections -----------------------------------------------------------------------------

SelectionView ViewWidget::SelectionViewOf(int index) const {
    const PaneWidget& pane = *panes_[index];
    const QSize picture = PictureSize(index);
    QPoint origin =
        PaintOrigin(picture, pane.size(), QPoint(document_.ScrollX(), document_.ScrollY()));
    if (Mode() == DisplayMode::Interlace && !picture.isEmpty()) {
        const int screenY = pane.mapToGlobal(QPoint(0, 0)).y();
        origin.setY(InterlaceOriginY(origin.y(), screenY, picture.height()));
    }
    return SelectionView{origin, document_.ZoomPercent(), picture};
}

void ViewWidget::BeginSelection(duplora::SelectionMode mode, std::optional<QSize> ratio) {
    selection_.Begin(mode, ratio);
    crossHair_.reset();
    RepaintPanes();
    UpdateAllCursors();
}

void ViewWidget::BeginFixedSelection(const SelectionRect& rect, CommandId trigger) {
    selection_.BeginFixed(rect, trigger);
    crossHair_.reset();
    UpdateAllCursors();
}

void ViewWidget::ForwardToSelection(CommandId command) {
    if (!selection_.Active()) return;
    // A fixed rectangle goes to the top-left of what the scrolling pane shows.
    ApplySelection(selection_.Forward(command, SelectionViewOf(ScrollPane(Mode()))));
    UpdateAllCursors();
}

void ViewWidget::ApplySelection(const SelectionOutcome& outcome) {
    bool changed = outcome.repaint || outcome.rectChanged;
    if (outcome.repaint) crossHair_.reset();
    if (outcome.crossHair && outcome.crossHair != crossHair_) {
        crossHair_ = outcome.crossHair;
        changed = true;
    }
    if (!IsDrawingSelection(selection_.Mode())) {
        changed = changed || crossHair_.has_value();
        crossHair_.reset();
    }
    if (outcome.rectChanged)
        emit SelectionStatus(QString::fromStdString(SelectionStatusText(selection_.Rect())));
    else if (outcome.repaint && !selection_.Active())
        emit SelectionStatus(QString());  // given up: the usual texts come back
    if (changed) RepaintPanes();
}

void ViewWidget::UpdateAllCursors() {
    for (PaneWidget* pane : panes_) UpdateCursor(*pane, pane->mapFromGlobal(QCursor::pos()));
}

void ViewWidget::PaintSelection(const PaneWidget& pane, QPainter& painter) const {
    if (!selection_.Active() || PictureSize(pane.Index()).isEmpty()) return;
    const auto rect = selection_.PaneRect(SelectionViewOf(pane.Index()));
    if (!rect && !crossHair_) return;
    // The outline and the cross-hair as one set of one-pixel lines, each pixel inverted once:
    // the band stays visible on any picture, also where the lines cross.
    QRegion lines;
    if (rect) {
        const SelectionRect r = rect->Ordered();
        const int w = r.x2 - r.x1 + 1;
        const int h = r.y2 - r.y1 + 1;
        lines += QRect(r.x1, r.y1, w, 1);
        lines += QRect(r.x1, r.y2, w, 1);
        lines += QRect(r.x1, r.y1, 1, h);
        lines += QRect(r.x2, r.y1, 1, h);
    }
    if (crossHair_) {
        lines += QRect(0, crossHair_->y(), pane.width(), 1);
        lines += QRect(crossHair_->x(), 0, 1, pane.height());
    }
    painter.save();
    painter.setClipRegion(lines);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.fillRect(pane.rect(), Qt::white);
    painter.restore();
}

}  // namespace duplora

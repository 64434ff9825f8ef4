#include "gui/flip/flip_windows.h"

#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLFunctions_2_0>
#include <QPainter>
#include <QWheelEvent>

#include "app/image/qimage_bridge.h"

namespace duplora {

// ---- mouse ------------------------------------------------------------------------------------

void FlipMouse::Press(QMouseEvent* event) {
    last_ = event->position().toPoint();
    buttons_ = event->buttons();
    if (event->button() == Qt::LeftButton) input_.LeftClick();
}

void FlipMouse::Move(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const QPoint delta = at - last_;
    last_ = at;
    if (event->buttons() & Qt::LeftButton) {
        if (!delta.isNull()) input_.LeftDrag(delta);
    } else if (event->buttons() & Qt::RightButton) {
        if (delta.y() != 0) input_.RightDrag(delta.y() < 0 ? 1 : -1);
    }
}

void FlipMouse::DoubleClick(QMouseEvent* event) {
    input_.DoubleClick(event->button());
}

// ---- the full-screen output -------------------------------------------------------------------

FlipScreenWindow::FlipScreenWindow(FlipInput& input, const QString& title)
    : QWidget(nullptr), input_(input), mouse_(input) {
    setObjectName(title);
    setWindowTitle(title);
    setFocusPolicy(Qt::StrongFocus);
    setWindowFlag(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::BlankCursor);
}

FlipScreenWindow::~FlipScreenWindow() = default;

void FlipScreenWindow::SetFrames(ImageBuffer left, ImageBuffer right) {
    frames_[0] = std::move(left);
    frames_[1] = std::move(right);
    MakeSurface();
}

void FlipScreenWindow::SetOverlay(std::vector<QString> lines) {
    overlay_ = std::move(lines);
}

void FlipScreenWindow::MakeSurface() {
    if (!frames_[0] || !frames_[1]) {
        surface_ = QImage();
        shown_ = QImage();
        update();
        return;
    }
    const int w = frames_[0].Width(), h = frames_[0].Height();
    surface_ = QImage(2 * w, h, QImage::Format_RGB32);
    surface_.fill(Qt::black);
    QPainter painter(&surface_);
    QFont font(QStringLiteral("Sans"), 11, QFont::Bold);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (int eye = 0; eye < 2; ++eye) {
        painter.drawImage(eye * w, 0, QImageFromImageBuffer(frames_[eye]));
        // Every line twice, black and one pixel further white, for a shadow.
        for (std::size_t i = 0; i < overlay_.size(); ++i) {
            const int y = 2 + int(i) * (metrics.height() + 2) + metrics.ascent();
            painter.setPen(Qt::black);
            painter.drawText(eye * w + 2, y, overlay_[i]);
            painter.setPen(Qt::white);
            painter.drawText(eye * w + 3, y + 1, overlay_[i]);
        }
    }
    painter.end();
    ++surfacesMade_;
    shown_ = QImage();
    update();
}

bool FlipScreenWindow::event(QEvent* event) {
    // Every key is the output's own: none may end as a shortcut of the main window.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void FlipScreenWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    shown_ = QImage();
}

void FlipScreenWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (surface_.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // Scaled to the window once; every paint after that is a plain copy.
    if (shown_.size() != size())
        shown_ = surface_.size() == size()
                     ? surface_
                     : surface_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(0, 0, shown_);
}

void FlipScreenWindow::keyPressEvent(QKeyEvent* event) {
    input_.Key(event->key(), event->modifiers());
}

void FlipScreenWindow::mousePressEvent(QMouseEvent* event) {
    mouse_.Press(event);
}

void FlipScreenWindow::mouseMoveEvent(QMouseEvent* event) {
    mouse_.Move(event);
}

void FlipScreenWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    mouse_.DoubleClick(event);
}

void FlipScreenWindow::wheelEvent(QWheelEvent* event) {
    input_.Wheel(event->angleDelta().y());
}

void FlipScreenWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    input_.Closed();
}

// ---- the OpenGL stereo window ------------------------------------------------------------------

QPoint DrawGlEye(EyeRenderer& renderer, EyeRenderer::Eye eye, const QRect& viewport, QSize screen,
                 const GlFrame& frame) {
    const QSize texture = renderer.TextureSize(eye);
    const int zoom = std::max(1, frame.zoomPercent);
    const PixelSize picture{texture.width() * zoom / 100, texture.height() * zoom / 100};
    const PixelSize room{screen.width(), screen.height()};
    const int x = ClampOrWrap(frame.scrollX, picture.width, room.width, frame.panorama);
    const int y = ClampOrWrap(frame.scrollY, picture.height, room.height, false);
    const EyeShift sx = SplitOffset(frame.dx, zoom);
    const EyeShift sy = SplitOffset(frame.dy, zoom);
    const int shiftX = eye == EyeRenderer::kLeft ? sx.left : -sx.right;
    const int shiftY = eye == EyeRenderer::kLeft ? sy.left : -sy.right;
    renderer.Draw(eye, viewport, screen, FramePieces(picture, room, x, y, frame.panorama), zoom,
                  shiftX, shiftY, frame.panorama);
    return {x, y};
}

StereoGlWindow::StereoGlWindow(FlipInput& input, const QSurfaceFormat& format)
    : input_(input), mouse_(input) {
    setFormat(format);
    setTitle(QStringLiteral("OpenGL DPL"));
}

StereoGlWindow::~StereoGlWindow() {
    if (context()) {
        makeCurrent();
        renderer_.Release();
        doneCurrent();
    }
}

void StereoGlWindow::initializeGL() {
    renderer_.Initialise();
    reload_ = true;
}

void StereoGlWindow::paintGL() {
    if (reload_ && frame_.left && frame_.right) {
        renderer_.Load(EyeRenderer::kLeft, *frame_.left, true);
        renderer_.Load(EyeRenderer::kRight, *frame_.right, true);
        reload_ = false;
    }
    QOpenGLFunctions_2_0* gl = renderer_.Gl();
    if (!gl) return;
    const qreal ratio = devicePixelRatio();
    const QRect viewport(0, 0, int(width() * ratio), int(height() * ratio));
    const QSize screen = viewport.size();
    std::vector<QString> help;
    if (help_)
        for (const std::string& line : FlipHelpLines(PageFlipOutput::OpenGl))
            help.push_back(QString::fromStdString(line));
    const bool stereo = format().stereo();
    gl->glDrawBuffer(stereo ? GL_BACK_LEFT : GL_BACK);
    scroll_ = DrawGlEye(renderer_, EyeRenderer::kLeft, viewport, screen, frame_);
    if (help_) renderer_.DrawText(viewport, help, false);
    if (stereo) {
        gl->glDrawBuffer(GL_BACK_RIGHT);
        DrawGlEye(renderer_, EyeRenderer::kRight, viewport, screen, frame_);
        if (help_) renderer_.DrawText(viewport, help, false);
    }
}

void StereoGlWindow::keyPressEvent(QKeyEvent* event) {
    input_.Key(event->key(), event->modifiers());
}

void StereoGlWindow::mousePressEvent(QMouseEvent* event) {
    mouse_.Press(event);
}

void StereoGlWindow::mouseMoveEvent(QMouseEvent* event) {
    mouse_.Move(event);
}

void StereoGlWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    mouse_.DoubleClick(event);
}

void StereoGlWindow::wheelEvent(QWheelEvent* event) {
    input_.Wheel(event->angleDelta().y());
}

bool StereoGlWindow::event(QEvent* event) {
    if (event->type() == QEvent::Close) input_.Closed();
    return QOpenGLWindow::event(event);
}

}  // namespace duplora

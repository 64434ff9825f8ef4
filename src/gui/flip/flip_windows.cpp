#include "gui/flip/flip_windows.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLFunctions_2_1>
#include <QWheelEvent>

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
    : QOpenGLWidget(nullptr), input_(input), mouse_(input) {
    setObjectName(title);
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::StrongFocus);
    setWindowFlag(Qt::FramelessWindowHint);
    setWindowModality(Qt::ApplicationModal);
    setCursor(Qt::BlankCursor);
}

FlipScreenWindow::~FlipScreenWindow() {
    if (isValid()) {
        makeCurrent();
        renderer_.Release();
        doneCurrent();
    }
}

void FlipScreenWindow::SetFrames(ImageBuffer left, ImageBuffer right) {
    frames_[0] = std::move(left);
    frames_[1] = std::move(right);
    pending_ = true;
    update();
}

void FlipScreenWindow::SetOverlay(std::vector<QString> lines) {
    overlay_ = std::move(lines);
    update();
}

void FlipScreenWindow::initializeGL() {
    renderer_.Initialise();
    pending_ = true;
}

void FlipScreenWindow::paintGL() {
    if (pending_) {
        for (int eye = 0; eye < 2; ++eye)
            if (frames_[eye]) renderer_.Load(EyeRenderer::Eye(eye), frames_[eye], false);
        pending_ = false;
    }
    // The double-width surface: the left eye's frame, then the right eye's one screen width
    // further right, each at its screen size; the window shows the surface on its width.
    const qreal ratio = devicePixelRatioF();
    const int w = int(width() * ratio), h = int(height() * ratio);
    const QSize screen = frames_[0] ? QSize(frames_[0].Width(), frames_[0].Height()) : QSize();
    const std::vector<FramePiece> whole{{0, 0, screen.width(), screen.height(), 0, 0}};
    for (int eye = 0; eye < 2; ++eye) {
        const QRect half(eye * w / 2, 0, w / 2 - (eye == 0 ? 0 : 0), h);
        renderer_.Draw(EyeRenderer::Eye(eye), half, screen, whole);
        if (!overlay_.empty()) renderer_.DrawText(half, overlay_, true);
    }
    ++framesDrawn_;
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

QPoint DrawGlEye(EyeRenderer& renderer, EyeRenderer::Eye eye, const QRect& viewport,
                 QSize screen, const GlFrame& frame) {
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
    QOpenGLFunctions_2_1* gl = renderer_.Gl();
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

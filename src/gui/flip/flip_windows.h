// The windows of the page-flipping outputs. FlipScreenWindow is the full-screen output of
// the double-width and Win3D kinds: both eyes side by side on a surface twice the screen's
// width, shown on the screen it covers; it needs no OpenGL, so it works on any display.
// StereoGlWindow is the OpenGL quad-buffered window: the left eye into the left back buffer, the
// right eye into the right one. Both only draw and report input; the page-flipping controller
// decides what the input does.
#pragma once

#include <QImage>
#include <QOpenGLWindow>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <vector>

#include "app/flip/flip_rules.h"
#include "gui/flip/eye_renderer.h"

namespace duplora {

// What both windows report.
class FlipInput {
  public:
    virtual ~FlipInput() = default;
    virtual void Key(int key, Qt::KeyboardModifiers modifiers) = 0;
    virtual void LeftDrag(QPoint delta) = 0;
    virtual void RightDrag(int upward) = 0;  // > 0 moved up, < 0 down
    virtual void DoubleClick(Qt::MouseButton button) = 0;
    virtual void Wheel(int angle) = 0;
    virtual void LeftClick() = 0;
    virtual void Closed() = 0;
};

// Mouse and key handling common to both windows.
class FlipMouse {
  public:
    explicit FlipMouse(FlipInput& input) : input_(input) {}
    void Press(QMouseEvent* event);
    void Move(QMouseEvent* event);
    void DoubleClick(QMouseEvent* event);

  private:
    FlipInput& input_;
    QPoint last_;
    Qt::MouseButtons buttons_;
};

class FlipScreenWindow : public QWidget {
  public:
    FlipScreenWindow(FlipInput& input, const QString& title);
    ~FlipScreenWindow() override;

    // The eyes' frames, screen-sized. The double-width surface is made from them here, once
    // per change; painting only copies it.
    void SetFrames(ImageBuffer left, ImageBuffer right);
    // The overlay lines drawn on both halves; empty shows none.
    void SetOverlay(std::vector<QString> lines);
    const ImageBuffer& Frame(int eye) const { return frames_[eye]; }
    // The left eye's frame, and one screen width further right the right eye's, with the
    // overlays: what a stereo display driver or a 3D monitor takes.
    const QImage& Surface() const { return surface_; }
    int SurfacesMade() const { return surfacesMade_; }

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void MakeSurface();

    FlipInput& input_;
    FlipMouse mouse_;
    std::array<ImageBuffer, 2> frames_;
    std::vector<QString> overlay_;
    QImage surface_;
    QImage shown_;  // the surface at the window's size
    int surfacesMade_ = 0;
};

// What the OpenGL window draws: both views as textures, how they lie on the screen.
struct GlFrame {
    const ImageBuffer* left = nullptr;
    const ImageBuffer* right = nullptr;
    int zoomPercent = 100;
    int scrollX = 0, scrollY = 0;
    int dx = 0, dy = 0;
    bool panorama = false;
};

class StereoGlWindow : public QOpenGLWindow {
  public:
    StereoGlWindow(FlipInput& input, const QSurfaceFormat& format);
    ~StereoGlWindow() override;

    // The views changed: loaded as textures at the next paint.
    void ReloadTextures() { reload_ = true; }
    void SetFrame(const GlFrame& frame) { frame_ = frame; }
    void ToggleHelp() { help_ = !help_; }
    bool HelpShown() const { return help_; }
    // The scroll position as it is after clamping or wrapping by the last frame.
    QPoint Scroll() const { return scroll_; }

  protected:
    void initializeGL() override;
    void paintGL() override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

  private:
    FlipInput& input_;
    FlipMouse mouse_;
    EyeRenderer renderer_;
    GlFrame frame_;
    bool reload_ = true;
    bool help_ = false;
    QPoint scroll_;
};

// Draws one eye of the OpenGL output into `viewport`: the view scaled by the zoom, the offset
// split between the eyes, scrolled, wrapped in panorama mode. Gives the valid scroll position.
QPoint DrawGlEye(EyeRenderer& renderer, EyeRenderer::Eye eye, const QRect& viewport, QSize screen,
                 const GlFrame& frame);

}  // namespace duplora

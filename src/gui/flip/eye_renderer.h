// Draws the eyes' pictures with OpenGL, for every page-flipping output and for the tests,
// which render into offscreen framebuffers: one texture per eye, loaded when the picture
// changes, and textured quads for each frame. Needs a current compatibility context.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <memory>
#include <vector>

#include "app/flip/flip_rules.h"
#include "core/image/image_buffer.h"

class QOpenGLFunctions_2_0;

namespace duplora {

class EyeRenderer {
  public:
    enum Eye { kLeft = 0, kRight = 1 };

    EyeRenderer();
    ~EyeRenderer();
    // Takes the functions of the current context; false when it offers no OpenGL 2.1.
    bool Initialise();
    // Releases the textures; the same context must be current.
    void Release();

    // The picture of `eye` (24 bits) becomes its texture: uploaded here, once, not per frame.
    // `smooth` filters linearly (for scaled drawing), otherwise the nearest texel is taken.
    bool Load(Eye eye, const ImageBuffer& picture, bool smooth);
    QSize TextureSize(Eye eye) const { return sizes_[eye]; }
    int Uploads() const { return uploads_; }

    // Clears the viewport (x, y, w, h in framebuffer pixels) to black and draws `pieces` of
    // the eye's texture into it. The pieces' source rectangles are in picture pixels of a
    // picture that is the texture scaled by `zoomPercent`, shifted by (shiftX, shiftY) picture
    // pixels; their screen rectangles are in pixels of a screen `screen` large, mapped onto
    // the viewport. With `wrap` the texture repeats across.
    void Draw(Eye eye, const QRect& viewport, QSize screen, const std::vector<FramePiece>& pieces,
              int zoomPercent = 100, int shiftX = 0, int shiftY = 0, bool wrap = false);
    // Text lines in the top-left corner of the viewport, each twice: black at (2, 2) and
    // white at (3, 3) for a shadow, or black only.
    void DrawText(const QRect& viewport, const std::vector<QString>& lines, bool shadowed);

    QOpenGLFunctions_2_0* Gl() const { return gl_; }

  private:
    QOpenGLFunctions_2_0* gl_ = nullptr;
    std::array<unsigned, 2> textures_{};
    std::array<QSize, 2> sizes_{};
    int uploads_ = 0;
    unsigned textTexture_ = 0;
};

}  // namespace duplora

#include "gui/flip/eye_renderer.h"

#include <QFont>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFunctions_2_0>
#include <QOpenGLVersionFunctionsFactory>
#include <QPainter>
#include <QRect>

namespace duplora {

EyeRenderer::EyeRenderer() = default;
EyeRenderer::~EyeRenderer() = default;

bool EyeRenderer::Initialise() {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!context || context->isOpenGLES()) return false;
    gl_ = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_2_0>(context);
    return gl_ && gl_->initializeOpenGLFunctions();
}

void EyeRenderer::Release() {
    if (!gl_) return;
    for (unsigned& texture : textures_)
        if (texture) gl_->glDeleteTextures(1, &texture), texture = 0;
    if (textTexture_) gl_->glDeleteTextures(1, &textTexture_), textTexture_ = 0;
    sizes_ = {};
}

bool EyeRenderer::Load(Eye eye, const ImageBuffer& picture, bool smooth) {
    if (!gl_ || !picture || picture.BitCount() != 24) return false;
    unsigned& texture = textures_[eye];
    if (!texture) gl_->glGenTextures(1, &texture);
    gl_->glBindTexture(GL_TEXTURE_2D, texture);
    // The stored rows go in as they are: bottom row first, B,G,R, padded to 4 bytes.
    gl_->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl_->glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    gl_->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, picture.Width(), picture.Height(), 0, GL_BGR,
                      GL_UNSIGNED_BYTE, picture.Pixels());
    const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    const GLfloat black[4] = {0, 0, 0, 1};
    gl_->glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, black);
    sizes_[eye] = QSize(picture.Width(), picture.Height());
    ++uploads_;
    return gl_->glGetError() == GL_NO_ERROR;
}

void EyeRenderer::Draw(Eye eye, const QRect& viewport, QSize screen,
                       const std::vector<FramePiece>& pieces, int zoomPercent, int shiftX,
                       int shiftY, bool wrap) {
    if (!gl_) return;
    gl_->glViewport(viewport.x(), viewport.y(), viewport.width(), viewport.height());
    gl_->glDisable(GL_DEPTH_TEST);
    gl_->glClearColor(0, 0, 0, 1);
    gl_->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const QSize texture = sizes_[eye];
    if (!textures_[eye] || texture.isEmpty() || screen.isEmpty()) return;

    // Screen pixels from the top-left; OpenGL counts from the bottom.
    gl_->glMatrixMode(GL_PROJECTION);
    gl_->glLoadIdentity();
    gl_->glOrtho(0, screen.width(), screen.height(), 0, -1, 1);
    gl_->glMatrixMode(GL_MODELVIEW);
    gl_->glLoadIdentity();
    gl_->glEnable(GL_TEXTURE_2D);
    gl_->glBindTexture(GL_TEXTURE_2D, textures_[eye]);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap ? GL_REPEAT : GL_CLAMP_TO_BORDER);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
    gl_->glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    // The picture is the texture scaled by the zoom: a picture pixel is 100 / zoom texels.
    const double scale = 100.0 / std::max(1, zoomPercent);
    const double tw = texture.width(), th = texture.height();
    gl_->glBegin(GL_QUADS);
    for (const FramePiece& p : pieces) {
        const double u0 = (p.sourceX + shiftX) * scale / tw;
        const double u1 = (p.sourceX + shiftX + p.width) * scale / tw;
        // Texture rows run from the bottom of the picture.
        const double v0 = 1.0 - (p.sourceY + shiftY) * scale / th;
        const double v1 = 1.0 - (p.sourceY + shiftY + p.height) * scale / th;
        const double x0 = p.screenX, x1 = p.screenX + p.width;
        const double y0 = p.screenY, y1 = p.screenY + p.height;
        gl_->glTexCoord2d(u0, v0), gl_->glVertex2d(x0, y0);
        gl_->glTexCoord2d(u1, v0), gl_->glVertex2d(x1, y0);
        gl_->glTexCoord2d(u1, v1), gl_->glVertex2d(x1, y1);
        gl_->glTexCoord2d(u0, v1), gl_->glVertex2d(x0, y1);
    }
    gl_->glEnd();
    gl_->glDisable(GL_TEXTURE_2D);
}

void EyeRenderer::DrawText(const QRect& viewport, const std::vector<QString>& lines,
                           bool shadowed) {
    if (!gl_ || lines.empty() || viewport.isEmpty()) return;
    // The lines are drawn by QPainter into a picture with a transparent background, which is
    // laid over the frame.
    QFont font(QStringLiteral("Sans"), 11, QFont::Bold);
    const int lineHeight = QFontMetrics(font).height() + 2;
    QImage text(viewport.width(), std::min(viewport.height(), 8 + lineHeight * int(lines.size())),
                QImage::Format_RGBA8888);
    text.fill(Qt::transparent);
    {
        QPainter painter(&text);
        painter.setFont(font);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int y = 2 + lineHeight * int(i) + QFontMetrics(font).ascent();
            painter.setPen(Qt::black);
            painter.drawText(2, y, lines[i]);
            if (shadowed) {
                painter.setPen(Qt::white);
                painter.drawText(3, y + 1, lines[i]);
            }
        }
    }
    text = text.mirrored();  // OpenGL rows run from the bottom
    if (!textTexture_) gl_->glGenTextures(1, &textTexture_);
    gl_->glBindTexture(GL_TEXTURE_2D, textTexture_);
    gl_->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl_->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, text.width(), text.height(), 0, GL_RGBA,
                      GL_UNSIGNED_BYTE, text.constBits());
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl_->glViewport(viewport.x(), viewport.y(), viewport.width(), viewport.height());
    gl_->glMatrixMode(GL_PROJECTION);
    gl_->glLoadIdentity();
    gl_->glOrtho(0, viewport.width(), viewport.height(), 0, -1, 1);
    gl_->glMatrixMode(GL_MODELVIEW);
    gl_->glLoadIdentity();
    gl_->glEnable(GL_BLEND);
    gl_->glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl_->glEnable(GL_TEXTURE_2D);
    gl_->glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    gl_->glBegin(GL_QUADS);
    gl_->glTexCoord2d(0, 1), gl_->glVertex2d(0, 0);
    gl_->glTexCoord2d(1, 1), gl_->glVertex2d(text.width(), 0);
    gl_->glTexCoord2d(1, 0), gl_->glVertex2d(text.width(), text.height());
    gl_->glTexCoord2d(0, 0), gl_->glVertex2d(0, text.height());
    gl_->glEnd();
    gl_->glDisable(GL_TEXTURE_2D);
    gl_->glDisable(GL_BLEND);
}

}  // namespace duplora

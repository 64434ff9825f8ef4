// The eyes' frames as OpenGL draws them, read back from offscreen framebuffers and held pixel
// for pixel against the composed views. OpenGL is there on an X display (CTest runs these
// under a virtual one); without it they skip.
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions_2_0>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "app/flip/eye_frames.h"
#include "core/stereo/display_composer.h"
#include "gui/flip/eye_renderer.h"
#include "gui/flip/flip_windows.h"
#include "support/test_support.h"

namespace duplora {
namespace {

class FlipGl : public ::testing::Test {
  protected:
    void SetUp() override {
        context_ = std::make_unique<QOpenGLContext>();
        surface_ = std::make_unique<QOffscreenSurface>();
        if (!context_->create()) GTEST_SKIP() << "no OpenGL on this display";
        surface_->setFormat(context_->format());
        surface_->create();
        if (!context_->makeCurrent(surface_.get())) GTEST_SKIP() << "no OpenGL surface";
        ASSERT_TRUE(renderer_.Initialise());
    }
    void TearDown() override {
        if (context_ && context_->isValid() && QOpenGLContext::currentContext()) {
            renderer_.Release();
            fbo_.reset();
            context_->doneCurrent();
        }
    }
    // Binds a framebuffer of `size` to draw into.
    QRect Target(QSize size) {
        fbo_ = std::make_unique<QOpenGLFramebufferObject>(size);
        EXPECT_TRUE(fbo_->bind());
        return {QPoint(0, 0), size};
    }
    // What the framebuffer holds, as a 24-bit picture.
    ImageBuffer ReadBack() {
        const QSize size = fbo_->size();
        ImageBuffer picture = CreateImage(size.width(), size.height(), 24);
        renderer_.Gl()->glPixelStorei(GL_PACK_ALIGNMENT, 4);
        renderer_.Gl()->glReadPixels(0, 0, size.width(), size.height(), GL_BGR, GL_UNSIGNED_BYTE,
                                     picture.Pixels());
        return picture;
    }
    // Every pixel of the views distinct enough to catch a shifted row or column.
    static ImageBuffer Pattern(int w, int h, std::uint32_t salt) {
        return test::MakeImage(w, h, [salt](int x, int y) {
            return ((x * 7 + salt) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 | ((x + y * 3) & 0xFF);
        });
    }

    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOffscreenSurface> surface_;
    std::unique_ptr<QOpenGLFramebufferObject> fbo_;
    EyeRenderer renderer_;
};

// The full-screen outputs: each eye's frame is its composed view at the scroll position.
TEST_F(FlipGl, DoubleWidthEyesAreTheComposedViewsScrolledCentredOrWrapped) {
    const ImageBuffer left = Pattern(300, 200, 0), right = Pattern(300, 200, 90);
    struct Case {
        const char* name;
        QSize screen;
        int dx, dy, scrollX, scrollY;
        bool panorama;
    };
    const Case cases[] = {{"scrolled", {256, 160}, 6, -4, 10, 5, false},
                          {"centred", {400, 260}, -3, 2, 0, 0, false},
                          {"panorama", {256, 160}, 5, 0, 250, 30, true}};
    for (const Case& c : cases) {
        CompositionInput in;
        in.first = &left;
        in.second = &right;
        in.dx = c.dx;
        in.dy = c.dy;
        in.panorama = c.panorama;
        DisplayComposer composer;
        ASSERT_TRUE(composer.ComposeForDisplay(in));
        const PixelSize screen{c.screen.width(), c.screen.height()};
        for (auto which : {DisplayComposer::kFirstView, DisplayComposer::kSecondView}) {
            const ImageBuffer frame =
                BuildEyeFrame(composer, which, screen, c.scrollX, c.scrollY, c.panorama);
            ASSERT_TRUE(frame);
            // The frame is the composed view where it lies on the screen, black elsewhere.
            const PixelSize picture{composer.Width(which), composer.Height(which)};
            ImageBuffer expected = CreateImage(screen.width, screen.height, 24);
            for (const FramePiece& p :
                 FramePieces(picture, screen, c.scrollX, c.scrollY, c.panorama)) {
                const ImageBuffer part =
                    composer.Render(which, p.sourceX, p.sourceY, p.width, p.height);
                for (int y = 0; y < p.height; ++y)
                    std::memcpy(expected.Line(p.screenY + y) + 3 * p.screenX, part.Line(y),
                                3 * p.width);
            }
            EXPECT_TRUE(test::SamePixels(frame, expected, std::string(c.name) + "-frame"));

            const EyeRenderer::Eye eye =
                which == DisplayComposer::kFirstView ? EyeRenderer::kLeft : EyeRenderer::kRight;
            ASSERT_TRUE(renderer_.Load(eye, frame, false));
            const QRect target = Target(c.screen);
            renderer_.Draw(eye, target, c.screen, {{0, 0, screen.width, screen.height, 0, 0}});
            EXPECT_TRUE(test::SamePixels(ReadBack(), expected, std::string(c.name) + "-drawn"));
        }
    }
}

// The OpenGL output: the views are the textures, the offset split between the eyes.
TEST_F(FlipGl, OpenGlEyesShowTheViewsWithTheOffsetSplitBetweenThem) {
    const ImageBuffer left = Pattern(300, 200, 0), right = Pattern(300, 200, 90);
    ASSERT_TRUE(renderer_.Load(EyeRenderer::kLeft, left, true));
    ASSERT_TRUE(renderer_.Load(EyeRenderer::kRight, right, true));
    const QSize screen(256, 160);
    GlFrame frame;
    frame.left = &left;
    frame.right = &right;
    frame.scrollX = 20;
    frame.scrollY = 10;

    // Without an offset each eye is its composed view at the scroll position.
    CompositionInput in;
    in.first = &left;
    in.second = &right;
    DisplayComposer composer;
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    for (auto eye : {EyeRenderer::kLeft, EyeRenderer::kRight}) {
        const QRect target = Target(screen);
        EXPECT_EQ(DrawGlEye(renderer_, eye, target, screen, frame), QPoint(20, 10));
        const auto which =
            eye == EyeRenderer::kLeft ? DisplayComposer::kFirstView : DisplayComposer::kSecondView;
        EXPECT_TRUE(test::SamePixels(ReadBack(), composer.Render(which, 20, 10, 256, 160),
                                     eye == EyeRenderer::kLeft ? "gl-left" : "gl-right"));
    }

    // An offset of 7 moves the left eye's window by 3 and the right eye's by 4 the other way.
    frame.dx = 7;
    frame.dy = -2;
    const QRect target = Target(screen);
    DrawGlEye(renderer_, EyeRenderer::kLeft, target, screen, frame);
    const ImageBuffer drawnLeft = ReadBack();
    DrawGlEye(renderer_, EyeRenderer::kRight, target, screen, frame);
    const ImageBuffer drawnRight = ReadBack();
    for (int y = 0; y < 160; y += 7)
        for (int x = 0; x < 256; x += 5) {
            ASSERT_EQ(test::PixelAt(drawnLeft, x, y), test::PixelAt(left, x + 23, y + 9))
                << x << "," << y;
            ASSERT_EQ(test::PixelAt(drawnRight, x, y), test::PixelAt(right, x + 16, y + 11))
                << x << "," << y;
        }
}

class NoInput : public FlipInput {
  public:
    void Key(int, Qt::KeyboardModifiers) override {}
    void LeftDrag(QPoint) override {}
    void RightDrag(int) override {}
    void DoubleClick(Qt::MouseButton) override {}
    void Wheel(int) override {}
    void LeftClick() override {}
    void Closed() override {}
};

// The OpenGL window itself, on a display without stereo: it draws the left eye into its
// one back buffer.
TEST(FlipGlWindow, DrawsTheLeftEyeWhereThereIsNoStereo) {
    QOpenGLContext probe;
    if (!probe.create()) GTEST_SKIP() << "no OpenGL on this display";
    const ImageBuffer left = test::MakeImage(300, 200, [](int x, int y) {
        return std::uint32_t(x & 0xFF) << 16 | std::uint32_t(y & 0xFF) << 8 | 0x40;
    });
    const ImageBuffer right = test::MakeImage(300, 200, [](int, int) { return 0x102030u; });
    NoInput input;
    StereoGlWindow window(input, probe.format());
    window.resize(256, 160);
    GlFrame frame;
    frame.left = &left;
    frame.right = &right;
    frame.scrollX = 30;
    frame.scrollY = 70;  // 40 rows past the end: clamped
    window.SetFrame(frame);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) GTEST_SKIP() << "the window is not shown";
    const QImage shown = window.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(256, 160));
    EXPECT_EQ(window.Scroll(), QPoint(30, 40));
    for (int y = 0; y < 160; y += 9)
        for (int x = 0; x < 256; x += 11)
            ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, test::PixelAt(left, x + 30, y + 40))
                << x << "," << y;
}

}  // namespace
}  // namespace duplora

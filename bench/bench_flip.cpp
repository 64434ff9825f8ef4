// The page-flipping outputs for a 6000 × 4000 pair at screen size (1920 × 1080): the cost of
// one frame — both eyes of the OpenGL output, or the double-width output's paint — against
// a plain upload and draw of one screen of pixels in the same run (counter plain_ratio).
// The pictures are loaded once per change; the frames upload nothing (counter uploads).
// OpenGL runs on the display's renderer (Mesa's software one under Xvfb: run this program
// under xvfb-run); without OpenGL the OpenGL benchmarks report an error and the others run.
#include <QApplication>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions_2_0>

#include <chrono>
#include <memory>

#include "app/flip/eye_frames.h"
#include "bench_support.h"
#include "core/image/resample.h"
#include "core/stereo/display_composer.h"
#include "gui/flip/eye_renderer.h"
#include "gui/flip/flip_windows.h"

namespace duplora::bench {
namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kPairWidth = 6000;
constexpr int kPairHeight = 4000;
// The zoom that fits 6000 × 4000 into 1920 × 1080 by its height.
constexpr int kFitZoom = kScreenHeight * 100 / kPairHeight;

struct Gl {
    QOpenGLContext context;
    QOffscreenSurface surface;
    std::unique_ptr<QOpenGLFramebufferObject> target;
    EyeRenderer renderer;
    bool ok = false;
};
Gl* gl = nullptr;

const ImageBuffer& LeftView() {
    static const ImageBuffer view = MakeView(kPairWidth, kPairHeight, 1);
    return view;
}
const ImageBuffer& RightView() {
    static const ImageBuffer view = MakeView(kPairWidth, kPairHeight, 2);
    return view;
}

// Times `frame` with the renderer's queue drained each time, and reports it against the
// plain upload and draw measured just before.
double plainSeconds = 0;

template <typename F>
void TimeFrames(benchmark::State& state, F frame) {
    const int uploadsBefore = gl ? gl->renderer.Uploads() : 0;
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        frame();
        const auto end = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double perFrame = total / double(state.iterations());
    if (plainSeconds > 0) state.counters["plain_ratio"] = perFrame / plainSeconds;
    if (gl) state.counters["uploads"] = gl->renderer.Uploads() - uploadsBefore;
}

void BM_PlainUploadAndDraw(benchmark::State& state) {
    if (!gl || !gl->ok) return state.SkipWithError("no OpenGL");
    const ImageBuffer screen = MakeView(kScreenWidth, kScreenHeight, 3);
    const QSize size(kScreenWidth, kScreenHeight);
    const std::vector<FramePiece> whole{{0, 0, kScreenWidth, kScreenHeight, 0, 0}};
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        gl->renderer.Load(EyeRenderer::kLeft, screen, false);
        gl->renderer.Draw(EyeRenderer::kLeft, QRect(QPoint(0, 0), size), size, whole);
        gl->renderer.Gl()->glFinish();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    plainSeconds = total / double(state.iterations());
}

// range(0): the texture edge the views were fitted into when the output started (0: the
// full 6000 × 4000 views as textures).
void BM_OpenGlFrame(benchmark::State& state) {
    if (!gl || !gl->ok) return state.SkipWithError("no OpenGL");
    const int edge = int(state.range(0));
    ImageBuffer fittedLeft, fittedRight;
    if (edge > 0) {
        const PixelSize size = FitIntoTexture({kPairWidth, kPairHeight}, edge);
        fittedLeft = ResizeImage(LeftView(), size.width, size.height);
        fittedRight = ResizeImage(RightView(), size.width, size.height);
    }
    const ImageBuffer& left = edge > 0 ? fittedLeft : LeftView();
    const ImageBuffer& right = edge > 0 ? fittedRight : RightView();
    // A change: both views become textures, once.
    gl->renderer.Load(EyeRenderer::kLeft, left, true);
    gl->renderer.Load(EyeRenderer::kRight, right, true);
    GlFrame frame;
    frame.left = &left;
    frame.right = &right;
    frame.zoomPercent = kFitZoom * kPairWidth / left.Width();
    frame.dx = 14;
    const QSize size(kScreenWidth, kScreenHeight);
    const QRect viewport(QPoint(0, 0), size);
    TimeFrames(state, [&] {
        DrawGlEye(gl->renderer, EyeRenderer::kLeft, viewport, size, frame);
        DrawGlEye(gl->renderer, EyeRenderer::kRight, viewport, size, frame);
        gl->renderer.Gl()->glFinish();
    });
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

// The composed eye frames of the pair at the fitted zoom, as a change makes them.
std::array<ImageBuffer, 2> ComposedFrames() {
    CompositionInput in;
    in.first = &LeftView();
    in.second = &RightView();
    in.zoomPercent = kFitZoom;
    in.dx = 14;
    DisplayComposer composer;
    composer.ComposeForDisplay(in);
    const PixelSize screen{kScreenWidth, kScreenHeight};
    return {BuildEyeFrame(composer, DisplayComposer::kFirstView, screen, 0, 0, false),
            BuildEyeFrame(composer, DisplayComposer::kSecondView, screen, 0, 0, false)};
}

void BM_DoubleWidthFrame(benchmark::State& state) {
    NoInput input;
    FlipScreenWindow window(input, QStringLiteral("Duplora"));
    window.resize(kScreenWidth, kScreenHeight);
    auto frames = ComposedFrames();
    window.SetFrames(std::move(frames[0]), std::move(frames[1]));
    QImage screen(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    window.render(&screen);  // the surface scaled to the window: once per change
    const int made = window.SurfacesMade();
    TimeFrames(state, [&] { window.render(&screen); });
    state.counters["surfaces_made"] = window.SurfacesMade() - made;
}

// What a change costs (not a frame): composing both eyes' frames and the surface.
void BM_DoubleWidthChange(benchmark::State& state) {
    NoInput input;
    FlipScreenWindow window(input, QStringLiteral("Duplora"));
    window.resize(kScreenWidth, kScreenHeight);
    TimeFrames(state, [&] {
        auto frames = ComposedFrames();
        window.SetFrames(std::move(frames[0]), std::move(frames[1]));
    });
}

}  // namespace
}  // namespace duplora::bench

int main(int argc, char** argv) {
    using namespace duplora::bench;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Gl context;
    if (context.context.create()) {
        context.surface.setFormat(context.context.format());
        context.surface.create();
        if (context.context.makeCurrent(&context.surface)) {
            context.target =
                std::make_unique<QOpenGLFramebufferObject>(QSize(kScreenWidth, kScreenHeight));
            context.ok = context.target->bind() && context.renderer.Initialise();
        }
    }
    gl = &context;
    LeftView();
    RightView();
    benchmark::RegisterBenchmark("BM_PlainUploadAndDraw", BM_PlainUploadAndDraw)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_OpenGlFrame", BM_OpenGlFrame)
        ->Arg(0)
        ->Arg(2048)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_DoubleWidthFrame", BM_DoubleWidthFrame)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_DoubleWidthChange", BM_DoubleWidthChange)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (context.ok) context.renderer.Release();
    context.target.reset();
    gl = nullptr;
    return 0;
}

// The main window with a large stereo photograph (two 4096 × 4096 views): every display-mode
// change, zoom step and alignment step, timed from the command to the end of the next paint
// of the view, fitted to a 1600 × 1000 window and at 100 %. Each is compared with a memcpy of
// a screen's pixels in the same run (memcpy_ratio).
//
// `--peak-memory` runs the other measurement on its own: open the photograph in a fresh
// process, show it at 100 % as a grey anaglyph and report the peak resident size; the
// benchmark BM_PeakMemory starts that process and reports its figures as counters.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <time.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "app/shell/settings_store.h"
#include "bench_support.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/main_window.h"
#include "gui/stereo/view_widget.h"

namespace duplora::bench {
namespace {

const char* const kSample = "/single-file/capoda.left-right.jpg";
constexpr int kWindowWidth = 1600;
constexpr int kWindowHeight = 1000;
// The baseline: copying the pixels of a 1600 × 1000 screen (32 bits each).
constexpr std::size_t kScreenBytes = std::size_t{kWindowWidth} * kWindowHeight * 4;

std::string SamplePath() {
    return std::string(DUPLORA_SAMPLES_DIR) + kSample;
}

bool SampleExists() {
    return std::ifstream(SamplePath()).good();
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void Settle(int rounds = 4) {
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
    }
}

// Counts the paint events the panes receive, to be sure the real paint path ran.
class PaintCounter : public QObject {
  public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

// One window with the photograph open, shared by all timings.
struct Session {
    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> store;
    WindowDialogHost host;  // nothing here asks
    std::unique_ptr<MainWindow> window;
    PaintCounter paints;
};

Session* session = nullptr;

std::unique_ptr<Session> OpenSession(int width, int height) {
    auto s = std::make_unique<Session>();
    s->store = std::make_unique<SettingsStore>(s->dir.filePath(QStringLiteral("duplmaker.ini")));
    StartOptions options;
    options.commandLine.first = SamplePath();
    s->window = std::make_unique<MainWindow>(*s->store, s->host, options);
    s->window->resize(width, height);
    s->window->show();
    Settle();
    Settle();
    for (int i = 0; i < 3; ++i) s->window->View()->Pane(i)->installEventFilter(&s->paints);
    return s;
}

// Paints the view now, as the next paint event would: the viewport and the panes on it.
void PaintNow(MainWindow& w) {
    w.View()->viewport()->repaint();
}

enum class Scale { Fitted, Full };

const char* ScaleName(Scale scale) {
    return scale == Scale::Fitted ? "fitted" : "100%";
}

void ApplyScale(MainWindow& w, Scale scale) {
    w.ExecuteCommand(scale == Scale::Fitted ? CmdFitWindow : CmdZoom100);
    Settle();
}

struct ModeCase {
    CommandId command;
    const char* name;
};

constexpr std::array<ModeCase, 6> kModes{{{CmdSideBySide, "side-by-side"},
                                          {CmdOverUnder, "over-under"},
                                          {CmdThreeViews, "three-views"},
                                          {CmdInterlace, "interlace"},
                                          {CmdGreyRedCyan, "grey-anaglyph"},
                                          {CmdColourAnaglyph, "colour-anaglyph"}}};

// Times `op` (the command and the paint after it) once per iteration; `prepare` runs
// before, untimed. Reports memcpy_ratio against the screen-sized copy.
template <typename Prepare, typename Op>
void Timed(benchmark::State& state, Prepare prepare, Op op) {
    if (!session) {
        state.SkipWithError("sample photograph missing");
        return;
    }
    MainWindow& w = *session->window;
    const double baseline = MemcpySeconds(kScreenBytes);
    double total = 0, commandTotal = 0, cpuTotal = 0;
    int paintsMissing = 0;
    for (auto _ : state) {
        prepare(w);
        Settle();
        const int before = session->paints.count;
        const double c0 = ProcessCpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        op(w);
        const auto t1 = std::chrono::steady_clock::now();
        PaintNow(w);
        const auto t2 = std::chrono::steady_clock::now();
        const double c1 = ProcessCpuSeconds();
        if (session->paints.count == before) ++paintsMissing;
        const double seconds = std::chrono::duration<double>(t2 - t0).count();
        state.SetIterationTime(seconds);
        total += seconds;
        commandTotal += std::chrono::duration<double>(t1 - t0).count();
        cpuTotal += c1 - c0;
    }
    if (paintsMissing) state.SkipWithError("the panes were not painted");
    const double n = static_cast<double>(state.iterations());
    state.counters["memcpy_ratio"] = total / n / baseline;
    // Where the time goes: the command (composition, layout) and the paint after it; and
    // the processor time of all threads, which a busy machine does not stretch.
    state.counters["command_ms"] = commandTotal / n * 1e3;
    state.counters["paint_ms"] = (total - commandTotal) / n * 1e3;
    state.counters["cpu_ms"] = cpuTotal / n * 1e3;
    state.counters["zoom"] = w.Document().ZoomPercent();
}

// Into `mode` from another mode, at the zoom `scale` gives in that mode.
void ModeChange(benchmark::State& state, ModeCase mode, Scale scale) {
    const CommandId other = mode.command == CmdSideBySide ? CmdOverUnder : CmdSideBySide;
    if (session) {
        session->window->ExecuteCommand(mode.command);
        ApplyScale(*session->window, scale);
    }
    Timed(
        state, [&](MainWindow& w) { w.ExecuteCommand(other); },
        [&](MainWindow& w) { w.ExecuteCommand(mode.command); });
}

// One zoom step in or out from the zoom `scale` gives.
void ZoomStep(benchmark::State& state, ModeCase mode, Scale scale, CommandId step) {
    if (session) session->window->ExecuteCommand(mode.command);
    Timed(
        state, [&](MainWindow& w) { ApplyScale(w, scale); },
        [&](MainWindow& w) { w.ExecuteCommand(step); });
}

// One alignment step, left and right in turn.
void AlignStep(benchmark::State& state, ModeCase mode, Scale scale) {
    if (session) {
        session->window->ExecuteCommand(mode.command);
        ApplyScale(*session->window, scale);
    }
    bool left = true;
    Timed(
        state, [](MainWindow&) {},
        [&](MainWindow& w) {
            w.ExecuteCommand(left ? CmdAlignLeft : CmdAlignRight);
            left = !left;
        });
}

// ---- peak memory ----------------------------------------------------------------------------

// Kibibytes of the process's peak resident set (VmHWM).
long PeakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

int PeakMemoryChild(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!SampleExists()) return 2;
    const long started = PeakResidentKiB();
    std::unique_ptr<Session> s = OpenSession(kWindowWidth, kWindowHeight);
    MainWindow& w = *s->window;
    if (!w.Document().BothLoaded()) return 3;
    const long opened = PeakResidentKiB();
    w.ExecuteCommand(CmdZoom100);
    w.ExecuteCommand(CmdGreyRedCyan);
    Settle();
    PaintNow(w);
    Settle();
    const ImageBuffer& left = w.Document().Left().image;
    const ImageBuffer& right = w.Document().Right().image;
    const long long viewBytes =
        3LL * left.Width() * left.Height() + 3LL * right.Width() * right.Height();
    std::printf("%ld %lld %d %ld %ld\n", PeakResidentKiB(), viewBytes, w.Document().ZoomPercent(),
                started, opened);
    return 0;
}

void BM_PeakMemory(benchmark::State& state) {
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0 || !SampleExists()) {
        state.SkipWithError("cannot start the measuring process");
        return;
    }
    long peakKiB = 0, startedKiB = 0, openedKiB = 0;
    long long viewBytes = 0;
    int zoom = 0;
    for (auto _ : state) {
        const std::string command = std::string("'") + self + "' --peak-memory";
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe || std::fscanf(pipe, "%ld %lld %d %ld %ld", &peakKiB, &viewBytes, &zoom,
                                 &startedKiB, &openedKiB) != 5) {
            if (pipe) pclose(pipe);
            state.SkipWithError("the measuring process failed");
            return;
        }
        pclose(pipe);
    }
    state.counters["peak_MiB"] = static_cast<double>(peakKiB) / 1024.0;
    // The peak before opening (the program itself) and once the photograph was open.
    state.counters["peak_start_MiB"] = static_cast<double>(startedKiB) / 1024.0;
    state.counters["peak_open_MiB"] = static_cast<double>(openedKiB) / 1024.0;
    state.counters["views_MiB"] = static_cast<double>(viewBytes) / (1024.0 * 1024.0);
    // Must stay below 3.5.
    state.counters["peak_over_views"] =
        static_cast<double>(peakKiB) * 1024.0 / static_cast<double>(viewBytes);
    state.counters["zoom"] = zoom;
}

void RegisterAll() {
    for (const Scale scale : {Scale::Fitted, Scale::Full}) {
        for (const ModeCase& mode : kModes) {
            const std::string suffix = std::string(mode.name) + "/" + ScaleName(scale);
            benchmark::RegisterBenchmark(("BM_ModeChange/" + suffix).c_str(),
                                         [=](benchmark::State& s) { ModeChange(s, mode, scale); })
                ->UseManualTime()
                ->Iterations(10)
                ->Unit(benchmark::kMillisecond);
            for (const CommandId step : {CmdZoomIn, CmdZoomOut}) {
                const std::string name =
                    (step == CmdZoomIn ? "BM_ZoomIn/" : "BM_ZoomOut/") + suffix;
                benchmark::RegisterBenchmark(
                    name.c_str(), [=](benchmark::State& s) { ZoomStep(s, mode, scale, step); })
                    ->UseManualTime()
                    ->Iterations(10)
                    ->Unit(benchmark::kMillisecond);
            }
            benchmark::RegisterBenchmark(("BM_AlignStep/" + suffix).c_str(),
                                         [=](benchmark::State& s) { AlignStep(s, mode, scale); })
                ->UseManualTime()
                ->Iterations(20)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("BM_PeakMemory", BM_PeakMemory)
        ->Iterations(1)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
}

}  // namespace
}  // namespace duplora::bench

int main(int argc, char** argv) {
    using namespace duplora::bench;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    if (argc >= 2 && std::strcmp(argv[1], "--peak-memory") == 0) return PeakMemoryChild(argc, argv);

    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::unique_ptr<Session> opened;
    if (SampleExists()) {
        opened = OpenSession(kWindowWidth, kWindowHeight);
        if (opened->window->Document().BothLoaded()) session = opened.get();
    }
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    session = nullptr;
    opened.reset();
    return 0;
}

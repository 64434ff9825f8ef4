// Sharpening and edge detection of a 6000 × 4000 pair in the main window, timed from the
// dialog's OK to the end of the next paint of the view, against the two views filtered one
// after the other on one thread (the same run, the same pictures). The counter
// single_thread_ratio is the window's time over that sum: both views are filtered at once on
// the worker pool, so it stays well below 1 wherever there is more than one core.
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/settings_store.h"
#include "bench_support.h"
#include "core/formats/bmp_codec.h"
#include "core/image/filter.h"
#include "core/util/worker_pool.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/main_window.h"
#include "gui/stereo/view_widget.h"

namespace duplora::bench {
namespace {

// Every dialog is taken as shown: OK with the stored values.
class AcceptingHost : public DialogHost {
  public:
    int Exec(QDialog&) override { return QDialog::Accepted; }
    bool StartProgram(const QString&, const QStringList&) override { return false; }
    bool OpenWithDesktop(const QUrl&) override { return false; }
};

void Settle() {
    for (int i = 0; i < 4; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
    }
}

struct Session {
    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> store;
    AcceptingHost host;
    std::unique_ptr<MainWindow> window;
    ImageBuffer left, right;
};

Session* session = nullptr;

std::unique_ptr<Session> OpenSession() {
    auto s = std::make_unique<Session>();
    s->store = std::make_unique<SettingsStore>(s->dir.filePath(QStringLiteral("duplmaker.ini")));
    s->left = MakeView(kViewWidth, kViewHeight, 1);
    s->right = MakeView(kViewWidth, kViewHeight, 2);
    const std::string l = s->dir.filePath(QStringLiteral("l.bmp")).toStdString();
    const std::string r = s->dir.filePath(QStringLiteral("r.bmp")).toStdString();
    if (!WriteBmpFile(l, s->left) || !WriteBmpFile(r, s->right)) return s;
    StartOptions options;
    options.commandLine = {r, l};  // the second argument is the left view
    s->window = std::make_unique<MainWindow>(*s->store, s->host, options);
    s->window->resize(1600, 1000);
    s->window->show();
    Settle();
    Settle();
    return s;
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// The two views filtered one after the other on this thread alone; the median of three.
template <typename Filter>
double SingleThreadSeconds(const Filter& filter) {
    std::vector<double> runs;
    ScopedInlinePasses inlinePasses;
    for (int k = 0; k < 3; ++k) {
        const auto t0 = Clock::now();
        ImageBuffer l = filter(session->left);
        ImageBuffer r = filter(session->right);
        runs.push_back(Seconds(t0, Clock::now()));
        benchmark::DoNotOptimize(l.Data());
        benchmark::DoNotOptimize(r.Data());
    }
    std::sort(runs.begin(), runs.end());
    return runs[1];
}

template <typename Filter>
void FromOkToPaint(benchmark::State& state, CommandId command, const Filter& filter) {
    if (!session) {
        state.SkipWithError("the pair could not be opened");
        return;
    }
    MainWindow& w = *session->window;
    GetEdgeMagnitudeTable();  // built once per run, not part of each command
    const double single = SingleThreadSeconds(filter);
    double total = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        w.ExecuteCommand(command);
        w.View()->viewport()->repaint();
        const auto t1 = Clock::now();
        state.SetIterationTime(Seconds(t0, t1));
        total += Seconds(t0, t1);
        state.PauseTiming();
        if (!w.Document().HasUndo()) state.SkipWithError("the command did not edit the pair");
        w.ExecuteCommand(CmdUndo);
        Settle();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["single_thread_ms"] = single * 1e3;
    state.counters["single_thread_ratio"] = total / n / single;
    state.counters["threads"] = PoolThreadCount();
}

void BM_SharpenFromOk(benchmark::State& state) {
    // The stored sharpness 40: divisor 11.
    FromOkToPaint(state, CmdSharpen,
                  [](const ImageBuffer& view) { return SharpenImage(view, 11); });
}
BENCHMARK(BM_SharpenFromOk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_DetectEdgesFromOk(benchmark::State& state) {
    FromOkToPaint(state, CmdEdgeDetect,
                  [](const ImageBuffer& view) { return DetectEdges(view, 16); });
}
BENCHMARK(BM_DetectEdgesFromOk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace
}  // namespace duplora::bench

int main(int argc, char** argv) {
    using namespace duplora::bench;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::unique_ptr<Session> opened = OpenSession();
    if (opened->window && opened->window->Document().BothLoaded()) session = opened.get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    session = nullptr;
    opened.reset();
    return 0;
}

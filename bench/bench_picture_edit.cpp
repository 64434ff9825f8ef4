// Sharpening and edge detection of a 6000 × 4000 pair in the main window, timed from the
// dialog's OK to the end of the next paint of the view, against the two views filtered one
// after the other on one thread (the same run, the same pictures). The counter
// single_thread_ratio is the window's time over that sum: both views are filtered at once on
// the worker pool, so it stays well below 1 wherever there is more than one free core.
// cores_used says how many cores' worth of processor time the command got; on a machine
// busy with other work it falls towards 1 and the ratio with it rises towards cpu_ratio. The
// *PairOnly benchmarks time the filtering of the pair alone, without the window.
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/edit/pair_filter.h"
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

// The two views filtered one after the other on this thread alone.
template <typename Filter>
double SingleThreadSeconds(const Filter& filter) {
    ScopedInlinePasses inlinePasses;
    const auto t0 = Clock::now();
    ImageBuffer l = filter(session->left);
    ImageBuffer r = filter(session->right);
    const double seconds = Seconds(t0, Clock::now());
    benchmark::DoNotOptimize(l.Data());
    benchmark::DoNotOptimize(r.Data());
    return seconds;
}

// Processor time of all the process's threads.
double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Times `op` once per iteration, and right before it, untimed, the single-thread run of both
// views: a busy machine slows both alike, so their ratio is taken per iteration and the
// median reported.
template <typename Filter, typename Op, typename After>
void AgainstSingleThread(benchmark::State& state, const Filter& filter, const Op& op,
                         const After& after) {
    if (!session) {
        state.SkipWithError("the pair could not be opened");
        return;
    }
    GetEdgeMagnitudeTable();  // built once per run, not part of each command
    std::vector<double> singles, ratios, cpuRatios, busy;
    for (auto _ : state) {
        state.PauseTiming();
        const double c0 = ProcessCpuSeconds();
        const double single = SingleThreadSeconds(filter);
        const double singleCpu = ProcessCpuSeconds() - c0;
        state.ResumeTiming();
        const double c1 = ProcessCpuSeconds();
        const auto t0 = Clock::now();
        op();
        const double seconds = Seconds(t0, Clock::now());
        const double cpu = ProcessCpuSeconds() - c1;
        cpuRatios.push_back(cpu / singleCpu);
        // How many cores' worth of processor time the machine gave the command.
        busy.push_back(cpu / seconds);
        state.SetIterationTime(seconds);
        state.PauseTiming();
        after();
        state.ResumeTiming();
        singles.push_back(single);
        ratios.push_back(seconds / single);
    }
    state.counters["single_thread_ms"] = Median(singles) * 1e3;
    state.counters["single_thread_ratio"] = Median(ratios);
    // The command's processor time over the single-thread run's: the cost of the threads and
    // of composing and painting, whatever else the machine is doing.
    state.counters["cpu_ratio"] = Median(cpuRatios);
    state.counters["cores_used"] = Median(busy);
    state.counters["threads"] = PoolThreadCount();
}

// The filtering alone, without the window: where the time of the command goes.
template <typename Filter>
void PairOnly(benchmark::State& state, const ViewFilter& pairFilter, const Filter& filter) {
    AgainstSingleThread(
        state, filter,
        [&] {
            EditedPair pair = FilterPair(session->left, session->right, pairFilter, NoProgress());
            benchmark::DoNotOptimize(pair.left.Data());
        },
        [] {});
}

// The command as the user gives it: OK in the dialog (the host accepts it at once), both
// views filtered, the display composed again and the view painted.
template <typename Filter>
void FromOkToPaint(benchmark::State& state, CommandId command, const Filter& filter) {
    MainWindow* w = session ? session->window.get() : nullptr;
    AgainstSingleThread(
        state, filter,
        [&] {
            w->ExecuteCommand(command);
            w->View()->viewport()->repaint();
        },
        [&] {
            if (!w->Document().HasUndo()) state.SkipWithError("the command did not edit the pair");
            w->ExecuteCommand(CmdUndo);
            Settle();
        });
}

void BM_SharpenPairOnly(benchmark::State& state) {
    PairOnly(state, SharpenFilter(40),
             [](const ImageBuffer& view) { return SharpenImage(view, 11); });
}
BENCHMARK(BM_SharpenPairOnly)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_DetectEdgesPairOnly(benchmark::State& state) {
    PairOnly(state, EdgeFilter(16), [](const ImageBuffer& view) { return DetectEdges(view, 16); });
}
BENCHMARK(BM_DetectEdgesPairOnly)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

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

// The alignment dialogs' speed: a slider step in the adjustment preview of a full-size pair,
// OK with every correction (both views at once against one after the other on one thread),
// and a step of the gamma dialog's preview. Ratios are taken within the run.
#include <algorithm>
#include <chrono>
#include <vector>

#include "app/align/adjustment.h"
#include "app/align/adjustment_preview.h"
#include "app/align/gamma_choices.h"
#include "bench_support.h"
#include "core/align/gamma.h"
#include "core/image/resample.h"
#include "core/util/worker_pool.h"

namespace duplora::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

const ImageBuffer& LeftView() {
    static ImageBuffer view = MakeView(kViewWidth, kViewHeight, 1);
    return view;
}
const ImageBuffer& RightView() {
    static ImageBuffer view = MakeView(kViewWidth, kViewHeight, 2);
    return view;
}

// One step of the linked rotation (both views corrected again) and the composition, in a
// preview of the size a maximised dialog gives; the 90th percentile of the steps.
void BM_AdjustPreviewSliderStep(benchmark::State& state) {
    AdjustmentPreview preview;
    preview.SetViews(&LeftView(), &RightView());
    preview.Layout(900, 700, false, false);
    AdjustmentSlots values = StartAdjustmentSlots(kViewWidth, kViewHeight, 0, 0);
    preview.Compose(values, 0, kDefaultHalfFieldOfView);
    std::vector<double> steps;
    int value = values.value[kRotationLeft];
    for (auto _ : state) {
        value = value >= 1000 ? 800 : value + 1;
        const auto t0 = Clock::now();
        values.Set(kRotationLeft, value, true);
        const PreviewComposition& shown = preview.Compose(values, 0, kDefaultHalfFieldOfView);
        benchmark::DoNotOptimize(shown.image.Data());
        steps.push_back(Seconds(t0));
    }
    std::sort(steps.begin(), steps.end());
    state.counters["p90_ms"] = 1000 * steps[steps.size() * 9 / 10];
    state.counters["preview_px"] = preview.PreviewWidth() * preview.PreviewHeight();
}
BENCHMARK(BM_AdjustPreviewSliderStep)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(200);

// A position step: the corrected views are kept, only the composition runs.
void BM_AdjustPreviewPositionStep(benchmark::State& state) {
    AdjustmentPreview preview;
    preview.SetViews(&LeftView(), &RightView());
    preview.Layout(900, 700, false, false);
    AdjustmentSlots values = StartAdjustmentSlots(kViewWidth, kViewHeight, 0, 0);
    values.Set(kRotationLeft, 915, true);
    preview.Compose(values, 0, kDefaultHalfFieldOfView);
    int value = values.value[kPositionX];
    for (auto _ : state) {
        value = value >= 3500 ? 2500 : value + 7;
        values.Set(kPositionX, value, false);
        benchmark::DoNotOptimize(preview.Compose(values, 0, kDefaultHalfFieldOfView).image.Data());
    }
}
BENCHMARK(BM_AdjustPreviewPositionStep)->Unit(benchmark::kMillisecond)->UseRealTime();

AdjustmentResult EveryCorrection() {
    AdjustmentResult result;
    result.left = {15, 30, -25, 4};
    result.right = {-12, -30, 20, 4};
    return result;
}

// OK with rotation, both perspectives and a size change: both views on the pool, against
// the two views one after the other with every pass on one thread. The two are measured in
// turns and the fastest of each kept, so that other programs on the machine weigh on both.
void BM_AdjustOkBothViews(benchmark::State& state) {
    const AdjustmentResult result = EveryCorrection();
    double single = 1e9, both = 1e9;
    for (auto _ : state) {
        {
            ScopedInlinePasses oneThread;
            const auto t0 = Clock::now();
            benchmark::DoNotOptimize(
                CorrectView(LeftView(), result.left, kDefaultHalfFieldOfView).Data());
            benchmark::DoNotOptimize(
                CorrectView(RightView(), result.right, kDefaultHalfFieldOfView).Data());
            single = std::min(single, Seconds(t0));
        }
        const auto t0 = Clock::now();
        CorrectedPair pair = CorrectPair(LeftView(), RightView(), result);
        benchmark::DoNotOptimize(pair.left.Data());
        both = std::min(both, Seconds(t0));
    }
    state.counters["single_thread_sum_ms"] = 1000 * single;
    state.counters["both_at_once_ms"] = 1000 * both;
    state.counters["ratio_to_single_sum"] = both / single;
    state.counters["threads"] = PoolThreadCount();
}
BENCHMARK(BM_AdjustOkBothViews)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The gamma dialog: one scroll-bar step recomputes one 220-pixel preview with its density.
void BM_GammaPreviewStep(benchmark::State& state) {
    const PreviewSize size = GammaPreviewSize(kViewWidth, kViewHeight);
    const ImageBuffer base = ResizeImage(LeftView(), size.width, size.height);
    int gamma = 100;
    for (auto _ : state) {
        gamma = gamma >= 500 ? 1 : gamma + 1;
        benchmark::DoNotOptimize(ApplyGamma(base, gamma, true).density);
    }
}
BENCHMARK(BM_GammaPreviewStep)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace duplora::bench

#include "bench_support.h"
#include "core/align/gamma.h"
#include "core/image/filter.h"

namespace duplora::bench {
namespace {

const ImageBuffer& View() {
    static const ImageBuffer view = MakeView();
    return view;
}

std::size_t ViewBytes() {
    return static_cast<std::size_t>(RowBytes(kViewWidth, 24)) * kViewHeight;
}

void BM_SharpenImage(benchmark::State& state) {
    const int divisor = static_cast<int>(state.range(0));
    RunWithRatio(state, ViewBytes(), std::int64_t{kViewWidth} * kViewHeight, [&] {
        ImageBuffer out = SharpenImage(View(), divisor);
        benchmark::DoNotOptimize(out.Data());
    });
}
// 11 is the default sharpness 40; 1 the hardest, which skips the division.
BENCHMARK(BM_SharpenImage)->Arg(11)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DetectEdges(benchmark::State& state) {
    GetEdgeMagnitudeTable();  // built once per run, not part of each call
    RunWithRatio(state, ViewBytes(), std::int64_t{kViewWidth} * kViewHeight, [&] {
        ImageBuffer out = DetectEdges(View(), 16);
        benchmark::DoNotOptimize(out.Data());
    });
}
BENCHMARK(BM_DetectEdges)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ApplyGamma(benchmark::State& state) {
    const bool measure = state.range(0) != 0;
    RunWithRatio(state, ViewBytes(), std::int64_t{kViewWidth} * kViewHeight, [&] {
        GammaResult out = ApplyGamma(View(), 150, measure);
        benchmark::DoNotOptimize(out.image.Data());
    });
}
BENCHMARK(BM_ApplyGamma)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace duplora::bench

#include "bench_support.h"
#include "core/align/correction.h"

namespace duplora::bench {
namespace {

void RunCorrection(benchmark::State& state, int rotation, int perspectiveV, int perspectiveH) {
    static ImageBuffer view = MakeView();
    RunWithRatio(state, static_cast<std::size_t>(RowBytes(kViewWidth, 24)) * kViewHeight,
                 std::int64_t{kViewWidth} * kViewHeight, [&] {
                     ImageBuffer out =
                         CorrectionTransform(view, rotation, perspectiveV, perspectiveH);
                     benchmark::DoNotOptimize(out.Data());
                 });
}

void BM_CorrectionRotation(benchmark::State& state) {
    RunCorrection(state, 15, 0, 0);
}
BENCHMARK(BM_CorrectionRotation)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CorrectionAllAngles(benchmark::State& state) {
    RunCorrection(state, 15, 30, -25);
}
BENCHMARK(BM_CorrectionAllAngles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace duplora::bench

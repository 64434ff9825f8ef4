#include "bench_support.h"
#include "core/image/convert.h"

namespace duplora::bench {
namespace {

void BM_CropScaleViewHalf(benchmark::State& state) {
    static ImageBuffer view = MakeView();
    const int outW = kViewWidth / 2, outH = kViewHeight / 2;
    RunWithRatio(state, static_cast<std::size_t>(RowBytes(outW, 24)) * outH,
                 std::int64_t{outW} * outH, [&] {
                     ImageBuffer out =
                         CropScaleView(view, outW, outH, 0, 0, 0, 0, false);
                     benchmark::DoNotOptimize(out.Data());
                 });
}
BENCHMARK(BM_CropScaleViewHalf)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 75 % zoom: a step that is not a whole number of pixels.
void BM_CropScaleViewThreeQuarters(benchmark::State& state) {
    static ImageBuffer view = MakeView();
    const int outW = kViewWidth * 3 / 4, outH = kViewHeight * 3 / 4;
    RunWithRatio(state, static_cast<std::size_t>(RowBytes(outW, 24)) * outH,
                 std::int64_t{outW} * outH, [&] {
                     ImageBuffer out = CropScaleView(view, outW, outH, 0, 0, 0, 0, false);
                     benchmark::DoNotOptimize(out.Data());
                 });
}
BENCHMARK(BM_CropScaleViewThreeQuarters)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace duplora::bench

#include "bench_support.h"
#include "core/image/resample.h"
#include "core/image/rotate.h"

namespace duplora::bench {
namespace {

// A 6000 × 4000 view resized to `width` wide, its height in proportion.
void ResizeTo(benchmark::State& state, int width) {
    static ImageBuffer view = MakeView();
    const int height = static_cast<int>(std::int64_t{kViewHeight} * width / kViewWidth);
    RunWithRatio(state, static_cast<std::size_t>(RowBytes(width, 24)) * height,
                 std::int64_t{width} * height, [&] {
                     ImageBuffer out = ResizeImage(view, width, height);
                     benchmark::DoNotOptimize(out.Data());
                 });
}

void BM_ResizeImageShrink3000(benchmark::State& state) {
    ResizeTo(state, 3000);
}
void BM_ResizeImageEnlarge8000(benchmark::State& state) {
    ResizeTo(state, 8000);
}
BENCHMARK(BM_ResizeImageShrink3000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ResizeImageEnlarge8000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RotateQuarter24(benchmark::State& state) {
    static ImageBuffer view = MakeView();
    RunWithRatio(state, static_cast<std::size_t>(RowBytes(kViewHeight, 24)) * kViewWidth,
                 std::int64_t{kViewWidth} * kViewHeight, [&] {
                     ImageBuffer out = RotateQuarter(view, kRotateClockwise);
                     benchmark::DoNotOptimize(out.Data());
                 });
}
BENCHMARK(BM_RotateQuarter24)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace duplora::bench

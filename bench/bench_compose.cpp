#include "bench_support.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/combine.h"

namespace duplora::bench {
namespace {

const ImageBuffer& LeftView() {
    static const ImageBuffer view = MakeView(kViewWidth, kViewHeight, 1);
    return view;
}
const ImageBuffer& RightView() {
    static const ImageBuffer view = MakeView(kViewWidth, kViewHeight, 2);
    return view;
}

// A small offset, as after aligning a real pair at 100 % zoom.
constexpr CommonArea kArea{12, 0, 0, 4};
constexpr int kWidth = kViewWidth - 12, kHeight = kViewHeight - 4;

template <typename Op>
void Measure(benchmark::State& state, int width, int height, Op op) {
    RunWithRatio(state, static_cast<std::size_t>(RowBytes(width, 24)) * height,
                 std::int64_t{width} * height, [&] {
                     ImageBuffer out = op();
                     benchmark::DoNotOptimize(out.Data());
                 });
}

void BM_ComposeSideBySide(benchmark::State& state) {
    Measure(state, 2 * kWidth, kHeight,
            [] { return ComposeSideBySide(LeftView(), RightView(), kArea).ValueOr({}); });
}
void BM_ComposeOverUnder(benchmark::State& state) {
    Measure(state, kWidth, 2 * kHeight,
            [] { return ComposeOverUnder(LeftView(), RightView(), kArea).ValueOr({}); });
}
void BM_ComposeInterlace(benchmark::State& state) {
    Measure(state, kWidth, kHeight,
            [] { return ComposeInterlace(LeftView(), RightView(), kArea); });
}
void BM_ComposeBlend(benchmark::State& state) {
    Measure(state, kViewWidth, kViewHeight, [] { return ComposeBlend(LeftView(), RightView()); });
}
void BM_ComposeGreyAnaglyph(benchmark::State& state) {
    const AnaglyphTables tables = BuildAnaglyphTables(120, 90);
    const auto pair = static_cast<GreyAnaglyphPair>(state.range(0));
    Measure(state, kWidth, kHeight,
            [&] { return ComposeGreyAnaglyph(LeftView(), RightView(), kArea, pair, tables); });
}
void BM_ComposeColourAnaglyph(benchmark::State& state) {
    const AnaglyphTables tables = BuildAnaglyphTables(120, 90);
    const auto kind = static_cast<ColourAnaglyphKind>(state.range(0));
    Measure(state, kWidth, kHeight,
            [&] { return ComposeColourAnaglyph(LeftView(), RightView(), kArea, kind, tables); });
}

BENCHMARK(BM_ComposeSideBySide)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ComposeOverUnder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ComposeInterlace)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ComposeBlend)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ComposeGreyAnaglyph)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();
// 4 to 6: the least-squares kinds, six lookups and three roundings per pixel.
BENCHMARK(BM_ComposeColourAnaglyph)
    ->Arg(0)
    ->Arg(1)
    ->Arg(4)
    ->Arg(5)
    ->Arg(6)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace duplora::bench

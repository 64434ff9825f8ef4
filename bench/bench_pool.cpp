// Pixel passes on the worker pool against the same pass run on the calling thread alone,
// both in every iteration of the same run. single_ratio is the pool's time over the one
// thread's (1.0: banding costs nothing; below 1: the other cores help). The small cases are
// a 640 × 480 view pair, where waking workers must not cost more than it saves; the large
// ones the full-size views.
#include <chrono>

#include "bench_support.h"
#include "core/align/gamma.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/combine.h"
#include "core/util/worker_pool.h"

namespace duplora::bench {
namespace {

struct Pair {
    ImageBuffer left, right;
};

const Pair& Views(int width, int height) {
    static const Pair small{MakeView(640, 480, 1), MakeView(640, 480, 2)};
    static const Pair large{MakeView(kViewWidth, kViewHeight, 1),
                            MakeView(kViewWidth, kViewHeight, 2)};
    return width == 640 && height == 480 ? small : large;
}

template <typename Op>
void AgainstOneThread(benchmark::State& state, std::int64_t pixels, Op op) {
    using Clock = std::chrono::steady_clock;
    double pooled = 0, single = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ImageBuffer a = op();
        benchmark::DoNotOptimize(a.Data());
        const auto t1 = Clock::now();
        ImageBuffer b;
        {
            ScopedInlinePasses oneThread;
            b = op();
        }
        benchmark::DoNotOptimize(b.Data());
        const auto t2 = Clock::now();
        const double p = std::chrono::duration<double>(t1 - t0).count();
        pooled += p;
        single += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(p);
    }
    state.counters["single_ratio"] = pooled / single;
    state.counters["MPix/s"] =
        static_cast<double>(pixels) * static_cast<double>(state.iterations()) / pooled / 1e6;
}

void BM_Gamma(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const ImageBuffer& view = Views(w, h).left;
    AgainstOneThread(state, std::int64_t{w} * h, [&] { return ApplyGamma(view, 140, true).image; });
}

void BM_GreyAnaglyph(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const Pair& pair = Views(w, h);
    const AnaglyphTables tables = BuildAnaglyphTables(120, 90);
    const CommonArea area{12, 0, 0, 4};
    AgainstOneThread(state, std::int64_t{w - 12} * (h - 4), [&] {
        return ComposeGreyAnaglyph(pair.left, pair.right, area, GreyAnaglyphPair::RedCyan, tables);
    });
}

void BM_SideBySide(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const Pair& pair = Views(w, h);
    const CommonArea area{12, 0, 0, 4};
    AgainstOneThread(state, std::int64_t{w - 12} * 2 * (h - 4),
                     [&] { return ComposeSideBySide(pair.left, pair.right, area).ValueOr({}); });
}

BENCHMARK(BM_Gamma)
    ->Args({640, 480})
    ->Args({kViewWidth, kViewHeight})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GreyAnaglyph)
    ->Args({640, 480})
    ->Args({kViewWidth, kViewHeight})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SideBySide)
    ->Args({640, 480})
    ->Args({kViewWidth, kViewHeight})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace duplora::bench

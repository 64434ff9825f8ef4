// Opening a large side-by-side photograph as a stereo file (decode, then the two 24-bit
// views) against libjpeg-turbo decoding the same file plainly into a reused buffer, both
// in every iteration of the same run. decode_ratio is our wall time over the plain
// library's (1.0 = the split costs nothing); memcpy_ratio compares with copying the two
// views' bytes.
#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

// After <cstdio>: the library's header needs FILE and size_t.
#include <jpeglib.h>

#include "bench_support.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/stereo_open.h"

namespace duplora::bench {
namespace {

const char* const kPhoto = DUPLORA_SAMPLES_DIR "/single-file/capoda.left-right.jpg";

double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Times {
    double wall = 0;
    double cpu = 0;
};

Times Measure(const std::function<void()>& op) {
    const double cpu0 = CpuNow();
    const auto t0 = std::chrono::steady_clock::now();
    op();
    benchmark::ClobberMemory();
    const auto t1 = std::chrono::steady_clock::now();
    return {std::chrono::duration<double>(t1 - t0).count(), CpuNow() - cpu0};
}

void BM_OpenSideBySideFile(benchmark::State& state) {
    if (!std::filesystem::exists(kPhoto)) {
        state.SkipWithError("sample photograph missing");
        return;
    }
    static std::vector<std::uint8_t> plain;
    const PlainSize size = PlainDecode(kPhoto, plain);
    const int half = size.width / 2;
    const std::size_t viewBytes = std::size_t(RowBytes(half, 24)) * size.height;
    const double memcpySeconds = MemcpySeconds(2 * viewBytes);
    const auto library = [] { PlainDecode(kPhoto, plain); };
    const auto ours = [] {
        StereoOpenResult opened = OpenStereoFile(kPhoto, StereoLayout::SideBySide);
        benchmark::DoNotOptimize(opened.left.Data());
        benchmark::DoNotOptimize(opened.right.Data());
    };
    library();  // warm the file cache and the block pool
    ours();
    Times sumOurs, sumLibrary;
    for (auto _ : state) {
        const Times l = Measure(library);
        const Times o = Measure(ours);
        sumLibrary.wall += l.wall, sumLibrary.cpu += l.cpu;
        sumOurs.wall += o.wall, sumOurs.cpu += o.cpu;
        state.SetIterationTime(o.wall);
    }
    const double perCall = sumOurs.wall / static_cast<double>(state.iterations());
    state.counters["decode_ratio"] = sumOurs.wall / sumLibrary.wall;
    state.counters["decode_cpu_ratio"] = sumOurs.cpu / sumLibrary.cpu;
    state.counters["memcpy_ratio"] = perCall / memcpySeconds;
    state.counters["MPix/s"] = static_cast<double>(size.width) * size.height / perCall / 1e6;
}
BENCHMARK(BM_OpenSideBySideFile)->Unit(benchmark::kMillisecond)->UseManualTime();

// The split alone, on the decoded photograph: two views out of one picture.
void BM_SplitSideBySide(benchmark::State& state) {
    if (!std::filesystem::exists(kPhoto)) {
        state.SkipWithError("sample photograph missing");
        return;
    }
    static const ImageBuffer picture = DecodeJpegFile(kPhoto, false);
    const int half = picture.Width() / 2;
    RunWithRatio(state, 2 * std::size_t(RowBytes(half, 24)) * picture.Height(),
                 std::int64_t{2} * half * picture.Height(), [] {
                     StereoViews views = SplitStereoPicture(picture, StereoLayout::SideBySide);
                     benchmark::DoNotOptimize(views.left.Data());
                 });
}
BENCHMARK(BM_SplitSideBySide)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 6000 × 4000 view turned and cut as a "SIS" picture.
void BM_SplitTurned(benchmark::State& state) {
    static const ImageBuffer picture = MakeView();
    const int half = picture.Width() / 2;
    RunWithRatio(state, 2 * std::size_t(RowBytes(picture.Height(), 24)) * half,
                 std::int64_t{2} * half * picture.Height(), [] {
                     StereoViews views = SplitStereoPicture(picture, StereoLayout::TurnedRight);
                     benchmark::DoNotOptimize(views.left.Data());
                 });
}
BENCHMARK(BM_SplitTurned)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace duplora::bench

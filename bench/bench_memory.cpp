// Resident memory around opening and closing a full-size pair: two 6000 × 4000 views written
// as JPEG files, opened as a left/right pair, composed and gamma-corrected as the window
// would, then closed. Memory is read from /proc/self/statm. Closing must bring the resident
// size back to within the block cache (64 MiB) of where it started, and releasing the cache
// all the way; the second case frees six full-size pictures at once.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/align/gamma.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/stereo_open.h"
#include "core/image/block_pool.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/combine.h"

namespace duplora::bench {
namespace {

double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

// Removed when the program ends.
struct Files {
    std::filesystem::path dir;
    std::string left, right;
    ~Files() {
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }
};

const Files& PairFiles() {
    static const Files files = [] {
        Files f;
        f.dir = std::filesystem::temp_directory_path() /
                ("duplora-bench-memory-" + std::to_string(getpid()));
        std::filesystem::create_directories(f.dir);
        f.left = (f.dir / "pair_l.jpg").string();
        f.right = (f.dir / "pair_r.jpg").string();
        // A pair that could not be written shows as a failed open in the measurement.
        static_cast<void>(EncodeJpegImage(f.left, MakeView(kViewWidth, kViewHeight, 1), true, 90));
        static_cast<void>(EncodeJpegImage(f.right, MakeView(kViewWidth, kViewHeight, 2), true, 90));
        return f;
    }();
    return files;
}

void Report(benchmark::State& state, double start, double peak, double closed, double trimmed) {
    state.counters["start_MiB"] = start;
    state.counters["open_MiB"] = peak;
    state.counters["closed_MiB"] = closed;
    state.counters["trimmed_MiB"] = trimmed;
    // Must stay at most 64.
    state.counters["closed_over_start_MiB"] = closed - start;
    state.counters["trimmed_over_start_MiB"] = trimmed - start;
}

void BM_OpenAndClosePair(benchmark::State& state) {
    const Files& files = PairFiles();
    double start = 0, open = 0, closed = 0, trimmed = 0;
    for (auto _ : state) {
        TrimBlockPool();
        start = ResidentMiB();
        {
            StereoOpenResult pair = OpenLeftRight(files.left, files.right);
            if (!pair.loaded) {
                state.SkipWithError("the pair did not open");
                return;
            }
            const AnaglyphTables tables = BuildAnaglyphTables(100, 100);
            const CommonArea area{12, 0, 0, 4};
            ImageBuffer shown =
                ComposeGreyAnaglyph(pair.left, pair.right, area, GreyAnaglyphPair::RedCyan, tables);
            Result<ImageBuffer> sideBySide = ComposeSideBySide(pair.left, pair.right, area);
            ImageBuffer corrected = ApplyGamma(pair.left, 140, false).image;
            open = ResidentMiB();
        }
        closed = ResidentMiB();
        TrimBlockPool();
        trimmed = ResidentMiB();
    }
    Report(state, start, open, closed, trimmed);
}

void BM_SixPicturesFreed(benchmark::State& state) {
    double start = 0, peak = 0, closed = 0, trimmed = 0;
    for (auto _ : state) {
        TrimBlockPool();
        start = ResidentMiB();
        {
            std::vector<ImageBuffer> pictures;
            for (int i = 0; i < 6; ++i) pictures.push_back(MakeView(kViewWidth, kViewHeight, i));
            peak = ResidentMiB();
        }
        closed = ResidentMiB();
        TrimBlockPool();
        trimmed = ResidentMiB();
    }
    Report(state, start, peak, closed, trimmed);
}

BENCHMARK(BM_OpenAndClosePair)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SixPicturesFreed)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace duplora::bench

// Alignment by features of a 6000 × 4000 pair against decoding its two views, in turn in
// every iteration so that both see the same load: decode_ratio is the alignment's time
// (finding the fit and resampling the right view) over the decoding's.
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "bench_support.h"
#include "core/align/feature_align.h"
#include "core/formats/jpeg_codec.h"
#include "core/image/resample.h"

namespace duplora::bench {
namespace {

const char* const kLeft = DUPLORA_SAMPLES_DIR "/pairs/gx8_l.jpg";
const char* const kRight = DUPLORA_SAMPLES_DIR "/pairs/gx8_r.jpg";

// The sample pair brought to full size and written as JPEG files once.
struct PairFiles {
    std::string left, right;
    bool ok = false;
};

const PairFiles& Files() {
    static const PairFiles files = [] {
        PairFiles f;
        std::string pattern =
            (std::filesystem::temp_directory_path() / "duplora-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return f;
        f.left = pattern + "/left.jpg";
        f.right = pattern + "/right.jpg";
        for (const auto& [from, to] : {std::pair{kLeft, f.left}, {kRight, f.right}}) {
            const ImageBuffer view = DecodeJpegFile(from, false);
            if (!view) return f;
            const ImageBuffer big = ResizeImage(view, kViewWidth, kViewHeight);
            if (!big || !EncodeJpegImage(to, big, true, 90)) return f;
        }
        f.ok = true;
        return f;
    }();
    return files;
}

double Time(const std::function<void()>& op) {
    const auto t0 = std::chrono::steady_clock::now();
    op();
    benchmark::ClobberMemory();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_FeatureAlignAgainstDecode(benchmark::State& state) {
    const PairFiles& files = Files();
    if (!files.ok) {
        state.SkipWithError("no sample pair");
        return;
    }
    ImageBuffer left, right;
    double decoding = 0, aligning = 0;
    int matches = 0;
    double residual = 0;
    for (auto _ : state) {
        decoding += Time([&] {
            left = DecodeJpegFile(files.left, false);
            right = DecodeJpegFile(files.right, false);
        });
        const double seconds = Time([&] {
            Result<FeatureAlignment> found = FindFeatureAlignment(left, right);
            if (!found) return;
            matches = found.Value().matches;
            residual = found.Value().residualAfter;
            const ImageBuffer aligned = ApplyFeatureAlignment(right, found.Value());
            benchmark::DoNotOptimize(aligned.Data());
        });
        aligning += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["decode_ratio"] = aligning / decoding;
    state.counters["decode_ms"] = 1000 * decoding / static_cast<double>(state.iterations());
    state.counters["matches"] = matches;
    state.counters["residual_px"] = residual;
}
BENCHMARK(BM_FeatureAlignAgainstDecode)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

}  // namespace
}  // namespace duplora::bench

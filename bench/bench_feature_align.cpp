// Alignment by features of a 6000 × 4000 pair against decoding its two views, in turn in
// every iteration so that both see the same load: decode_ratio is the alignment's time
// (finding the fit and resampling the right view) over the decoding's. Two pairs: one of a
// system camera, and one of a wide-angle rig whose lenses differ, which is resampled with
// their bend pixel by pixel.
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "bench_support.h"
#include "core/align/feature_align.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/stereo_open.h"
#include "core/image/resample.h"

namespace duplora::bench {
namespace {

// The sample pair brought to full size and written as JPEG files once.
struct PairFiles {
    std::string left, right;
    bool ok = false;
};

// Two files, or one side-by-side file when `right` is null.
PairFiles WriteFiles(const char* left, const char* right) {
    PairFiles f;
    std::string pattern =
        (std::filesystem::temp_directory_path() / "duplora-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return f;
    f.left = pattern + "/left.jpg";
    f.right = pattern + "/right.jpg";
    StereoViews views;
    if (right) {
        views.left = DecodeJpegFile(left, false);
        views.right = DecodeJpegFile(right, false);
    } else {
        views = SplitStereoPicture(DecodeJpegFile(left, false), StereoLayout::SideBySide);
    }
    for (const auto& [view, to] : {std::pair{&views.left, f.left}, {&views.right, f.right}}) {
        if (!*view) return f;
        const ImageBuffer big = ResizeImage(*view, kViewWidth, kViewHeight);
        if (!big || !EncodeJpegImage(to, big, true, 90)) return f;
    }
    f.ok = true;
    return f;
}

const PairFiles& Files(bool wideAngle) {
    static const PairFiles camera =
        WriteFiles(DUPLORA_SAMPLES_DIR "/pairs/gx8_l.jpg", DUPLORA_SAMPLES_DIR "/pairs/gx8_r.jpg");
    static const PairFiles rig =
        WriteFiles(DUPLORA_SAMPLES_DIR "/single-file/GOPR0.left-right.jpg", nullptr);
    return wideAngle ? rig : camera;
}

double Time(const std::function<void()>& op) {
    const auto t0 = std::chrono::steady_clock::now();
    op();
    benchmark::ClobberMemory();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_FeatureAlignAgainstDecode(benchmark::State& state) {
    const PairFiles& files = Files(state.range(0) != 0);
    if (!files.ok) {
        state.SkipWithError("no sample pair");
        return;
    }
    ImageBuffer left, right;
    double decoding = 0, aligning = 0, resampling = 0;
    int matches = 0;
    double residual = 0, bend = 0;
    for (auto _ : state) {
        decoding += Time([&] {
            left = DecodeJpegFile(files.left, false);
            right = DecodeJpegFile(files.right, false);
        });
        Result<FeatureAlignment> found = Failure::Quiet();
        const double fitting = Time([&] { found = FindFeatureAlignment(left, right); });
        if (!found) {
            state.SkipWithError("no alignment");
            return;
        }
        matches = found.Value().matches;
        residual = found.Value().residualAfter;
        bend = found.Value().bend;
        const double warping = Time([&] {
            const ImageBuffer aligned = ApplyFeatureAlignment(right, found.Value());
            benchmark::DoNotOptimize(aligned.Data());
        });
        aligning += fitting + warping;
        resampling += warping;
        state.SetIterationTime(fitting + warping);
    }
    state.counters["decode_ratio"] = aligning / decoding;
    state.counters["resample_ratio"] = resampling / decoding;
    state.counters["decode_ms"] = 1000 * decoding / static_cast<double>(state.iterations());
    state.counters["matches"] = matches;
    state.counters["residual_px"] = residual;
    state.counters["bent"] = bend != 0;
}
BENCHMARK(BM_FeatureAlignAgainstDecode)
    ->ArgName("wide_angle")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

}  // namespace
}  // namespace duplora::bench

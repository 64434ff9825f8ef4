// JPEG decoding and encoding against libjpeg-turbo used plainly in the same run: the
// counter libjpeg_ratio is our time per call over the plain library's (1.0 = no cost of
// our own), memcpy_ratio compares with copying the output bytes. Decoding reads a real
// side-by-side photograph; encoding writes the 6000 × 4000 view at quality 90.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// After <cstdio>: the library's header needs FILE and size_t.
#include <jpeglib.h>

#include "bench_support.h"
#include "core/formats/jpeg_codec.h"

namespace duplora::bench {
namespace {

const char* const kPhoto = DUPLORA_SAMPLES_DIR "/single-file/capoda.left-right.jpg";
constexpr int kQuality = 90;

const std::string& ScratchFolder() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "duplora-bench-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()) ? pattern : "/tmp");
    }();
    return folder;
}

struct Times {
    double wall = 0;
    double cpu = 0;
};

double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

Times Measure(const std::function<void()>& op) {
    const double cpu0 = CpuNow();
    const auto t0 = std::chrono::steady_clock::now();
    op();
    benchmark::ClobberMemory();
    const auto t1 = std::chrono::steady_clock::now();
    return {std::chrono::duration<double>(t1 - t0).count(), CpuNow() - cpu0};
}

// Runs our operation and the plain library's in turn in every iteration, so that both
// see the same load on a shared machine. Reports like RunWithRatio for our operation
// (memcpy_ratio, MPix/s), plus libjpeg_ratio (wall time over the library's) and
// libjpeg_cpu_ratio (processor time over the library's; waiting for the disk is not in
// it).
void RunAgainstLibrary(benchmark::State& state, std::size_t outputBytes, std::int64_t pixels,
                       const std::function<void()>& library, const std::function<void()>& ours) {
    const double memcpySeconds = MemcpySeconds(outputBytes);
    library();  // warm the file cache and the allocator
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
    state.counters["memcpy_ratio"] = perCall / memcpySeconds;
    state.counters["MPix/s"] = static_cast<double>(pixels) / perCall / 1e6;
    state.counters["libjpeg_ratio"] = sumOurs.wall / sumLibrary.wall;
    state.counters["libjpeg_cpu_ratio"] = sumOurs.cpu / sumLibrary.cpu;
}

// ---- the plain library ----------------------------------------------------------

// ---- decoding -------------------------------------------------------------------

void BM_DecodeJpegFile(benchmark::State& state) {
    if (!std::filesystem::exists(kPhoto)) {
        state.SkipWithError("sample photograph missing");
        return;
    }
    static std::vector<std::uint8_t> plain;
    const PlainSize size = PlainDecode(kPhoto, plain);
    RunAgainstLibrary(
        state, std::size_t(RowBytes(size.width, 24)) * size.height,
        std::int64_t{size.width} * size.height, [] { PlainDecode(kPhoto, plain); },
        [] {
            ImageBuffer image = DecodeJpegFile(kPhoto, false);
            benchmark::DoNotOptimize(image.Data());
        });
}
BENCHMARK(BM_DecodeJpegFile)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_PlainLibjpegDecode(benchmark::State& state) {
    if (!std::filesystem::exists(kPhoto)) {
        state.SkipWithError("sample photograph missing");
        return;
    }
    static std::vector<std::uint8_t> out;
    const PlainSize size = PlainDecode(kPhoto, out);
    RunWithRatio(state, out.size(), std::int64_t{size.width} * size.height,
                 [] { PlainDecode(kPhoto, out); });
}
BENCHMARK(BM_PlainLibjpegDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- encoding -------------------------------------------------------------------

const ImageBuffer& View() {
    static const ImageBuffer view = MakeView();
    return view;
}

const PackedRgb& PackedView() {
    static const PackedRgb rgb = DibToPackedRgb(View());
    return rgb;
}

void PlainEncodeView() {
    const PackedRgb& rgb = PackedView();
    PlainEncode(ScratchFolder() + "/plain.jpg", rgb.data.get(), rgb.width, rgb.height, kQuality);
}

std::size_t EncodedBytes() {
    PlainEncodeView();
    return static_cast<std::size_t>(std::filesystem::file_size(ScratchFolder() + "/plain.jpg"));
}

constexpr std::int64_t kViewPixels = std::int64_t{kViewWidth} * kViewHeight;

void BM_EncodeJpegFile(benchmark::State& state) {
    const PackedRgb& rgb = PackedView();
    const std::string path = ScratchFolder() + "/ours.jpg";
    RunAgainstLibrary(state, EncodedBytes(), kViewPixels, PlainEncodeView, [&] {
        benchmark::DoNotOptimize(
            EncodeJpegFile(path, rgb.data.get(), rgb.width, rgb.height, true, kQuality));
    });
}
BENCHMARK(BM_EncodeJpegFile)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_EncodeJpegImage(benchmark::State& state) {
    const ImageBuffer& view = View();
    const std::string path = ScratchFolder() + "/ours-rows.jpg";
    RunAgainstLibrary(state, EncodedBytes(), kViewPixels, PlainEncodeView, [&] {
        benchmark::DoNotOptimize(EncodeJpegImage(path, view, true, kQuality));
    });
}
BENCHMARK(BM_EncodeJpegImage)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_DibToPackedRgb(benchmark::State& state) {
    const ImageBuffer& view = View();
    RunWithRatio(state, std::size_t{kViewWidth} * kViewHeight * 3, kViewPixels, [&] {
        const PackedRgb rgb = DibToPackedRgb(view);
        benchmark::DoNotOptimize(rgb.data.get());
    });
}
BENCHMARK(BM_DibToPackedRgb)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainLibjpegEncode(benchmark::State& state) {
    RunWithRatio(state, EncodedBytes(), kViewPixels, PlainEncodeView);
}
BENCHMARK(BM_PlainLibjpegEncode)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace duplora::bench

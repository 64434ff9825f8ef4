// JPEG decoding and encoding against libjpeg-turbo used plainly in the same run: the
// counter libjpeg_ratio is our time per call over the plain library's (1.0 = no cost of
// our own), memcpy_ratio compares with copying the output bytes.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
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

double Seconds(const std::function<void()>& op) {
    const auto t0 = std::chrono::steady_clock::now();
    op();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Median of five runs of the plain library, measured once per process.
double BaselineSeconds(const std::string& key, const std::function<void()>& op) {
    static std::map<std::string, double> cache;
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    op();  // warm the file cache and the allocator
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) times.push_back(Seconds(op));
    std::nth_element(times.begin(), times.begin() + 2, times.end());
    return cache[key] = times[2];
}

// Runs `op` like RunWithRatio and adds the ratio to the plain library's time.
void RunAgainstLibrary(benchmark::State& state, std::size_t outputBytes, std::int64_t pixels,
                       double librarySeconds, const std::function<void()>& op) {
    RunWithRatio(state, outputBytes, pixels, op);
    const double perCall = static_cast<double>(pixels) / state.counters["MPix/s"] / 1e6;
    state.counters["libjpeg_ratio"] = perCall / librarySeconds;
}

// ---- the plain library ----------------------------------------------------------

struct PlainDecodeResult {
    int width = 0, height = 0;
};

PlainDecodeResult PlainDecode(const char* path, std::vector<std::uint8_t>& out) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return {};
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const std::size_t rowBytes = std::size_t(info.output_width) * info.output_components;
    out.resize(rowBytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.data() + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    PlainDecodeResult r{static_cast<int>(info.output_width), static_cast<int>(info.output_height)};
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return r;
}

void PlainEncode(const std::string& path, const std::uint8_t* rgb, int width, int height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(rgb) + std::size_t(width) * 3 * info.next_scanline;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

// ---- decoding -------------------------------------------------------------------

double PlainDecodeSeconds() {
    static std::vector<std::uint8_t> out;
    return BaselineSeconds("decode", [] { PlainDecode(kPhoto, out); });
}

void BM_DecodeJpegFile(benchmark::State& state) {
    if (!std::filesystem::exists(kPhoto)) {
        state.SkipWithError("sample photograph missing");
        return;
    }
    std::vector<std::uint8_t> probe;
    const PlainDecodeResult size = PlainDecode(kPhoto, probe);
    const double library = PlainDecodeSeconds();
    RunAgainstLibrary(state, std::size_t(RowBytes(size.width, 24)) * size.height,
                      std::int64_t{size.width} * size.height, library, [] {
                          ImageBuffer image = DecodeJpegFile(kPhoto, false);
                          benchmark::DoNotOptimize(image.Data());
                      });
}
BENCHMARK(BM_DecodeJpegFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainLibjpegDecode(benchmark::State& state) {
    if (!std::filesystem::exists(kPhoto)) {
        state.SkipWithError("sample photograph missing");
        return;
    }
    static std::vector<std::uint8_t> out;
    const PlainDecodeResult size = PlainDecode(kPhoto, out);
    const double library = PlainDecodeSeconds();
    RunAgainstLibrary(state, out.size(), std::int64_t{size.width} * size.height, library,
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

double PlainEncodeSeconds() {
    const PackedRgb& rgb = PackedView();
    const std::string path = ScratchFolder() + "/plain.jpg";
    return BaselineSeconds("encode",
                           [&] { PlainEncode(path, rgb.data.get(), rgb.width, rgb.height); });
}

std::size_t EncodedBytes() {
    const std::string path = ScratchFolder() + "/plain.jpg";
    PlainEncode(path, PackedView().data.get(), kViewWidth, kViewHeight);
    return static_cast<std::size_t>(std::filesystem::file_size(path));
}

void BM_EncodeJpegFile(benchmark::State& state) {
    const PackedRgb& rgb = PackedView();
    const double library = PlainEncodeSeconds();
    const std::string path = ScratchFolder() + "/ours.jpg";
    RunAgainstLibrary(state, EncodedBytes(), std::int64_t{kViewWidth} * kViewHeight, library, [&] {
        benchmark::DoNotOptimize(
            EncodeJpegFile(path, rgb.data.get(), rgb.width, rgb.height, true, kQuality));
    });
}
BENCHMARK(BM_EncodeJpegFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeJpegImage(benchmark::State& state) {
    const ImageBuffer& view = View();
    const double library = PlainEncodeSeconds();
    const std::string path = ScratchFolder() + "/ours-rows.jpg";
    RunAgainstLibrary(state, EncodedBytes(), std::int64_t{kViewWidth} * kViewHeight, library, [&] {
        benchmark::DoNotOptimize(EncodeJpegImage(path, view, true, kQuality));
    });
}
BENCHMARK(BM_EncodeJpegImage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DibToPackedRgbThenEncode(benchmark::State& state) {
    const ImageBuffer& view = View();
    const double library = PlainEncodeSeconds();
    const std::string path = ScratchFolder() + "/ours-packed.jpg";
    RunAgainstLibrary(state, EncodedBytes(), std::int64_t{kViewWidth} * kViewHeight, library, [&] {
        const PackedRgb rgb = DibToPackedRgb(view);
        benchmark::DoNotOptimize(
            EncodeJpegFile(path, rgb.data.get(), rgb.width, rgb.height, true, kQuality));
    });
}
BENCHMARK(BM_DibToPackedRgbThenEncode)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainLibjpegEncode(benchmark::State& state) {
    const PackedRgb& rgb = PackedView();
    const double library = PlainEncodeSeconds();
    const std::string path = ScratchFolder() + "/plain.jpg";
    RunAgainstLibrary(state, EncodedBytes(), std::int64_t{kViewWidth} * kViewHeight, library,
                      [&] { PlainEncode(path, rgb.data.get(), rgb.width, rgb.height); });
}
BENCHMARK(BM_PlainLibjpegEncode)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace duplora::bench

// One file of a batch conversion — a side-by-side photograph read, turned into a colour
// anaglyph and written as a JPEG at quality 90 — against what the library alone needs for
// the same work: a plain decode of the file plus a plain encode of a picture of the
// anaglyph's size, with reused buffers, in the same run. Counter baseline_ratio is our
// time over the library's.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// After <cstdio>: the library's header needs FILE and size_t.
#include <jpeglib.h>

#include "bench_support.h"
#include "core/batch/batch_options.h"
#include "core/batch/convert_file.h"
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
    benchmark::ClobberMemory();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_BatchSideBySideToColourAnaglyphJpeg(benchmark::State& state) {
    if (!std::filesystem::exists(kPhoto)) {
        state.SkipWithError("sample photograph missing");
        return;
    }
    BatchOptions options;
    options.sourceLayout = StereoLayout::SideBySide;
    options.outputMode = DisplayMode::ColourAnaglyph;
    options.outputType = OutputFormat::Jpeg;
    options.quality = kQuality;
    options.targetFolder = ScratchFolder();
    BatchItem item;
    item.left = kPhoto;
    item.layout = StereoLayout::SideBySide;
    const std::string output = BatchOutputName(options.targetFolder, kPhoto, options.outputType);
    // Each call replaces the output of the call before.
    const OverwritePolicy replace = OverwritePolicy::Always();
    const BatchLogFn noLog = [](std::string_view) {};
    ConvertBatchItem(item, options, {}, noLog, replace);

    // The library's share: the same decode, and an encode of the anaglyph we made.
    std::vector<std::uint8_t> decoded;
    PlainDecode(kPhoto, decoded);
    const ImageBuffer anaglyph = DecodeJpegFile(output, false);
    if (!anaglyph) {
        state.SkipWithError("conversion failed");
        return;
    }
    const PackedRgb packed = DibToPackedRgb(anaglyph);
    const std::string plainPath = ScratchFolder() + "/plain.jpg";
    const auto library = [&] {
        PlainDecode(kPhoto, decoded);
        PlainEncode(plainPath, packed.data.get(), packed.width, packed.height, kQuality);
    };
    const auto ours = [&] {
        benchmark::DoNotOptimize(ConvertBatchItem(item, options, {}, noLog, replace).outcome);
    };

    const std::size_t outputBytes = std::size_t(RowBytes(anaglyph.Width(), 24)) * anaglyph.Height();
    const double memcpySeconds = MemcpySeconds(outputBytes);
    library();
    double sumOurs = 0, sumLibrary = 0;
    for (auto _ : state) {
        const double l = Seconds(library);
        const double o = Seconds(ours);
        sumLibrary += l;
        sumOurs += o;
        state.SetIterationTime(o);
    }
    const double perCall = sumOurs / static_cast<double>(state.iterations());
    state.counters["baseline_ratio"] = sumOurs / sumLibrary;
    state.counters["memcpy_ratio"] = perCall / memcpySeconds;
    state.counters["MPix/s"] =
        static_cast<double>(std::int64_t{anaglyph.Width()} * anaglyph.Height()) / perCall / 1e6;
}
BENCHMARK(BM_BatchSideBySideToColourAnaglyphJpeg)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
}  // namespace duplora::bench

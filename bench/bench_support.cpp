#include "bench_support.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include <cstdio>

#include <jpeglib.h>

namespace duplora::bench {

ImageBuffer MakeView(int width, int height, std::uint32_t seed) {
    ImageBuffer image = CreateImage(width, height, 24);
    std::uint32_t state = seed * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.Line(y);
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int noise = static_cast<int>(state >> 28) - 8;
            row[x * 3] = static_cast<std::uint8_t>(std::clamp((x * 255) / width + noise, 0, 255));
            row[x * 3 + 1] =
                static_cast<std::uint8_t>(std::clamp((y * 255) / height + noise, 0, 255));
            row[x * 3 + 2] = static_cast<std::uint8_t>(
                std::clamp(((x + y) * 127) / (width + height) + 64 + noise, 0, 255));
        }
    }
    return image;
}

double MemcpySeconds(std::size_t bytes) {
    static std::map<std::size_t, double> cache;
    if (auto it = cache.find(bytes); it != cache.end()) return it->second;
    std::unique_ptr<std::uint8_t[]> src(new std::uint8_t[bytes]);
    std::unique_ptr<std::uint8_t[]> dst(new std::uint8_t[bytes]);
    std::memset(src.get(), 1, bytes);
    std::memset(dst.get(), 2, bytes);
    std::vector<double> times;
    for (int i = 0; i < 9; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        std::memcpy(dst.get(), src.get(), bytes);
        benchmark::DoNotOptimize(dst.get());
        benchmark::ClobberMemory();
        const auto t1 = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double>(t1 - t0).count());
    }
    std::nth_element(times.begin(), times.begin() + 4, times.end());
    return cache[bytes] = times[4];
}

void RunWithRatio(benchmark::State& state, std::size_t outputBytes, std::int64_t outputPixels,
                  const std::function<void()>& op) {
    const double baseline = MemcpySeconds(outputBytes);
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        op();
        benchmark::ClobberMemory();
        const auto t1 = std::chrono::steady_clock::now();
        total += std::chrono::duration<double>(t1 - t0).count();
    }
    const double perCall = total / static_cast<double>(state.iterations());
    state.counters["memcpy_ratio"] = perCall / baseline;
    state.counters["MPix/s"] = static_cast<double>(outputPixels) / perCall / 1e6;
}

PlainSize PlainDecode(const char* path, std::vector<std::uint8_t>& out) {
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
    const PlainSize size{static_cast<int>(info.output_width), static_cast<int>(info.output_height)};
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return size;
}

void PlainEncode(const std::string& path, const std::uint8_t* rgb, int width, int height,
                 int quality) {
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
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(rgb) + std::size_t(width) * 3 * info.next_scanline;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

}  // namespace duplora::bench

#include "bench_support.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

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
            row[x * 3 + 1] = static_cast<std::uint8_t>(std::clamp((y * 255) / height + noise, 0, 255));
            row[x * 3 + 2] = static_cast<std::uint8_t>(std::clamp(((x + y) * 127) / (width + height) + 64 + noise, 0, 255));
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

}  // namespace duplora::bench

// Shared parts of the benchmarks: full-size test views and the memcpy baseline.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <functional>

#include <string>
#include <vector>

#include "core/image/image_buffer.h"

namespace duplora::bench {

inline constexpr int kViewWidth = 6000;
inline constexpr int kViewHeight = 4000;

// A deterministic photograph-like 24-bit picture (smooth gradients with noise).
ImageBuffer MakeView(int width = kViewWidth, int height = kViewHeight, std::uint32_t seed = 1);

// Seconds a memcpy of `bytes` takes into a buffer already in memory (median of several
// runs, measured once per size in this process).
double MemcpySeconds(std::size_t bytes);

// Runs `op` in the benchmark loop and reports memcpy_ratio (time per call over the
// memcpy time of `outputBytes`) and megapixels per second of `outputPixels`.
void RunWithRatio(benchmark::State& state, std::size_t outputBytes, std::int64_t outputPixels,
                  const std::function<void()>& op);

// The library baseline: libjpeg-turbo as anyone would call it, default output one row at a
// time into `out` (kept between calls). Gives the picture's size, 0 x 0 when unreadable.
struct PlainSize {
    int width = 0, height = 0;
};
PlainSize PlainDecode(const char* path, std::vector<std::uint8_t>& out);

// And its encoder: packed RGB rows, default settings at `quality`.
void PlainEncode(const std::string& path, const std::uint8_t* rgb, int width, int height,
                 int quality);

}  // namespace duplora::bench

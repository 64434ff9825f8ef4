// Splits row-wise work into bands over the available cores. Only for passes whose
// result does not depend on the order rows are done in.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace duplora {

// Number of worker bands for a pass over `pixels` pixels: 1 below about a megapixel,
// where starting threads costs more than it saves.
inline int BandCount(std::int64_t pixels) {
    if (pixels < (std::int64_t{1} << 20)) return 1;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<int>(std::min<unsigned>(cores, 8));
}

// Calls fn(begin, end) for consecutive bands of [0, rows); the calling thread does the
// last band itself.
template <typename Fn>
void ParallelRows(int rows, std::int64_t pixels, Fn&& fn) {
    const int bands = std::min(BandCount(pixels), std::max(rows, 1));
    if (bands <= 1) {
        fn(0, rows);
        return;
    }
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(bands - 1));
    for (int b = 0; b < bands - 1; ++b) {
        const int begin = static_cast<int>(static_cast<std::int64_t>(rows) * b / bands);
        const int end = static_cast<int>(static_cast<std::int64_t>(rows) * (b + 1) / bands);
        threads.emplace_back([&fn, begin, end] { fn(begin, end); });
    }
    fn(static_cast<int>(static_cast<std::int64_t>(rows) * (bands - 1) / bands), rows);
    for (auto& t : threads) t.join();
}

}  // namespace duplora

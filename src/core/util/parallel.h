// Splits row-wise work into bands over the worker pool. Only for passes whose result does
// not depend on the order rows are done in, nor on where the bands begin.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <type_traits>

#include "core/util/worker_pool.h"

namespace duplora {

// Below this many pixels a pass runs on the calling thread: waking a worker costs more
// than it saves.
inline constexpr std::int64_t kInlinePassPixels = std::int64_t{1} << 17;

// Number of bands for a pass over `pixels` pixels: a few per thread, so that a worker that
// wakes late, or a core another program holds, delays only a small band.
inline int BandCount(std::int64_t pixels) {
    if (pixels < kInlinePassPixels) return 1;
    return 4 * std::min(PoolThreadCount(), 8);
}

// Calls fn(begin, end) for consecutive bands of [0, rows), on the calling thread and on
// idle pool workers.
template <typename Fn>
void ParallelRows(int rows, std::int64_t pixels, Fn&& fn) {
    const int bands = std::min(BandCount(pixels), std::max(rows, 1));
    if (bands <= 1) {
        fn(0, rows);
        return;
    }
    using Callable = std::remove_reference_t<Fn>;
    RunRowBands(
        rows, bands,
        [](void* context, int begin, int end) { (*static_cast<Callable*>(context))(begin, end); },
        const_cast<void*>(static_cast<const void*>(std::addressof(fn))));
}

}  // namespace duplora

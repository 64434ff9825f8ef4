#include "core/image/block_pool.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace duplora {

namespace {

// From here on blocks are mapped; below, malloc's own pools serve them well.
constexpr std::size_t kMappedMinimum = std::size_t{1} << 20;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// From here on a block starts on a huge-page boundary; smaller ones would waste too much of
// their last huge page.
constexpr std::size_t kHugeMinimum = std::size_t{8} << 20;
constexpr std::size_t kCacheMaxBlocks = 16;

std::size_t PageRounded(std::size_t bytes) {
    static const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

// `bytes` is page-rounded.
void* MapBlock(std::size_t bytes) {
    constexpr int kProtection = PROT_READ | PROT_WRITE;
    constexpr int kFlags = MAP_PRIVATE | MAP_ANONYMOUS;
    if (bytes < kHugeMinimum) {
        void* block = mmap(nullptr, bytes, kProtection, kFlags, -1, 0);
        return block == MAP_FAILED ? nullptr : block;
    }
    // Over-map by a huge page and cut the ends so that the block starts on its boundary.
    const std::size_t span = bytes + kHugePage;
    void* mapped = mmap(nullptr, span, kProtection, kFlags, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    const std::size_t head = aligned - start;
    const std::size_t tail = span - head - bytes;
    if (head) munmap(mapped, head);
    if (tail) munmap(reinterpret_cast<void*>(aligned + bytes), tail);
    auto* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    madvise(block, bytes, MADV_HUGEPAGE);  // only a hint; without it the block still works
#endif
    return block;
}

struct CachedBlock {
    void* block;
    std::size_t capacity;
};

struct Cache {
    std::mutex mutex;
    std::vector<CachedBlock> blocks;  // oldest first
    std::size_t total = 0;
};

Cache& TheCache() {
    // Never destroyed: blocks may still be freed while the program ends.
    static Cache* cache = [] {
        auto* c = new Cache;
        c->blocks.reserve(kCacheMaxBlocks);  // so that keeping a block never allocates
        return c;
    }();
    return *cache;
}

}  // namespace

void* AcquireBlock(std::size_t bytes, std::size_t& capacity, bool* zeroed) {
    if (zeroed) *zeroed = false;
    if (bytes < kMappedMinimum) {
        void* block = std::malloc(bytes);
        capacity = block ? bytes : 0;
        return block;
    }
    {
        Cache& cache = TheCache();
        std::lock_guard lock(cache.mutex);
        // Best fit among blocks not more than twice as large as asked for.
        std::size_t best = cache.blocks.size();
        for (std::size_t i = 0; i < cache.blocks.size(); ++i) {
            const std::size_t cap = cache.blocks[i].capacity;
            if (cap >= bytes && cap / 2 <= bytes &&
                (best == cache.blocks.size() || cap < cache.blocks[best].capacity))
                best = i;
        }
        if (best != cache.blocks.size()) {
            const CachedBlock b = cache.blocks[best];
            cache.blocks.erase(cache.blocks.begin() + static_cast<std::ptrdiff_t>(best));
            cache.total -= b.capacity;
            capacity = b.capacity;
            return b.block;
        }
    }
    const std::size_t rounded = PageRounded(bytes);
    void* block = MapBlock(rounded);
    capacity = block ? rounded : 0;
    if (zeroed) *zeroed = block != nullptr;
    return block;
}

void ReleaseBlock(void* block, std::size_t capacity) noexcept {
    if (!block) return;
    if (capacity < kMappedMinimum) {
        std::free(block);
        return;
    }
    if (capacity <= kBlockCacheBudget) {
        Cache& cache = TheCache();
        CachedBlock dropped[kCacheMaxBlocks];
        std::size_t drop = 0;
        {
            std::lock_guard lock(cache.mutex);
            // Make room: the oldest blocks go first.
            while (drop < cache.blocks.size() && (cache.total + capacity > kBlockCacheBudget ||
                                                  cache.blocks.size() - drop >= kCacheMaxBlocks)) {
                dropped[drop] = cache.blocks[drop];
                cache.total -= dropped[drop++].capacity;
            }
            cache.blocks.erase(cache.blocks.begin(),
                               cache.blocks.begin() + static_cast<std::ptrdiff_t>(drop));
            cache.blocks.push_back({block, capacity});  // room was reserved
            cache.total += capacity;
        }
        for (std::size_t i = 0; i < drop; ++i) munmap(dropped[i].block, dropped[i].capacity);
        return;
    }
    munmap(block, capacity);
}

void TrimBlockPool() noexcept {
    Cache& cache = TheCache();
    {
        std::lock_guard lock(cache.mutex);
        for (const CachedBlock& b : cache.blocks) munmap(b.block, b.capacity);
        cache.blocks.clear();
        cache.total = 0;
    }
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

std::size_t CachedBlockBytes() noexcept {
    Cache& cache = TheCache();
    std::lock_guard lock(cache.mutex);
    return cache.total;
}

}  // namespace duplora

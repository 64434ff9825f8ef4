#include "core/image/block_pool.h"

#include <cstdlib>
#include <mutex>
#include <vector>

namespace duplora {

namespace {

constexpr std::size_t kPooledMinimum = std::size_t{1} << 20;   // 1 MiB
constexpr std::size_t kPoolBudget = std::size_t{1536} << 20;   // 1.5 GiB kept at most
constexpr std::size_t kPoolMaxBlocks = 24;

struct CachedBlock {
    void* block;
    std::size_t capacity;
};

struct Pool {
    std::mutex mutex;
    std::vector<CachedBlock> blocks;
    std::size_t total = 0;
    ~Pool() {
        for (auto& b : blocks) std::free(b.block);
    }
};

Pool& ThePool() {
    static Pool pool;
    return pool;
}

}  // namespace

void* AcquireBlock(std::size_t bytes, std::size_t& capacity) {
    if (bytes >= kPooledMinimum) {
        Pool& pool = ThePool();
        std::lock_guard lock(pool.mutex);
        // Best fit among blocks not more than twice as large as asked for.
        std::size_t best = pool.blocks.size();
        for (std::size_t i = 0; i < pool.blocks.size(); ++i) {
            const std::size_t cap = pool.blocks[i].capacity;
            if (cap >= bytes && cap / 2 <= bytes &&
                (best == pool.blocks.size() || cap < pool.blocks[best].capacity))
                best = i;
        }
        if (best != pool.blocks.size()) {
            CachedBlock b = pool.blocks[best];
            pool.blocks.erase(pool.blocks.begin() + static_cast<std::ptrdiff_t>(best));
            pool.total -= b.capacity;
            capacity = b.capacity;
            return b.block;
        }
    }
    void* block = std::malloc(bytes);
    capacity = block ? bytes : 0;
    return block;
}

void ReleaseBlock(void* block, std::size_t capacity) noexcept {
    if (!block) return;
    if (capacity >= kPooledMinimum && capacity <= kPoolBudget) {
        Pool& pool = ThePool();
        std::lock_guard lock(pool.mutex);
        // Make room: drop the oldest blocks first.
        while (!pool.blocks.empty() &&
               (pool.total + capacity > kPoolBudget || pool.blocks.size() >= kPoolMaxBlocks)) {
            pool.total -= pool.blocks.front().capacity;
            std::free(pool.blocks.front().block);
            pool.blocks.erase(pool.blocks.begin());
        }
        pool.blocks.push_back({block, capacity});
        pool.total += capacity;
        return;
    }
    std::free(block);
}

void TrimBlockPool() noexcept {
    Pool& pool = ThePool();
    std::lock_guard lock(pool.mutex);
    for (auto& b : pool.blocks) std::free(b.block);
    pool.blocks.clear();
    pool.total = 0;
}

}  // namespace duplora

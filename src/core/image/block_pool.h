// Large picture blocks come straight from the system (mmap) and go straight back to it, so
// a closed picture gives its memory back. A few freed ones, 64 MiB at most, are kept for
// reuse: fresh memory costs a page fault per page on first touch, which for a screen-sized
// picture redrawn on every paint is more than the work done on it. Blocks too large for
// the cache are backed by huge pages where the system has them, which makes those faults
// few. Small blocks go to malloc.
#pragma once

#include <cstddef>

namespace duplora {

// The most the cache keeps of freed blocks.
inline constexpr std::size_t kBlockCacheBudget = std::size_t{64} << 20;

// Returns a block of at least `bytes`, and its real capacity. Null when out of memory.
// `zeroed`, when given, says whether the block is known to hold only zeros (fresh from the
// system).
void* AcquireBlock(std::size_t bytes, std::size_t& capacity, bool* zeroed = nullptr);
void ReleaseBlock(void* block, std::size_t capacity) noexcept;
// Gives every cached block back to the system, and malloc's free memory with them: for
// when a document closes and when the program is idle.
void TrimBlockPool() noexcept;
// Bytes the cache holds now.
std::size_t CachedBlockBytes() noexcept;

}  // namespace duplora

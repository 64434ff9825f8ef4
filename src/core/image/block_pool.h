// Large picture blocks are kept for reuse after they are freed: fresh memory costs a
// page fault per page on first touch, which for a 70 MB view is more than the work
// done on it. Small blocks go straight to malloc.
#pragma once

#include <cstddef>

namespace duplora {

// Returns a block of at least `bytes`, and its real capacity. Null when out of memory.
void* AcquireBlock(std::size_t bytes, std::size_t& capacity);
void ReleaseBlock(void* block, std::size_t capacity) noexcept;
// Frees every cached block (tests, low-memory situations).
void TrimBlockPool() noexcept;

}  // namespace duplora

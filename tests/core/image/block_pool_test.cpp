#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "core/image/block_pool.h"
#include "core/image/image_buffer.h"

namespace duplora {
namespace {

std::size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

TEST(BlockPool, KeepsFreedBlocksUpToItsBudgetOnly) {
    TrimBlockPool();
    { ImageBuffer tooLarge = CreateImage(6000, 4000, 24); }
    EXPECT_EQ(CachedBlockBytes(), 0u);
    {
        std::vector<ImageBuffer> pictures;
        for (int i = 0; i < 6; ++i) pictures.push_back(CreateImage(3000, 2000, 24));  // 18 MB
        for (ImageBuffer& p : pictures) std::memset(p.Pixels(), 0xAB, 3000 * 3 * 2000);
    }
    const std::size_t kept = CachedBlockBytes();
    EXPECT_GT(kept, 0u);
    EXPECT_LE(kept, kBlockCacheBudget);
    // A kept block is handed out again, and cleared where the picture wants it cleared.
    const ImageBuffer again = CreateImage(3000, 2000, 24);
    EXPECT_LT(CachedBlockBytes(), kept);
    for (int y = 0; y < 2000; y += 999)
        for (int x = 0; x < 9000; x += 4499) ASSERT_EQ(again.StoredRow(y)[x], 0);
    TrimBlockPool();
    EXPECT_EQ(CachedBlockBytes(), 0u);
}

TEST(BlockPool, FreedPicturesGiveTheirMemoryBack) {
    TrimBlockPool();
    const std::size_t before = ResidentBytes();
    {
        std::vector<ImageBuffer> pictures;
        for (int i = 0; i < 6; ++i) {
            pictures.push_back(CreateImageForOverwrite(6000, 4000, 24));
            std::memset(pictures.back().Pixels(), i, 6000 * 3 * 4000);
        }
        ASSERT_GT(ResidentBytes(), before + 6 * std::size_t{72'000'000});
        // Three go, and three smaller ones that the cache may keep come and go.
        pictures.resize(3);
        for (const int width : {1500, 1200, 900}) {
            pictures.push_back(CreateImageForOverwrite(width, 1000, 24));
            std::memset(pictures.back().Pixels(), 1, std::size_t{1000} * pictures.back().Stride());
        }
    }
    EXPECT_LE(ResidentBytes(), before + kBlockCacheBudget);
    TrimBlockPool();
    EXPECT_LE(ResidentBytes(), before + (std::size_t{8} << 20));
}

}  // namespace
}  // namespace duplora

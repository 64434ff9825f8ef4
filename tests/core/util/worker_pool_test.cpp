#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/align/correction.h"
#include "core/align/gamma.h"
#include "core/image/filter.h"
#include "core/image/resample.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/combine.h"
#include "core/util/parallel.h"
#include "core/util/worker_pool.h"
#include "support/test_support.h"

namespace duplora {
namespace {

// RunRowBands with a chosen band count, as ParallelRows calls it.
template <typename Fn>
void Bands(int rows, int bands, Fn fn) {
    RunRowBands(
        rows, bands, [](void* c, int begin, int end) { (*static_cast<Fn*>(c))(begin, end); }, &fn);
}

TEST(WorkerPool, EveryBandRunsOnceOnItsFixedRows) {
    for (const int rows : {1, 5, 64, 1001}) {
        for (const int bands : {1, 2, 7, 32}) {
            std::mutex mutex;
            std::vector<std::pair<int, int>> seen;
            Bands(rows, bands, [&](int begin, int end) {
                std::lock_guard lock(mutex);
                seen.emplace_back(begin, end);
            });
            std::sort(seen.begin(), seen.end());
            const int n = std::min(rows, bands);
            std::vector<std::pair<int, int>> expected;
            for (int b = 0; b < n; ++b) expected.emplace_back(rows * b / n, rows * (b + 1) / n);
            EXPECT_EQ(seen, expected) << rows << " rows, " << bands << " bands";
        }
    }
}

// More tasks than threads, each waiting on a group of its own whose tasks band rows whose
// bands band again: every thread ends up waiting on nested work, which must still finish.
TEST(WorkerPool, NestedWorkOnEveryThreadFinishes) {
    std::atomic<int> rows{0};
    const int tasks = 3 * PoolThreadCount() + 1;
    TaskGroup outer;
    for (int t = 0; t < tasks; ++t) {
        outer.Run([&] {
            TaskGroup inner;
            for (int i = 0; i < 3; ++i) {
                inner.Run([&] {
                    Bands(50, 4, [&](int begin, int end) {
                        Bands(end - begin, 3, [&](int b, int e) { rows += e - b; });
                    });
                });
            }
            inner.Wait();
        });
    }
    outer.Wait();
    EXPECT_EQ(rows.load(), tasks * 3 * 50);
}

TEST(WorkerPool, ExceptionsReachTheWaiterAndThePoolGoesOn) {
    EXPECT_THROW(Bands(100, 8,
                       [](int begin, int) {
                           if (begin == 0) throw std::runtime_error("band");
                       }),
                 std::runtime_error);
    std::atomic<int> ran{0};
    TaskGroup group;
    group.Run([] { throw std::runtime_error("task"); });
    group.Run([&] { ++ran; });
    EXPECT_THROW(group.Wait(), std::runtime_error);
    EXPECT_EQ(ran.load(), 1);
    std::atomic<int> rows{0};
    Bands(100, 8, [&](int begin, int end) { rows += end - begin; });
    EXPECT_EQ(rows.load(), 100);
}

TEST(WorkerPool, SplitPassesMatchTheirOneThreadRun) {
    const ImageBuffer left = test::MakeNoise(701, 503, 1);
    const ImageBuffer right = test::MakeNoise(701, 503, 2);
    ASSERT_GT(BandCount(std::int64_t{701} * 503), 1);
    const AnaglyphTables tables = BuildAnaglyphTables(120, 90);
    const CommonArea area{7, 0, 0, 3};
    const auto run = [&] {
        std::vector<ImageBuffer> out;
        out.push_back(ApplyGamma(left, 140, true).image);
        out.push_back(ComposeGreyAnaglyph(left, right, area, GreyAnaglyphPair::RedCyan, tables));
        out.push_back(test::Made(ComposeSideBySide(left, right, area)));
        out.push_back(ResizeImage(left, 1203, 377));
        out.push_back(SharpenImage(left, 11));
        out.push_back(DetectEdges(left, 16));
        out.push_back(CorrectionTransform(left, -12, 30, -20));
        return out;
    };
    const std::vector<ImageBuffer> split = run();
    std::vector<ImageBuffer> single;
    {
        ScopedInlinePasses oneThread;
        single = run();
    }
    ASSERT_EQ(split.size(), single.size());
    for (std::size_t i = 0; i < split.size(); ++i)
        EXPECT_TRUE(test::SamePixels(split[i], single[i], "pass" + std::to_string(i))) << i;
}

}  // namespace
}  // namespace duplora

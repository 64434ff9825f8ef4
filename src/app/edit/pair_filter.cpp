#include "app/edit/pair_filter.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <thread>

#include "core/image/filter.h"
#include "core/util/worker_pool.h"

namespace duplora {

int ClampSharpness(int value) {
    return std::clamp(value, 1, 50);
}

int SharpenDivisor(int sharpness) {
    return 51 - ClampSharpness(sharpness);
}

int ClampEdgeThreshold(int value) {
    return std::clamp(value, 0, 255);
}

namespace {

// Joins the percentages of the two views into one and passes the mean on, growing only, on
// the thread that waits for the pair.
class PairProgress {
  public:
    PairProgress(const Progress& whole, int views)
        : whole_(whole), views_(views), owner_(std::this_thread::get_id()) {}

    Progress For(int view) {
        return whole_.Relayed([this, view](ProgressDirection direction, int percent) {
            percent_[view].store(percent, std::memory_order_relaxed);
            direction_.store(static_cast<int>(direction), std::memory_order_relaxed);
            if (std::this_thread::get_id() == owner_) Report();
        });
    }
    // On the waiting thread; after the views are done, it brings the display to the end.
    void Report() {
        const auto direction =
            static_cast<ProgressDirection>(direction_.load(std::memory_order_relaxed));
        int sum = 0;
        for (int v = 0; v < views_; ++v) sum += percent_[v].load(std::memory_order_relaxed);
        const int mean = sum / views_;
        if (mean > last_) {
            last_ = mean;
            whole_(direction, mean);
        }
    }

  private:
    const Progress& whole_;
    int views_;
    std::thread::id owner_;
    std::atomic<int> percent_[2] = {0, 0};
    std::atomic<int> direction_{0};
    int last_ = 0;
};

}  // namespace

EditedPair FilterPair(const ImageBuffer& left, const ImageBuffer& right, const ViewFilter& filter,
                      const Progress& progress) {
    EditedPair pair;
    if (!left || !filter) return pair;
    const bool both = static_cast<bool>(right);
    PairProgress shared(progress, both ? 2 : 1);
    if (!both) {
        pair.left = filter(left, shared.For(0));
        return pair;
    }
    const Progress rightProgress = shared.For(1);
    const Progress leftProgress = shared.For(0);
    TaskGroup group;
    group.Run([&] {
        try {
            pair.right = filter(right, rightProgress);
        } catch (const std::bad_alloc&) {
            pair.right = {};
        }
    });
    try {
        pair.left = filter(left, leftProgress);
    } catch (const std::bad_alloc&) {
        pair.left = {};
    }
    group.Wait();
    shared.Report();
    if (!pair.left || !pair.right) return {};
    return pair;
}

ViewFilter SharpenFilter(int sharpness) {
    const int divisor = SharpenDivisor(sharpness);
    return [divisor](const ImageBuffer& view, const Progress& progress) {
        return SharpenImage(view, divisor, progress);
    };
}

ViewFilter EdgeFilter(int threshold) {
    return [threshold](const ImageBuffer& view, const Progress& progress) {
        return DetectEdges(view, threshold, progress);
    };
}

}  // namespace duplora

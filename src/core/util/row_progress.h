// Progress of a row pass that ParallelRows splits over several threads. Every band counts
// its finished rows; only the thread that started the pass reports, because whoever watches
// expects its reports on its own thread. Every band looks at the cancel flag between rows.
#pragma once

#include <atomic>
#include <thread>

#include "core/util/progress.h"

namespace duplora {

class RowProgress {
  public:
    // Reports (100 × (rows done + offset)) / denominator whenever it grows.
    RowProgress(const Progress& progress, ProgressDirection direction, int denominator,
                int offset = 0)
        : progress_(progress),
          direction_(direction),
          denominator_(denominator > 0 ? denominator : 1),
          offset_(offset),
          owner_(std::this_thread::get_id()) {}

    void RowDone() { RowsDone(1); }
    void RowsDone(int count) {
        const int done = done_.fetch_add(count, std::memory_order_relaxed) + count;
        if (std::this_thread::get_id() == owner_) Report(done);
    }
    // After the bands have joined: brings the display up to the final count.
    void Finish() { Report(done_.load(std::memory_order_relaxed)); }
    // The pass is to stop; its result is then thrown away.
    bool Cancelled() const { return progress_.Cancelled(); }

  private:
    void Report(int done) {
        const int percent =
            static_cast<int>(100 * static_cast<long long>(done + offset_) / denominator_);
        if (percent > last_) {
            last_ = percent;
            progress_(direction_, percent);
        }
    }

    const Progress& progress_;
    ProgressDirection direction_;
    int denominator_;
    int offset_;
    std::thread::id owner_;
    std::atomic<int> done_{0};
    int last_ = 0;
};

}  // namespace duplora

// Progress of a row pass that ParallelRows splits over several threads. Every band
// counts its finished rows; only the thread that started the pass reports, because
// progress sinks belong to their thread.
#pragma once

#include <atomic>
#include <thread>

#include "core/hooks.h"

namespace duplora {

class RowProgress {
  public:
    // Reports (100 × (rows done + offset)) / denominator whenever it grows.
    RowProgress(ProgressDirection direction, int denominator, int offset = 0)
        : direction_(direction),
          denominator_(denominator > 0 ? denominator : 1),
          offset_(offset),
          owner_(std::this_thread::get_id()) {}

    void RowDone() {
        const int done = done_.fetch_add(1, std::memory_order_relaxed) + 1;
        if (std::this_thread::get_id() == owner_) Report(done);
    }
    // After the bands have joined: brings the display up to the final count.
    void Finish() { Report(done_.load(std::memory_order_relaxed)); }

  private:
    void Report(int done) {
        const int percent =
            static_cast<int>(100 * static_cast<long long>(done + offset_) / denominator_);
        if (percent > last_) {
            last_ = percent;
            ReportProgress(direction_, percent);
        }
    }

    ProgressDirection direction_;
    int denominator_;
    int offset_;
    std::thread::id owner_;
    std::atomic<int> done_{0};
    int last_ = 0;
};

}  // namespace duplora

// Progress that is reported only when the integer percent grows, so a codec can call it per
// row or per chunk without flooding the display.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/util/progress.h"

namespace duplora {

class ProgressCounter {
  public:
    ProgressCounter(const Progress& progress, ProgressDirection direction, std::uint64_t total)
        : progress_(progress), direction_(direction), total_(std::max<std::uint64_t>(total, 1)) {}
    // `done` of the total is finished.
    void At(std::uint64_t done) {
        const int percent = static_cast<int>(std::min<std::uint64_t>(done, total_) * 100 / total_);
        if (percent > last_) {
            last_ = percent;
            progress_(direction_, percent);
        }
    }
    // The work is to stop here.
    bool Cancelled() const { return progress_.Cancelled(); }

  private:
    const Progress& progress_;
    ProgressDirection direction_;
    std::uint64_t total_;
    int last_ = -1;
};

}  // namespace duplora

// Progress that reaches the sink only when the integer percent grows, so a codec can
// call it per row or per chunk without flooding the display.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/hooks.h"

namespace duplora {

class ProgressCounter {
  public:
    ProgressCounter(ProgressDirection direction, std::uint64_t total)
        : direction_(direction), total_(std::max<std::uint64_t>(total, 1)) {}
    // `done` of the total is finished.
    void At(std::uint64_t done) {
        const int percent = static_cast<int>(std::min<std::uint64_t>(done, total_) * 100 / total_);
        if (percent > last_) {
            last_ = percent;
            ReportProgress(direction_, percent);
        }
    }

  private:
    ProgressDirection direction_;
    std::uint64_t total_;
    int last_ = -1;
};

}  // namespace duplora

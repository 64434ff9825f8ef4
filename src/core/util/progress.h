// Progress and cancelling of a long operation (opening, saving, resizing, turning, one batch
// file), passed in by whoever waits for it: the window shows a bar and can stop the work,
// the batch hands it to its dialog, the converter passes none.
#pragma once

#include <atomic>
#include <functional>
#include <utility>

namespace duplora {

enum class ProgressDirection { Reading = 0, Writing = 1 };

class Progress {
  public:
    using Report = std::function<void(ProgressDirection, int percent)>;

    // Reports nowhere and is never cancelled.
    Progress() = default;
    // `report` is called on the thread that started the operation; `cancel`, when given, is
    // looked at between rows or chunks, and the operation gives up once it is true.
    explicit Progress(Report report, const std::atomic<bool>* cancel = nullptr)
        : report_(std::move(report)), cancel_(cancel) {}

    void operator()(ProgressDirection direction, int percent) const {
        if (report_) report_(direction, percent);
    }
    bool Cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }
    // Stopped by the same flag, reporting to `report` instead: for a part of the work whose
    // percentages are a share of the whole, or (without a report) for a part that runs on
    // another thread than the one that watches.
    Progress Relayed(Report report = {}) const { return Progress(std::move(report), cancel_); }

  private:
    Report report_;
    const std::atomic<bool>* cancel_ = nullptr;
};

// The progress of work nobody watches.
inline const Progress& NoProgress() {
    static const Progress none;
    return none;
}

}  // namespace duplora

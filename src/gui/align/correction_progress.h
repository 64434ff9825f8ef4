// The bar the window shows while both views are corrected. The correction reports on the
// window's own thread, which draws the bar as it goes.
#pragma once

#include <QPointer>
#include <QProgressBar>

#include "core/util/progress.h"

class QStatusBar;

namespace duplora {

class CorrectionProgressBar {
  public:
    explicit CorrectionProgressBar(QStatusBar* bar);
    ~CorrectionProgressBar();
    CorrectionProgressBar(const CorrectionProgressBar&) = delete;
    CorrectionProgressBar& operator=(const CorrectionProgressBar&) = delete;

    // The progress to hand to CorrectPair; it lives as long as the bar.
    const Progress& Reporter() const { return progress_; }

  private:
    QPointer<QStatusBar> status_;
    QProgressBar* bar_ = nullptr;
    Progress progress_;
};

}  // namespace duplora

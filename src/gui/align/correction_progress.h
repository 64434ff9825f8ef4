// The bar the window shows while both views are corrected. The correction reports its steps
// from the worker threads and from the window's own thread; only the latter draws.
#pragma once

#include <QPointer>
#include <QProgressBar>

#include "app/align/adjustment.h"

class QStatusBar;

namespace duplora {

class CorrectionProgressBar {
  public:
    explicit CorrectionProgressBar(QStatusBar* bar);
    ~CorrectionProgressBar();
    CorrectionProgressBar(const CorrectionProgressBar&) = delete;
    CorrectionProgressBar& operator=(const CorrectionProgressBar&) = delete;

    // The callback to hand to CorrectPair.
    CorrectionProgress Reporter();

  private:
    QPointer<QStatusBar> status_;
    QProgressBar* bar_ = nullptr;
};

}  // namespace duplora

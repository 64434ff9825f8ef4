#include "gui/align/correction_progress.h"

#include <QStatusBar>
#include <QThread>

namespace duplora {

CorrectionProgressBar::CorrectionProgressBar(QStatusBar* status) : status_(status) {
    if (!status) return;
    bar_ = new QProgressBar(status);
    bar_->setObjectName(QStringLiteral("correctionProgress"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setMaximumWidth(200);
    status->addPermanentWidget(bar_);
    bar_->show();
    bar_->repaint();
}

CorrectionProgressBar::~CorrectionProgressBar() {
    if (status_ && bar_) {
        status_->removeWidget(bar_);
        delete bar_;
    }
}

CorrectionProgress CorrectionProgressBar::Reporter() {
    QProgressBar* bar = bar_;
    return [bar](int done, int total) {
        // Workers only count; the window's thread draws when it finishes a step of its own.
        if (!bar || total <= 0 || QThread::currentThread() != bar->thread()) return;
        bar->setValue(100 * done / total);
        bar->repaint();
    };
}

}  // namespace duplora

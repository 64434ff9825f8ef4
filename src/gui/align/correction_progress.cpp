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
    QProgressBar* shown = bar_;
    progress_ = Progress([shown](ProgressDirection, int percent) {
        if (QThread::currentThread() != shown->thread()) return;
        shown->setValue(percent);
        shown->repaint();
    });
}

CorrectionProgressBar::~CorrectionProgressBar() {
    if (status_ && bar_) {
        status_->removeWidget(bar_);
        delete bar_;
    }
}

}  // namespace duplora

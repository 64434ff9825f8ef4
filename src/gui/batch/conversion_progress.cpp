#include "gui/batch/conversion_progress.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>

#include "app/batch/batch_worker.h"
#include "core/util/progress.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

// How a worker thread waits for the answer the window gives: one question at a time, and
// none once the run is given up (the window may be gone by then).
struct BatchProgressWindow::Channel {
    std::mutex asking;  // held by the worker thread whose question is up
    std::mutex mutex;
    std::condition_variable answered;
    bool cancelled = false;

    void Cancel() {
        std::lock_guard lock(mutex);
        cancelled = true;
        answered.notify_all();
    }
};

BatchProgressWindow::BatchProgressWindow(DialogHost& host, QWidget* parent)
    : QDialog(parent), host_(host), channel_(std::make_shared<Channel>()) {
    setObjectName(QStringLiteral("PROCES"));
    setWindowTitle(Res(StringId::BatchTitle));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    log_ = new QPlainTextEdit;
    log_->setObjectName(ControlName(3066));
    log_->setReadOnly(true);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(log_, 1);
    bar_ = new QProgressBar;
    bar_->setObjectName(ControlName(1378));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    layout->addWidget(bar_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    close_ = new QPushButton(QStringLiteral("Abbrechen"));
    close_->setObjectName(ControlName(1));
    close_->setAutoDefault(false);
    close_->hide();
    halt_ = new QPushButton(QStringLiteral("Anhalten"));
    halt_->setObjectName(ControlName(2));
    halt_->setAutoDefault(false);
    buttons->addWidget(close_);
    buttons->addWidget(halt_);
    layout->addLayout(buttons);
    connect(close_, &QPushButton::clicked, this, &BatchProgressWindow::reject);
    connect(halt_, &QPushButton::clicked, this, &BatchProgressWindow::reject);
    resize(560, 380);
    progressTimer_.setInterval(100);
    connect(&progressTimer_, &QTimer::timeout, this, &BatchProgressWindow::ShowProgress);
}

BatchProgressWindow::~BatchProgressWindow() {
    GiveUp();
}

bool BatchProgressWindow::Start(BatchJob job, BatchOptions options, BatchEnvironment environment,
                                int threads) {
    if (Running()) return false;
    worker_ = std::make_unique<BatchWorker>();
    connect(worker_.get(), &BatchWorker::LogCleared, log_, &QPlainTextEdit::clear);
    connect(worker_.get(), &BatchWorker::LogAppended, this, &BatchProgressWindow::Append);
    connect(worker_.get(), &BatchWorker::Told, this, &BatchProgressWindow::QueueMessage);
    connect(worker_.get(), &BatchWorker::Finished, this, &BatchProgressWindow::Ended);
    close_->hide();
    halt_->show();
    setWindowTitle(Res(StringId::BatchTitle));
    bar_->setValue(0);
    channel_ = std::make_shared<Channel>();
    BatchThreads run;
    run.count = threads;
    progress_ = -1;
    run.progress = [this](ProgressDirection direction, int percent) {
        progress_.store(static_cast<int>(direction) * 1000 + std::clamp(percent, 0, 999),
                        std::memory_order_relaxed);
    };
    progressTimer_.start();
    run.overwrite = AskInWindow();
    return worker_->Start(std::move(job), std::move(options), std::move(environment),
                          std::move(run));
}

bool BatchProgressWindow::Running() const {
    return worker_ && worker_->IsRunning();
}

void BatchProgressWindow::GiveUp() {
    if (!worker_) return;
    // A worker waiting for an answer hears "No" and goes on to give up its file.
    channel_->Cancel();
    worker_->Abort();
    worker_->Wait();
}

BatchSummary BatchProgressWindow::Summary() const {
    return worker_ ? worker_->Summary() : BatchSummary{};
}

QString BatchProgressWindow::LogText() const {
    return log_->toPlainText();
}

OverwritePolicy BatchProgressWindow::AskInWindow() {
    // Called on a worker thread: the question goes to this window's thread and the worker
    // waits for its answer.
    const std::shared_ptr<Channel> channel = channel_;
    return ConfirmPolicy::Asking([this, channel](const Question& question) {
        std::lock_guard one(channel->asking);
        auto answer = std::make_shared<std::optional<bool>>();
        QMetaObject::invokeMethod(
            this,
            [this, channel, answer, question] {
                const bool yes = host_.Ask(this, Q(question.text), Q(question.caption),
                                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
                std::lock_guard lock(channel->mutex);
                *answer = yes;
                channel->answered.notify_all();
            },
            Qt::QueuedConnection);
        std::unique_lock lock(channel->mutex);
        channel->answered.wait(lock, [&] { return answer->has_value() || channel->cancelled; });
        return answer->value_or(false);
    });
}

void BatchProgressWindow::Append(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    log_->moveCursor(QTextCursor::End);
    log_->insertPlainText(lines);
    log_->ensureCursorVisible();
}

void BatchProgressWindow::ShowProgress() {
    const int latest = progress_.load(std::memory_order_relaxed);
    if (latest < 0 || latest == shownProgress_) return;
    shownProgress_ = latest;
    const int direction = latest / 1000;
    const int percent = latest % 1000;
    const int text = direction == static_cast<int>(ProgressDirection::Reading)
                         ? StringId::ProgressReading
                         : StringId::ProgressWriting;
    setWindowTitle(Q(FormatResString(text, percent)));
    bar_->setValue(std::clamp(percent, 0, 100));
}

void BatchProgressWindow::QueueMessage(const QString& text, const QString& caption, int icon) {
    messages_.push_back({text, caption, icon});
    ShowMessages();
}

void BatchProgressWindow::ShowMessages() {
    // One box at a time; what arrives meanwhile waits its turn.
    if (telling_) return;
    telling_ = true;
    while (!messages_.empty()) {
        const Message message = std::move(messages_.front());
        messages_.pop_front();
        const auto icon = static_cast<MessageIcon>(message.icon);
        host_.Tell(this, message.text, message.caption,
                   icon == MessageIcon::Information ? QMessageBox::Information
                   : icon == MessageIcon::Error     ? QMessageBox::Critical
                                                    : QMessageBox::Warning);
    }
    telling_ = false;
}

void BatchProgressWindow::Ended() {
    if (worker_) worker_->Wait();
    progressTimer_.stop();
    halt_->hide();
    close_->show();
    setWindowTitle(Res(StringId::BatchTitle));
    emit RunEnded();
}

void BatchProgressWindow::Halt() {
    worker_->Stop();
    host_.Tell(this, Res(StringId::BatchStopAfterCurrent), Res(StringId::WarningCaption));
}

void BatchProgressWindow::reject() {
    // "Anhalten" (and Escape) while the worker runs: it ends after the file it converts.
    if (Running()) {
        Halt();
        return;
    }
    QDialog::reject();
}

void BatchProgressWindow::closeEvent(QCloseEvent* event) {
    if (Running()) {
        event->ignore();
        Halt();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace duplora

#include "app/batch/batch_worker.h"

#include <utility>

namespace duplora {

BatchWorker::BatchWorker(QObject* parent) : QObject(parent) {}

BatchWorker::~BatchWorker() {
    Abort();
    Wait();
}

bool BatchWorker::Start(BatchJob job, BatchOptions options, BatchEnvironment environment,
                        BatchThreads threads) {
    if (running_.load()) return false;
    if (thread_.joinable()) thread_.join();
    control_ = std::make_unique<BatchControl>();
    running_ = true;
    // The worker's progress goes to the window by signal, unless the caller has its own.
    if (!threads.progress) {
        threads.progress = [this](ProgressDirection direction, int percent) {
            emit ProgressChanged(static_cast<int>(direction), percent);
        };
    }
    thread_ = std::jthread([this, job = std::move(job), options = std::move(options),
                            environment = std::move(environment), threads = std::move(threads)] {
        BatchLogSink log;
        log.clear = [this] { emit LogCleared(); };
        log.append = [this](std::string_view text) {
            emit LogAppended(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        };
        log.tell = [this](const Failure& message) {
            emit Told(QString::fromStdString(message.MessageText()),
                      QString::fromStdString(message.CaptionText()),
                      static_cast<int>(message.icon));
        };
        summary_ = RunBatch(job, options, environment, log, *control_, threads);
        running_ = false;
        emit Finished();
    });
    return true;
}

void BatchWorker::Stop() {
    if (control_) control_->stop = true;
}

void BatchWorker::Abort() {
    if (control_) {
        control_->stop = true;
        control_->abort = true;
    }
}

void BatchWorker::Wait() {
    if (thread_.joinable()) thread_.join();
}

BatchSummary BatchWorker::Summary() const {
    return running_.load() ? BatchSummary{} : summary_;
}

}  // namespace duplora

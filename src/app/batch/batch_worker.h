// The batch conversion's worker: one run at a time on a thread of its own, its log, its
// messages and the codecs' progress handed to the window by queued signals, stopped
// cooperatively.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

#include "core/batch/batch_run.h"

namespace duplora {

class BatchWorker : public QObject {
    Q_OBJECT

  public:
    explicit BatchWorker(QObject* parent = nullptr);
    // A run still going is given up (its current file removed) and waited for.
    ~BatchWorker() override;
    BatchWorker(const BatchWorker&) = delete;
    BatchWorker& operator=(const BatchWorker&) = delete;

    // Starts converting `job`; false while a run is going. The overwrite policy and the
    // progress of `threads` serve the worker's threads; an asking policy is asked on them and
    // must answer there (the window blocks the worker while it asks).
    bool Start(BatchJob job, BatchOptions options, BatchEnvironment environment,
               BatchThreads threads = {});

    bool IsRunning() const { return running_.load(); }
    // "Anhalten": the run ends after the file being converted.
    void Stop();
    // Closing the dialog: the file being converted is given up too, and what it had
    // written is removed.
    void Abort();
    // Blocks until the run has ended.
    void Wait();
    // The outcome of the last run that ended.
    BatchSummary Summary() const;

  signals:
    void LogCleared();
    void LogAppended(const QString& text);
    // ProgressDirection as a number, and the percent.
    void ProgressChanged(int direction, int percent);
    // A message for the user (a file of another type, a failed save), after its file's log;
    // `icon` is a MessageIcon as a number.
    void Told(const QString& text, const QString& caption, int icon);
    void Finished();

  private:
    std::atomic<bool> running_{false};
    std::unique_ptr<BatchControl> control_;
    BatchSummary summary_;
    std::jthread thread_;
};

}  // namespace duplora

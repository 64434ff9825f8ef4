// The batch conversion's progress window: a modeless window over the worker with the running
// log, the codecs' progress in its bar and title, "Anhalten" while the run goes and
// "Abbrechen" once it is over. The questions of a run (replace an existing output?) and its
// messages are put to the user here, on the window's thread, while the worker waits.
#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>

#include <atomic>
#include <deque>
#include <memory>

#include "core/batch/batch_run.h"

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace duplora {

class BatchWorker;
class DialogHost;

class BatchProgressWindow : public QDialog {
    Q_OBJECT

  public:
    BatchProgressWindow(DialogHost& host, QWidget* parent);
    // A run still going is given up (its half-written file removed) and waited for.
    ~BatchProgressWindow() override;

    // Starts the run; `threads.count` files are converted at once. The worker asks about
    // existing outputs through this window.
    bool Start(BatchJob job, BatchOptions options, BatchEnvironment environment, int threads);
    bool Running() const;
    // Closing the program or the window during a run: the file being converted is given up
    // and removed, and the worker is waited for.
    void GiveUp();
    // The outcome of the run once it has ended.
    BatchSummary Summary() const;
    // The log as shown.
    QString LogText() const;

  signals:
    void RunEnded();

  protected:
    void reject() override;  // Escape and the title bar's close button
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Channel;
    void Append(const QString& text);
    void ShowProgress();
    void QueueMessage(const QString& text, const QString& caption, int icon);
    void ShowMessages();
    void Ended();
    void Halt();
    OverwritePolicy AskInWindow();

    DialogHost& host_;
    std::unique_ptr<BatchWorker> worker_;
    std::shared_ptr<Channel> channel_;
    QPlainTextEdit* log_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* close_ = nullptr;  // "Abbrechen", once the run is over
    QPushButton* halt_ = nullptr;   // "Anhalten", while it runs
    struct Message {
        QString text;
        QString caption;
        int icon = 0;
    };
    std::deque<Message> messages_;
    // The codecs report from the worker's threads far more often than a screen shows: the
    // latest report (direction × 1000 + percent, −1 for none) is shown a few times a second.
    std::atomic<int> progress_{-1};
    int shownProgress_ = -1;
    QTimer progressTimer_;
    bool telling_ = false;
};

}  // namespace duplora

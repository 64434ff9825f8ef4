#include "gui/shell/file_dialog_panel.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <deque>

#include "gui/shell/dialogs.h"

namespace duplora {

namespace {

std::deque<DialogDriver>& Drivers() {
    static std::deque<DialogDriver> drivers;
    return drivers;
}

}  // namespace

void QueueDialogDriver(DialogDriver driver) {
    Drivers().push_back(std::move(driver));
}

void ClearDialogDrivers() {
    Drivers().clear();
}

int QueuedDialogDrivers() {
    return static_cast<int>(Drivers().size());
}

FileDialogPanel::FileDialogPanel(const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QHBoxLayout(this);
    files_ = new QFileDialog(this, Qt::Widget);
    files_->setOption(QFileDialog::DontUseNativeDialog, true);
    files_->setSizeGripEnabled(false);
    files_->setWindowTitle(title);
    layout->addWidget(files_, 1);
    panel_ = new QWidget(this);
    panel_->setObjectName(QStringLiteral("optionPanel"));
    panelLayout_ = new QVBoxLayout(panel_);
    panelLayout_->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel_);
    connect(files_, &QFileDialog::filesSelected, this,
            [this](const QStringList& files) { chosen_ = files; });
    connect(files_, &QFileDialog::currentChanged, this,
            [this](const QString& path) { SelectionChanged(path); });
    // The embedded dialog's own buttons close this one.
    connect(files_, &QDialog::finished, this, [this](int result) {
        if (result == QDialog::Accepted && !chosen_.isEmpty()) Accepting();
        done(result);
    });
}

QLineEdit* FileDialogPanel::NameBox() const {
    return files_->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

void FileDialogPanel::SelectFiles(const QStringList& files) {
    chosen_ = files;
    if (files.isEmpty()) return;
    const QFileInfo first(files.front());
    files_->setDirectory(first.absolutePath());
    if (QLineEdit* box = NameBox()) {
        QStringList names;
        for (const QString& file : files) names << QFileInfo(file).fileName();
        box->setText(names.size() == 1
                         ? names.front()
                         : QStringLiteral("\"") + names.join(QStringLiteral("\" \"")) +
                               QStringLiteral("\""));
    }
    SelectionChanged(files.front());
}

bool FileDialogPanel::Run() {
    chosen_.clear();
    if (!dialogs::Skipped()) return exec() == QDialog::Accepted && !chosen_.isEmpty();
    bool accepted = false;
    if (!Drivers().empty()) {
        DialogDriver driver = std::move(Drivers().front());
        Drivers().pop_front();
        accepted = driver && driver(*this) && !chosen_.isEmpty();
    } else {
        // Counted as a skipped dialog with the next queued files as its answer.
        const QStringList files = dialogs::OpenFileNames(this, windowTitle(), QString(), QString());
        if (!files.isEmpty()) {
            SelectFiles(files);
            accepted = true;
        }
    }
    if (accepted) Accepting();
    setResult(accepted ? QDialog::Accepted : QDialog::Rejected);
    return accepted;
}

}  // namespace duplora

#include "gui/shell/file_dialog_panel.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/shell/dialog_host.h"

namespace duplora {

FileDialogPanel::FileDialogPanel(const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    setSizeGripEnabled(true);
    auto* layout = new QHBoxLayout(this);
    files_ = new QFileDialog(this);
    // QDialog makes every dialog a window of its own; as a plain child it sits in this one.
    files_->setWindowFlags(Qt::Widget);
    files_->setOption(QFileDialog::DontUseNativeDialog, true);
    files_->setSizeGripEnabled(false);
    files_->setWindowTitle(title);
    layout->addWidget(files_, 1);
    panel_ = new QWidget(this);
    panel_->setObjectName(QStringLiteral("optionPanel"));
    panelLayout_ = new QVBoxLayout(panel_);
    panelLayout_->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel_);
    resize(900, 520);
    connect(files_, &QFileDialog::filesSelected, this,
            [this](const QStringList& files) { chosen_ = files; });
    connect(files_, &QFileDialog::currentChanged, this,
            [this](const QString& path) { SelectionChanged(path); });
    // The embedded dialog's own buttons (and Return, Escape) close this one.
    connect(files_, &QDialog::finished, this, [this](int result) {
        if (result == QDialog::Accepted && !chosen_.isEmpty()) Accepting();
        done(result == QDialog::Accepted && !chosen_.isEmpty() ? QDialog::Accepted
                                                               : QDialog::Rejected);
    });
}

QLineEdit* FileDialogPanel::NameBox() const {
    return files_->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

void FileDialogPanel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Typing a name and Return is the quickest way through any file dialog.
    if (QLineEdit* box = NameBox()) {
        box->setFocus(Qt::OtherFocusReason);
        QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
    }
}

bool FileDialogPanel::Run(DialogHost& host) {
    chosen_.clear();
    return host.Run(*this) && !chosen_.isEmpty();
}

}  // namespace duplora

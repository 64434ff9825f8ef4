#include "gui/shell/dialog_host.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QTranslator>
#include <QUrl>

namespace duplora {

bool DialogHost::Run(QDialog& dialog) {
    return Exec(dialog) == QDialog::Accepted;
}

QMessageBox::StandardButton DialogHost::Ask(QWidget* parent, const QString& text,
                                            const QString& caption,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::Icon icon) {
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    Exec(box);
    if (QAbstractButton* clicked = box.clickedButton()) {
        const QMessageBox::StandardButton button = box.standardButton(clicked);
        if (button != QMessageBox::NoButton) return button;
    }
    if (buttons & QMessageBox::Cancel) return QMessageBox::Cancel;
    if (buttons & QMessageBox::No) return QMessageBox::No;
    return QMessageBox::Ok;
}

void DialogHost::Tell(QWidget* parent, const QString& text, const QString& caption,
                      QMessageBox::Icon icon) {
    Ask(parent, text, caption, QMessageBox::Ok, icon);
}

void DialogHost::Tell(QWidget* parent, const Failure& failure) {
    ForEachMessage(failure, [&](const Failure& message) {
        const QMessageBox::Icon icon = message.icon == MessageIcon::Information
                                           ? QMessageBox::Information
                                       : message.icon == MessageIcon::Error ? QMessageBox::Critical
                                                                            : QMessageBox::Warning;
        Tell(parent, QString::fromStdString(message.MessageText()),
             QString::fromStdString(message.CaptionText()), icon);
    });
}

bool DialogHost::TellSaved(QWidget* parent, const Result<Warnings>& saved) {
    if (!saved) {
        Tell(parent, saved.Error());
        return false;
    }
    for (const Failure& warning : saved.Value()) Tell(parent, warning);
    return true;
}

ConfirmPolicy DialogHost::Asking(QWidget* parent) {
    return ConfirmPolicy::Asking([this, parent](const Question& question) {
        const bool okCancel = question.kind == QuestionKind::OkCancel;
        const auto answer = Ask(
            parent, QString::fromStdString(question.text), QString::fromStdString(question.caption),
            okCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Yes | QMessageBox::No,
            QMessageBox::Question);
        return answer == (okCancel ? QMessageBox::Ok : QMessageBox::Yes);
    });
}

QStringList DialogHost::PickFiles(QWidget* parent, const QString& title, const QString& folder,
                                  const QString& filter, bool several) {
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setObjectName(QStringLiteral("fileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (!Run(dialog)) return {};
    return dialog.selectedFiles();
}

QString DialogHost::PickFolder(QWidget* parent, const QString& title, const QString& folder) {
    QFileDialog dialog(parent, title, folder);
    dialog.setObjectName(QStringLiteral("folderDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (!Run(dialog) || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

std::optional<QColor> DialogHost::PickColour(QWidget* parent, const QColor& initial,
                                             const QString& title) {
    QColorDialog dialog(initial, parent);
    dialog.setObjectName(QStringLiteral("colourDialog"));
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (!title.isEmpty()) dialog.setWindowTitle(title);
    if (!Run(dialog)) return std::nullopt;
    return dialog.selectedColor();
}

std::optional<QFont> DialogHost::PickFont(QWidget* parent, const QFont& initial,
                                          const QString& title) {
    QFontDialog dialog(initial, parent);
    dialog.setObjectName(QStringLiteral("fontDialog"));
    dialog.setOption(QFontDialog::DontUseNativeDialog, true);
    if (!title.isEmpty()) dialog.setWindowTitle(title);
    if (!Run(dialog)) return std::nullopt;
    return dialog.selectedFont();
}

int WindowDialogHost::Exec(QDialog& dialog) {
    return dialog.exec();
}

bool WindowDialogHost::StartProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

bool WindowDialogHost::OpenWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool InstallGermanQtTexts() {
    static QTranslator* installed = nullptr;
    if (installed) return true;
    auto* texts = new QTranslator(QCoreApplication::instance());
    if (!texts->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete texts;
        return false;
    }
    QCoreApplication::installTranslator(texts);
    installed = texts;
    return true;
}

}  // namespace duplora

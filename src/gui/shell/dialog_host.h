// Everything the window asks of the person in front of it goes through one DialogHost: message
// boxes, modal dialogs, file, colour and font choosers, and starting other programs. The
// program passes the real host, which shows each one; tests pass a scripted host that shows
// the dialog too and then plays the user on its visible widgets.
#pragma once

#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

#include "core/util/question.h"
#include "core/util/result.h"

class QDialog;
class QUrl;
class QWidget;

namespace duplora {

class DialogHost {
  public:
    virtual ~DialogHost() = default;

    // Runs `dialog` modally and returns what exec() would: QDialog::Accepted or Rejected, or
    // for a message box the standard button pressed.
    virtual int Exec(QDialog& dialog) = 0;
    // Starts a program with its arguments (never through a shell); false when it did not start.
    virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;
    // Lets the desktop open `url` (the help page); false when nothing took it.
    virtual bool OpenWithDesktop(const QUrl& url) = 0;

    // ---- built on Exec ---------------------------------------------------------------------
    // True when the dialog was accepted.
    bool Run(QDialog& dialog);
    // A message box modal to `parent`; the button pressed. Closed without a button (Escape),
    // it counts as Cancel, else No, else OK, whichever it has.
    QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::Icon icon = QMessageBox::Question);
    // A message with an OK button.
    void Tell(QWidget* parent, const QString& text, const QString& caption,
              QMessageBox::Icon icon = QMessageBox::Warning);
    // Every message of a failure, earliest first; nothing for a quiet one.
    void Tell(QWidget* parent, const Failure& failure);
    // The failure of a save, or the warnings of the saved file; true when it was written.
    bool TellSaved(QWidget* parent, const Result<Warnings>& saved);
    // A policy that puts each question to the user in a box modal to `parent`.
    ConfirmPolicy Asking(QWidget* parent);
    // Qt's own file dialog (never the desktop's) for one existing file, or several with
    // `several`; empty when cancelled.
    QStringList PickFiles(QWidget* parent, const QString& title, const QString& folder,
                          const QString& filter, bool several = false);
    // An existing folder; empty when cancelled.
    QString PickFolder(QWidget* parent, const QString& title, const QString& folder);
    // The colour and font choosers; nothing when cancelled.
    std::optional<QColor> PickColour(QWidget* parent, const QColor& initial,
                                     const QString& title = QString());
    std::optional<QFont> PickFont(QWidget* parent, const QFont& initial,
                                  const QString& title = QString());
};

// The host of the running program: every dialog is shown and waits for the user.
class WindowDialogHost : public DialogHost {
  public:
    int Exec(QDialog& dialog) override;
    bool StartProgram(const QString& program, const QStringList& arguments) override;
    bool OpenWithDesktop(const QUrl& url) override;
};

// Qt's own texts in the file dialogs and message boxes (buttons, labels, its questions) in
// German, like the rest of the window. False when Qt's translations are not installed.
bool InstallGermanQtTexts();

}  // namespace duplora

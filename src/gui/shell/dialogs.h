// Every modal question and file dialog of the window goes through here, so that a test can
// run the whole window without a dialog ever waiting for a person: with dialogs skipped, each
// one takes the next queued answer (or none: no file, Cancel) and is counted instead of shown.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace duplora::dialogs {

// Skipped dialogs are not shown. The queues are emptied when skipping is switched.
void SetSkipped(bool skipped);
bool Skipped();

// Answers for the next skipped dialogs, first in first out: a file dialog takes the next
// file answer (several names for a multiple selection), a message box the next button.
void QueueFiles(const QStringList& files);
void QueueButton(QMessageBox::StandardButton button);
// How many dialogs were skipped since the last reset, and the text of the last one.
int SkippedCount();
QString LastSkippedText();
QString LastSkippedCaption();
void ResetSkipped();

// A file to open (non-native dialog, file must exist); empty when cancelled.
QString OpenFileName(QWidget* parent, const QString& title, const QString& folder,
                     const QString& filter);
// One or more files to open; empty when cancelled.
QStringList OpenFileNames(QWidget* parent, const QString& title, const QString& folder,
                          const QString& filter);

// A message box modal to `parent`; the button pressed. Skipped without a queued answer it
// gives Cancel, else No, else OK.
QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption,
                                QMessageBox::StandardButtons buttons, QMessageBox::Icon icon);
// A message with an OK button.
void Tell(QWidget* parent, const QString& text, const QString& caption,
          QMessageBox::Icon icon = QMessageBox::Warning);

// Qt's own texts in the file dialogs and message boxes (buttons, labels, its questions) in
// German, like the rest of the window. False when Qt's translations are not installed.
bool InstallGermanQtTexts();

// Starting another program counts as a dialog too: never while dialogs are skipped.
bool ProgramStartsAllowed();

}  // namespace duplora::dialogs

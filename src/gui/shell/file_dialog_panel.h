// The open and save dialogs of the window: Qt's own file dialog (never the desktop's, so the
// option panel can sit beside it) embedded as a widget on the left, the dialog's options on
// the right. Every such dialog runs through Run(), which a test can drive without showing it.
#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class QFileDialog;
class QLineEdit;
class QVBoxLayout;

namespace duplora {

class FileDialogPanel : public QDialog {
    Q_OBJECT

  public:
    FileDialogPanel(const QString& title, QWidget* parent);

    QFileDialog* Files() const { return files_; }
    // The option panel (hidden while it holds nothing).
    QWidget* Panel() const { return panel_; }
    // The file-name box of the file dialog; null if Qt ever renames it.
    QLineEdit* NameBox() const;

    // What was chosen once the dialog is accepted: the files picked in the list, or those
    // given to SelectFiles.
    const QStringList& Chosen() const { return chosen_; }
    // Picks files as if the user had: the first goes into the name box, the preview follows.
    virtual void SelectFiles(const QStringList& files);

    // Shows the dialog modally. With dialogs skipped (dialogs.h), the next queued driver gets
    // the dialog instead, or else the next queued file answer is picked; nothing queued is a
    // cancel. True when accepted with at least one file.
    bool Run();

  protected:
    QVBoxLayout* PanelLayout() const { return panelLayout_; }
    // The selection in the file list changed to `path`.
    virtual void SelectionChanged(const QString& path) { Q_UNUSED(path); }
    // The dialog is being accepted with Chosen(); the last chance to adjust it.
    virtual void Accepting() {}
    QStringList chosen_;

  private:
    QFileDialog* files_ = nullptr;
    QWidget* panel_ = nullptr;
    QVBoxLayout* panelLayout_ = nullptr;
};

// For tests: the next file dialog run while dialogs are skipped is handed to the first queued
// driver, which sets it up as a user would; its result says whether the dialog was accepted.
using DialogDriver = std::function<bool(FileDialogPanel& dialog)>;
void QueueDialogDriver(DialogDriver driver);
void ClearDialogDrivers();
int QueuedDialogDrivers();

}  // namespace duplora

// The open and save dialogs of the window: Qt's own file dialog (never the desktop's, so the
// option panel can sit beside it) embedded as a widget on the left — file list, name box, type
// list and its buttons — and the dialog's options on the right.
#pragma once

#include <QDialog>
#include <QStringList>

class QFileDialog;
class QLineEdit;
class QVBoxLayout;

namespace duplora {

class DialogHost;

class FileDialogPanel : public QDialog {
    Q_OBJECT

  public:
    FileDialogPanel(const QString& title, QWidget* parent);

    QFileDialog* Files() const { return files_; }
    // The option panel (hidden while it holds nothing).
    QWidget* Panel() const { return panel_; }
    // The file-name box of the file dialog; null if Qt ever renames it.
    QLineEdit* NameBox() const;

    // What was chosen once the dialog is accepted.
    const QStringList& Chosen() const { return chosen_; }

    // Shows the dialog modally through `host`; true when accepted with at least one file.
    bool Run(DialogHost& host);

  protected:
    void showEvent(QShowEvent* event) override;
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

}  // namespace duplora

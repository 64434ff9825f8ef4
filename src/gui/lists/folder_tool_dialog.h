// The file dialog of the tools that work on many files of one folder (renaming, the mosaic,
// the list maker): two buttons beside the file list close it, 1367 for the picked files and
// 1368 for every picture of the folder; the dialog's own accept button counts as 1367.
#pragma once

#include <QStringList>

#include "gui/shell/file_dialog_panel.h"

class QHBoxLayout;
class QPushButton;

namespace duplora {

// Which button closed the dialog.
enum class FolderToolAction { Picked, WholeFolder };

// The filter of the tools' file lists: the pictures and stereo files the program reads, and
// every file.
QStringList PictureFileFilters();

// A push button of a panel with its control id, which Return in a field does not press.
QPushButton* PanelButton(const char* text, int control);

class FolderToolDialog : public FileDialogPanel {
    Q_OBJECT

  public:
    FolderToolDialog(const QString& title, const QString& folder, const QStringList& filters,
                     QWidget* parent);
    FolderToolAction Action() const { return action_; }
    // The folder the list shows.
    QString Folder() const;

  protected:
    // Adds the two buttons to the panel, in the row returned.
    QHBoxLayout* AddActionButtons(const char* picked, const char* wholeFolder);

  private:
    FolderToolAction action_ = FolderToolAction::Picked;
};

}  // namespace duplora

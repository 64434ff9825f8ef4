// The two folder tools: renaming picked files by one of four rules, with a line that shows
// what the rule makes of a sample name as it is typed, and joining picked pictures side by
// side into one BMP file.
#pragma once

#include <QStringList>

#include "core/batch/rename.h"
#include "gui/shell/file_dialog_panel.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace duplora {

class DialogHost;

// Which button closed a folder tool: the picked files, or every picture of the folder.
enum class FolderToolAction { Picked, WholeFolder };

// The filter of both tools' file lists: the pictures the program reads, and every file.
QStringList PictureFileFilters();

// A file dialog whose two buttons 1367 (the picked files) and 1368 (the whole folder) close
// it; the dialog's own accept button counts as 1367.
class FolderToolDialog : public FileDialogPanel {
    Q_OBJECT

  public:
    FolderToolDialog(const QString& title, const QString& folder, QWidget* parent);
    FolderToolAction Action() const { return action_; }
    // The folder the list shows.
    QString Folder() const;

  protected:
    // Adds the two buttons to the panel.
    void AddActionButtons(const char* picked, const char* wholeFolder);

  private:
    FolderToolAction action_ = FolderToolAction::Picked;
};

// "Mehrfach Umbenennen" (MULTIRENAME).
class RenameDialog : public FolderToolDialog {
    Q_OBJECT

  public:
    RenameDialog(const RenameOptions& options, const QString& folder, QWidget* parent = nullptr);
    RenameOptions Options() const;
    // The sample line as shown.
    QString SampleLine() const;

  private:
    void UpdateSample();

    QRadioButton* rules_[4] = {};
    QLineEdit* add_ = nullptr;
    QLineEdit* remove_ = nullptr;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QLineEdit* prefix_ = nullptr;
    QLineEdit* start_ = nullptr;
    QLineEdit* suffix_ = nullptr;
    QLabel* sample_ = nullptr;
};

// "Mosaik Bild" (MULTICONNECT): the picked pictures and the BMP file they are joined into.
class MosaicDialog : public FolderToolDialog {
    Q_OBJECT

  public:
    MosaicDialog(const QString& folder, DialogHost& host, QWidget* parent = nullptr);
    QString Target() const;

  private:
    DialogHost& host_;
    QLineEdit* target_ = nullptr;
    bool targetTyped_ = false;
};

}  // namespace duplora

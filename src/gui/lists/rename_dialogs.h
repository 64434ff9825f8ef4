// The two folder tools: renaming picked files by one of four rules, with a line that shows
// what the rule makes of a sample name as it is typed, and joining picked pictures side by
// side into one BMP file.
#pragma once

#include "core/batch/rename.h"
#include "gui/lists/folder_tool_dialog.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace duplora {

class DialogHost;

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

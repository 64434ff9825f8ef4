// The dialogs of the slide-show lists: opening a list for the show (display mode, swap,
// comment, autostart and interval beside the file list), making or extending a list from
// picked pictures, and choosing the list that later additions go to.
#pragma once

#include <QStringList>

#include <functional>

#include "app/batch/slide_list.h"
#include "core/formats/open_preview.h"
#include "gui/lists/folder_tool_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace duplora {

class DialogHost;

// "Text File (*.TXT)" in either case, and every file.
QStringList ListFileFilters();

// A list file to write into, picked in Qt's save dialog (it need not exist); empty when
// cancelled.
QString PickListFile(DialogHost& host, QWidget* parent, const QString& current);

// "Slide Show Liste öffnen" (OPENSS).
class OpenListDialog : public FileDialogPanel {
    Q_OBJECT

  public:
    // `showTypeChosen` hears every display-mode radio as it is clicked.
    OpenListDialog(const SlideShowOptions& options, const QString& folder,
                   std::function<void(int)> showTypeChosen, QWidget* parent = nullptr);

    // The options as the panel shows them; an interval typed out of range reads as 30.
    SlideShowOptions Options() const;

  private:
    QRadioButton* types_[6] = {};
    QCheckBox* swap_ = nullptr;
    QCheckBox* hideComment_ = nullptr;
    QCheckBox* autostart_ = nullptr;
    QLineEdit* interval_ = nullptr;
};

struct ListMakerChoices {
    QString listPath;
    int sourceLayout = 0;  // 0-3 the layouts, 4 separate left and right files
    QString rightFolder;
    bool swap = false;
    int interval = 0;  // tenths; 0 the list's default
    QString comment;
    bool showPreview = false;
};

// "Slide Show Liste erstellen/verändern" (MAKESSCRIPT).
class ListMakerDialog : public FolderToolDialog {
    Q_OBJECT

  public:
    ListMakerDialog(const ListMakerChoices& choices, const QString& folder, DialogHost& host,
                    PreviewOptions preview, QWidget* parent = nullptr);

    ListMakerChoices Choices() const;
    // The pictures to add: the picked ones, or every picture of the shown folder.
    QStringList Pictures() const;
    // Whether the preview box shows a picture now.
    bool PreviewShown() const;

  protected:
    void SelectionChanged(const QString& path) override;

  private:
    void AskDelete(bool wholeFile);
    void LoadPreview(const QString& path);

    DialogHost& host_;
    PreviewOptions previewOptions_;
    QCheckBox* preview_ = nullptr;
    QLabel* box_ = nullptr;
    QLineEdit* list_ = nullptr;
    QRadioButton* layouts_[5] = {};
    QLineEdit* rightFolder_ = nullptr;
    QCheckBox* swap_ = nullptr;
    QLineEdit* interval_ = nullptr;
    QLineEdit* comment_ = nullptr;
};

// "Slide Show Liste auswählen" (OPENWRSS): the list that additions and written alignments go
// to, with the display time of added entries.
class ChooseListDialog : public FileDialogPanel {
    Q_OBJECT

  public:
    ChooseListDialog(const QString& current, int time, QWidget* parent = nullptr);
    int Time() const;

  private:
    QLineEdit* time_ = nullptr;
};

}  // namespace duplora

// The three open dialogs: a stereo file with its layout radio buttons, a left and a right
// file (several may be picked at once), and a single picture. The panel beside the file list
// previews the selected file and tells its type, size and colours; for a JPEG with an Exif
// orientation it offers the rotation, written into the file itself.
#pragma once

#include <optional>

#include "core/formats/open_preview.h"
#include "core/formats/stereo_layout.h"
#include "gui/shell/file_dialog_panel.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;

namespace duplora {

class PluginTable;

enum class OpenDialogKind {
    StereoFile,  // "Stereobild öffnen": layout radios, preview, "in Normalgröße öffnen"
    LeftRight,   // "Linkes Bild öffnen": several files, preview
    RightFile,   // "Rechtes Bild öffnen": one file, preview
    Single,      // "Monobild öffnen": the file list alone
};

struct OpenDialogSetup {
    OpenDialogKind kind = OpenDialogKind::StereoFile;
    QString title;
    QString folder;
    QString filter;
    // The layout the radios start on (LayoutForStereoDialog).
    StereoLayout layout = StereoLayout::SideBySide;
    bool showPreview = false;  // openPreview
    bool fitSize = false;      // openAtFullSize
    PreviewOptions preview;
};

// "JPS/DAS/BMI/JPG/STJ/BMP/TIF File" (which shows multi-picture files, too), "MPO Stereo
// File", one entry per plug-in pattern, "All Files".
QString OpenDialogFilter(const PluginTable* plugins);

class OpenDialog : public FileDialogPanel {
    Q_OBJECT

  public:
    explicit OpenDialog(OpenDialogSetup setup, QWidget* parent = nullptr);

    OpenDialogKind Kind() const { return setup_.kind; }
    StereoLayout Layout() const { return layout_; }
    bool ShowPreview() const { return setup_.showPreview; }
    bool FitSize() const { return setup_.fitSize; }
    // The preview of the selected file; none while the preview is off or nothing could be
    // opened.
    const std::optional<OpenPreview>& Preview() const { return preview_; }

  protected:
    void SelectionChanged(const QString& path) override;
    void Accepting() override;

  private:
    void BuildPanel();
    void SetPreviewOn(bool on);
    void LoadPreview(const QString& path);
    void ShowPreviewTexts();
    void ChooseRotation(int radioId);
    // Checks the layout radio of what the file's content tells (stereo-file dialog only).
    void PreselectLayout(const QString& path);

    OpenDialogSetup setup_;
    StereoLayout layout_ = StereoLayout::SideBySide;
    QString lastName_;
    QString detectedFor_;
    bool layoutPicked_ = false;  // a layout radio was clicked since the last detection
    std::optional<OpenPreview> preview_;
    QLabel* box_ = nullptr;
    QLabel* typeText_ = nullptr;
    QLabel* colourText_ = nullptr;
    QRadioButton* rotation_[4] = {};
    QButtonGroup* layoutRadios_ = nullptr;
};

}  // namespace duplora

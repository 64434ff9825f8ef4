// The save dialogs: the stereo picture ("Stereobild Speichern", JPEG, BMP, JPS or STJ) and
// the left and right files ("Linkes/Rechtes Bild Speichern", JPEG or BMP with a name suffix
// for each). The panel beside the file list sets the JPEG quality and shows what the file
// will cost: an estimate from a small copy of the picture, or the exact size by encoding the
// whole picture once, and the small copy as the encoder leaves it.
#pragma once

#include <span>

#include "core/formats/save_estimate.h"
#include "core/formats/stereo_save.h"
#include "gui/shell/file_dialog_panel.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace duplora {

enum class SaveDialogKind { StereoPicture, LeftRight };

struct SaveDialogSetup {
    SaveDialogKind kind = SaveDialogKind::StereoPicture;
    QString title;
    QString folder;
    QString name;  // offered file name
    // The picture to save; must outlive the dialog.
    const ImageBuffer* saveImage = nullptr;
    SaveSettings settings;  // type the dialog starts on, quality, Exif and mirror switches
    QString leftSuffix;
    QString rightSuffix;
    // The picture is side by side or over/under: it may be saved with its views halved.
    bool offerHalfSize = false;
};

class SaveDialog : public FileDialogPanel {
    Q_OBJECT

  public:
    explicit SaveDialog(SaveDialogSetup setup, QWidget* parent = nullptr);

    SaveDialogKind Kind() const { return setup_.kind; }
    // The panel's choices (the type as picked in the type list).
    SaveSettings Settings() const { return setup_.settings; }
    QString LeftSuffix() const;
    QString RightSuffix() const;
    QString NameInBox() const;
    const SavePreview& PreviewCopy() const { return preview_; }
    const SizeEstimate& Estimate() const { return estimate_; }

    void SetQuality(int quality);
    void SelectType(OutputFormat type);
    // "genaue Größe".
    void MeasureExact();
    // What a double click with the right button on the dialog does.
    void RevealMirrorSwitch();

  protected:
    void Accepting() override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void BuildPanel();
    void FollowType();
    void FixExtension();
    void Estimate(bool exact);
    int TypeIndex(OutputFormat type) const;

    SaveDialogSetup setup_;
    std::span<const OutputFormat> types_;  // the type list
    QStringList typeFilters_;
    SavePreview preview_;
    SizeEstimate estimate_;
    QLabel* sizeText_ = nullptr;
    QLabel* qualityLabel_ = nullptr;
    QLabel* qualityNumber_ = nullptr;
    QScrollBar* quality_ = nullptr;
    QLabel* estimateText_ = nullptr;
    QPushButton* exact_ = nullptr;
    QCheckBox* exif_ = nullptr;
    QCheckBox* cameraExif_ = nullptr;
    QCheckBox* halfSize_ = nullptr;
    QCheckBox* mirror_ = nullptr;
    QLabel* phoneNote_ = nullptr;
    QLabel* box_ = nullptr;
    QLineEdit* leftSuffix_ = nullptr;
    QLineEdit* rightSuffix_ = nullptr;
};

}  // namespace duplora

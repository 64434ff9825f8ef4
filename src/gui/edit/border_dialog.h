// "Rahmen" (BORDER): the three-part frame's widths for the view and for saving and
// printing, its three colours, rounded corners and whether it is shown, over a small
// preview of the pair in that frame.
#pragma once

#include <QDialog>
#include <QImage>

#include <array>
#include <optional>

#include "app/shell/settings.h"
#include "core/image/image_buffer.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace duplora {

class DialogHost;

// The widths the dialog accepts, in pixels.
inline constexpr int kMaxFrameBandWidth = 100;

struct BorderDialogSetup {
    QWidget* parent = nullptr;
    DialogHost* host = nullptr;  // the colour chooser runs through it
    BorderSet border;
    // The views the preview frames; the right one empty for a single picture.
    const ImageBuffer* left = nullptr;
    const ImageBuffer* right = nullptr;
};

class BorderDialog : public QDialog {
  public:
    explicit BorderDialog(const BorderDialogSetup& setup);

    // The values as the controls hold them; the background colour is kept as it came.
    BorderSet Border() const;
    // The preview's source (the views reduced and joined) and the framed picture shown.
    const ImageBuffer& PreviewSource() const { return source_; }
    const QImage& Shown() const { return shown_; }
    // The mode the preview is framed in: side by side for a pair, single otherwise.
    DisplayMode PreviewMode() const;

  private:
    void PickColour(int band);
    void UpdateSwatch(int band);
    void UpdatePreview();

    DialogHost* host_;
    BorderSet border_;
    ImageBuffer source_;
    bool pair_ = false;
    QImage shown_;
    QCheckBox* show_ = nullptr;
    QCheckBox* round_ = nullptr;
    std::array<QSpinBox*, 3> display_{};
    std::array<QSpinBox*, 3> print_{};
    std::array<int, 3> colours_{};
    std::array<QLabel*, 3> swatches_{};
    QLabel* preview_ = nullptr;
};

// The values when OK was pressed; nothing after Abbrechen.
std::optional<BorderSet> RunBorderDialog(const BorderDialogSetup& setup);

}  // namespace duplora

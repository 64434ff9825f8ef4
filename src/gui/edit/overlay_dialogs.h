// "Text hinzufügen" (ADDTEXT) and "Logo Bild hinzufügen" (ADDLOGO): where the overlay goes
// (corner, distances, depth), its band, and for the text its font, colours and shadow, for
// the logo its file and transparent colour; a live preview (3213) of the overlay on the first
// view; "Einstellungen speichern"/"sichern" and "Einstellungen wiederherstellen".
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/settings.h"
#include "core/edit/logo.h"
#include "core/formats/codec_options.h"
#include "core/image/image_buffer.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace duplora {

class DialogHost;
class SettingsStore;

struct OverlayDialogSetup {
    QWidget* parent = nullptr;
    DialogHost* host = nullptr;
    // The dialog reads the stored values and defaults from here; saving the defaults writes
    // them here and to `store` at once.
    Settings* settings = nullptr;
    SettingsStore* store = nullptr;      // may be null
    const ImageBuffer* first = nullptr;  // the view the preview stamps
    CodecOptions codec;                  // how the logo file is read
};

// What the two dialogs share: the position, the band, the preview and the two buttons that
// keep and bring back the defaults.
class OverlayDialog : public QDialog {
  public:
    // The picture shown in the preview now.
    const QImage& Preview() const { return preview_; }
    QLabel* PreviewFrame() const { return frame_; }

  protected:
    explicit OverlayDialog(const OverlayDialogSetup& setup);

    // The position group, for the subclass to place among its controls.
    QWidget* PositionGroup();
    QWidget* BandGroup(const char* check, const char* height, const char* colour,
                       const char* button);
    // Lays the subclass's controls out beside the preview, above the buttons.
    void Arrange(QLayout* controls, const char* saveText);
    // A sample of `*colour`, kept up to date by ShowSwatches.
    QLabel* Swatch(int control, int* colour);
    // A colour swatch (`swatch`) with its button (`button`) that opens the colour chooser.
    QLayout* ColourRow(const char* label, int swatch, int button, const char* buttonText,
                       int* colour);
    QSpinBox* NumberBox(int control, int minimum, int maximum);

    // The fields text and logo settings share: corner, distances, depth and band.
    template <typename Set>
    void ReadCommon(Set& set) const {
        set.corner = Corner();
        set.xDistance = Value(x_);
        set.yDistance = Value(y_);
        set.depth = Value(depth_);
        set.band = Checked(band_);
        set.bandHeight = Value(bandHeight_);
        set.bandColour = bandColour_;
    }
    template <typename Set>
    void ShowCommon(const Set& set) {
        ShowCommon(set.corner, set.xDistance, set.yDistance, set.depth, set.band != 0,
                   set.bandHeight);
        bandColour_ = set.bandColour;
    }
    void ShowSwatches();
    void ShowPreview(const QImage& picture);
    // Takes the values from the controls and draws the preview again.
    virtual void Refresh() = 0;
    virtual void SaveDefaults() = 0;
    virtual void RestoreDefaults() = 0;
    // A click at `at` (picture pixels) in the preview.
    virtual void PreviewClicked(QPoint at) { (void)at; }

    OverlayDialogSetup setup_;
    // The preview control's inner size: what the preview picture is cut to.
    static constexpr int kPreviewWidth = 320;
    static constexpr int kPreviewHeight = 240;
    bool loading_ = false;  // the dialog's own writes into the controls
    QImage preview_;

  private:
    QWidget* PreviewGroup();
    int Corner() const;
    static int Value(const QSpinBox* box);
    static int Checked(const QCheckBox* box);
    void ShowCommon(int corner, int x, int y, int depth, bool band, int bandHeight);

    std::array<QRadioButton*, 4> corners_{};
    QSpinBox* x_ = nullptr;
    QSpinBox* y_ = nullptr;
    QSpinBox* depth_ = nullptr;
    QCheckBox* band_ = nullptr;
    QSpinBox* bandHeight_ = nullptr;
    int bandColour_ = 0;
    QLabel* frame_ = nullptr;
    std::vector<std::pair<QLabel*, int*>> swatches_;
};

// ---- ADDTEXT ------------------------------------------------------------------------------

struct TextChoice {
    TextSet set;
    std::string font;  // QFont::toString()
};

class TextOverlayDialog : public OverlayDialog {
  public:
    explicit TextOverlayDialog(const OverlayDialogSetup& setup);
    TextChoice Choice() const;

  protected:
    void Refresh() override;
    void SaveDefaults() override;
    void RestoreDefaults() override;

  private:
    void Show(const TextSet& set, const std::string& font);
    void PickFont();

    std::string font_;
    int textColour_ = 0;
    int shadowColour_ = 0;
    QLineEdit* text_ = nullptr;
    QCheckBox* smooth_ = nullptr;
    QCheckBox* shadow_ = nullptr;
    QSpinBox* shadowX_ = nullptr;
    QSpinBox* shadowY_ = nullptr;
};

// ---- ADDLOGO ------------------------------------------------------------------------------

class LogoOverlayDialog : public OverlayDialog {
  public:
    explicit LogoOverlayDialog(const OverlayDialogSetup& setup);
    LogoSet Choice() const;
    // The logo the preview stamps (the built-in one when the file cannot be read).
    const LogoPicture& Logo() const { return logo_; }
    // "Auswahl" was clicked: the next click in the preview takes the transparent colour.
    bool Picking() const { return picking_; }

  protected:
    void Refresh() override;
    void SaveDefaults() override;
    void RestoreDefaults() override;
    void PreviewClicked(QPoint at) override;

  private:
    void Show(const LogoSet& set);
    void LoadLogoFile(const std::string& file);
    void PickFile();

    std::string file_;
    LogoPicture logo_;
    int transparentColour_ = 0xFFFFFF;
    bool picking_ = false;
    QCheckBox* transparent_ = nullptr;
    QLineEdit* fileField_ = nullptr;
    QPushButton* pickButton_ = nullptr;
};

// OK's values, already stored in the settings and written to the store; nothing when the
// dialog was cancelled (the settings then are as they were, bar saved defaults).
std::optional<TextChoice> AskTextOverlay(const OverlayDialogSetup& setup);
std::optional<LogoSet> AskLogoOverlay(const OverlayDialogSetup& setup);

}  // namespace duplora

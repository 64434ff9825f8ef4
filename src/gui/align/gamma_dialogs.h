// "Gamma Justage" (COLOR): one gamma per view over two small previews with their density;
// and "Anaglyph Einstellungen" (ANAGSET): the anaglyph colour pair and the gamma of each
// view that only the anaglyph display uses, over a preview of that anaglyph.
#pragma once

#include <QDialog>
#include <QImage>

#include <array>
#include <optional>

#include "core/image/image_buffer.h"
#include "core/stereo/display_mode.h"

class QButtonGroup;
class QLabel;
class QScrollBar;

namespace duplora {

class DialogHost;

// ---- COLOR --------------------------------------------------------------------------------

struct GammaChoice {
    int left = 100;
    int right = 100;
};

class GammaDialog : public QDialog {
  public:
    GammaDialog(QWidget* parent, const ImageBuffer& left, const ImageBuffer& right);

    GammaChoice Choice() const { return {gamma_[0], gamma_[1]}; }
    // The reduced view and its corrected preview as shown.
    const ImageBuffer& Base(bool right) const { return base_[right ? 1 : 0]; }
    const QImage& Shown(bool right) const { return shown_[right ? 1 : 0]; }

  private:
    void Show(int side);

    std::array<int, 2> gamma_{100, 100};
    std::array<ImageBuffer, 2> base_;
    std::array<QImage, 2> shown_;
    std::array<QScrollBar*, 2> bars_{};
    std::array<QLabel*, 2> labels_{};
    std::array<QLabel*, 2> frames_{};
};

// The two gamma values when OK was pressed.
std::optional<GammaChoice> RunGammaDialog(QWidget* parent, DialogHost& host,
                                          const ImageBuffer& left, const ImageBuffer& right);

// ---- ANAGSET ------------------------------------------------------------------------------

struct AnaglyphSettingsSetup {
    QWidget* parent = nullptr;
    DialogHost* host = nullptr;
    const ImageBuffer* left = nullptr;
    const ImageBuffer* right = nullptr;
    GreyAnaglyphPair greyPair = GreyAnaglyphPair::RedCyan;
    ColourAnaglyphKind colourKind = ColourAnaglyphKind::ColourRedCyan;
    bool fromColourMenu = false;  // opened from the colour anaglyph menu
    int leftGamma = 100;
    int rightGamma = 100;
    int* shownViews = nullptr;  // the preview selector, kept while the program runs
};

struct AnaglyphSettingsChoice {
    int choice = 0;  // 0, 1, …, as the radio buttons 1510, 1511, …
    int leftGamma = 100;
    int rightGamma = 100;
};

class AnaglyphSettingsDialog : public QDialog {
  public:
    explicit AnaglyphSettingsDialog(const AnaglyphSettingsSetup& setup);

    AnaglyphSettingsChoice Choice() const { return {choice_, gamma_[0], gamma_[1]}; }
    const ImageBuffer& Reduced(bool right) const { return reduced_[right ? 1 : 0]; }
    const QImage& Shown() const { return shown_; }
    int ShownViews() const { return shownViews_; }

  private:
    void Recompose();

    int choice_ = 0;
    int shownViews_ = 0;
    int* rememberShown_ = nullptr;
    std::array<int, 2> gamma_{100, 100};
    std::array<ImageBuffer, 2> reduced_;
    QImage shown_;
    std::array<QScrollBar*, 2> bars_{};
    std::array<QLabel*, 2> labels_{};
    QLabel* frame_ = nullptr;
};

std::optional<AnaglyphSettingsChoice> RunAnaglyphSettingsDialog(const AnaglyphSettingsSetup& setup);

}  // namespace duplora

// The two size dialogs of the edit menu: "Umrechnung Bildgröße" (resize both views) and
// "Freier Ausschnitt" (the size of a custom trim).
#pragma once

#include <QDialog>
#include <QSize>

#include <array>
#include <optional>

#include "app/image/trim_resize.h"
#include "app/shell/settings.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace duplora {

class DialogHost;

// "Umrechnung Bildgröße": X (1274) and Y (1300), the reference size (1301), "neu
// berechnen" (1303) and the three ways to keep the ratio (3240–3242).
class ResizeDialog : public QDialog {
    Q_OBJECT

  public:
    // `stored` is what the dialog showed last time, `reference` the pair's size after
    // alignment ("Originalgröße").
    ResizeDialog(const ResizeChoice& stored, QSize reference, QWidget* parent = nullptr);

    // The values as shown now.
    ResizeChoice Choice() const;

    QSpinBox* WidthBox() const { return x_; }
    QSpinBox* HeightBox() const { return y_; }
    QCheckBox* RecomputeBox() const { return recompute_; }
    QRadioButton* AspectButton(AspectMode mode) const { return aspect_[static_cast<int>(mode)]; }
    QLabel* ReferenceLabel() const { return referenceLabel_; }

  private:
    void WidthEdited(int value);
    void HeightEdited(int value);
    void AspectClicked(AspectMode mode);
    void Write(QSpinBox* box, int value);

    ResizeChoice stored_;
    QSize reference_;
    AspectMode aspectMode_;
    bool writing_ = false;  // the dialog's own writes are not edits
    QSpinBox* x_ = nullptr;
    QSpinBox* y_ = nullptr;
    QCheckBox* recompute_ = nullptr;
    std::array<QRadioButton*, 3> aspect_{};
    QLabel* referenceLabel_ = nullptr;
};

// "Freier Ausschnitt": width (1011) and height (1012) of the trim, whether to scale the cut
// to that size afterwards (3091), and the reference size (1273).
class TrimSizeDialog : public QDialog {
    Q_OBJECT

  public:
    TrimSizeDialog(const TrimResizeSet& stored, QSize reference, QWidget* parent = nullptr);

    TrimResizeSet Choice() const;

    QSpinBox* WidthBox() const { return width_; }
    QSpinBox* HeightBox() const { return height_; }
    QCheckBox* RescaleBox() const { return rescale_; }
    QLabel* ReferenceLabel() const { return referenceLabel_; }

  private:
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QCheckBox* rescale_ = nullptr;
    QLabel* referenceLabel_ = nullptr;
};

// The dialogs, modal to `parent`, run through `host`. The resize dialog keeps a chosen ratio
// mode in `stored` whichever way it closes, and the other values on OK only; true for OK. The
// trim size dialog gives its values on OK, none on Cancel.
bool AskResize(QWidget* parent, DialogHost& host, ResizeChoice& stored, QSize reference);
std::optional<TrimResizeSet> AskTrimSize(QWidget* parent, DialogHost& host,
                                         const TrimResizeSet& stored, QSize reference);

}  // namespace duplora

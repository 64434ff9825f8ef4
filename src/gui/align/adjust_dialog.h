// "Justage" (ANGLES) and "erweiterte Justage" (ANGLESK): the user turns, tilts, sizes and
// moves the two views against each other over a live red/cyan preview, draws guide lines
// and lets "Auto Justage" level them. The dialog never touches the pair; OK hands back the
// corrections and the offset (see AdjustmentResult).
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QTimer>

#include <array>
#include <optional>

#include "app/align/adjustment.h"
#include "app/align/adjustment_preview.h"
#include "core/align/auto_align.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QScrollBar;
class QSpinBox;

namespace duplora {

class DialogHost;
class SettingsStore;
struct Settings;

// What the dialogs remember while the program runs.
struct AdjustDialogMemory {
    int lens = kDefaultLens;
    int halfFieldOfView = kDefaultHalfFieldOfView;
    bool linkRotations = true;
    int blinkInterval = 20;  // × 10 ms
};

struct AdjustDialogSetup {
    QWidget* parent = nullptr;
    DialogHost* host = nullptr;
    Settings* settings = nullptr;  // the stored values ("Werte speichern") and the start size
    SettingsStore* store = nullptr;
    const ImageBuffer* left = nullptr;
    const ImageBuffer* right = nullptr;
    int dx = 0, dy = 0;     // the pair's offset
    bool extended = false;  // ANGLESK: with the perspective group
    AdjustDialogMemory* memory = nullptr;
};

class AdjustDialog : public QDialog {
  public:
    explicit AdjustDialog(const AdjustDialogSetup& setup);
    ~AdjustDialog() override;

    AdjustmentResult Result() const;
    const AdjustmentSlots& Slots() const { return slots_; }
    const AdjustmentPreview& Preview() const { return preview_; }
    // The picture the preview control shows now.
    const QImage& Shown() const { return shown_; }
    int ViewMode() const { return mode_; }
    const GuideLine& Line(bool right) const { return lines_[right ? 1 : 0]; }
    QWidget* PreviewControl() const { return pane_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QWidget* BuildSlotRow(QGridLayout* grid, int row, int slot, const QString& text);
    void SlotMoved(int slot, int value);
    void ShowSlots(const std::vector<int>& values);
    void ShowAllSlots();
    void Relayout();
    void Refresh();
    void PaintPane();
    void UpdatePanLimits();
    void SetMode(int mode);
    void StartBlink();
    void BlinkTick();
    void ToggleFullSize();
    void ResetGuideLines();
    void AutoAdjust();
    void SaveValues();
    void RestoreValues();
    void MousePress(QPoint at);
    void MouseMove(QPoint at);
    void MouseRelease(QPoint at);
    void ShowLineTitle();

    AdjustDialogSetup setup_;
    AdjustDialogMemory& memory_;
    AdjustmentSlots slots_;
    AdjustmentPreview preview_;
    std::array<GuideLine, 2> lines_;
    GuideLine drawing_;
    bool drawingRight_ = false;
    bool dragging_ = false;
    QPoint anchor_;

    int mode_ = 0;
    bool fullSize_ = false;
    bool edges_ = false;
    int blinkPhase_ = 0;
    QTimer blink_;
    QPoint pan_;
    QPoint panLimit_;
    QImage shown_;

    std::array<QScrollBar*, kAdjustSlotCount> bars_{};
    std::array<QLabel*, kAdjustSlotCount> labels_{};
    QWidget* pane_ = nullptr;
    QCheckBox* link_ = nullptr;
    QCheckBox* fullSizeBox_ = nullptr;
    QCheckBox* edgeBox_ = nullptr;
    QComboBox* lens_ = nullptr;
    QSpinBox* interval_ = nullptr;
    QButtonGroup* modes_ = nullptr;
    bool laidOut_ = false;
};

// Runs the dialog through the host; the result when OK was pressed.
std::optional<AdjustmentResult> RunAdjustDialog(const AdjustDialogSetup& setup);

}  // namespace duplora

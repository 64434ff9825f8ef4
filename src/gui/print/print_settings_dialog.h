// "Druckeinstellungen": margins and size of the printed picture in millimetres, with a
// preview of the sheet in which the picture is moved (drag it) and resized (drag its
// bottom-right corner). The rules live in PrintSheet; this window shows them.
#pragma once

#include <QDialog>
#include <QWidget>

#include <functional>

#include "app/print/print_layout.h"
#include "core/image/image_buffer.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace duplora {

// The sheet with the picture on it (control 1315).
class PrintPreview : public QWidget {
    Q_OBJECT

  public:
    PrintPreview(PrintSheet& sheet, const QImage& picture, QWidget* parent = nullptr);

    // The paper as drawn: fitted into the control less 20 pixels of height, centred.
    QRect PaperRect() const;
    // The picture as drawn.
    QRect PictureRect() const;

  signals:
    void Dragged(bool released);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    enum class Drag { None, Move, Size };
    Drag ZoneAt(QPoint point) const;
    // Preview pixels to hundredths of a millimetre.
    int ToHundredthsX(int pixels) const;
    int ToHundredthsY(int pixels) const;

    PrintSheet& sheet_;
    QImage picture_;
    Drag drag_ = Drag::None;
    QPoint pressed_;
    PrintSheet atPress_;  // each drag step starts again from here with the whole movement
};

class PrintSettingsDialog : public QDialog {
    Q_OBJECT

  public:
    // `choosePrinter` runs the printer dialog and gives the new printer's metrics, or
    // invalid ones when it was cancelled.
    PrintSettingsDialog(const PrintSheet& sheet, const ImageBuffer& picture,
                        std::function<PrinterMetrics()> choosePrinter, QWidget* parent = nullptr);

    const PrintSheet& Sheet() const { return sheet_; }
    // "Drucken..." closed the dialog.
    bool PrintNow() const { return printNow_; }
    PrintPreview* Preview() const { return preview_; }

  private:
    void ShowFields();
    void FieldEdited(int control);
    void FollowFlags();
    void ChoosePrinter();

    PrintSheet sheet_;
    std::function<PrinterMetrics()> choosePrinter_;
    PrintPreview* preview_ = nullptr;
    QLineEdit* left_ = nullptr;
    QLineEdit* top_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QLabel* right_ = nullptr;
    QLabel* bottom_ = nullptr;
    QLabel* widthDots_ = nullptr;
    QLabel* heightDots_ = nullptr;
    QLabel* resolution_ = nullptr;
    QLabel* paper_ = nullptr;
    QCheckBox* centred_ = nullptr;
    QCheckBox* fullPage_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool writing_ = false;  // the dialog's own field updates are not edits
    bool printNow_ = false;
};

}  // namespace duplora

#include "gui/print/print_settings_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdint>

#include "app/image/qimage_bridge.h"
#include "app/shell/translations.h"
#include "core/strings.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

constexpr int kSizeZone = 10;  // the size handle at the picture's bottom-right corner

QLabel* Label(const char* text) {
    return new QLabel(QString::fromUtf8(text));
}

int DotsOf(int hundredths, int dots, int mm) {
    return mm > 0 ? static_cast<int>(std::int64_t{hundredths} * dots / (std::int64_t{mm} * 100))
                  : 0;
}

}  // namespace

// ---- preview ------------------------------------------------------------------------------

PrintPreview::PrintPreview(PrintSheet& sheet, const QImage& picture, QWidget* parent)
    : QWidget(parent), sheet_(sheet), picture_(picture) {
    setObjectName(ControlName(1315));
    setMinimumSize(220, 280);
    setMouseTracking(true);
}

QRect PrintPreview::PaperRect() const {
    const Paper& paper = sheet_.Sheet();
    const int areaWidth = width();
    const int areaHeight = height() - 20;
    if (paper.width <= 0 || paper.height <= 0 || areaWidth <= 0 || areaHeight <= 0) return {};
    int w = areaWidth;
    int h = static_cast<int>(std::int64_t{w} * paper.height / paper.width);
    if (h > areaHeight) {
        h = areaHeight;
        w = static_cast<int>(std::int64_t{h} * paper.width / paper.height);
    }
    return QRect((width() - w) / 2, (height() - h) / 2, w, h);
}

QRect PrintPreview::PictureRect() const {
    const QRect paper = PaperRect();
    const Paper& sheet = sheet_.Sheet();
    if (paper.isEmpty()) return {};
    const PrintLayout& layout = sheet_.Layout();
    auto x = [&](int hundredths) {
        return static_cast<int>(std::int64_t{hundredths} * paper.width() / sheet.width);
    };
    auto y = [&](int hundredths) {
        return static_cast<int>(std::int64_t{hundredths} * paper.height() / sheet.height);
    };
    return QRect(paper.left() + x(layout.left), paper.top() + y(layout.top), x(layout.width),
                 y(layout.height));
}

int PrintPreview::ToHundredthsX(int pixels) const {
    const QRect paper = PaperRect();
    return paper.width() > 0
               ? static_cast<int>(std::int64_t{pixels} * sheet_.Sheet().width / paper.width())
               : 0;
}

int PrintPreview::ToHundredthsY(int pixels) const {
    const QRect paper = PaperRect();
    return paper.height() > 0
               ? static_cast<int>(std::int64_t{pixels} * sheet_.Sheet().height / paper.height())
               : 0;
}

PrintPreview::Drag PrintPreview::ZoneAt(QPoint point) const {
    if (sheet_.MouseLocked()) return Drag::None;
    const QRect picture = PictureRect();
    if (!picture.contains(point)) return Drag::None;
    const QRect handle(picture.right() - kSizeZone + 1, picture.bottom() - kSizeZone + 1, kSizeZone,
                       kSizeZone);
    return handle.contains(point) ? Drag::Size : Drag::Move;
}

void PrintPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRect paper = PaperRect();
    if (paper.isEmpty()) return;
    painter.fillRect(paper, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(paper.adjusted(0, 0, -1, -1));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(PictureRect(), picture_);
}

void PrintPreview::mousePressEvent(QMouseEvent* event) {
    drag_ = event->button() == Qt::LeftButton ? ZoneAt(event->position().toPoint()) : Drag::None;
    pressed_ = event->position().toPoint();
    atPress_ = sheet_;
}

void PrintPreview::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (drag_ == Drag::None) {
        switch (ZoneAt(point)) {
            case Drag::Move:
                setCursor(Qt::SizeAllCursor);
                break;
            case Drag::Size:
                setCursor(Qt::SizeFDiagCursor);
                break;
            case Drag::None:
                unsetCursor();
                break;
        }
        return;
    }
    const QPoint moved = point - pressed_;
    sheet_ = atPress_;
    if (drag_ == Drag::Move)
        sheet_.Move(ToHundredthsX(moved.x()), ToHundredthsY(moved.y()));
    else
        sheet_.Resize(ToHundredthsX(moved.x()));
    update();
    emit Dragged(false);
}

void PrintPreview::mouseReleaseEvent(QMouseEvent*) {
    if (drag_ == Drag::None) return;
    drag_ = Drag::None;
    emit Dragged(true);
}

// ---- dialog -------------------------------------------------------------------------------

PrintSettingsDialog::PrintSettingsDialog(const PrintSheet& sheet, const ImageBuffer& picture,
                                         std::function<PrinterMetrics()> choosePrinter,
                                         QWidget* parent)
    : QDialog(parent), sheet_(sheet), choosePrinter_(std::move(choosePrinter)) {
    setObjectName(QStringLiteral("PRINTSET"));
    setWindowTitle(QStringLiteral("Druckeinstellungen"));
    auto* layout = new QHBoxLayout(this);

    // A small copy is plenty for the preview.
    QImage shown = QImageFromImageBuffer(picture);
    if (shown.width() > 800 || shown.height() > 800)
        shown = shown.scaled(800, 800, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    preview_ = new PrintPreview(sheet_, shown, this);
    layout->addWidget(preview_, 1);

    auto* side = new QVBoxLayout;
    layout->addLayout(side);
    auto* grid = new QGridLayout;
    side->addLayout(grid);
    auto edit = [this](int control) {
        auto* box = new QLineEdit;
        box->setObjectName(ControlName(control));
        box->setMaximumWidth(110);
        connect(box, &QLineEdit::editingFinished, this, [this, control] {
            if (!writing_) FieldEdited(control);
        });
        return box;
    };
    auto shownValue = [](int control) {
        auto* label = new QLabel;
        label->setObjectName(ControlName(control));
        return label;
    };
    left_ = edit(1319);
    top_ = edit(1320);
    width_ = edit(1344);
    height_ = edit(1345);
    right_ = shownValue(1336);
    bottom_ = shownValue(1337);
    widthDots_ = shownValue(1392);
    heightDots_ = shownValue(1393);
    grid->addWidget(Label("Links:"), 0, 0);
    grid->addWidget(left_, 0, 1);
    grid->addWidget(Label("Oben:"), 0, 2);
    grid->addWidget(top_, 0, 3);
    grid->addWidget(Label("Rechts:"), 1, 0);
    grid->addWidget(right_, 1, 1);
    grid->addWidget(Label("Unten:"), 1, 2);
    grid->addWidget(bottom_, 1, 3);
    grid->addWidget(Label("Druckgröße :Breite"), 2, 0);
    grid->addWidget(width_, 2, 1);
    grid->addWidget(Label("Höhe"), 2, 2);
    grid->addWidget(height_, 2, 3);
    grid->addWidget(widthDots_, 3, 1);
    grid->addWidget(heightDots_, 3, 3);

    resolution_ = shownValue(1348);
    paper_ = shownValue(1342);
    side->addWidget(resolution_);
    side->addWidget(paper_);
    centred_ = new QCheckBox(QStringLiteral("Zentriert"));
    centred_->setObjectName(ControlName(1324));
    fullPage_ = new QCheckBox(QStringLiteral("Vollbild"));
    fullPage_->setObjectName(ControlName(1328));
    side->addWidget(centred_);
    side->addWidget(fullPage_);
    auto* fourInches = new QPushButton(QStringLiteral("4 Zoll Breite"));
    fourInches->setObjectName(ControlName(1334));
    fourInches->setAutoDefault(false);
    fourInches->hide();
    side->addWidget(fourInches);
    side->addStretch(1);

    auto button = [&](const char* text, int control) {
        auto* b = new QPushButton(QString::fromUtf8(text));
        b->setObjectName(ControlName(control));
        b->setAutoDefault(false);
        side->addWidget(b);
        return b;
    };
    QPushButton* printer = button("Drucker...", 3);
    QPushButton* print = button("Drucken...", 1346);
    QPushButton* ok = button("OK", 1347);
    cancel_ = button("Abbrechen", 2);
    ok->setDefault(true);

    connect(centred_, &QCheckBox::toggled, this, [this](bool on) {
        if (writing_) return;
        sheet_.SetCentred(on);
        FollowFlags();
        ShowFields();
    });
    connect(fullPage_, &QCheckBox::toggled, this, [this](bool on) {
        if (writing_) return;
        sheet_.SetFullPage(on);
        FollowFlags();
        ShowFields();
    });
    connect(fourInches, &QPushButton::clicked, this, [this] {
        sheet_.SetFourInches();
        ShowFields();
    });
    connect(preview_, &PrintPreview::Dragged, this, [this](bool) { ShowFields(); });
    connect(printer, &QPushButton::clicked, this, [this] { ChoosePrinter(); });
    connect(print, &QPushButton::clicked, this, [this] {
        printNow_ = true;
        accept();
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        printNow_ = false;
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    writing_ = true;
    centred_->setChecked(sheet_.Layout().centred);
    fullPage_->setChecked(sheet_.Layout().fullPage);
    writing_ = false;
    FollowFlags();
    ShowFields();
}

void PrintSettingsDialog::ShowFields() {
    writing_ = true;
    const PrintLayout& layout = sheet_.Layout();
    const PrinterMetrics& m = sheet_.Metrics();
    left_->setText(Q(FormatHundredths(layout.left)));
    top_->setText(Q(FormatHundredths(layout.top)));
    width_->setText(Q(FormatHundredths(layout.width)));
    height_->setText(Q(FormatHundredths(layout.height)));
    right_->setText(Q(FormatHundredths(sheet_.Right())));
    bottom_->setText(Q(FormatHundredths(sheet_.Bottom())));
    widthDots_->setText(Tr("( %1dot )").arg(DotsOf(layout.width, m.printableWidthPx, m.sizeMmX)));
    heightDots_->setText(
        Tr("( %1dot )").arg(DotsOf(layout.height, m.printableHeightPx, m.sizeMmY)));
    resolution_->setText(QStringLiteral("%1dpi").arg(m.dpiX));
    const Paper& paper = sheet_.Sheet();
    paper_->setText(Q(FormatResString(StringId::PaperSize, paper.width / 100, paper.width % 100,
                                      paper.height / 100, paper.height % 100)));
    writing_ = false;
    preview_->update();
}

void PrintSettingsDialog::FieldEdited(int control) {
    switch (control) {
        case 1319:
            sheet_.SetLeft(ParseHundredths(left_->text().toStdString()));
            break;
        case 1320:
            sheet_.SetTop(ParseHundredths(top_->text().toStdString()));
            break;
        case 1344:
            sheet_.SetWidth(ParseHundredths(width_->text().toStdString()));
            break;
        case 1345:
            sheet_.SetHeight(ParseHundredths(height_->text().toStdString()));
            break;
        default:
            break;
    }
    ShowFields();
}

void PrintSettingsDialog::FollowFlags() {
    const bool centred = centred_->isChecked();
    const bool full = fullPage_->isChecked();
    left_->setEnabled(!centred && !full);
    top_->setEnabled(!centred && !full);
    width_->setEnabled(!full);
    height_->setEnabled(!full);
}

void PrintSettingsDialog::ChoosePrinter() {
    if (!choosePrinter_) return;
    const PrinterMetrics metrics = choosePrinter_();
    if (!metrics.Valid()) return;
    sheet_.ChoosePrinter(metrics);
    ShowFields();
    // The printer is chosen for good: its settings no longer fit the old ones.
    cancel_->setEnabled(false);
}

}  // namespace duplora

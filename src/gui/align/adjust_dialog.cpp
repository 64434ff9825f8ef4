#include "gui/align/adjust_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

#include "app/image/qimage_bridge.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "core/image/convert.h"
#include "gui/align/slot_scroll_bar.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

constexpr int kPreviewControl = 1233;
constexpr int kLinkBox = 3176;
constexpr int kLensBox = 3175;
constexpr int kFirstModeRadio = 3045;
constexpr int kFullSizeBox = 3049;
constexpr int kEdgeBox = 3236;
constexpr int kIntervalBox = 3056;
constexpr int kResetLines = 3059;
constexpr int kAutoAdjust = 3060;
constexpr int kSaveValues = 3062;
constexpr int kRestoreValues = 3064;

QPushButton* Button(const QString& text, int control, QWidget* parent) {
    auto* button = Named(new QPushButton(text, parent), control);
    // Return stays with OK.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

AdjustDialog::AdjustDialog(const AdjustDialogSetup& setup)
    : QDialog(setup.parent), setup_(setup), memory_(*setup.memory) {
    setObjectName(setup.extended ? QStringLiteral("ANGLESK") : QStringLiteral("ANGLES"));
    setWindowTitle(setup.extended ? QStringLiteral("erweiterte Justage")
                                  : Res(StringId::AdjustTitle));
    setSizeGripEnabled(true);

    const ImageBuffer* left = setup.left;
    const int w = left ? left->Width() : 0, h = left ? left->Height() : 0;
    slots_ = StartAdjustmentSlots(w, h, setup.dx, setup.dy);
    preview_.SetViews(setup.left, setup.right);

    // ---- the slots, in groups down the left side ----
    auto* rotation = new QGroupBox(QStringLiteral("Rotation"), this);
    auto* rotationGrid = new QGridLayout(rotation);
    BuildSlotRow(rotationGrid, 0, kRotationLeft, QStringLiteral("Links (Rot):"));
    BuildSlotRow(rotationGrid, 1, kRotationRight, QStringLiteral("Rechts (Cyan):"));
    link_ = Named(new QCheckBox(QStringLiteral("beide Rotationen verbinden"), rotation), kLinkBox);
    link_->setChecked(memory_.linkRotations);
    connect(link_, &QCheckBox::toggled, this, [this](bool on) { memory_.linkRotations = on; });
    rotationGrid->addWidget(link_, 2, 0, 1, 4);

    QGroupBox* perspective = nullptr;
    if (setup.extended) {
        perspective = new QGroupBox(QStringLiteral("Perspektive"), this);
        auto* grid = new QGridLayout(perspective);
        grid->addWidget(new QLabel(QStringLiteral("Brennweite:"), perspective), 0, 0);
        lens_ = Named(new QComboBox(perspective), kLensBox);
        for (const Lens& lens : LensTable()) lens_->addItem(QString::fromLatin1(lens.text));
        lens_->setCurrentIndex(std::clamp(memory_.lens, 0, lens_->count() - 1));
        connect(lens_, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (index < 0 || index >= static_cast<int>(LensTable().size())) return;
            memory_.lens = index;
            memory_.halfFieldOfView = LensTable()[index].halfFieldOfView;
            Refresh();
        });
        grid->addWidget(lens_, 0, 1, 1, 3);
        BuildSlotRow(grid, 1, kPerspectiveVLeft, QStringLiteral("V_Links (Rot):"));
        BuildSlotRow(grid, 2, kPerspectiveVRight, QStringLiteral("V_Rechts (Cyan):"));
        BuildSlotRow(grid, 3, kPerspectiveHLeft, QStringLiteral("H_Links(Rot):"));
        BuildSlotRow(grid, 4, kPerspectiveHRight, QStringLiteral("H_Rechts (Cyan):"));
    }

    auto* size = new QGroupBox(QStringLiteral("Bildgröße"), this);
    auto* sizeGrid = new QGridLayout(size);
    BuildSlotRow(sizeGrid, 0, kSizeLeft, QStringLiteral("Links (Rot):"));
    BuildSlotRow(sizeGrid, 1, kSizeRight, QStringLiteral("Rechts (Cyan):"));

    auto* position = new QGroupBox(QStringLiteral("Position"), this);
    auto* positionGrid = new QGridLayout(position);
    BuildSlotRow(positionGrid, 0, kPositionX, QStringLiteral("H. Pos:"));
    BuildSlotRow(positionGrid, 1, kPositionY, QStringLiteral("V. Pos"));

    auto* slotsColumn = new QVBoxLayout;
    slotsColumn->addWidget(rotation);
    if (perspective) slotsColumn->addWidget(perspective);
    slotsColumn->addWidget(size);
    slotsColumn->addWidget(position);
    slotsColumn->addStretch();

    // ---- the preview and what it shows ----
    pane_ = Named(new QWidget(this), kPreviewControl);
    pane_->setMinimumSize(320, 240);
    pane_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    pane_->installEventFilter(this);

    auto* view = new QGroupBox(QStringLiteral("Ansicht"), this);
    auto* viewGrid = new QGridLayout(view);
    modes_ = new QButtonGroup(this);
    const char* const modeTexts[4] = {"beide Bilder (Anaglyph)", "Links (Rot)", "Rechts (Cyan)",
                                      "Wechsel"};
    for (int mode = 0; mode < 4; ++mode) {
        auto* radio = Named(new QRadioButton(QString::fromUtf8(modeTexts[mode]), view),
                            kFirstModeRadio + mode);
        modes_->addButton(radio, mode);
        viewGrid->addWidget(radio, mode, 0);
    }
    modes_->button(0)->setChecked(true);
    connect(modes_, &QButtonGroup::idClicked, this, [this](int mode) {
        if (mode == 3)
            StartBlink();
        else
            SetMode(mode);
    });
    interval_ = Named(new QSpinBox(view), kIntervalBox);
    interval_->setRange(1, 6000);
    interval_->setValue(std::clamp(memory_.blinkInterval, 1, 6000));
    connect(interval_, &QSpinBox::valueChanged, this,
            [this](int value) { memory_.blinkInterval = value; });
    auto* blinkRow = new QHBoxLayout;
    blinkRow->addWidget(interval_);
    blinkRow->addWidget(new QLabel(QStringLiteral("x 10 ms."), view));
    blinkRow->addStretch();
    viewGrid->addLayout(blinkRow, 3, 1);
    auto* sizeCaption = new QLabel(QStringLiteral("Größe"), view);
    viewGrid->addWidget(sizeCaption, 0, 2);
    fullSizeBox_ = Named(new QCheckBox(QStringLiteral("100%"), view), kFullSizeBox);
    connect(fullSizeBox_, &QCheckBox::clicked, this, [this] { ToggleFullSize(); });
    viewGrid->addWidget(fullSizeBox_, 1, 2);
    edgeBox_ = Named(new QCheckBox(QStringLiteral("Kanten Suche"), view), kEdgeBox);
    connect(edgeBox_, &QCheckBox::clicked, this, [this](bool on) {
        edges_ = on;
        Relayout();
    });
    viewGrid->addWidget(edgeBox_, 2, 2);

    auto* guide = new QGroupBox(QStringLiteral("Hilfslinie"), this);
    auto* guideColumn = new QVBoxLayout(guide);
    auto* resetLines = Button(QStringLiteral("Hilfslinie zurücksetzen"), kResetLines, guide);
    auto* autoAdjust = Button(QStringLiteral("Auto Justage"), kAutoAdjust, guide);
    connect(resetLines, &QPushButton::clicked, this, [this] { ResetGuideLines(); });
    connect(autoAdjust, &QPushButton::clicked, this, [this] { AutoAdjust(); });
    guideColumn->addWidget(resetLines);
    guideColumn->addWidget(autoAdjust);
    auto* save = Button(QStringLiteral("Werte speichern"), kSaveValues, guide);
    auto* restore = Button(QStringLiteral("Werte wiederherstellen"), kRestoreValues, guide);
    connect(save, &QPushButton::clicked, this, [this] { SaveValues(); });
    connect(restore, &QPushButton::clicked, this, [this] { RestoreValues(); });
    guideColumn->addWidget(save);
    guideColumn->addWidget(restore);

    auto* controlsRow = new QHBoxLayout;
    controlsRow->addWidget(view, 1);
    controlsRow->addWidget(guide);
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(pane_, 1);
    previewColumn->addLayout(controlsRow);

    auto* columns = new QHBoxLayout;
    columns->addLayout(slotsColumn);
    columns->addLayout(previewColumn, 1);

    auto* note = new QLabel(
        QStringLiteral("Nach dem Drücken von [OK], bitte die Rückgängig Funktion ([Z]-Taste) "
                       "drücken, bevor dieses Menü wieder aufgerufen wird."),
        this);
    note->setWordWrap(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(note, 1);
    bottom->addWidget(OkCancelButtons(this));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);

    blink_.setSingleShot(true);
    connect(&blink_, &QTimer::timeout, this, [this] { BlinkTick(); });

    ShowAllSlots();
    resize(1100, setup.extended ? 760 : 640);
    if (setup.settings && setup.settings->adjustDialogMaximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    bars_[kRotationLeft]->setFocus(Qt::OtherFocusReason);
}

AdjustDialog::~AdjustDialog() = default;

QWidget* AdjustDialog::BuildSlotRow(QGridLayout* grid, int row, int slot, const QString& text) {
    QWidget* group = grid->parentWidget();
    const bool vertical = slot == kPositionY;
    auto* bar = Named(new SlotScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, group),
                      SlotScrollBarId(slot));
    bar->setRange(0, slots_.range[slot]);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    bar->setValue(slots_.value[slot]);
    // Win32 dialogs let the keyboard reach scroll bars; so does this one.
    bar->setFocusPolicy(Qt::StrongFocus);
    if (vertical)
        bar->setFixedHeight(64);
    else
        bar->setMinimumWidth(200);
    connect(bar, &QScrollBar::valueChanged, this,
            [this, slot](int value) { SlotMoved(slot, value); });
    auto* label = Named(new QLabel(group), SlotLabelId(slot));
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-90.0 Grad")) +
                           8);
    auto* reset = Button(QStringLiteral("Löschen"), SlotResetId(slot), group);
    connect(reset, &QPushButton::clicked, this, [this, slot] {
        ShowSlots(slots_.Reset(slot, memory_.linkRotations));
        Refresh();
    });
    grid->addWidget(new QLabel(text, group), row, 0);
    grid->addWidget(bar, row, 1, vertical ? Qt::AlignLeft : Qt::Alignment());
    grid->addWidget(label, row, 2);
    grid->addWidget(reset, row, 3);
    bars_[slot] = bar;
    labels_[slot] = label;
    return bar;
}

AdjustmentResult AdjustDialog::Result() const {
    AdjustmentResult result;
    result.offset = OffsetFromSlots(slots_);
    result.left = CorrectionOf(slots_, false);
    result.right = CorrectionOf(slots_, true);
    result.halfFieldOfView = memory_.halfFieldOfView;
    return result;
}

// ---- slots --------------------------------------------------------------------------------

void AdjustDialog::SlotMoved(int slot, int value) {
    const std::vector<int> changed = slots_.Set(slot, value, memory_.linkRotations);
    ShowSlots(changed);
    if (fullSize_ && (slot == kPositionX || slot == kPositionY)) UpdatePanLimits();
    Refresh();
}

void AdjustDialog::ShowSlots(const std::vector<int>& changed) {
    for (int slot : changed) {
        if (QScrollBar* bar = bars_[slot]) {
            const QSignalBlocker quiet(bar);
            bar->setValue(slots_.value[slot]);
        }
        if (QLabel* label = labels_[slot]) label->setText(Q(SlotLabelText(slots_, slot)));
    }
}

void AdjustDialog::ShowAllSlots() {
    std::vector<int> all(kAdjustSlotCount);
    for (int slot = 0; slot < kAdjustSlotCount; ++slot) all[slot] = slot;
    ShowSlots(all);
}

// ---- the preview --------------------------------------------------------------------------

void AdjustDialog::Relayout() {
    // The edge search takes a while on a big view: the title counts it up in tens of percent.
    const QString title = windowTitle();
    preview_.Layout(pane_->width(), pane_->height(), fullSize_, edges_,
                    [this](int tens) { setWindowTitle(QStringLiteral("%10%").arg(tens)); });
    setWindowTitle(title);
    laidOut_ = true;
    pan_ = QPoint(0, 0);
    UpdatePanLimits();
    Refresh();
}

void AdjustDialog::UpdatePanLimits() {
    const ImageBuffer* left = setup_.left;
    if (!left || !*left) return;
    panLimit_ = QPoint(left->Width() - pane_->width() - std::abs(slots_.Signed(kPositionX)),
                       left->Height() - pane_->height() - std::abs(slots_.Signed(kPositionY)));
    pan_ = QPoint(std::clamp(pan_.x(), 0, std::max(panLimit_.x(), 0)),
                  std::clamp(pan_.y(), 0, std::max(panLimit_.y(), 0)));
}

void AdjustDialog::Refresh() {
    if (!laidOut_) return;
    // The alternating view shows one view at a time.
    const int mode = mode_ == 3 ? 1 + blinkPhase_ : mode_;
    preview_.Compose(slots_, mode, memory_.halfFieldOfView);
    PaintPane();
}

void AdjustDialog::PaintPane() {
    const ImageBuffer& picture = preview_.Last().image;
    if (!picture) {
        shown_ = QImage();
    } else if (!fullSize_) {
        shown_ = QImageFromImageBuffer(picture);
    } else {
        // Only the part the control shows is converted.
        const int left = std::clamp(pan_.x(), 0, std::max(picture.Width() - 1, 0));
        const int top = std::clamp(pan_.y(), 0, std::max(picture.Height() - 1, 0));
        const int right = std::min(picture.Width(), left + pane_->width());
        const int bottom = std::min(picture.Height(), top + pane_->height());
        shown_ = QImageFromImageBuffer(CropRect(picture, left, top, right, bottom));
    }
    pane_->update();
}

bool AdjustDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != pane_) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Resize:
            Relayout();
            return false;
        case QEvent::Paint: {
            QPainter painter(pane_);
            painter.fillRect(pane_->rect(), palette().color(QPalette::Window));
            QPoint at(0, 0);
            // A picture smaller than the control at 100 % sits in its middle.
            if (fullSize_) {
                if (panLimit_.x() < 0) at.setX((pane_->width() - shown_.width()) / 2);
                if (panLimit_.y() < 0) at.setY((pane_->height() - shown_.height()) / 2);
            }
            if (!shown_.isNull()) painter.drawImage(at, shown_);
            if (drawing_.state == GuideLine::kDrawing) {
                // The rubber band inverts what it crosses, so it shows on any picture.
                painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                painter.setPen(QPen(Qt::white, 0));
                painter.drawLine(drawing_.x1, drawing_.y1, drawing_.x2, drawing_.y2);
            }
            return true;
        }
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) MousePress(mouse->position().toPoint());
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->buttons() & Qt::LeftButton) MouseMove(mouse->position().toPoint());
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) MouseRelease(mouse->position().toPoint());
            return true;
        }
        case QEvent::MouseButtonDblClick:
            ToggleFullSize();
            return true;
        default:
            return false;
    }
}

void AdjustDialog::mouseDoubleClickEvent(QMouseEvent* event) {
    ToggleFullSize();
    event->accept();
}

// ---- the view mode ------------------------------------------------------------------------

void AdjustDialog::SetMode(int mode) {
    // Leaving the alternating view stops its timer at the next tick.
    mode_ = mode;
    if (QAbstractButton* radio = modes_->button(mode)) radio->setChecked(true);
    Refresh();
}

void AdjustDialog::StartBlink() {
    mode_ = 3;
    modes_->button(3)->setChecked(true);
    const int interval = std::clamp(interval_->value(), 1, 60000);
    interval_->setValue(interval);
    blinkPhase_ = 0;
    blink_.start(10 * interval);
    Refresh();
}

void AdjustDialog::BlinkTick() {
    if (mode_ != 3) return;
    blink_.start(10 * std::clamp(memory_.blinkInterval, 1, 60000));
    blinkPhase_ ^= 1;
    Refresh();
}

void AdjustDialog::ToggleFullSize() {
    fullSize_ = !fullSize_;
    fullSizeBox_->setChecked(fullSize_);
    Relayout();
}

// ---- the mouse ----------------------------------------------------------------------------

void AdjustDialog::ShowLineTitle() {
    setWindowTitle(QStringLiteral("(%1,%2)-(%3,%4)")
                       .arg(drawing_.x1)
                       .arg(drawing_.y1)
                       .arg(drawing_.x2)
                       .arg(drawing_.y2));
}

void AdjustDialog::MousePress(QPoint at) {
    if (fullSize_) {
        dragging_ = true;
        anchor_ = at;
        return;
    }
    if (mode_ == 0) {
        dragging_ = true;
        anchor_ = at;
        return;
    }
    if (mode_ != 1 && mode_ != 2) return;
    const bool right = mode_ == 2;
    if (lines_[right].state > GuideLine::kDrawing) return;
    if (at.x() < 0 || at.y() < 0) return;
    drawingRight_ = right;
    drawing_ = GuideLine{GuideLine::kDrawing, at.x(), at.y(), at.x(), at.y()};
    ShowLineTitle();
}

void AdjustDialog::MouseMove(QPoint at) {
    if (drawing_.state == GuideLine::kDrawing) {
        drawing_.x2 = at.x();
        drawing_.y2 = at.y();
        ShowLineTitle();
        pane_->repaint();
        return;
    }
    if (!dragging_) return;
    const QPoint moved = at - anchor_;
    anchor_ = at;
    if (fullSize_) {
        // The picture follows the hand: the window onto it moves the other way.
        pan_ = QPoint(std::clamp(pan_.x() - moved.x(), 0, std::max(panLimit_.x(), 0)),
                      std::clamp(pan_.y() - moved.y(), 0, std::max(panLimit_.y(), 0)));
        PaintPane();
        pane_->repaint();
        return;
    }
    std::vector<int> changed = slots_.Set(kPositionX, slots_.value[kPositionX] + moved.x(), false);
    for (int slot : slots_.Set(kPositionY, slots_.value[kPositionY] + moved.y(), false))
        changed.push_back(slot);
    if (changed.empty()) return;
    ShowSlots(changed);
    UpdatePanLimits();
    Refresh();
    pane_->repaint();
}

void AdjustDialog::MouseRelease(QPoint at) {
    dragging_ = false;
    if (drawing_.state != GuideLine::kDrawing) return;
    drawing_.x2 = at.x();
    drawing_.y2 = at.y();
    setWindowTitle(Res(StringId::AdjustTitle));
    const bool right = drawingRight_;
    GuideLineView view;
    view.right = right;
    view.dx = preview_.ComposedDx();
    view.dy = preview_.ComposedDy();
    view.previewWidth = preview_.PreviewWidth();
    view.previewHeight = preview_.PreviewHeight();
    view.rotation = slots_.Signed(kRotationLeft + (right ? 1 : 0));
    view.size = slots_.value[kSizeLeft + (right ? 1 : 0)];
    const GuideLine line = FinishGuideLine(drawing_, view, preview_.Base(right));
    drawing_ = GuideLine{};
    if (line.state == GuideLine::kSet) {
        lines_[right] = line;
        // The corrected view is made again from the base the line is now burned into.
        preview_.BaseChanged(right);
        SetMode(right ? 2 : 1);
    } else {
        lines_[right] = line;
        PaintPane();
    }
}

// ---- guide lines and auto alignment -------------------------------------------------------

void AdjustDialog::ResetGuideLines() {
    if (fullSize_ || mode_ == 3) return;
    // The points stay, so that "Auto Justage" still finds the last lines.
    if (mode_ == 0 || mode_ == 1) lines_[0].state = GuideLine::kNone;
    if (mode_ == 0 || mode_ == 2) lines_[1].state = GuideLine::kNone;
    preview_.RebuildBases();
    Refresh();
}

void AdjustDialog::AutoAdjust() {
    if (fullSize_ || mode_ == 3) return;
    AutoAlignInput in;
    in.viewMode = mode_;
    in.fullSize = fullSize_;
    in.left = lines_[0];
    in.right = lines_[1];
    in.previewWidth = preview_.PreviewWidth();
    in.previewHeight = preview_.PreviewHeight();
    in.zoom = preview_.Zoom();
    in.rotationLeft = slots_.value[kRotationLeft];
    in.rotationRight = slots_.value[kRotationRight];
    in.sizeLeft = slots_.value[kSizeLeft];
    in.sizeRight = slots_.value[kSizeRight];
    in.positionX = slots_.value[kPositionX];
    in.positionY = slots_.value[kPositionY];
    in.positionRangeX = slots_.range[kPositionX];
    in.positionRangeY = slots_.range[kPositionY];
    const AutoAlignResult out = AutoAlign(in);
    // Each view is levelled on its own, linked or not.
    std::vector<int> changed;
    const auto put = [&](int slot, int value) {
        for (int s : slots_.Set(slot, value, false)) changed.push_back(s);
    };
    if (out.leftLevelled) put(kRotationLeft, out.rotationLeft);
    if (out.rightLevelled) put(kRotationRight, out.rotationRight);
    if (out.pairMoved) {
        put(kPositionX, out.positionX);
        put(kPositionY, out.positionY);
        UpdatePanLimits();
    }
    ShowSlots(changed);
    Refresh();
}

// ---- stored values ------------------------------------------------------------------------

void AdjustDialog::SaveValues() {
    if (!setup_.host || !setup_.settings) return;
    if (setup_.host->Ask(this, Res(StringId::AlignmentChangedSave), Res(StringId::WarningCaption),
                         QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    setup_.settings->quickAdjustment = FormatStoredAdjustment(slots_);
    if (setup_.store)
        setup_.store->WriteSettings(SettingWritesFor(*setup_.settings, {setting::kKantanTyousei}));
}

void AdjustDialog::RestoreValues() {
    if (!setup_.settings || setup_.settings->quickAdjustment.empty()) return;
    ShowSlots(RestoreStoredAdjustment(slots_, setup_.settings->quickAdjustment));
    UpdatePanLimits();
    Refresh();
}

// ---- running it ---------------------------------------------------------------------------

std::optional<AdjustmentResult> RunAdjustDialog(const AdjustDialogSetup& setup) {
    if (!setup.host || !setup.memory) return std::nullopt;
    AdjustDialog dialog(setup);
    if (!setup.host->Run(dialog)) return std::nullopt;
    return dialog.Result();
}

}  // namespace duplora

#include "gui/align/gamma_dialogs.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

#include "app/align/gamma_choices.h"
#include "app/image/qimage_bridge.h"
#include "core/align/gamma.h"
#include "core/image/convert.h"
#include "core/image/resample.h"
#include "gui/align/slot_scroll_bar.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"

namespace duplora {

namespace {

constexpr std::array<int, 2> kFrames = {3075, 3076};
constexpr std::array<int, 2> kBars = {3077, 3078};
constexpr std::array<int, 2> kLabels = {3079, 3080};
constexpr std::array<int, 2> kResets = {3090, 3091};
constexpr int kGammaPreview = 220;
// The anaglyph preview's frame; the picture fits 2 pixels inside it.
constexpr int kAnaglyphFrameWidth = 364;
constexpr int kAnaglyphFrameHeight = 274;

QScrollBar* GammaBar(QWidget* parent, int control, int value) {
    auto* bar = Named(new SlotScrollBar(Qt::Horizontal, parent), control);
    bar->setRange(kMinGamma, kMaxGamma);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    bar->setValue(value);
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setMinimumWidth(200);
    return bar;
}

QPushButton* ResetButton(QWidget* parent, int control) {
    auto* button = Named(new QPushButton(QStringLiteral("Löschen"), parent), control);
    button->setAutoDefault(false);
    return button;
}

// A framed picture area whose picture starts 2 pixels inside the frame.
QLabel* PictureFrame(QWidget* parent, int control, int width, int height) {
    auto* frame = Named(new QLabel(parent), control);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    frame->setMargin(1);
    frame->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    frame->setFixedSize(width, height);
    return frame;
}

// The view reduced to width × height in 24 bits; none when it cannot be made.
ImageBuffer Reduce(const ImageBuffer* view, int width, int height) {
    if (!view || !*view || width <= 0 || height <= 0) return {};
    ImageBuffer holder;
    const ImageBuffer* colour = AsTrueColour(*view, holder);
    return colour ? ResizeImage(*colour, width, height) : ImageBuffer{};
}

}  // namespace

// ---- COLOR --------------------------------------------------------------------------------

GammaDialog::GammaDialog(QWidget* parent, const ImageBuffer& left, const ImageBuffer& right)
    : QDialog(parent) {
    setObjectName(QStringLiteral("COLOR"));
    setWindowTitle(QStringLiteral("Gamma Justage"));
    const PreviewSize size =
        GammaPreviewSize(left ? left.Width() : 0, left ? left.Height() : 0, kGammaPreview);
    const ImageBuffer* views[2] = {&left, &right};
    const char* const titles[2] = {"Linkes Bild", "Rechtes Bild"};

    auto* columns = new QHBoxLayout;
    for (int side = 0; side < 2; ++side) {
        base_[side] = Reduce(views[side], size.width, size.height);
        auto* group = new QGroupBox(QString::fromUtf8(titles[side]), this);
        frames_[side] = PictureFrame(group, kFrames[side], kGammaPreview + 4, kGammaPreview + 4);
        bars_[side] = GammaBar(group, kBars[side], gamma_[side]);
        labels_[side] = Named(new QLabel(Q(GammaText(gamma_[side])), group), kLabels[side]);
        auto* reset = ResetButton(group, kResets[side]);
        connect(bars_[side], &QScrollBar::valueChanged, this, [this, side](int value) {
            gamma_[side] = std::clamp(value, kMinGamma, kMaxGamma);
            Show(side);
        });
        connect(reset, &QPushButton::clicked, this, [this, side] { bars_[side]->setValue(100); });
        auto* column = new QVBoxLayout(group);
        column->addWidget(frames_[side], 0, Qt::AlignHCenter);
        column->addWidget(bars_[side]);
        auto* row = new QHBoxLayout;
        row->addWidget(labels_[side], 1);
        row->addWidget(reset);
        column->addLayout(row);
        columns->addWidget(group);
        Show(side);
    }
    // The density text is the widest the label gets.
    for (QLabel* label : labels_)
        label->setMinimumWidth(
            label->fontMetrics().horizontalAdvance(Q(GammaDensityText(500, 255))) + 4);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(OkCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    bars_[0]->setFocus(Qt::OtherFocusReason);
}

void GammaDialog::Show(int side) {
    // Only the view whose value changed is computed again.
    const GammaResult result = ApplyGamma(base_[side], gamma_[side], true);
    shown_[side] = QImageFromImageBuffer(result.image);
    frames_[side]->setPixmap(QPixmap::fromImage(shown_[side]));
    if (result.image)
        labels_[side]->setText(Q(GammaDensityText(gamma_[side], result.density)));
    else
        labels_[side]->setText(Q(GammaText(gamma_[side])));
}

std::optional<GammaChoice> RunGammaDialog(QWidget* parent, DialogHost& host,
                                          const ImageBuffer& left, const ImageBuffer& right) {
    GammaDialog dialog(parent, left, right);
    if (!host.Run(dialog)) return std::nullopt;
    return dialog.Choice();
}

// ---- ANAGSET ------------------------------------------------------------------------------

AnaglyphSettingsDialog::AnaglyphSettingsDialog(const AnaglyphSettingsSetup& setup)
    : QDialog(setup.parent), rememberShown_(setup.shownViews) {
    setObjectName(QStringLiteral("ANAGSET"));
    setWindowTitle(QStringLiteral("Anaglyph Einstellungen"));
    choice_ = AnaglyphChoiceAtOpening(setup.greyPair, setup.colourKind, setup.fromColourMenu);
    shownViews_ = setup.shownViews ? std::clamp(*setup.shownViews, 0, 2) : 0;
    gamma_ = {std::clamp(setup.leftGamma, kMinGamma, kMaxGamma),
              std::clamp(setup.rightGamma, kMinGamma, kMaxGamma)};

    const int w = setup.left && *setup.left ? setup.left->Width() : 0;
    const int h = setup.left && *setup.left ? setup.left->Height() : 0;
    const PreviewSize size =
        FitPreviewSize(w, h, kAnaglyphFrameWidth - 4, kAnaglyphFrameHeight - 4);
    reduced_[0] = Reduce(setup.left, size.width, size.height);
    reduced_[1] = Reduce(setup.right, size.width, size.height);

    // The colour pairs in two columns, grey pairs and then colour and half-tone kinds; the
    // further colour kinds below them across both columns, with their menu items' texts and
    // keys.
    auto* pairs = new QGroupBox(QStringLiteral("Farben"), this);
    auto* pairGrid = new QGridLayout(pairs);
    auto* pairGroup = new QButtonGroup(this);
    for (int index = 0; index < AnaglyphChoiceCount(); ++index) {
        auto* radio =
            Named(new QRadioButton(Q(AnaglyphChoiceText(index)), pairs), AnaglyphRadioId(index));
        pairGroup->addButton(radio, index);
        radio->setChecked(index == choice_);
        if (index >= kFirstAnaglyphChoices) {
            pairGrid->addWidget(radio, index - kFirstAnaglyphChoices + 4, 0, 1, 2);
            continue;
        }
        const bool colour = IsColourAnaglyphChoice(index);
        pairGrid->addWidget(radio,
                            colour ? (index < 5 ? index - 3 : index - 4) : (index == 5 ? 3 : index),
                            colour ? 1 : 0);
    }
    connect(pairGroup, &QButtonGroup::idClicked, this, [this](int index) {
        choice_ = index;
        Recompose();
    });

    auto* shown = new QGroupBox(QStringLiteral("Vorschau"), this);
    auto* shownColumn = new QVBoxLayout(shown);
    auto* shownGroup = new QButtonGroup(this);
    const char* const shownTexts[3] = {"beide Bilder (Anaglyph)", "Linkes Bild", "Rechtes Bild"};
    for (int k = 0; k < 3; ++k) {
        auto* radio = Named(new QRadioButton(QString::fromUtf8(shownTexts[k]), shown), 3045 + k);
        shownGroup->addButton(radio, k);
        radio->setChecked(k == shownViews_);
        shownColumn->addWidget(radio);
    }
    connect(shownGroup, &QButtonGroup::idClicked, this, [this](int k) {
        shownViews_ = k;
        Recompose();
    });

    auto* gammas = new QGroupBox(QStringLiteral("Gamma"), this);
    auto* gammaGrid = new QGridLayout(gammas);
    const char* const sideTexts[2] = {"Links:", "Rechts:"};
    for (int side = 0; side < 2; ++side) {
        bars_[side] = GammaBar(gammas, kBars[side], gamma_[side]);
        labels_[side] = Named(new QLabel(Q(GammaText(gamma_[side])), gammas), kLabels[side]);
        labels_[side]->setMinimumWidth(
            labels_[side]->fontMetrics().horizontalAdvance(Q(GammaDensityText(500, 255))) + 4);
        auto* reset = ResetButton(gammas, kResets[side]);
        connect(bars_[side], &QScrollBar::valueChanged, this, [this, side](int value) {
            gamma_[side] = std::clamp(value, kMinGamma, kMaxGamma);
            Recompose();
        });
        connect(reset, &QPushButton::clicked, this, [this, side] { bars_[side]->setValue(100); });
        gammaGrid->addWidget(new QLabel(QString::fromUtf8(sideTexts[side]), gammas), side * 2, 0);
        gammaGrid->addWidget(bars_[side], side * 2, 1);
        gammaGrid->addWidget(reset, side * 2, 2);
        gammaGrid->addWidget(labels_[side], side * 2 + 1, 1, 1, 2);
    }

    frame_ = PictureFrame(this, 3075, kAnaglyphFrameWidth, kAnaglyphFrameHeight);

    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(pairs);
    leftColumn->addWidget(shown);
    leftColumn->addStretch();
    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(frame_);
    rightColumn->addWidget(gammas);
    auto* columns = new QHBoxLayout;
    columns->addLayout(leftColumn);
    columns->addLayout(rightColumn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(OkCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Recompose();
    if (QAbstractButton* checked = pairGroup->checkedButton())
        checked->setFocus(Qt::OtherFocusReason);
}

void AnaglyphSettingsDialog::Recompose() {
    if (rememberShown_) *rememberShown_ = shownViews_;
    const AnaglyphPreview preview = ComposeAnaglyphPreview(reduced_[0], reduced_[1], choice_,
                                                           gamma_[0], gamma_[1], shownViews_);
    shown_ = QImageFromImageBuffer(preview.image);
    frame_->setPixmap(QPixmap::fromImage(shown_));
    const int densities[2] = {preview.leftDensity, preview.rightDensity};
    for (int side = 0; side < 2; ++side)
        labels_[side]->setText(preview.image ? Q(GammaDensityText(gamma_[side], densities[side]))
                                             : Q(GammaText(gamma_[side])));
}

std::optional<AnaglyphSettingsChoice> RunAnaglyphSettingsDialog(
    const AnaglyphSettingsSetup& setup) {
    if (!setup.host) return std::nullopt;
    AnaglyphSettingsDialog dialog(setup);
    if (!setup.host->Run(dialog)) return std::nullopt;
    return dialog.Choice();
}

}  // namespace duplora

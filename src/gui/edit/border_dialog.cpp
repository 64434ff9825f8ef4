#include "gui/edit/border_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/align/gamma_choices.h"
#include "app/edit/frame_style.h"
#include "app/image/qimage_bridge.h"
#include "core/image/convert.h"
#include "core/image/resample.h"
#include "core/stereo/combine.h"
#include "core/stereo/common_area.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"

namespace duplora {

namespace {

// Outer, middle and inner band: their width controls for the view and for saving, their
// colour buttons and swatches.
constexpr std::array<int, 3> kDisplayWidths = {3219, 3224, 3227};
constexpr std::array<int, 3> kPrintWidths = {3231, 3233, 3235};
constexpr std::array<int, 3> kColourButtons = {3220, 3222, 3225};
constexpr std::array<int, 3> kSwatches = {3221, 3223, 3226};
constexpr const char* kBandNames[3] = {"Außenrahmen:", "Mittelrahmen:", "Innenrahmen:"};

// Each view of the preview fits this box before it is framed.
constexpr int kPreviewViewWidth = 150;
constexpr int kPreviewViewHeight = 112;
constexpr int kSwatchSize = 22;
// The preview box; wide frames make the framed preview larger, which is then shown reduced.
constexpr int kPreviewBoxWidth = 2 * kPreviewViewWidth + 120;
constexpr int kPreviewBoxHeight = kPreviewViewHeight + 60;

QSpinBox* WidthBox(QWidget* parent, int control, int value) {
    auto* box = Named(new QSpinBox(parent), control);
    box->setRange(0, kMaxFrameBandWidth);
    box->setValue(std::clamp(value, 0, kMaxFrameBandWidth));
    return box;
}

ImageBuffer ReduceView(const ImageBuffer* view, int width, int height) {
    if (!view || !*view || width <= 0 || height <= 0) return {};
    ImageBuffer holder;
    const ImageBuffer* colour = AsTrueColour(*view, holder);
    return colour ? ResizeImage(*colour, width, height) : ImageBuffer{};
}

}  // namespace

BorderDialog::BorderDialog(const BorderDialogSetup& setup)
    : QDialog(setup.parent), host_(setup.host), border_(setup.border) {
    setObjectName(QStringLiteral("BORDER"));
    setWindowTitle(QStringLiteral("Rahmen"));

    // The preview: both views reduced alike and joined side by side, each framed on its own.
    const ImageBuffer* left = setup.left;
    if (left && *left) {
        const PreviewSize size =
            FitPreviewSize(left->Width(), left->Height(), kPreviewViewWidth, kPreviewViewHeight);
        ImageBuffer first = ReduceView(left, size.width, size.height);
        ImageBuffer second = ReduceView(setup.right, size.width, size.height);
        pair_ = first && second;
        if (pair_) {
            source_ =
                ComposeSideBySide(first, second, ComputeCommonArea(size.width, size.height, 0, 0))
                    .ValueOr(ImageBuffer{});
            pair_ = static_cast<bool>(source_);
        }
        if (!pair_) source_ = std::move(first);
    }

    show_ = Named(new QCheckBox(QStringLiteral("&Rahmen zeigen"), this), 3228);
    show_->setChecked(border_.show != 0);
    round_ = Named(new QCheckBox(QStringLiteral("&Ecken runden"), this), 3229);
    round_->setChecked(border_.roundCorners != 0);

    auto* bands = new QGroupBox(QStringLiteral("Rahmenbreite (Punkte) und Farbe"), this);
    auto* grid = new QGridLayout(bands);
    grid->addWidget(new QLabel(QStringLiteral("Anzeige"), bands), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Drucken/Speichern"), bands), 0, 2);
    const std::array<int, 3> displayValues = {border_.outerDisplay, border_.middleDisplay,
                                              border_.innerDisplay};
    const std::array<int, 3> printValues = {border_.outerPrint, border_.middlePrint,
                                            border_.innerPrint};
    colours_ = {border_.outerColour, border_.middleColour, border_.innerColour};
    for (int band = 0; band < 3; ++band) {
        const int row = band + 1;
        grid->addWidget(new QLabel(QString::fromUtf8(kBandNames[band]), bands), row, 0);
        display_[band] = WidthBox(bands, kDisplayWidths[band], displayValues[band]);
        print_[band] = WidthBox(bands, kPrintWidths[band], printValues[band]);
        auto* colour =
            Named(new QPushButton(QStringLiteral("Farbe..."), bands), kColourButtons[band]);
        colour->setAutoDefault(false);
        swatches_[band] = Named(new QLabel(bands), kSwatches[band]);
        swatches_[band]->setFixedSize(kSwatchSize, kSwatchSize);
        swatches_[band]->setFrameShape(QFrame::Box);
        grid->addWidget(display_[band], row, 1);
        grid->addWidget(print_[band], row, 2);
        grid->addWidget(colour, row, 3);
        grid->addWidget(swatches_[band], row, 4);
        UpdateSwatch(band);
        connect(colour, &QPushButton::clicked, this, [this, band] { PickColour(band); });
        connect(display_[band], &QSpinBox::valueChanged, this, [this] { UpdatePreview(); });
    }
    connect(round_, &QCheckBox::toggled, this, [this] { UpdatePreview(); });

    auto* previewGroup = new QGroupBox(QStringLiteral("Vorschau"), this);
    auto* previewLayout = new QVBoxLayout(previewGroup);
    preview_ = new QLabel(previewGroup);
    preview_->setObjectName(QStringLiteral("borderPreview"));
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFixedSize(kPreviewBoxWidth, kPreviewBoxHeight);
    previewLayout->addWidget(preview_);

    auto* checks = new QHBoxLayout;
    checks->addWidget(show_);
    checks->addWidget(round_);
    checks->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(checks);
    layout->addWidget(bands);
    layout->addWidget(previewGroup);
    layout->addWidget(OkCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    UpdatePreview();
    display_[0]->setFocus(Qt::OtherFocusReason);
}

DisplayMode BorderDialog::PreviewMode() const {
    return pair_ ? DisplayMode::SideBySide : DisplayMode::Single;
}

BorderSet BorderDialog::Border() const {
    BorderSet b = border_;
    b.show = show_->isChecked() ? 1 : 0;
    b.roundCorners = round_->isChecked() ? 1 : 0;
    b.outerDisplay = display_[0]->value();
    b.middleDisplay = display_[1]->value();
    b.innerDisplay = display_[2]->value();
    b.outerPrint = print_[0]->value();
    b.middlePrint = print_[1]->value();
    b.innerPrint = print_[2]->value();
    b.outerColour = colours_[0];
    b.middleColour = colours_[1];
    b.innerColour = colours_[2];
    return b;
}

void BorderDialog::PickColour(int band) {
    if (!host_) return;
    const std::optional<QColor> chosen =
        host_->PickColour(this, QColorFromColourRef(colours_[band]));
    if (!chosen) return;
    colours_[band] = ColourRefFromQColor(*chosen);
    UpdateSwatch(band);
    UpdatePreview();
}

void BorderDialog::UpdateSwatch(int band) {
    QPixmap swatch(kSwatchSize - 2, kSwatchSize - 2);
    swatch.fill(QColorFromColourRef(colours_[band]));
    swatches_[band]->setPixmap(swatch);
}

void BorderDialog::UpdatePreview() {
    // The preview frames with the view's widths, as the frame will look on the screen.
    if (!source_) {
        shown_ = QImage();
        preview_->clear();
        return;
    }
    const Result<ImageBuffer> framed =
        AddBorder(source_, PreviewMode(), DisplayFrameStyle(Border()));
    shown_ = framed ? QImageFromImageBuffer(framed.Value()) : QImage();
    if (shown_.isNull())
        preview_->clear();
    else if (shown_.width() <= kPreviewBoxWidth && shown_.height() <= kPreviewBoxHeight)
        preview_->setPixmap(QPixmap::fromImage(shown_));
    else
        preview_->setPixmap(QPixmap::fromImage(shown_.scaled(
            kPreviewBoxWidth, kPreviewBoxHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

std::optional<BorderSet> RunBorderDialog(const BorderDialogSetup& setup) {
    BorderDialog dialog(setup);
    if (!setup.host || !setup.host->Run(dialog)) return std::nullopt;
    return dialog.Border();
}

}  // namespace duplora

#include "gui/shell/save_dialogs.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

#include "app/image/qimage_bridge.h"
#include "app/shell/dialog_texts.h"
#include "gui/shell/ui_text.h"

namespace duplora {

namespace {

// The type lists of the two dialogs, in their order.
constexpr OutputFormat kStereoPictureTypes[] = {
    OutputFormat::Jpeg, OutputFormat::Bmp, OutputFormat::Jps, OutputFormat::Stj, OutputFormat::Mpo};
constexpr OutputFormat kLeftRightTypes[] = {OutputFormat::Jpeg, OutputFormat::Bmp};

const char* const kPhoneNote =
    "Dateigröße für eine Übertragung zum Handy kann maximal 10240 Bytes groß sein. Bestätigen "
    "Sie die zu speichernde Größe vor dem Abspeichern.";

}  // namespace

SaveDialog::SaveDialog(SaveDialogSetup setup, QWidget* parent)
    : FileDialogPanel(setup.title, parent), setup_(std::move(setup)) {
    const bool stereo = setup_.kind == SaveDialogKind::StereoPicture;
    setObjectName(stereo ? QStringLiteral("SAVHOPTION") : QStringLiteral("SAVWOPTION"));
    types_ = stereo ? std::span<const OutputFormat>(kStereoPictureTypes)
                    : std::span<const OutputFormat>(kLeftRightTypes);
    // Lower case first: Qt puts the first pattern's ending on the name when the type changes.
    for (OutputFormat type : types_) typeFilters_ << Q(OutputFormatFilter(*FindOutputFormat(type)));
    SaveSettings& settings = setup_.settings;
    settings.quality = std::clamp(settings.quality, kMinSaveQuality, kMaxSaveQuality);
    if (TypeIndex(settings.type) < 0) settings.type = OutputFormat::Jpeg;

    QFileDialog* files = Files();
    files->setAcceptMode(QFileDialog::AcceptSave);
    files->setFileMode(QFileDialog::AnyFile);
    // The saves ask about existing files themselves, once the name has its ending (and for
    // left/right files naming the one that exists).
    files->setOption(QFileDialog::DontConfirmOverwrite, true);
    files->setNameFilters(typeFilters_);
    files->selectNameFilter(typeFilters_[TypeIndex(settings.type)]);
    if (!setup_.folder.isEmpty()) files->setDirectory(setup_.folder);
    if (!setup_.name.isEmpty()) files->selectFile(setup_.name);
    connect(files, &QFileDialog::filterSelected, this, [this](const QString& filter) {
        const int index = static_cast<int>(typeFilters_.indexOf(filter));
        if (index < 0) return;
        setup_.settings.type = types_[static_cast<std::size_t>(index)];
        FollowType();
        FixExtension();
    });

    if (setup_.saveImage) preview_ = MakeSavePreview(*setup_.saveImage);
    BuildPanel();
    FollowType();  // and the first estimate
    FixExtension();
}

int SaveDialog::TypeIndex(OutputFormat type) const {
    const auto it = std::ranges::find(types_, type);
    return it == types_.end() ? -1 : static_cast<int>(it - types_.begin());
}

void SaveDialog::BuildPanel() {
    QVBoxLayout* panel = PanelLayout();
    const SaveSettings& settings = setup_.settings;

    sizeText_ = new QLabel;
    sizeText_->setObjectName(ControlName(1234));
    if (setup_.saveImage) sizeText_->setText(Q(SaveImageSizeText(*setup_.saveImage)));
    panel->addWidget(sizeText_);

    auto* qualityRow = new QHBoxLayout;
    qualityLabel_ = new QLabel(QStringLiteral("Qualität:"));
    qualityLabel_->setObjectName(ControlName(3092));
    quality_ = new QScrollBar(Qt::Horizontal);
    quality_->setObjectName(ControlName(1243));
    quality_->setRange(kMinSaveQuality, kMaxSaveQuality);
    quality_->setSingleStep(1);
    quality_->setPageStep(10);
    quality_->setValue(settings.quality);
    quality_->setMinimumWidth(120);
    qualityNumber_ = new QLabel(QString::number(settings.quality));
    qualityNumber_->setObjectName(ControlName(1242));
    qualityNumber_->setMinimumWidth(24);
    qualityRow->addWidget(qualityLabel_);
    qualityRow->addWidget(quality_, 1);
    qualityRow->addWidget(qualityNumber_);
    panel->addLayout(qualityRow);
    connect(quality_, &QScrollBar::valueChanged, this, &SaveDialog::SetQuality);

    estimateText_ = new QLabel;
    estimateText_->setObjectName(ControlName(1230));
    panel->addWidget(estimateText_);
    exact_ = new QPushButton(QStringLiteral("genaue Größe"));
    exact_->setObjectName(ControlName(3096));
    exact_->setAutoDefault(false);
    connect(exact_, &QPushButton::clicked, this, &SaveDialog::MeasureExact);
    panel->addWidget(exact_);

    exif_ = new QCheckBox(QStringLiteral("Vorschaubild hinzufügen"));
    exif_->setObjectName(ControlName(3142));
    exif_->setChecked(settings.exifThumbnail);
    connect(exif_, &QCheckBox::toggled, this,
            [this](bool on) { setup_.settings.exifThumbnail = on; });
    panel->addWidget(exif_);

    cameraExif_ = new QCheckBox(QStringLiteral("Exif der Kamera übernehmen"));
    cameraExif_->setObjectName(QStringLiteral("cameraExif"));
    cameraExif_->setToolTip(
        QStringLiteral("Kamera, Aufnahmedatum und Belichtung des linken Bildes mitspeichern"));
    cameraExif_->setChecked(settings.keepExif);
    connect(cameraExif_, &QCheckBox::toggled, this,
            [this](bool on) { setup_.settings.keepExif = on; });
    panel->addWidget(cameraExif_);

    if (setup_.kind == SaveDialogKind::StereoPicture && setup_.offerHalfSize) {
        halfSize_ = new QCheckBox(QStringLiteral("Halbe Breite/Höhe (3D-TV, VR)"));
        halfSize_->setObjectName(QStringLiteral("halfSize"));
        halfSize_->setToolTip(
            QStringLiteral("jedes Bild halb so breit (nebeneinander) oder "
                           "halb so hoch (übereinander)"));
        halfSize_->setChecked(settings.halfSize);
        connect(halfSize_, &QCheckBox::toggled, this,
                [this](bool on) { setup_.settings.halfSize = on; });
        panel->addWidget(halfSize_);
    }

    // Hidden until a right double click reveals it, unless it is already on.
    mirror_ = new QCheckBox(QStringLiteral("Linkes Bild horizontal kippen"));
    mirror_->setObjectName(ControlName(3217));
    mirror_->setToolTip(QStringLiteral("spiegelt das linke Bild horizontal"));
    mirror_->setChecked(settings.mirrorLeft);
    mirror_->setVisible(settings.mirrorLeft);
    connect(mirror_, &QCheckBox::toggled, this,
            [this](bool on) { setup_.settings.mirrorLeft = on; });
    panel->addWidget(mirror_);

    if (setup_.kind == SaveDialogKind::LeftRight) {
        auto* names = new QHBoxLayout;
        leftSuffix_ = new QLineEdit(setup_.leftSuffix);
        leftSuffix_->setObjectName(ControlName(3057));
        leftSuffix_->setMaxLength(static_cast<int>(kMaxNameSuffixCharacters));
        rightSuffix_ = new QLineEdit(setup_.rightSuffix);
        rightSuffix_->setObjectName(ControlName(3058));
        rightSuffix_->setMaxLength(static_cast<int>(kMaxNameSuffixCharacters));
        names->addWidget(new QLabel(QStringLiteral("Links:")));
        names->addWidget(leftSuffix_);
        names->addWidget(new QLabel(QStringLiteral("Rechts:")));
        names->addWidget(rightSuffix_);
        panel->addLayout(names);
    }

    phoneNote_ = new QLabel(QString::fromUtf8(kPhoneNote));
    phoneNote_->setObjectName(ControlName(3073));
    phoneNote_->setWordWrap(true);
    phoneNote_->setMaximumWidth(kSavePreviewBox + 4);
    panel->addWidget(phoneNote_);

    box_ = new QLabel;
    box_->setObjectName(ControlName(1232));
    box_->setFixedSize(kSavePreviewBox + 4, kSavePreviewBox + 4);
    box_->setAlignment(Qt::AlignCenter);
    box_->setFrameShape(QFrame::StyledPanel);
    panel->addWidget(box_);
    panel->addStretch(1);
}

QString SaveDialog::LeftSuffix() const {
    return leftSuffix_ ? leftSuffix_->text() : setup_.leftSuffix;
}

QString SaveDialog::RightSuffix() const {
    return rightSuffix_ ? rightSuffix_->text() : setup_.rightSuffix;
}

QString SaveDialog::NameInBox() const {
    if (QLineEdit* box = NameBox()) return box->text();
    const QStringList selected = Files()->selectedFiles();
    return selected.isEmpty() ? QString() : QFileInfo(selected.front()).fileName();
}

void SaveDialog::FollowType() {
    const SavePanelState state = SavePanelFor(setup_.settings.type, preview_.reduced);
    qualityLabel_->setVisible(state.quality);
    quality_->setVisible(state.quality);
    qualityNumber_->setVisible(state.quality);
    estimateText_->setVisible(state.sizeText);
    exif_->setVisible(state.exifSwitch);
    cameraExif_->setVisible(state.cameraExifSwitch && setup_.kind == SaveDialogKind::StereoPicture);
    // A multi-picture file keeps the views whole.
    if (halfSize_) halfSize_->setVisible(!FindOutputFormat(setup_.settings.type)->twoPictures);
    exact_->setVisible(state.exactButton);
    phoneNote_->setVisible(state.phoneNote);
    Estimate(false);
}

void SaveDialog::FixExtension() {
    QLineEdit* box = NameBox();
    if (!box || box->text().isEmpty()) return;
    const std::string fixed = FixSaveExtension(box->text().toStdString(), setup_.settings.type);
    if (Q(fixed) != box->text()) box->setText(Q(fixed));
}

void SaveDialog::SetQuality(int quality) {
    quality = std::clamp(quality, kMinSaveQuality, kMaxSaveQuality);
    setup_.settings.quality = quality;
    qualityNumber_->setText(QString::number(quality));
    // The scroll bar signals the new value, which comes back here.
    if (quality_->value() != quality) {
        quality_->setValue(quality);
        return;
    }
    Estimate(false);
}

void SaveDialog::SelectType(OutputFormat type) {
    const int index = TypeIndex(type);
    if (index < 0) return;
    Files()->selectNameFilter(typeFilters_[index]);
    setup_.settings.type = type;
    FollowType();
    FixExtension();
}

void SaveDialog::MeasureExact() {
    Estimate(true);
}

void SaveDialog::Estimate(bool exact) {
    if (!box_) return;
    const SaveSettings& settings = setup_.settings;
    // Trial encodes are not the save: they report no progress, so the window's status bar
    // keeps its texts.
    estimate_ = SizeEstimate{};
    if (FindOutputFormat(settings.type)->jpeg && preview_.image) {
        estimate_ = exact && setup_.saveImage
                        ? MeasureExactSize(*setup_.saveImage, preview_, settings.quality,
                                           settings.type, settings.exifThumbnail)
                        : EstimateSaveSize(preview_, settings.quality, settings.type);
    }
    estimateText_->setText(Q(SaveEstimateText(estimate_)));
    // The preview shows what the encoder made of the picture.
    const ImageBuffer& shown = estimate_.shown ? estimate_.shown : preview_.image;
    const QImage image = QImageFromImageBuffer(shown);
    if (image.isNull())
        box_->clear();
    else
        box_->setPixmap(QPixmap::fromImage(image));
}

void SaveDialog::RevealMirrorSwitch() {
    mirror_->setVisible(true);
}

void SaveDialog::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        RevealMirrorSwitch();
        event->accept();
        return;
    }
    FileDialogPanel::mouseDoubleClickEvent(event);
}

void SaveDialog::Accepting() {
    if (chosen_.isEmpty()) return;
    // A name typed without an ending gets the one of the chosen type.
    QString& path = chosen_.front();
    // A name typed with the ending of another listed type saves as that type.
    const std::optional<OutputFormat> typed = OutputFormatByName(path.toStdString());
    if (typed && TypeIndex(*typed) >= 0 && *typed != setup_.settings.type) SelectType(*typed);
    if (!ExtensionDot(path.toStdString()))
        path = Q(FixSaveExtension(path.toStdString(), setup_.settings.type));
}

}  // namespace duplora

#include "gui/shell/open_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/image/qimage_bridge.h"
#include "app/shell/dialog_texts.h"
#include "core/formats/layout_detect.h"
#include "core/formats/plugins.h"
#include "core/formats/stereo_open.h"
#include "gui/shell/ui_text.h"

namespace duplora {

namespace {

const char* const kStandardFilter =
    "JPS/DAS/BMI/JPG/STJ/BMP/TIF File (*.JPS *.DAS *.BMI *.JPG *.JPEG *.STJ *.BMP *.TIF *.TIFF "
    "*.MPO *.jps *.das *.bmi *.jpg *.jpeg *.stj *.bmp *.tif *.tiff *.mpo)";
const char* const kMpoFilter = "MPO Stereo File (*.mpo *.MPO)";
const char* const kAllFilesFilter = "All Files (*)";

// The layout radios in the order of their ids; 3006 (turned left) has no button of its own
// but is kept, hidden, so that a remembered layout 5 survives the dialog.
struct LayoutRadio {
    StereoLayout layout;
    const char* text;
    bool shown;
};
constexpr LayoutRadio kLayoutRadios[] = {
    {StereoLayout::SideBySide, "Nebeneinander", true},
    {StereoLayout::OverUnder, "Übereinander", true},
    {StereoLayout::Interlace, "Interlace", true},
    {StereoLayout::Anaglyph, "Anaglyph", true},
    {StereoLayout::TurnedRight, "SIS", true},
    {StereoLayout::TurnedLeft, "SIS", false},
    {StereoLayout::TriDeltaTT, "Tri-Delta (TT)", true},
    {StereoLayout::TriDeltaBB, "Tri-Delta (BB)", true},
    {StereoLayout::Mpo, "MPO", true},
};

struct RotationRadio {
    int id;
    const char* text;
};
constexpr RotationRadio kRotationRadios[] = {
    {kRotateLeftRadio, "links 90°"},
    {kRotateNoneRadio, "Original"},
    {kRotateRightRadio, "rechts 90°"},
    {kRotateHalfRadio, "180° drehen"},
};

}  // namespace

QString OpenDialogFilter(const PluginTable* plugins) {
    QStringList filters{QLatin1String(kStandardFilter), QLatin1String(kMpoFilter)};
    if (plugins) {
        for (const Plugin& plugin : plugins->Plugins()) {
            for (const PluginFilter& filter : plugin.filters) {
                QString patterns = Q(filter.pattern);
                patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
                filters << Q(filter.description) + QStringLiteral(" (") + patterns.trimmed() +
                               QLatin1Char(')');
            }
        }
    }
    filters << QLatin1String(kAllFilesFilter);
    return filters.join(QStringLiteral(";;"));
}

OpenDialog::OpenDialog(OpenDialogSetup setup, QWidget* parent)
    : FileDialogPanel(setup.title, parent), setup_(std::move(setup)) {
    setObjectName(setup_.kind == OpenDialogKind::StereoFile  ? QStringLiteral("OPNOPTIONS")
                  : setup_.kind == OpenDialogKind::LeftRight ? QStringLiteral("OPNOPTIONW")
                  : setup_.kind == OpenDialogKind::RightFile ? QStringLiteral("OPNOPTION")
                                                             : QStringLiteral("MONO"));
    layout_ = LayoutForStereoDialog(setup_.layout);
    QFileDialog* files = Files();
    files->setAcceptMode(QFileDialog::AcceptOpen);
    files->setFileMode(setup_.kind == OpenDialogKind::LeftRight ? QFileDialog::ExistingFiles
                                                                : QFileDialog::ExistingFile);
    files->setNameFilters(setup_.filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    if (!setup_.folder.isEmpty()) files->setDirectory(setup_.folder);
    BuildPanel();
}

void OpenDialog::BuildPanel() {
    if (setup_.kind == OpenDialogKind::Single) {
        Panel()->hide();
        return;
    }
    QVBoxLayout* panel = PanelLayout();
    if (setup_.kind == OpenDialogKind::LeftRight) {
        auto* hint =
            new QLabel(QStringLiteral("Sie können mehrere Bilder (L/R) zugleich auswählen. "));
        hint->setObjectName(QStringLiteral("multiHint"));
        hint->setWordWrap(true);
        panel->addWidget(hint);
    }

    auto* preview = new QCheckBox(QStringLiteral("Vorschau zeigen"));
    preview->setObjectName(ControlName(1231));
    preview->setChecked(setup_.showPreview);
    connect(preview, &QCheckBox::toggled, this, &OpenDialog::SetPreviewOn);
    panel->addWidget(preview);

    box_ = new QLabel;
    box_->setObjectName(ControlName(1232));
    box_->setFixedSize(kPreviewBox + 4, kPreviewBox + 4);
    box_->setAlignment(Qt::AlignCenter);
    box_->setFrameShape(QFrame::StyledPanel);
    panel->addWidget(box_);
    typeText_ = new QLabel;
    typeText_->setObjectName(ControlName(1234));
    panel->addWidget(typeText_);
    colourText_ = new QLabel;
    colourText_->setObjectName(ControlName(1238));
    colourText_->setWordWrap(true);
    panel->addWidget(colourText_);

    // Shown only for a JPEG that has an Exif orientation.
    auto* rotations = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(kRotationRadios[i].text));
        const int id = kRotationRadios[i].id;
        radio->setObjectName(ControlName(id));
        radio->setVisible(false);
        rotations->addButton(radio, id);
        connect(radio, &QRadioButton::clicked, this, [this, id] { ChooseRotation(id); });
        panel->addWidget(radio);
        rotation_[i] = radio;
    }
    rotation_[1]->setChecked(true);

    if (setup_.kind == OpenDialogKind::StereoFile) {
        auto* group = new QGroupBox;
        group->setObjectName(QStringLiteral("layouts"));
        auto* groupLayout = new QVBoxLayout(group);
        auto* radios = new QButtonGroup(this);
        layoutRadios_ = radios;
        for (const LayoutRadio& entry : kLayoutRadios) {
            auto* radio = new QRadioButton(QString::fromUtf8(entry.text));
            const int id = LayoutRadioId(entry.layout);
            radio->setObjectName(ControlName(id));
            radio->setVisible(entry.shown);
            radio->setChecked(entry.layout == layout_);
            radios->addButton(radio, id);
            const StereoLayout layout = entry.layout;
            connect(radio, &QRadioButton::toggled, this, [this, layout](bool on) {
                if (on) layout_ = layout;
            });
            connect(radio, &QRadioButton::clicked, this, [this] { layoutPicked_ = true; });
            groupLayout->addWidget(radio);
        }
        panel->addWidget(group);
    }
    if (setup_.kind != OpenDialogKind::RightFile) {
        auto* fit = new QCheckBox(QStringLiteral("in Normalgröße öffnen"));
        fit->setObjectName(ControlName(3000));
        fit->setChecked(setup_.fitSize);
        connect(fit, &QCheckBox::toggled, this, [this](bool on) { setup_.fitSize = on; });
        panel->addWidget(fit);
    }
    panel->addStretch(1);
}

void OpenDialog::SelectionChanged(const QString& path) {
    if (path.isEmpty() || path == lastName_) return;
    lastName_ = path;
    PreselectLayout(path);
    if (setup_.showPreview) LoadPreview(path);
}

void OpenDialog::PreselectLayout(const QString& path) {
    // Once per file: a layout the user then picks stands.
    if (!layoutRadios_ || path == detectedFor_ || !QFileInfo(path).isFile()) return;
    detectedFor_ = path;
    layoutPicked_ = false;
    // A file whose content says nothing clear keeps the layout there is.
    const std::optional<StereoLayout> detected =
        DetectStereoLayout(path.toStdString(), setup_.preview.codec);
    if (!detected) return;
    if (QAbstractButton* radio = layoutRadios_->button(LayoutRadioId(*detected)))
        radio->setChecked(true);
}

void OpenDialog::Accepting() {
    // A path typed and confirmed at once was never selected: its layout is told now, unless
    // the user picked one.
    if (!chosen_.isEmpty() && !layoutPicked_) PreselectLayout(chosen_.front());
}

void OpenDialog::SetPreviewOn(bool on) {
    setup_.showPreview = on;
    if (on) {
        if (!lastName_.isEmpty()) LoadPreview(lastName_);
        return;
    }
    preview_.reset();
    ShowPreviewTexts();
}

void OpenDialog::LoadPreview(const QString& path) {
    if (!box_ || !QFileInfo(path).isFile()) return;
    std::optional<OpenPreview> loaded = LoadOpenPreview(path.toStdString(), setup_.preview);
    // A file that cannot be opened leaves the panel as it was.
    if (!loaded) return;
    preview_ = std::move(loaded);
    ShowPreviewTexts();
}

void OpenDialog::ShowPreviewTexts() {
    if (!box_) return;
    if (!preview_) {
        typeText_->clear();
        colourText_->clear();
        box_->clear();
        for (QRadioButton* radio : rotation_) radio->setVisible(false);
        return;
    }
    const PreviewTexts texts = PreviewTextsFor(*preview_);
    typeText_->setText(Q(texts.type));
    colourText_->setText(Q(texts.colours));
    const QImage thumbnail = QImageFromImageBuffer(PreviewThumbnail(preview_->image));
    if (thumbnail.isNull())
        box_->clear();
    else
        box_->setPixmap(QPixmap::fromImage(thumbnail));
    const RotationChoice rotation = RotationRadiosFor(preview_->orientation);
    for (QRadioButton* radio : rotation_) radio->setVisible(rotation.visible);
    for (int i = 0; i < 4; ++i)
        if (kRotationRadios[i].id == rotation.checkedRadio) rotation_[i]->setChecked(true);
}

void OpenDialog::ChooseRotation(int radioId) {
    if (lastName_.isEmpty()) return;
    // The choice is written into the file itself; the preview is rebuilt from it.
    WriteOrientationChoice(lastName_.toStdString(), OrientationForRadio(radioId));
    LoadPreview(lastName_);
}

}  // namespace duplora

#include "gui/edit/overlay_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

#include "app/edit/overlay_preview.h"
#include "app/edit/text_overlay.h"
#include "app/image/qimage_bridge.h"
#include "app/shell/settings_store.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"

namespace duplora {

namespace {

constexpr int kSwatchWidth = 40;
constexpr int kSwatchHeight = 18;
// Distances and depth may put the overlay anywhere, even off the picture.
constexpr int kMaxDistance = 99999;
constexpr int kMaxBandHeight = 9999;

QPushButton* Button(QWidget* parent, int control, const char* text) {
    auto* button = Named(new QPushButton(QString::fromUtf8(text), parent), control);
    button->setAutoDefault(false);
    return button;
}

// The preview control: the picture from its top-left corner, 2 pixels inside a frame; a
// press reports where in the picture it fell.
class PreviewLabel : public QLabel {
  public:
    PreviewLabel(QWidget* parent, std::function<void(QPoint)> clicked)
        : QLabel(parent), clicked_(std::move(clicked)) {
        setFrameShape(QFrame::Box);
        setLineWidth(1);
        setMargin(1);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && clicked_)
            clicked_(event->position().toPoint() - QPoint(2, 2));
        QLabel::mousePressEvent(event);
    }

  private:
    std::function<void(QPoint)> clicked_;
};

}  // namespace

// ---- shared parts ----------------------------------------------------------------------------

OverlayDialog::OverlayDialog(const OverlayDialogSetup& setup)
    : QDialog(setup.parent), setup_(setup) {}

QSpinBox* OverlayDialog::NumberBox(int control, int minimum, int maximum) {
    auto* box = Named(new QSpinBox(this), control);
    box->setRange(minimum, maximum);
    box->setAccelerated(true);
    connect(box, &QSpinBox::valueChanged, this, [this] {
        if (!loading_) Refresh();
    });
    return box;
}

QWidget* OverlayDialog::PositionGroup() {
    auto* group = new QGroupBox(QStringLiteral("Position"), this);
    auto* grid = new QGridLayout(group);
    const char* const names[4] = {"oben links", "oben rechts", "unten links", "unten rechts"};
    for (int corner = 0; corner < 4; ++corner) {
        corners_[corner] =
            Named(new QRadioButton(QString::fromUtf8(names[corner]), group), 3181 + corner);
        grid->addWidget(corners_[corner], corner / 2, corner % 2);
        connect(corners_[corner], &QRadioButton::toggled, this, [this](bool on) {
            if (on && !loading_) Refresh();
        });
    }
    x_ = NumberBox(3185, -kMaxDistance, kMaxDistance);
    y_ = NumberBox(3186, -kMaxDistance, kMaxDistance);
    depth_ = NumberBox(3187, -kMaxDistance, kMaxDistance);
    const char* const labels[3] = {"X-Abstand :", "Y-Abstand :", "Tiefe :"};
    QSpinBox* const boxes[3] = {x_, y_, depth_};
    for (int k = 0; k < 3; ++k) {
        auto* label = new QLabel(QString::fromUtf8(labels[k]), group);
        label->setBuddy(boxes[k]);
        grid->addWidget(label, 2 + k, 0);
        grid->addWidget(boxes[k], 2 + k, 1);
    }
    return group;
}

QLayout* OverlayDialog::ColourRow(const char* label, int swatch, int button, const char* buttonText,
                                  int* colour) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromUtf8(label), this));
    row->addWidget(Swatch(swatch, colour));
    auto* choose = Button(this, button, buttonText);
    connect(choose, &QPushButton::clicked, this, [this, colour] {
        if (const auto picked = setup_.host->PickColour(this, QColorFromColourRef(*colour))) {
            *colour = ColourRefFromQColor(*picked);
            ShowSwatches();
            Refresh();
        }
    });
    row->addWidget(choose);
    row->addStretch(1);
    return row;
}

QLabel* OverlayDialog::Swatch(int control, int* colour) {
    auto* sample = Named(new QLabel(this), control);
    sample->setFixedSize(kSwatchWidth, kSwatchHeight);
    sample->setFrameShape(QFrame::Box);
    swatches_.emplace_back(sample, colour);
    return sample;
}

QWidget* OverlayDialog::BandGroup(const char* check, const char* height, const char* colour,
                                  const char* button) {
    auto* group = new QGroupBox(this);
    auto* column = new QVBoxLayout(group);
    band_ = Named(new QCheckBox(QString::fromUtf8(check), group), 3206);
    connect(band_, &QCheckBox::toggled, this, [this] {
        if (!loading_) Refresh();
    });
    column->addWidget(band_);
    auto* heightRow = new QHBoxLayout;
    bandHeight_ = NumberBox(3205, 0, kMaxBandHeight);
    auto* label = new QLabel(QString::fromUtf8(height), group);
    label->setBuddy(bandHeight_);
    heightRow->addWidget(label);
    heightRow->addWidget(bandHeight_);
    heightRow->addStretch(1);
    column->addLayout(heightRow);
    column->addLayout(ColourRow(colour, 1213, 1212, button, &bandColour_));
    return group;
}

QWidget* OverlayDialog::PreviewGroup() {
    auto* group = new QGroupBox(QStringLiteral("Vorschau"), this);
    auto* frame = new PreviewLabel(group, [this](QPoint at) { PreviewClicked(at); });
    frame_ = Named<QLabel>(frame, 3213);
    frame_->setFixedSize(kPreviewWidth + 4, kPreviewHeight + 4);
    auto* column = new QVBoxLayout(group);
    column->addWidget(frame_);
    column->addStretch(1);
    return group;
}

void OverlayDialog::Arrange(QLayout* controls, const char* saveText) {
    auto* columns = new QHBoxLayout;
    columns->addLayout(controls);
    columns->addWidget(PreviewGroup(), 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    auto* save = Button(this, 3062, saveText);
    auto* restore = Button(this, 3064, "Einstellungen wiederherstellen");
    connect(save, &QPushButton::clicked, this, [this] { SaveDefaults(); });
    connect(restore, &QPushButton::clicked, this, [this] { RestoreDefaults(); });
    buttons->addWidget(save);
    buttons->addWidget(restore);
    buttons->addStretch(1);
    buttons->addWidget(OkCancelButtons(this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int OverlayDialog::Corner() const {
    for (int corner = 0; corner < 4; ++corner)
        if (corners_[corner]->isChecked()) return corner;
    return 3;
}

int OverlayDialog::Value(const QSpinBox* box) {
    return box->value();
}

int OverlayDialog::Checked(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

void OverlayDialog::ShowCommon(int corner, int x, int y, int depth, bool band, int bandHeight) {
    corners_[static_cast<std::size_t>(std::clamp(corner, 0, 3))]->setChecked(true);
    x_->setValue(x);
    y_->setValue(y);
    depth_->setValue(depth);
    band_->setChecked(band);
    bandHeight_->setValue(bandHeight);
}

void OverlayDialog::ShowSwatches() {
    for (auto& [label, colour] : swatches_) {
        QPixmap sample(kSwatchWidth - 2, kSwatchHeight - 2);
        sample.fill(QColorFromColourRef(*colour));
        label->setPixmap(sample);
    }
}

void OverlayDialog::ShowPreview(const QImage& picture) {
    preview_ = picture;
    frame_->setPixmap(QPixmap::fromImage(preview_));
}

// ---- ADDTEXT -----------------------------------------------------------------------------------

TextOverlayDialog::TextOverlayDialog(const OverlayDialogSetup& setup) : OverlayDialog(setup) {
    setObjectName(QStringLiteral("ADDTEXT"));
    setWindowTitle(QStringLiteral("Text hinzufügen"));

    text_ = Named(new QLineEdit(this), 3191);
    text_->setMaxLength(kMaxStampTextLength);
    connect(text_, &QLineEdit::textChanged, this, [this] {
        if (!loading_) Refresh();
    });
    auto* textRow = new QHBoxLayout;
    auto* textLabel = new QLabel(QStringLiteral("Text :"), this);
    textLabel->setBuddy(text_);
    textRow->addWidget(textLabel);
    textRow->addWidget(text_, 1);
    auto* fontButton = Button(this, 3192, "Zeichensatz...");
    connect(fontButton, &QPushButton::clicked, this, [this] { PickFont(); });
    textRow->addWidget(fontButton);

    smooth_ =
        Named(new QCheckBox(
                  QStringLiteral(
                      "Zeichen werden kantengeglättet sofern dieses der Zeichensatz unterstützt."),
                  this),
              3193);
    connect(smooth_, &QCheckBox::toggled, this, [this] {
        if (!loading_) Refresh();
    });

    auto* shadowGroup = new QGroupBox(this);
    auto* shadowColumn = new QVBoxLayout(shadowGroup);
    shadow_ = Named(new QCheckBox(QStringLiteral("Schatten anwenden"), shadowGroup), 3200);
    connect(shadow_, &QCheckBox::toggled, this, [this] {
        if (!loading_) Refresh();
    });
    shadowColumn->addWidget(shadow_);
    shadowX_ = NumberBox(3201, -kMaxDistance, kMaxDistance);
    shadowY_ = NumberBox(3202, -kMaxDistance, kMaxDistance);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(new QLabel(QStringLiteral("X : "), shadowGroup));
    offsetRow->addWidget(shadowX_);
    offsetRow->addWidget(new QLabel(QStringLiteral("Y : "), shadowGroup));
    offsetRow->addWidget(shadowY_);
    offsetRow->addStretch(1);
    shadowColumn->addLayout(offsetRow);
    shadowColumn->addLayout(ColourRow("Schattenfarbe : ", 3203, 3204, "...", &shadowColour_));

    auto* left = new QVBoxLayout;
    left->addLayout(textRow);
    left->addWidget(smooth_);
    left->addWidget(PositionGroup());
    left->addLayout(ColourRow("Textfarbe :", 1211, 1210, "...", &textColour_));
    left->addWidget(shadowGroup);
    left->addWidget(BandGroup("Textfeld anwenden", "Textfeldhöhe : ", "Textfeldfarbe : ", "..."));
    left->addStretch(1);
    Arrange(left, "Einstellungen speichern");

    Show(setup.settings->textSettings, setup.settings->textFont);
    text_->setFocus(Qt::OtherFocusReason);
}

void TextOverlayDialog::Show(const TextSet& set, const std::string& font) {
    loading_ = true;
    ShowCommon(set);
    font_ = font;
    textColour_ = set.textColour;
    shadowColour_ = set.shadowColour;
    text_->setText(TextStampText(set.text));
    smooth_->setChecked(set.smooth != 0);
    shadow_->setChecked(set.shadow != 0);
    shadowX_->setValue(set.shadowX);
    shadowY_->setValue(set.shadowY);
    loading_ = false;
    ShowSwatches();
    Refresh();
}

TextChoice TextOverlayDialog::Choice() const {
    TextChoice choice;
    TextSet& set = choice.set;
    ReadCommon(set);
    set.textColour = textColour_;
    set.smooth = smooth_->isChecked() ? 1 : 0;
    set.shadow = shadow_->isChecked() ? 1 : 0;
    set.shadowX = shadowX_->value();
    set.shadowY = shadowY_->value();
    set.shadowColour = shadowColour_;
    set.text = text_->text().toStdString();
    choice.font = font_;
    return choice;
}

void TextOverlayDialog::Refresh() {
    const TextChoice choice = Choice();
    const ImageBuffer none;
    Result<ImageBuffer> shown = TextPreview(setup_.first ? *setup_.first : none, choice.set,
                                            choice.font, kPreviewWidth, kPreviewHeight);
    ShowPreview(shown ? QImageFromImageBuffer(shown.Value()) : QImage());
}

void TextOverlayDialog::PickFont() {
    const QFont current = TextStampFont(font_, smooth_->isChecked());
    if (const auto picked = setup_.host->PickFont(this, current)) {
        font_ = picked->toString().toStdString();
        Refresh();
    }
}

void TextOverlayDialog::SaveDefaults() {
    const TextChoice choice = Choice();
    Settings& settings = *setup_.settings;
    settings.textDefaults = choice.set;
    settings.textFontDefault = choice.font;
    if (setup_.store)
        setup_.store->WriteSettings(
            SettingWritesFor(settings, {setting::kTextsetdef, setting::kLogfont1}));
}

void TextOverlayDialog::RestoreDefaults() {
    Show(setup_.settings->textDefaults, setup_.settings->textFontDefault);
}

// ---- ADDLOGO -----------------------------------------------------------------------------------

LogoOverlayDialog::LogoOverlayDialog(const OverlayDialogSetup& setup) : OverlayDialog(setup) {
    setObjectName(QStringLiteral("ADDLOGO"));
    setWindowTitle(QStringLiteral("Logo Bild hinzufügen"));

    auto* fileRow = new QHBoxLayout;
    fileField_ = Named(new QLineEdit(this), 3216);
    fileField_->setReadOnly(true);
    fileField_->setMinimumWidth(260);
    auto* browse = Button(this, 3217, "...");
    connect(browse, &QPushButton::clicked, this, [this] { PickFile(); });
    fileRow->addWidget(new QLabel(QStringLiteral("Logo Bild :"), this));
    fileRow->addWidget(fileField_, 1);
    fileRow->addWidget(browse);

    auto* transparentGroup = new QGroupBox(this);
    auto* transparentColumn = new QVBoxLayout(transparentGroup);
    transparent_ =
        Named(new QCheckBox(QStringLiteral("verwende Transparentfarbe"), transparentGroup), 3207);
    connect(transparent_, &QCheckBox::toggled, this, [this] {
        if (!loading_) Refresh();
    });
    transparentColumn->addWidget(transparent_);
    auto* pickRow = new QHBoxLayout;
    pickRow->addWidget(new QLabel(QStringLiteral("Transparentfarbe : "), transparentGroup));
    pickRow->addWidget(Swatch(3215, &transparentColour_));
    auto* pick = Button(this, 3214, "Auswahl");
    pick->setCheckable(true);
    connect(pick, &QPushButton::toggled, this, [this](bool on) {
        picking_ = on;
        if (QLabel* frame = PreviewFrame())
            frame->setCursor(on ? Qt::CrossCursor : Qt::ArrowCursor);
    });
    pickButton_ = pick;
    pickRow->addWidget(pick);
    pickRow->addStretch(1);
    transparentColumn->addLayout(pickRow);

    auto* left = new QVBoxLayout;
    left->addLayout(fileRow);
    left->addWidget(PositionGroup());
    left->addWidget(BandGroup("verwende Feldbereich", "Feldhöhe : ", "Feldfarbe : ", "Farbe..."));
    left->addWidget(transparentGroup);
    left->addStretch(1);
    Arrange(left, "Einstellungen sichern");

    Show(setup.settings->logoSettings);
    fileField_->setFocus(Qt::OtherFocusReason);
}

void LogoOverlayDialog::Show(const LogoSet& set) {
    loading_ = true;
    ShowCommon(set);
    transparent_->setChecked(set.transparent != 0);
    transparentColour_ = set.transparentColour;
    loading_ = false;
    LoadLogoFile(set.file);
    ShowSwatches();
    Refresh();
}

void LogoOverlayDialog::LoadLogoFile(const std::string& file) {
    file_ = file;
    fileField_->setText(QString::fromStdString(file));
    logo_ = LoadLogo(file, setup_.codec);
}

LogoSet LogoOverlayDialog::Choice() const {
    LogoSet set;
    ReadCommon(set);
    set.transparent = transparent_->isChecked() ? 1 : 0;
    set.transparentColour = transparentColour_;
    set.file = file_;
    return set;
}

void LogoOverlayDialog::Refresh() {
    const ImageBuffer none;
    Result<ImageBuffer> shown = LogoPreview(setup_.first ? *setup_.first : none, logo_.image,
                                            Choice(), kPreviewWidth, kPreviewHeight);
    if (shown) {
        ShowPreview(QImageFromImageBuffer(shown.Value()));
        return;
    }
    QImage failed(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    failed.fill(Qt::white);
    QPainter painter(&failed);
    painter.setPen(Qt::black);
    const int ascent = painter.fontMetrics().ascent();
    painter.drawText(QPoint(10, 10 + ascent), QStringLiteral("Logo Image File load error!"));
    painter.end();
    ShowPreview(failed);
}

void LogoOverlayDialog::PickFile() {
    const QString folder =
        file_.empty() ? QString() : QFileInfo(QString::fromStdString(file_)).absolutePath();
    const QStringList picked = setup_.host->PickFiles(
        this, QString(), folder, QStringLiteral("Logo Image Files (*.bmp *.jpg *.tif)"));
    if (picked.isEmpty()) return;
    LoadLogoFile(picked.front().toStdString());
    Refresh();
}

void LogoOverlayDialog::PreviewClicked(QPoint at) {
    if (!picking_) return;
    if (!preview_.valid(at)) return;
    const QRgb pixel = preview_.pixel(at);
    transparentColour_ = ColourRef(qRed(pixel), qGreen(pixel), qBlue(pixel));
    pickButton_->setChecked(false);
    ShowSwatches();
    Refresh();
}

void LogoOverlayDialog::SaveDefaults() {
    Settings& settings = *setup_.settings;
    settings.logoDefaults = Choice();
    if (setup_.store)
        setup_.store->WriteSettings(SettingWritesFor(settings, {setting::kLogosetdef}));
}

void LogoOverlayDialog::RestoreDefaults() {
    Show(setup_.settings->logoDefaults);
}

// ---- running them ------------------------------------------------------------------------------

std::optional<TextChoice> AskTextOverlay(const OverlayDialogSetup& setup) {
    if (!setup.host || !setup.settings) return std::nullopt;
    TextOverlayDialog dialog(setup);
    if (!setup.host->Run(dialog)) return std::nullopt;
    TextChoice choice = dialog.Choice();
    Settings& settings = *setup.settings;
    settings.textSettings = choice.set;
    settings.textFont = choice.font;
    if (setup.store)
        setup.store->WriteSettings(
            SettingWritesFor(settings, {setting::kTextset, setting::kLogfont}));
    return choice;
}

std::optional<LogoSet> AskLogoOverlay(const OverlayDialogSetup& setup) {
    if (!setup.host || !setup.settings) return std::nullopt;
    LogoOverlayDialog dialog(setup);
    if (!setup.host->Run(dialog)) return std::nullopt;
    LogoSet set = dialog.Choice();
    Settings& settings = *setup.settings;
    settings.logoSettings = set;
    if (setup.store) setup.store->WriteSettings(SettingWritesFor(settings, {setting::kLogoset}));
    return set;
}

}  // namespace duplora

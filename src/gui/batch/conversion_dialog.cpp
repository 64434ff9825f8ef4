#include "gui/batch/conversion_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "app/batch/batch_start.h"
#include "app/batch/slide_list.h"
#include "app/image/qimage_bridge.h"
#include "core/batch/list_file.h"
#include "core/batch/name_order.h"
#include "core/stereo/display_modes.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

constexpr std::array<const char*, 5> kSourceTexts{"Nebeneinander", "Übereinander", "Interlace",
                                                  "Anaglyph", "Unabhängig(L/R)"};
constexpr std::array<StereoLayout, 5> kSourceLayouts{
    StereoLayout::SideBySide, StereoLayout::OverUnder, StereoLayout::Interlace,
    StereoLayout::Anaglyph, StereoLayout::Pair};
constexpr int kFirstSourceRadio = 3097;
constexpr std::array<const char*, 6> kOutputTexts{"Nebeneinander", "Übereinander",
                                                  "Interlace",     "Grau-Anaglyph",
                                                  "Farb-Anaglyph", "Unabhängig(L/R)"};
constexpr int kFirstOutputRadio = 3102;
constexpr int kSeparateFilesRadio = kFirstOutputRadio + 5;
constexpr std::array<const char*, 4> kTypeTexts{"BMP", "JPG", "JPS", "DAS"};
constexpr int kFirstTypeRadio = 3130;

const char* const kListFilter = "Text File (*.TXT *.txt)";

QLineEdit* Field(int id, int width = 52) {
    auto* field = new QLineEdit;
    field->setObjectName(ControlName(id));
    field->setFixedWidth(width);
    return field;
}

QCheckBox* Check(int id, const char* text) {
    auto* box = new QCheckBox(QString::fromUtf8(text));
    box->setObjectName(ControlName(id));
    return box;
}

QPushButton* Button(int id, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(ControlName(id));
    button->setAutoDefault(false);
    return button;
}

// The small "..." button beside a folder field.
QPushButton* BrowseButton(int id) {
    QPushButton* button = Button(id, QStringLiteral("..."));
    button->setFixedWidth(32);
    return button;
}

QLabel* Small(const char* text) {
    return new QLabel(QString::fromUtf8(text));
}

// A whole number typed into `field`, or `fallback` when it holds none.
int NumberIn(const QLineEdit* field, int fallback) {
    bool ok = false;
    const int value = field->text().trimmed().toInt(&ok);
    return ok ? value : fallback;
}

template <typename Parse>
int FixedIn(const QLineEdit* field, int fallback, Parse parse) {
    const std::optional<int> value = parse(field->text().trimmed().toStdString());
    return value ? *value : fallback;
}

// Radio buttons with the control ids from `firstId` in one group whose ids are their
// positions; the one at `checked` is on (the first when it is out of range). `place` puts
// button i into its layout.
template <std::size_t N, typename Place>
QButtonGroup* Radios(QObject* owner, const std::array<const char*, N>& texts, int firstId,
                     int checked, Place place) {
    auto* group = new QButtonGroup(owner);
    for (int i = 0; i < static_cast<int>(N); ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(texts[i]));
        radio->setObjectName(ControlName(firstId + i));
        group->addButton(radio, i);
        place(radio, i);
    }
    group->button(checked >= 0 && checked < static_cast<int>(N) ? checked : 0)->setChecked(true);
    return group;
}

int ListPosition(DisplayMode mode) {
    const DisplayModeRow* row = FindDisplayMode(mode);
    return row && row->listIndex >= 0 ? row->listIndex : 0;
}

}  // namespace

ConversionDialog::ConversionDialog(ConversionDialogSetup setup, QWidget* parent)
    : FileDialogPanel(setup.fromList ? QStringLiteral("Mehrfach Konvertierung aus einer Liste")
                                     : QStringLiteral("Mehrfach Konvertierung"),
                      parent),
      setup_(std::move(setup)) {
    setObjectName(setup_.fromList ? QStringLiteral("MULTICONV1") : QStringLiteral("MULTICONV"));
    QFileDialog* files = Files();
    files->setAcceptMode(QFileDialog::AcceptOpen);
    files->setFileMode(setup_.fromList ? QFileDialog::ExistingFile : QFileDialog::ExistingFiles);
    const QString filter = setup_.fromList ? QLatin1String(kListFilter) : setup_.filter;
    files->setNameFilters(filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    if (!setup_.folder.isEmpty()) files->setDirectory(setup_.folder);
    if (setup_.fromList && !setup_.list.isEmpty()) files->selectFile(setup_.list);
    // The file dialog's own button starts the run with the selection.
    files->setLabelText(QFileDialog::Accept, setup_.fromList
                                                 ? QStringLiteral("Dateien konvertieren")
                                                 : QStringLiteral("Auswahl konvertieren"));
    if (auto* box = files->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox")))
        if (QPushButton* start = box->button(QDialogButtonBox::Open))
            start->setObjectName(ControlName(setup_.fromList ? 1369 : 1367));
    BuildPanel();
    ShowAdjustment(setup_.options);
    if (setup_.prefill) Prefill();
    resize(1150, 640);
}

void ConversionDialog::BuildPanel() {
    auto* columns = new QHBoxLayout;
    auto* first = new QVBoxLayout;
    auto* second = new QVBoxLayout;
    columns->addLayout(first);
    columns->addLayout(second);
    PanelLayout()->addLayout(columns);
    if (!setup_.fromList) first->addWidget(SourceGroup());
    first->addWidget(OutputGroup());
    first->addWidget(TargetRow());
    first->addWidget(FinishGroup());
    first->addStretch(1);
    if (!setup_.fromList) second->addWidget(PreviewBox());
    second->addWidget(AdjustmentGroup());
    second->addStretch(1);
    if (!setup_.fromList) {
        QPushButton* all = Button(1368, QStringLiteral("Alle Dateien konvertieren"));
        connect(all, &QPushButton::clicked, this, &ConversionDialog::ConvertAll);
        second->addWidget(all);
    }
}

QWidget* ConversionDialog::SourceGroup() {
    auto* group = new QGroupBox(QStringLiteral("Quelle"));
    auto* layout = new QGridLayout(group);
    const auto source =
        std::find(kSourceLayouts.begin(), kSourceLayouts.end(), setup_.options.sourceLayout);
    source_ = Radios(
        this, kSourceTexts, kFirstSourceRadio, static_cast<int>(source - kSourceLayouts.begin()),
        [layout](QRadioButton* radio, int i) { layout->addWidget(radio, i / 2, i % 2); });
    useRightFolder_ = Check(1424, "Verzeichnis für Rechts : ");
    useRightFolder_->setChecked(setup_.options.useRightFolder);
    rightFolder_ = Field(1425, 140);
    rightFolder_->setText(Q(setup_.options.rightFolder));
    QPushButton* browse = BrowseButton(1426);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder = setup_.host->PickFolder(
            this, QStringLiteral("Please select Right image folder"), rightFolder_->text());
        if (folder.isEmpty()) return;
        rightFolder_->setText(folder);
        useRightFolder_->setChecked(true);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(useRightFolder_);
    row->addWidget(rightFolder_, 1);
    row->addWidget(browse);
    layout->addLayout(row, 3, 0, 1, 2);
    return group;
}

QWidget* ConversionDialog::OutputGroup() {
    auto* group = new QGroupBox(QStringLiteral("Ausgabe"));
    auto* layout = new QGridLayout(group);
    const int shownLayout = setup_.options.separateFiles ? kSeparateFilesRadio - kFirstOutputRadio
                                                         : ListPosition(setup_.options.outputMode);
    output_ = Radios(this, kOutputTexts, kFirstOutputRadio, shownLayout,
                     [layout](QRadioButton* radio, int i) { layout->addWidget(radio, i, 0); });
    const auto type = std::find(kBatchOutputFormats.begin(), kBatchOutputFormats.end(),
                                setup_.options.outputType);
    type_ = Radios(this, kTypeTexts, kFirstTypeRadio,
                   static_cast<int>(type - kBatchOutputFormats.begin()),
                   [layout](QRadioButton* radio, int i) { layout->addWidget(radio, i, 1); });
    auto* quality = new QHBoxLayout;
    quality->addWidget(Small("Qualität"));
    quality_ = Field(1215, 40);
    quality_->setText(QString::number(setup_.options.quality));
    quality->addWidget(quality_);
    quality->addStretch(1);
    layout->addLayout(quality, 4, 1);
    exif_ = Check(3142, "Vorschaubild hinzufügen");
    exif_->setChecked(setup_.options.exifThumbnail);
    layout->addWidget(exif_, 5, 1);
    return group;
}

QWidget* ConversionDialog::TargetRow() {
    auto* group = new QGroupBox(QStringLiteral("Zielverzeichnis"));
    auto* row = new QHBoxLayout(group);
    target_ = Field(1410, 200);
    target_->setMinimumWidth(160);
    target_->setMaximumWidth(QWIDGETSIZE_MAX);
    target_->setText(Q(setup_.options.targetFolder));
    QPushButton* browse = BrowseButton(1269);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder =
            setup_.host->PickFolder(this, QStringLiteral("Zielverzeichnis"), target_->text());
        if (!folder.isEmpty()) target_->setText(folder);
    });
    row->addWidget(target_, 1);
    row->addWidget(browse);
    return group;
}

QWidget* ConversionDialog::PreviewBox() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    QCheckBox* on = Check(1231, "Vorschau");
    on->setChecked(setup_.showPreview);
    layout->addWidget(on);
    preview_ = new QLabel;
    preview_->setObjectName(ControlName(1232));
    preview_->setFixedSize(kPreviewBox + 4, kPreviewBox + 4);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(preview_);
    connect(on, &QCheckBox::toggled, this, [this](bool shown) {
        setup_.showPreview = shown;
        if (shown)
            ShowPreviewOf(lastName_);
        else
            preview_->clear();
    });
    return box;
}

QWidget* ConversionDialog::AdjustmentGroup() {
    auto* group = new QGroupBox(QStringLiteral("Justage"));
    auto* grid = new QGridLayout(group);
    struct Row {
        QCheckBox** check;
        int checkId;
        const char* text;
        const char* first;
        QLineEdit** a;
        int aId;
        const char* second;
        QLineEdit** b;
        int bId;
    };
    const Row rows[] = {
        {&angle_, 3109, "Winkel", "L", &leftAngle_, 3117, "R", &rightAngle_, 3118},
        {&size_, 3110, "Größe", "L", &leftSize_, 3123, "R", &rightSize_, 3124},
        {&position_, 3111, "Position", "H", &positionH_, 3121, "V", &positionV_, 3122},
        {&gamma_, 3112, "Gamma", "L", &leftGamma_, 3116, "R", &rightGamma_, 3119},
    };
    int r = 0;
    for (const Row& row : rows) {
        *row.check = Check(row.checkId, row.text);
        grid->addWidget(*row.check, r, 0);
        grid->addWidget(Small(row.first), r, 1);
        *row.a = Field(row.aId);
        grid->addWidget(*row.a, r, 2);
        grid->addWidget(Small(row.second), r, 3);
        *row.b = Field(row.bId);
        grid->addWidget(*row.b, r, 4);
        ++r;
    }
    grid->addWidget(Small("%"), 1, 5);
    grid->addWidget(Small("0.01(D) -- 5.00(L)"), r++, 2, 1, 4);
    const BatchOptions& o = setup_.options;
    angle_->setChecked(o.angle);
    size_->setChecked(o.size);
    position_->setChecked(o.position);
    gamma_->setChecked(o.gamma);
    auto* buttons = new QHBoxLayout;
    QPushButton* clear = Button(3064, QStringLiteral("Löschen"));
    connect(clear, &QPushButton::clicked, this, &ConversionDialog::Clear);
    QPushButton* restore = Button(0, QStringLiteral("Werte wiederherstellen"));
    restore->setObjectName(QStringLiteral("quickValues"));
    restore->setEnabled(!setup_.quickAdjustment.empty());
    connect(restore, &QPushButton::clicked, this, &ConversionDialog::Prefill);
    buttons->addWidget(clear);
    buttons->addWidget(restore);
    buttons->addStretch(1);
    grid->addLayout(buttons, r, 0, 1, 6);
    return group;
}

QWidget* ConversionDialog::FinishGroup() {
    auto* group = new QWidget;
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(0, 0, 0, 0);
    const BatchOptions& o = setup_.options;
    resize_ = Check(1373, setup_.fromList ? "Umrechnen" : "Größe");
    resize_->setChecked(o.resizeWidth);
    grid->addWidget(resize_, 0, 0);
    grid->addWidget(Small("Breite:"), 0, 1);
    width_ = Field(3113);
    width_->setText(QString::number(o.width));
    grid->addWidget(width_, 0, 2);
    sharpen_ = Check(1377, "Schärfe");
    sharpen_->setChecked(o.sharpen);
    grid->addWidget(sharpen_, 1, 0);
    sharpness_ = Field(3115);
    sharpness_->setText(QString::number(o.sharpness));
    grid->addWidget(sharpness_, 1, 2);
    grid->addWidget(Small("1 (weich) - 50 (hart)"), 1, 3);
    swap_ = Check(3141, "vertausche L/R");
    swap_->setChecked(o.swap);
    grid->addWidget(swap_, 2, 0, 1, 4);
    text_ = Check(3194, "Text hinzufügen");
    text_->setChecked(o.text);
    grid->addWidget(text_, 3, 0, 1, 4);
    logo_ = Check(3195, "Logo hinzufügen");
    logo_->setChecked(o.logo);
    grid->addWidget(logo_, 4, 0, 1, 4);
    border_ = Check(3234, "Rahmen speichern");
    border_->setChecked(o.border);
    grid->addWidget(border_, 5, 0, 1, 4);
    grid->setColumnStretch(3, 1);
    return group;
}

void ConversionDialog::ShowAdjustment(const BatchOptions& o) {
    leftAngle_->setText(Q(FormatBatchAngle(o.leftAngle)));
    rightAngle_->setText(Q(FormatBatchAngle(o.rightAngle)));
    leftSize_->setText(QString::number(o.leftSize));
    rightSize_->setText(QString::number(o.rightSize));
    positionH_->setText(QString::number(o.positionH));
    positionV_->setText(QString::number(o.positionV));
    leftGamma_->setText(Q(FormatBatchGamma(o.leftGamma)));
    rightGamma_->setText(Q(FormatBatchGamma(o.rightGamma)));
}

void ConversionDialog::Prefill() {
    BatchOptions options = Options();
    if (PrefillFromQuickAdjustment(setup_.quickAdjustment, options)) ShowAdjustment(options);
}

void ConversionDialog::Clear() {
    ShowAdjustment(BatchOptions{});
}

BatchOptions ConversionDialog::Options() const {
    BatchOptions o = setup_.options;
    if (source_) {
        o.sourceLayout = kSourceLayouts[std::max(0, source_->checkedId())];
        o.useRightFolder = useRightFolder_->isChecked();
        o.rightFolder = rightFolder_->text().trimmed().toStdString();
    }
    const int layout = output_->checkedId();
    o.separateFiles = layout == kSeparateFilesRadio - kFirstOutputRadio;
    if (const std::optional<DisplayMode> mode =
            DisplayModeAtListIndex(o.separateFiles ? 0 : std::max(0, layout)))
        o.outputMode = *mode;
    o.outputType = kBatchOutputFormats[std::max(0, type_->checkedId())];
    o.quality = NumberIn(quality_, o.quality);
    o.exifThumbnail = exif_->isChecked();
    o.angle = angle_->isChecked();
    o.leftAngle = FixedIn(leftAngle_, o.leftAngle, ParseBatchAngle);
    o.rightAngle = FixedIn(rightAngle_, o.rightAngle, ParseBatchAngle);
    o.size = size_->isChecked();
    o.leftSize = NumberIn(leftSize_, o.leftSize);
    o.rightSize = NumberIn(rightSize_, o.rightSize);
    o.position = position_->isChecked();
    o.positionH = NumberIn(positionH_, o.positionH);
    o.positionV = NumberIn(positionV_, o.positionV);
    o.gamma = gamma_->isChecked();
    o.leftGamma = FixedIn(leftGamma_, o.leftGamma, ParseBatchGamma);
    o.rightGamma = FixedIn(rightGamma_, o.rightGamma, ParseBatchGamma);
    o.resizeWidth = resize_->isChecked();
    o.width = NumberIn(width_, o.width);
    o.sharpen = sharpen_->isChecked();
    o.sharpness = NumberIn(sharpness_, o.sharpness);
    o.swap = swap_->isChecked();
    o.text = text_->isChecked();
    o.logo = logo_->isChecked();
    o.border = border_->isChecked();
    o.targetFolder = target_->text().trimmed().toStdString();
    ClampBatchOptions(o);
    return o;
}

void ConversionDialog::SelectionChanged(const QString& path) {
    if (path.isEmpty() || path == lastName_) return;
    lastName_ = path;
    if (setup_.showPreview) ShowPreviewOf(path);
}

void ConversionDialog::ShowPreviewOf(const QString& path) {
    if (!preview_ || path.isEmpty() || !QFileInfo(path).isFile()) return;
    const std::optional<OpenPreview> loaded = LoadOpenPreview(path.toStdString(), setup_.preview);
    if (!loaded) return;
    const QImage thumbnail = QImageFromImageBuffer(PreviewThumbnail(loaded->image));
    if (thumbnail.isNull())
        preview_->clear();
    else
        preview_->setPixmap(QPixmap::fromImage(thumbnail));
}

void ConversionDialog::Accepting() {
    StartWith(chosen_);
}

void ConversionDialog::ConvertAll() {
    const std::vector<std::string> names =
        KnownImageFiles(Files()->directory().absolutePath().toStdString(), 1);
    QStringList paths;
    for (const std::string& name : names) paths << Q(name);
    if (paths.isEmpty()) return;
    if (!StartWith(paths)) return;
    chosen_ = paths;
    accept();
}

bool ConversionDialog::StartWith(const QStringList& paths) {
    job_.reset();
    if (paths.isEmpty()) return false;
    BatchOptions options = Options();
    options.targetFolder = NormaliseTargetFolder(options.targetFolder);
    BatchJob job;
    if (setup_.fromList) {
        const std::string path = paths.front().toStdString();
        ListFile list;
        const ListResult read = OpenList(path, list);
        if (read != ListResult::Ok) {
            setup_.host->Tell(this, ListFailureText(read, false), Res(StringId::ErrorCaption));
            return false;
        }
        job = MakeListJob(path, list, options);
    } else {
        std::vector<std::string> files;
        files.reserve(static_cast<std::size_t>(paths.size()));
        for (const QString& path : paths) files.push_back(path.toStdString());
        job = MakeFileJob(files, options);
    }
    const Status ready = ConfirmBatchStart(options, job.count, setup_.host->Asking(this));
    if (!ready) {
        setup_.host->Tell(this, ready.Error());
        return false;
    }
    runOptions_ = std::move(options);
    job_ = std::move(job);
    return true;
}

}  // namespace duplora

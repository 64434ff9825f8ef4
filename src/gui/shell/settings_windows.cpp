#include "gui/shell/settings_windows.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>
#include <span>
#include <vector>

#include "app/image/qimage_bridge.h"
#include "app/image/trim_resize.h"
#include "app/shell/file_associations.h"
#include "app/shell/send_to.h"
#include "app/shell/settings.h"
#include "app/shell/settings_dialogs.h"
#include "app/shell/settings_store.h"
#include "app/shell/translations.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

#ifndef DUPLORA_VERSION
#define DUPLORA_VERSION "0.1.0"
#endif

namespace duplora {

namespace {

void StartDialog(QDialog& dialog, const char* resource, const char* title) {
    dialog.setObjectName(QLatin1String(resource));
    dialog.setWindowTitle(QString::fromUtf8(title));
}

// The dialog keeps the size of what it shows, also when W3D hides a part.
void FinishLayout(QDialog& dialog, QVBoxLayout* layout) {
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(OkCancelButtons(&dialog));
}

QSpinBox* NumberBox(QWidget* parent, int control, int minimum, int maximum, int value) {
    auto* box = Named(new QSpinBox(parent), control);
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

// Tab walks the controls in the order given, then OK and Cancel.
void ChainTabOrder(QDialog& dialog, const std::vector<QWidget*>& controls) {
    std::vector<QWidget*> chain = controls;
    chain.push_back(dialog.findChild<QWidget*>(ControlName(1)));
    chain.push_back(dialog.findChild<QWidget*>(ControlName(2)));
    for (std::size_t k = 1; k < chain.size(); ++k) QWidget::setTabOrder(chain[k - 1], chain[k]);
}

// The field the user starts in; its text is selected so that typing replaces it.
void FocusFirst(QWidget* control) {
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
    if (auto* box = qobject_cast<QAbstractSpinBox*>(control)) box->selectAll();
}

void Store(const SettingsWindowContext& context, const SettingWrites& writes) {
    if (context.store && !writes.empty()) context.store->WriteSettings(writes);
}

std::string Utf8(const QString& text) {
    return text.toStdString();
}

// ---- SETTEI ------------------------------------------------------------------------------

class SettingsDialog : public QDialog {
  public:
    explicit SettingsDialog(const SettingsWindowContext& context);

    SetteiState State() const;
    bool BackgroundChanged() const { return backgroundChanged_; }

  private:
    QGroupBox* BuildGeneral();
    QGroupBox* BuildTrim();
    QGroupBox* BuildPrograms();
    QGroupBox* BuildFileTypes();
    QGroupBox* BuildSendTo();

    void PickPluginFolder();
    void PickExternalProgram();
    void PickBackground();
    void ShowBackground();
    void ShowSendTo();
    void ToggleNow(QCheckBox* box, SettingWrites (*toggle)(Settings&), const int& flag);

    const SettingsWindowContext& context_;
    Settings& settings_;
    const SetteiState start_;
    FileAssociations associations_;
    SendToLauncher sendTo_;
    bool backgroundChanged_ = false;
    std::vector<QWidget*> tabOrder_;

    QLineEdit* step_ = nullptr;
    QSpinBox* slideTime_ = nullptr;
    QSpinBox* waku_ = nullptr;
    QLabel* backgroundSample_ = nullptr;
    QCheckBox* winMax_ = nullptr;
    QCheckBox* packToCentre_ = nullptr;
    std::array<QSpinBox*, 10> trimSizes_{};
    QCheckBox* trimRescale_ = nullptr;
    QLineEdit* pluginFolder_ = nullptr;
    QLineEdit* externalProgram_ = nullptr;
    QCheckBox* gaibuHiki_ = nullptr;
    QLabel* sendToState_ = nullptr;
};

SettingsDialog::SettingsDialog(const SettingsWindowContext& context)
    : QDialog(context.parent),
      context_(context),
      settings_(*context.settings),
      start_(SetteiStateFromSettings(*context.settings)),
      associations_(context.desktopFolders.value_or(DesktopFolders::User()), context.programPath,
                    context.refreshDesktopDatabases),
      sendTo_(context.desktopFolders.value_or(DesktopFolders::User()).dataHome,
              context.programPath) {
    StartDialog(*this, "SETTEI", "Einstellungen");

    auto* left = new QVBoxLayout;
    left->addWidget(BuildGeneral());
    left->addWidget(BuildTrim());
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(BuildPrograms());
    right->addWidget(BuildFileTypes());
    right->addWidget(BuildSendTo());
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    FinishLayout(*this, layout);
    ChainTabOrder(*this, tabOrder_);
    FocusFirst(step_);
}

QGroupBox* SettingsDialog::BuildGeneral() {
    auto* group = new QGroupBox(QStringLiteral("Allgemein"), this);
    // The step is a plain number field: it also takes the access number, which is above the
    // largest step.
    step_ = Named(new QLineEdit(QString::number(start_.alignmentStep), group), 3161);
    step_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), step_));
    step_->setMaxLength(4);
    slideTime_ = NumberBox(group, 1246, 1, 3600, start_.slideTime);
    waku_ = NumberBox(group, 3074, 0, 99, start_.waku);
    step_->setFixedWidth(slideTime_->sizeHint().width());
    waku_->setFixedWidth(slideTime_->sizeHint().width());

    backgroundSample_ = Named(new QLabel(group), 3232);
    backgroundSample_->setFrameShape(QFrame::Box);
    backgroundSample_->setFixedSize(48, 22);
    backgroundSample_->setAutoFillBackground(true);
    ShowBackground();
    auto* colour = Named(new QPushButton(QStringLiteral("Farbe..."), group), 3230);
    connect(colour, &QPushButton::clicked, this, [this] { PickBackground(); });
    auto* background = new QHBoxLayout;
    background->addWidget(backgroundSample_);
    background->addWidget(colour);
    background->addStretch();

    winMax_ = Named(new QCheckBox(QStringLiteral("Maximiert starten"), group), 3062);
    winMax_->setChecked(start_.winMax);
    packToCentre_ =
        Named(new QCheckBox(QStringLiteral("Bilder zur Mittellinie zusammenrücken"), group), 3095);
    packToCentre_->setChecked(start_.packToCentre);
    auto* kantyo =
        Named(new QCheckBox(QStringLiteral("Schnellausrichtungsdialog erweitert"), group), 3061);
    ToggleNow(kantyo, &ToggleKantyo, settings_.adjustDialogMaximised);

    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(QStringLiteral("Ausrichtungsschritt (Pixel):"), step_);
    form->addRow(QStringLiteral("Diashow-Intervall (1/10 s):"), slideTime_);
    form->addRow(QStringLiteral("Freiraum um das Bild (Pixel):"), waku_);
    form->addRow(QStringLiteral("Hintergrundfarbe:"), background);
    form->addRow(winMax_);
    form->addRow(packToCentre_);
    form->addRow(kantyo);
    tabOrder_.insert(tabOrder_.end(),
                     {step_, slideTime_, waku_, colour, winMax_, packToCentre_, kantyo});
    return group;
}

QGroupBox* SettingsDialog::BuildTrim() {
    auto* group = new QGroupBox(QStringLiteral("Ausschnitt"), this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Breite"), group), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Höhe"), group), 0, 3);
    for (int preset = 0; preset < 5; ++preset) {
        grid->addWidget(new QLabel(Tr("Vorgabe %1:").arg(preset + 1), group), preset + 1, 0);
        for (int side = 0; side < 2; ++side) {
            const int k = preset * 2 + side;
            trimSizes_[k] = NumberBox(group, 1349 + k, 1, kMaxResizeSide, start_.trimSizes[k]);
            grid->addWidget(trimSizes_[k], preset + 1, 1 + side * 2);
            tabOrder_.push_back(trimSizes_[k]);
        }
        grid->addWidget(new QLabel(QStringLiteral("x"), group), preset + 1, 2);
    }
    grid->setColumnStretch(4, 1);
    trimRescale_ = Named(
        new QCheckBox(QStringLiteral("Vorgabeausschnitt auf die Vorgabegröße umrechnen"), group),
        3091);
    trimRescale_->setChecked(start_.trimRescale);
    auto* twoStep = Named(
        new QCheckBox(QStringLiteral("Ausschnitt in zwei Schritten: erst Größe, dann Lage"), group),
        3063);
    ToggleNow(twoStep, &ToggleTwoStepTrim, settings_.twoStepTrim);

    auto* layout = new QVBoxLayout(group);
    layout->addLayout(grid);
    layout->addWidget(trimRescale_);
    layout->addWidget(twoStep);
    tabOrder_.insert(tabOrder_.end(), {trimRescale_, twoStep});
    return group;
}

QGroupBox* SettingsDialog::BuildPrograms() {
    auto* group = new QGroupBox(QStringLiteral("Plug-ins und externes Programm"), this);
    pluginFolder_ = Named(new QLineEdit(Q(start_.pluginFolder), group), 1249);
    auto* pluginPick = Named(new QPushButton(QStringLiteral("..."), group), 1250);
    connect(pluginPick, &QPushButton::clicked, this, [this] { PickPluginFolder(); });
    externalProgram_ = Named(new QLineEdit(Q(start_.externalProgram), group), 1253);
    auto* programPick = Named(new QPushButton(QStringLiteral("..."), group), 1255);
    connect(programPick, &QPushButton::clicked, this, [this] { PickExternalProgram(); });
    gaibuHiki_ = Named(
        new QCheckBox(QStringLiteral("Angezeigtes Bild an das externe Programm geben"), group),
        1305);
    gaibuHiki_->setChecked(start_.passPictureToExternalProgram);
    for (QPushButton* pick : {pluginPick, programPick}) {
        pick->setAutoDefault(false);
        pick->setMaximumWidth(pick->fontMetrics().horizontalAdvance(pick->text()) + 24);
    }
    pluginFolder_->setMinimumWidth(260);

    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Plug-in-Verzeichnis:"), group), 0, 0, 1, 2);
    grid->addWidget(pluginFolder_, 1, 0);
    grid->addWidget(pluginPick, 1, 1);
    auto* note = new QLabel(QStringLiteral("(gilt ab dem nächsten Start)"), group);
    note->setEnabled(false);
    grid->addWidget(note, 2, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Externes Programm:"), group), 3, 0, 1, 2);
    grid->addWidget(externalProgram_, 4, 0);
    grid->addWidget(programPick, 4, 1);
    grid->addWidget(gaibuHiki_, 5, 0, 1, 2);
    tabOrder_.insert(tabOrder_.end(),
                     {pluginFolder_, pluginPick, externalProgram_, programPick, gaibuHiki_});
    return group;
}

QGroupBox* SettingsDialog::BuildFileTypes() {
    auto* group = new QGroupBox(QStringLiteral("Dateitypen mit Duplora öffnen"), this);
    auto* row = new QHBoxLayout(group);
    for (AssociationType type :
         {AssociationType::Das, AssociationType::Jpg, AssociationType::Jps}) {
        const AssociationInfo info = AssociationOf(type);
        auto* box = Named(new QCheckBox(QString::fromLatin1(info.extension).toUpper(), group),
                          info.checkBoxId);
        box->setChecked(associations_.IsAssociated(type));
        connect(box, &QCheckBox::clicked, this, [this, box, type](bool on) {
            associations_.SetAssociated(type, on);
            // What the desktop now has, also when the change could not be made.
            box->setChecked(associations_.IsAssociated(type));
        });
        row->addWidget(box);
        tabOrder_.push_back(box);
    }
    row->addStretch();
    return group;
}

QGroupBox* SettingsDialog::BuildSendTo() {
    auto* group = new QGroupBox(QStringLiteral("Senden an"), this);
    auto* text =
        new QLabel(QStringLiteral("Eintrag „Duplora“ im Kontextmenü der Dateimanager:"), group);
    sendToState_ = new QLabel(group);
    auto* add = Named(new QPushButton(QStringLiteral("Hinzufügen"), group), 1207);
    auto* remove = Named(new QPushButton(QStringLiteral("Löschen"), group), 1209);
    for (QPushButton* button : {add, remove}) button->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, [this] {
        sendTo_.Create();
        ShowSendTo();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        sendTo_.Remove();
        ShowSendTo();
    });
    ShowSendTo();

    auto* layout = new QGridLayout(group);
    layout->addWidget(text, 0, 0, 1, 3);
    layout->addWidget(sendToState_, 1, 0);
    layout->addWidget(add, 1, 1);
    layout->addWidget(remove, 1, 2);
    layout->setColumnStretch(0, 1);
    tabOrder_.insert(tabOrder_.end(), {add, remove});
    return group;
}

void SettingsDialog::ToggleNow(QCheckBox* box, SettingWrites (*toggle)(Settings&),
                               const int& flag) {
    box->setChecked(flag == 1);
    connect(box, &QCheckBox::clicked, this, [this, box, toggle, &flag] {
        Store(context_, toggle(settings_));
        box->setChecked(flag == 1);
    });
}

void SettingsDialog::PickPluginFolder() {
    const QStringList files =
        context_.host->PickFiles(this, Res(StringId::PluginFolderTitle), pluginFolder_->text(),
                                 QStringLiteral("Susie 32bit plug-in (*.spi *.SPI)"));
    if (files.isEmpty()) return;
    pluginFolder_->setText(Q(PluginFolderOfFile(Utf8(files.front()))));
}

void SettingsDialog::PickExternalProgram() {
    const QString current = externalProgram_->text();
    const QString folder = current.contains(QLatin1Char('/')) ? QFileInfo(current).absolutePath()
                                                              : QStringLiteral("/usr/bin");
    const QStringList files = context_.host->PickFiles(this, Res(StringId::ExternalProgramTitle),
                                                       folder, QStringLiteral("Alle Dateien (*)"));
    if (files.isEmpty()) return;
    externalProgram_->setText(files.front());
}

void SettingsDialog::PickBackground() {
    const auto chosen =
        context_.host->PickColour(this, BackgroundColour(settings_), QStringLiteral("Farbe"));
    if (!chosen) return;
    settings_.border.background = ColourRef(chosen->red(), chosen->green(), chosen->blue());
    backgroundChanged_ = true;
    ShowBackground();
}

void SettingsDialog::ShowBackground() {
    QPalette palette = backgroundSample_->palette();
    palette.setColor(QPalette::Window, BackgroundColour(settings_));
    backgroundSample_->setPalette(palette);
}

void SettingsDialog::ShowSendTo() {
    sendToState_->setText(sendTo_.Exists() ? QStringLiteral("vorhanden")
                                           : QStringLiteral("nicht vorhanden"));
}

SetteiState SettingsDialog::State() const {
    SetteiState state = start_;
    state.pluginFolder = Utf8(pluginFolder_->text());
    state.externalProgram = Utf8(externalProgram_->text());
    state.slideTime = slideTime_->value();
    // An empty field counts as 0, which becomes the smallest step.
    state.alignmentStep = step_->text().toInt();
    state.winMax = winMax_->isChecked();
    state.passPictureToExternalProgram = gaibuHiki_->isChecked();
    state.waku = waku_->value();
    state.trimRescale = trimRescale_->isChecked();
    state.packToCentre = packToCentre_->isChecked();
    for (std::size_t k = 0; k < trimSizes_.size(); ++k) state.trimSizes[k] = trimSizes_[k]->value();
    return state;
}

// ---- W3D ---------------------------------------------------------------------------------

class PageFlipDialog : public QDialog {
  public:
    explicit PageFlipDialog(const SettingsWindowContext& context);

  private:
    void ShowDriverControls(int driver);

    std::array<QWidget*, 3> screenControls_{};   // 1024, 1025, 1026
    std::array<QWidget*, 2> textureControls_{};  // 1027, 1028
};

PageFlipDialog::PageFlipDialog(const SettingsWindowContext& context) : QDialog(context.parent) {
    StartDialog(*this, "W3D", "Pageflipping Einstellungen");
    Settings& settings = *context.settings;
    const W3dState state = W3dStateFromSettings(settings);

    auto* driverGroup = new QGroupBox(QStringLiteral("Stereotreiber"), this);
    auto* drivers = new QButtonGroup(this);
    auto* driverRow = new QHBoxLayout(driverGroup);
    const char* const driverTexts[3] = {"Win3D", "NVidia", "OpenGL"};
    std::array<QRadioButton*, 3> radios{};
    for (int driver = 0; driver < 3; ++driver) {
        radios[driver] =
            Named(new QRadioButton(QLatin1String(driverTexts[driver]), driverGroup), 3162 + driver);
        radios[driver]->setChecked(driver == state.driver);
        drivers->addButton(radios[driver], driver);
        driverRow->addWidget(radios[driver]);
    }

    auto* screenGroup = Named(new QGroupBox(QStringLiteral("Vollbild"), this), 1025);
    auto* resolution = Named(new QComboBox(screenGroup), 1024);
    for (const char* text : W3dResolutionTexts()) resolution->addItem(QLatin1String(text));
    resolution->setCurrentIndex(state.resolution);
    auto* colours = Named(new QComboBox(screenGroup), 1026);
    for (int id : kW3dColourTextIds) colours->addItem(Res(id));
    colours->setCurrentIndex(state.colours);
    auto* screenForm = new QFormLayout(screenGroup);
    screenForm->addRow(QStringLiteral("Auflösung:"), resolution);
    screenForm->addRow(QStringLiteral("Farben:"), colours);

    auto* textureGroup = Named(new QGroupBox(QStringLiteral("OpenGL"), this), 1027);
    auto* texture = Named(new QComboBox(textureGroup), 1028);
    for (const char* text : W3dTextureSizeTexts()) texture->addItem(QLatin1String(text));
    texture->setCurrentIndex(state.texture);
    auto* textureForm = new QFormLayout(textureGroup);
    textureForm->addRow(QStringLiteral("Texturgröße:"), texture);

    screenControls_ = {resolution, screenGroup, colours};
    textureControls_ = {textureGroup, texture};

    // Every choice is written as it is made, so OK and Cancel have nothing left to do.
    Settings* target = &settings;
    const SettingsWindowContext* where = &context;
    connect(drivers, &QButtonGroup::idClicked, this, [this, target, where](int driver) {
        Store(*where, W3dChooseDriver(*target, driver));
        ShowDriverControls(driver);
    });
    connect(resolution, &QComboBox::activated, this,
            [target, where](int index) { Store(*where, W3dChooseResolution(*target, index)); });
    connect(colours, &QComboBox::activated, this,
            [target, where](int index) { Store(*where, W3dChooseColours(*target, index)); });
    connect(texture, &QComboBox::activated, this,
            [target, where](int index) { Store(*where, W3dChooseTexture(*target, index)); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(driverGroup);
    layout->addWidget(screenGroup);
    layout->addWidget(textureGroup);
    FinishLayout(*this, layout);
    ChainTabOrder(*this, {radios[0], radios[1], radios[2], resolution, colours, texture});
    ShowDriverControls(state.driver);
    FocusFirst(radios[state.driver >= 0 && state.driver <= 2 ? state.driver : 0]);
}

void PageFlipDialog::ShowDriverControls(int driver) {
    const bool texture = W3dShowsTextureControls(driver);
    for (QWidget* control : screenControls_) control->setVisible(!texture);
    for (QWidget* control : textureControls_) control->setVisible(texture);
}

// ---- COMSET ------------------------------------------------------------------------------

struct Choice {
    int value;
    const char* text;
};

constexpr Choice kComsetLayouts[] = {
    {0, "Nebeneinander"}, {1, "Übereinander"},   {2, "Interlace"},     {3, "Anaglyph"},
    {4, "SIS"},           {6, "Tri-Delta (TT)"}, {7, "Tri-Delta (BB)"}};
constexpr Choice kComsetDisplays[] = {
    {0, "Nebeneinander"},         {1, "Übereinander"},     {2, "Interlace"},
    {3, "Anaglyph (Grau)"},       {4, "Anaglyph (Farbe)"}, {5, "Pageflipping (Zurück)"},
    {6, "Pageflipping (Beenden)"}};

// One radio group; returns the group and adds its buttons to `order`.
QButtonGroup* RadioGroup(QDialog& dialog, QGroupBox* box, std::span<const Choice> choices,
                         int (*control)(int), int selected, std::vector<QWidget*>& order) {
    auto* group = new QButtonGroup(&dialog);
    auto* column = new QVBoxLayout(box);
    for (const Choice& choice : choices) {
        auto* radio =
            Named(new QRadioButton(QString::fromUtf8(choice.text), box), control(choice.value));
        radio->setChecked(choice.value == selected);
        group->addButton(radio, choice.value);
        column->addWidget(radio);
        order.push_back(radio);
    }
    column->addStretch();
    return group;
}

class CommandLineStartDialog : public QDialog {
  public:
    explicit CommandLineStartDialog(const SettingsWindowContext& context);

    ComsetState State() const { return {layouts_->checkedId(), displays_->checkedId()}; }

  private:
    QButtonGroup* layouts_ = nullptr;
    QButtonGroup* displays_ = nullptr;
};

CommandLineStartDialog::CommandLineStartDialog(const SettingsWindowContext& context)
    : QDialog(context.parent) {
    StartDialog(*this, "COMSET", "Start von der Befehlszeile");
    const ComsetState state = ComsetStateFromSettings(*context.settings);

    std::vector<QWidget*> order;
    auto* layoutBox = new QGroupBox(QStringLiteral("Dateiformat"), this);
    layouts_ =
        RadioGroup(*this, layoutBox, kComsetLayouts, &ComsetLayoutRadio, state.layout, order);
    auto* displayBox = new QGroupBox(QStringLiteral("Anzeige"), this);
    displays_ =
        RadioGroup(*this, displayBox, kComsetDisplays, &ComsetDisplayRadio, state.display, order);

    auto* columns = new QHBoxLayout;
    columns->addWidget(layoutBox);
    columns->addWidget(displayBox);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Beim Start übergebene Dateien so öffnen und anzeigen:"), this));
    layout->addLayout(columns);
    FinishLayout(*this, layout);
    ChainTabOrder(*this, order);
    QAbstractButton* first = layouts_->checkedButton();
    FocusFirst(first ? first : layouts_->buttons().front());
}

// ---- FREETRIM ----------------------------------------------------------------------------

class FreeTrimDialog : public QDialog {
  public:
    explicit FreeTrimDialog(const SettingsWindowContext& context);

    FreeTrimState State() const { return {keepRatio_->isChecked(), x_->value(), y_->value()}; }

  private:
    QCheckBox* keepRatio_ = nullptr;
    QSpinBox* x_ = nullptr;
    QSpinBox* y_ = nullptr;
};

FreeTrimDialog::FreeTrimDialog(const SettingsWindowContext& context) : QDialog(context.parent) {
    StartDialog(*this, "FREETRIM", "Einstellungen Freier Ausschnitt");
    const FreeTrimState state = FreeTrimStateFromSettings(*context.settings);

    // 0 is allowed: it stands for "no ratio given" and becomes 4 : 4.
    x_ = NumberBox(this, 3236, 0, 9999, state.x);
    y_ = NumberBox(this, 3237, 0, 9999, state.y);
    keepRatio_ = Named(
        new QCheckBox(QStringLiteral("Seitenverhältnis beim freien Ausschnitt beibehalten"), this),
        3218);
    keepRatio_->setChecked(state.keepRatio);

    auto* ratio = new QHBoxLayout;
    ratio->addWidget(new QLabel(QStringLiteral("Seitenverhältnis X : Y"), this));
    ratio->addStretch();
    ratio->addWidget(x_);
    ratio->addWidget(new QLabel(QStringLiteral(":"), this));
    ratio->addWidget(y_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(ratio);
    layout->addWidget(keepRatio_);
    FinishLayout(*this, layout);
    ChainTabOrder(*this, {x_, y_, keepRatio_});
    FocusFirst(x_);
}

}  // namespace

// ---- running them ------------------------------------------------------------------------

bool RunSettingsDialog(const SettingsWindowContext& context) {
    SettingsDialog dialog(context);
    const bool ok = context.host->Run(dialog);
    if (ok) Store(context, ApplySetteiOk(*context.settings, dialog.State()).writes);
    // A colour chosen with "Farbe..." stays, whichever way the dialog closed.
    if (dialog.BackgroundChanged()) Store(context, SetteiClosingWrites(*context.settings));
    return ok;
}

void RunPageFlipDialog(const SettingsWindowContext& context) {
    PageFlipDialog dialog(context);
    context.host->Run(dialog);
}

void RunCommandLineStartDialog(const SettingsWindowContext& context) {
    CommandLineStartDialog dialog(context);
    if (context.host->Run(dialog)) Store(context, ApplyComsetOk(*context.settings, dialog.State()));
}

void RunFreeTrimDialog(const SettingsWindowContext& context) {
    FreeTrimDialog dialog(context);
    if (context.host->Run(dialog))
        Store(context, ApplyFreeTrimOk(*context.settings, dialog.State()));
}

void RunAboutDialog(QWidget* parent, DialogHost& host) {
    QDialog dialog(parent);
    StartDialog(dialog, "ABOUT", "Über Duplora");
    auto* name = new QLabel(QStringLiteral("Duplora"), &dialog);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(new QLabel(Tr("Version %1").arg(ProgramVersion()), &dialog));
    text->addWidget(new QLabel(
        QStringLiteral("Stereofotos öffnen, anzeigen, ausrichten, bearbeiten und speichern."),
        &dialog));

    auto* top = new QHBoxLayout;
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        auto* picture = new QLabel(&dialog);
        picture->setPixmap(icon.pixmap(48, 48));
        picture->setAlignment(Qt::AlignTop);
        top->addWidget(picture);
    }
    top->addLayout(text);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(top);
    FinishLayout(dialog, layout);
    dialog.findChild<QWidget*>(ControlName(1))->setFocus();
    host.Run(dialog);
}

QString ProgramVersion() {
    return QStringLiteral(DUPLORA_VERSION);
}

QColor BackgroundColour(const Settings& settings) {
    return QColorFromColourRef(settings.border.background);
}

}  // namespace duplora

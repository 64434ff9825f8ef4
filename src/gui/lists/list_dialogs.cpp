#include "gui/lists/list_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QUrl>
#include <QVBoxLayout>

#include "app/image/qimage_bridge.h"
#include "core/batch/name_order.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

QCheckBox* Check(const char* text, int control, bool on) {
    auto* box = new QCheckBox(QString::fromUtf8(text));
    box->setObjectName(ControlName(control));
    box->setChecked(on);
    return box;
}

// The interval field 1246 with its unit.
QLineEdit* IntervalRow(QVBoxLayout* panel, const char* label, const char* unit, int tenths,
                       int lowest) {
    auto* row = new QHBoxLayout;
    if (label) row->addWidget(new QLabel(QString::fromUtf8(label)));
    auto* field = new QLineEdit(QString::number(tenths));
    field->setObjectName(ControlName(1246));
    field->setValidator(new QIntValidator(lowest, 36000, field));
    field->setMaximumWidth(70);
    row->addWidget(field);
    row->addWidget(new QLabel(QString::fromUtf8(unit)));
    row->addStretch(1);
    panel->addLayout(row);
    return field;
}

int FieldNumber(const QLineEdit* field, int fallback) {
    bool ok = false;
    const int value = field->text().trimmed().toInt(&ok);
    return ok ? value : fallback;
}

void ShowListFiles(QFileDialog* files, const QString& folder) {
    files->setNameFilters(ListFileFilters());
    if (!folder.isEmpty()) files->setDirectory(folder);
}

}  // namespace

QStringList ListFileFilters() {
    return {QStringLiteral("Text File (*.TXT *.txt)"), QStringLiteral("All Files (*)")};
}

QString PickListFile(DialogHost& host, QWidget* parent, const QString& current) {
    QFileDialog dialog(parent, QStringLiteral("Slide Show Liste"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Picking a list to extend is no overwriting.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    ShowListFiles(&dialog, QFileInfo(current).absolutePath());
    if (!current.isEmpty()) dialog.selectFile(current);
    if (host.Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

// ---- opening a list --------------------------------------------------------------------------

OpenListDialog::OpenListDialog(const SlideShowOptions& options, const QString& folder,
                               std::function<void(int)> showTypeChosen, QWidget* parent)
    : FileDialogPanel(QStringLiteral("Slide Show Liste öffnen"), parent) {
    setObjectName(QStringLiteral("OPENSS"));
    QFileDialog* files = Files();
    files->setFileMode(QFileDialog::ExistingFile);
    ShowListFiles(files, folder);

    QVBoxLayout* panel = PanelLayout();
    auto* typeBox = new QGroupBox(QStringLiteral("Anzeige"));
    auto* typeLayout = new QVBoxLayout(typeBox);
    auto* group = new QButtonGroup(this);
    const char* const names[] = {"Nebeneinander", "Übereinander",  "Interlace",
                                 "Grau-Anaglyph", "Farb-Anaglyph", "Pageflipping"};
    for (int i = 0; i < 6; ++i) {
        types_[i] = new QRadioButton(QString::fromUtf8(names[i]));
        types_[i]->setObjectName(ControlName(1500 + i));
        types_[i]->setChecked(options.showType == i);
        group->addButton(types_[i], i);
        typeLayout->addWidget(types_[i]);
    }
    if (options.showType < 0 || options.showType > 5) types_[0]->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, [showTypeChosen](int id) {
        if (showTypeChosen) showTypeChosen(id);
    });
    panel->addWidget(typeBox);
    swap_ = Check("Vertausche L/R", 3141, options.swap);
    hideComment_ = Check("Kommentar verbergen", 1507, options.hideComment);
    autostart_ = Check("Autostart Slide Show", 1518, options.autostart);
    for (QCheckBox* box : {swap_, hideComment_, autostart_}) panel->addWidget(box);
    interval_ = IntervalRow(panel, "Intervall:", "x 0.1 S", ListInterval(options.interval), 1);
    panel->addStretch(1);
}

SlideShowOptions OpenListDialog::Options() const {
    SlideShowOptions options;
    for (int i = 0; i < 6; ++i)
        if (types_[i]->isChecked()) options.showType = i;
    options.swap = swap_->isChecked();
    options.hideComment = hideComment_->isChecked();
    options.autostart = autostart_->isChecked();
    options.interval = ListInterval(FieldNumber(interval_, 30));
    return options;
}

// ---- the list maker --------------------------------------------------------------------------

ListMakerDialog::ListMakerDialog(const ListMakerChoices& choices, const QString& folder,
                                 DialogHost& host, PreviewOptions preview, QWidget* parent)
    : FolderToolDialog(QStringLiteral("Slide Show Liste erstellen/verändern"), folder,
                       PictureFileFilters(), parent),
      host_(host),
      previewOptions_(std::move(preview)) {
    setObjectName(QStringLiteral("MAKESSCRIPT"));

    QVBoxLayout* panel = PanelLayout();
    preview_ = Check("Vorschau zeigen", 1231, choices.showPreview);
    panel->addWidget(preview_);
    box_ = new QLabel;
    box_->setObjectName(ControlName(1232));
    box_->setFixedSize(kPreviewBox + 4, kPreviewBox + 4);
    box_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box_->setAlignment(Qt::AlignCenter);
    panel->addWidget(box_);
    connect(preview_, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) box_->clear();
    });

    auto* listRow = new QHBoxLayout;
    listRow->addWidget(new QLabel(QStringLiteral("Liste:")));
    list_ = new QLineEdit(choices.listPath);
    list_->setObjectName(ControlName(1249));
    listRow->addWidget(list_, 1);
    QPushButton* browseList = PanelButton("...", 1250);
    listRow->addWidget(browseList);
    QPushButton* deleteList = PanelButton("Löschen", 1508);
    deleteList->setToolTip(QStringLiteral("Die Liste löschen"));
    listRow->addWidget(deleteList);
    panel->addLayout(listRow);
    connect(browseList, &QPushButton::clicked, this, [this] {
        const QString picked = PickListFile(host_, this, list_->text());
        if (!picked.isEmpty()) list_->setText(picked);
    });
    connect(deleteList, &QPushButton::clicked, this, [this] { AskDelete(true); });

    auto* layoutBox = new QGroupBox(QStringLiteral("Quelle"));
    auto* layoutGrid = new QGridLayout(layoutBox);
    const char* const names[] = {"Nebeneinander", "Übereinander", "Interlace", "Anaglyph",
                                 "Unabhängig(L/R)"};
    for (int i = 0; i < 5; ++i) {
        layouts_[i] = new QRadioButton(QString::fromUtf8(names[i]));
        layouts_[i]->setObjectName(ControlName(3097 + i));
        layouts_[i]->setChecked(choices.sourceLayout == i);
        layoutGrid->addWidget(layouts_[i], i / 2, i % 2);
    }
    if (choices.sourceLayout < 0 || choices.sourceLayout > 4) layouts_[0]->setChecked(true);
    panel->addWidget(layoutBox);

    auto* rightRow = new QHBoxLayout;
    rightRow->addWidget(new QLabel(QStringLiteral("Verzeichnis Rechts : ")));
    rightFolder_ = new QLineEdit(choices.rightFolder);
    rightFolder_->setObjectName(ControlName(1425));
    rightRow->addWidget(rightFolder_, 1);
    QPushButton* browseRight = PanelButton("...", 1426);
    rightRow->addWidget(browseRight);
    panel->addLayout(rightRow);
    connect(browseRight, &QPushButton::clicked, this, [this] {
        const QString folder = host_.PickFolder(
            this, QStringLiteral("Please select Right image folder"), rightFolder_->text());
        if (!folder.isEmpty()) rightFolder_->setText(folder);
    });

    swap_ = Check("Vertausche L/R", 3141, choices.swap);
    panel->addWidget(swap_);
    interval_ = IntervalRow(panel, nullptr, "x 0.1 S ( '0' is default)", choices.interval, 0);
    auto* commentRow = new QHBoxLayout;
    commentRow->addWidget(new QLabel(QStringLiteral("Komentar:")));
    comment_ = new QLineEdit(choices.comment);
    comment_->setObjectName(ControlName(1507));
    commentRow->addWidget(comment_, 1);
    panel->addLayout(commentRow);

    AddActionButtons("Auswahl hinzufügen", "Alle Dateien hinzufügen");
    auto* more = new QHBoxLayout;
    QPushButton* manual = PanelButton("Manuell", 3064);
    QPushButton* emptyList = PanelButton("Löschen", 1509);
    emptyList->setToolTip(QStringLiteral("Alle Zeilen der Liste löschen"));
    more->addWidget(manual);
    more->addWidget(emptyList);
    panel->addLayout(more);
    panel->addStretch(1);
    connect(manual, &QPushButton::clicked, this, [this] {
        // The list in the desktop's editor, made first when it does not exist yet.
        const QString path = list_->text().trimmed();
        if (path.isEmpty()) return;
        if (!QFileInfo::exists(path)) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly)) file.close();
        }
        host_.OpenWithDesktop(QUrl::fromLocalFile(path));
    });
    connect(emptyList, &QPushButton::clicked, this, [this] { AskDelete(false); });
    resize(1000, 600);
}

ListMakerChoices ListMakerDialog::Choices() const {
    ListMakerChoices choices;
    choices.listPath = list_->text().trimmed();
    for (int i = 0; i < 5; ++i)
        if (layouts_[i]->isChecked()) choices.sourceLayout = i;
    choices.rightFolder = rightFolder_->text().trimmed();
    choices.swap = swap_->isChecked();
    choices.interval = std::max(0, FieldNumber(interval_, 0));
    choices.comment = comment_->text();
    choices.showPreview = preview_->isChecked();
    return choices;
}

bool ListMakerDialog::PreviewShown() const {
    return !box_->pixmap().isNull();
}

void ListMakerDialog::SelectionChanged(const QString& path) {
    if (preview_->isChecked()) LoadPreview(path);
}

void ListMakerDialog::LoadPreview(const QString& path) {
    if (!QFileInfo(path).isFile()) return;
    const std::optional<OpenPreview> preview = LoadOpenPreview(path.toStdString(), previewOptions_);
    if (!preview || !preview->image) {
        box_->clear();
        return;
    }
    box_->setPixmap(QPixmap::fromImage(QImageFromImageBuffer(PreviewThumbnail(preview->image))));
}

QStringList ListMakerDialog::Pictures() const {
    if (Action() == FolderToolAction::Picked) return Chosen();
    QStringList all;
    for (const std::string& file : KnownImageFiles(Folder().toStdString())) all << Q(file);
    return all;
}

void ListMakerDialog::AskDelete(bool wholeFile) {
    const QString path = list_->text().trimmed();
    if (path.isEmpty() || !QFileInfo::exists(path)) return;
    if (host_.Ask(this, Res(StringId::DeleteConfirm), path, QMessageBox::Yes | QMessageBox::No) !=
        QMessageBox::Yes)
        return;
    bool done = false;
    if (wholeFile) {
        done = QFile::remove(path);
    } else {
        // Emptied in one step: the old list stays whole until the empty one replaces it.
        QSaveFile file(path);
        done = file.open(QIODevice::WriteOnly) && file.commit();
    }
    if (!done) host_.Tell(this, Res(StringId::ListCannotCreate), Res(StringId::ErrorCaption));
}

// ---- choosing the list to write into ----------------------------------------------------------

ChooseListDialog::ChooseListDialog(const QString& current, int time, QWidget* parent)
    : FileDialogPanel(QStringLiteral("Slide Show Liste auswählen"), parent) {
    setObjectName(QStringLiteral("OPENWRSS"));
    QFileDialog* files = Files();
    files->setAcceptMode(QFileDialog::AcceptSave);
    files->setFileMode(QFileDialog::AnyFile);
    files->setOption(QFileDialog::DontConfirmOverwrite, true);
    files->setDefaultSuffix(QStringLiteral("txt"));
    ShowListFiles(files, current.isEmpty() ? QString() : QFileInfo(current).absolutePath());
    if (!current.isEmpty()) files->selectFile(QFileInfo(current).fileName());
    QVBoxLayout* panel = PanelLayout();
    time_ = IntervalRow(panel, "Intervall:", "x 0.1 S ( '0' is default)", time, 0);
    panel->addStretch(1);
    resize(860, 480);
}

int ChooseListDialog::Time() const {
    return std::max(0, FieldNumber(time_, 0));
}

}  // namespace duplora

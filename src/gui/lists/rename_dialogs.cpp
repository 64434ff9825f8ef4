#include "gui/lists/rename_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"

namespace duplora {

namespace {

QLineEdit* Field(const std::string& text, int control, int maxChars) {
    auto* field = new QLineEdit(Q(text));
    field->setObjectName(ControlName(control));
    field->setMaxLength(maxChars);
    return field;
}

}  // namespace

// ---- renaming --------------------------------------------------------------------------------

RenameDialog::RenameDialog(const RenameOptions& options, const QString& folder, QWidget* parent)
    : FolderToolDialog(QStringLiteral("Mehrfach Umbenennen"), folder, PictureFileFilters(),
                       parent) {
    setObjectName(QStringLiteral("MULTIRENAME"));
    QVBoxLayout* panel = PanelLayout();
    auto* box = new QGroupBox;
    auto* grid = new QGridLayout(box);
    const char* const names[] = {"Zusatzbuchstaben", "Buchstaben löschen", "Buchstaben austauschen",
                                 "Umbenennen"};
    for (int i = 0; i < 4; ++i) {
        rules_[i] = new QRadioButton(QString::fromUtf8(names[i]));
        rules_[i]->setObjectName(ControlName(3143 + i));
        rules_[i]->setChecked(static_cast<int>(options.rule) == i);
    }
    add_ = Field(options.addLetters, 3150, kRenameLettersMaxChars);
    remove_ = Field(options.deleteLetters, 3151, kRenameLettersMaxChars);
    from_ = Field(options.exchangeFrom, 3152, kRenameExchangeMaxChars);
    to_ = Field(options.exchangeTo, 3153, kRenameExchangeMaxChars);
    prefix_ = Field(options.prefix, 3154, kRenameAffixMaxChars);
    start_ = Field(options.startNumber, 3155, kRenameStartMaxChars);
    suffix_ = Field(options.suffix, 3156, kRenameAffixMaxChars);
    int row = 0;
    grid->addWidget(rules_[0], row, 0);
    grid->addWidget(add_, row++, 1, 1, 3);
    grid->addWidget(rules_[1], row, 0);
    grid->addWidget(remove_, row++, 1, 1, 3);
    grid->addWidget(rules_[2], row, 0);
    grid->addWidget(from_, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("→")), row, 2);
    grid->addWidget(to_, row++, 3);
    grid->addWidget(
        new QLabel(QStringLiteral("(ausgetauschte Buchstaben beinhalten die Dateierweiterung)")),
        row++, 1, 1, 3);
    grid->addWidget(rules_[3], row, 0);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(prefix_, 2);
    numberRow->addWidget(start_, 1);
    numberRow->addWidget(suffix_, 2);
    grid->addLayout(numberRow, row++, 1, 1, 3);
    auto* numberNames = new QHBoxLayout;
    for (const char* text : {"Vorsilbe", "Startnummer", "Nachsilbe"})
        numberNames->addWidget(new QLabel(QString::fromUtf8(text)), text[0] == 'S' ? 1 : 2);
    grid->addLayout(numberNames, row++, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("[IMG_*.JPG] ursprüngliche Numerierung beibehalten")),
                    row++, 1, 1, 3);
    panel->addWidget(box);
    sample_ = new QLabel;
    sample_->setObjectName(ControlName(3158));
    sample_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sample_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    panel->addWidget(sample_);
    AddActionButtons("Auswahl umbenennen", "Alle Dateien umbenennen");
    panel->addStretch(1);
    for (QRadioButton* rule : rules_)
        connect(rule, &QRadioButton::toggled, this, &RenameDialog::UpdateSample);
    for (QLineEdit* field : {add_, remove_, from_, to_, prefix_, start_, suffix_})
        connect(field, &QLineEdit::textChanged, this, &RenameDialog::UpdateSample);
    UpdateSample();
    resize(1100, 560);
}

RenameOptions RenameDialog::Options() const {
    RenameOptions options;
    for (int i = 0; i < 4; ++i)
        if (rules_[i]->isChecked()) options.rule = static_cast<RenameRule>(i);
    options.addLetters = add_->text().toStdString();
    options.deleteLetters = remove_->text().toStdString();
    options.exchangeFrom = from_->text().toStdString();
    options.exchangeTo = to_->text().toStdString();
    options.prefix = prefix_->text().toStdString();
    options.startNumber = start_->text().toStdString();
    options.suffix = suffix_->text().toStdString();
    return options;
}

QString RenameDialog::SampleLine() const {
    return sample_->text();
}

void RenameDialog::UpdateSample() {
    sample_->setText(Q(RenameSampleLine(Options())));
}

// ---- the mosaic ------------------------------------------------------------------------------

MosaicDialog::MosaicDialog(const QString& folder, DialogHost& host, QWidget* parent)
    : FolderToolDialog(QStringLiteral("Mosaik Bild"), folder, PictureFileFilters(), parent),
      host_(host) {
    setObjectName(QStringLiteral("MULTICONNECT"));
    QVBoxLayout* panel = PanelLayout();
    panel->addWidget(new QLabel(QStringLiteral("Zieldatei:")));
    auto* row = new QHBoxLayout;
    target_ = new QLineEdit(QDir(Folder()).filePath(QStringLiteral("output.bmp")));
    target_->setObjectName(ControlName(1410));
    target_->setMinimumWidth(260);
    row->addWidget(target_, 1);
    QPushButton* browse = PanelButton("...", 1269);
    row->addWidget(browse);
    panel->addLayout(row);
    AddActionButtons("Ausgewählte Dateien verbinden", "Alle Dateien verbinden");
    panel->addStretch(1);
    connect(target_, &QLineEdit::textEdited, this, [this] { targetTyped_ = true; });
    // Until a target is typed or picked, it follows the folder shown.
    connect(Files(), &QFileDialog::directoryEntered, this, [this](const QString& entered) {
        if (!targetTyped_) target_->setText(QDir(entered).filePath(QStringLiteral("output.bmp")));
    });
    connect(browse, &QPushButton::clicked, this, [this] {
        QFileDialog dialog(this, QStringLiteral("Mosaik Bild"));
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // Replacing an existing file is asked when the mosaic is made.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        dialog.setNameFilters({QStringLiteral("BMP Files (*.bmp *.BMP)")});
        dialog.setDefaultSuffix(QStringLiteral("bmp"));
        dialog.setDirectory(QFileInfo(target_->text()).absolutePath());
        dialog.selectFile(QFileInfo(target_->text()).fileName());
        if (host_.Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
        target_->setText(dialog.selectedFiles().front());
        targetTyped_ = true;
    });
    resize(1000, 520);
}

QString MosaicDialog::Target() const {
    return target_->text().trimmed();
}

}  // namespace duplora

#include "gui/edit/das_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/shell/path_names.h"
#include "core/formats/das.h"
#include "core/formats/stereo_save.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

const char* const kSourceFilter =
    "Image files (JPG,BMP) (*.jpg *.JPG *.jpeg *.JPEG *.bmp *.BMP *.das *.DAS *.ios *.IOS)";
const char* const kDasFilter = "DAS Stereo Files (*.das *.DAS)";

std::string Utf8(const QString& text) {
    return text.trimmed().toStdString();
}

}  // namespace

DasDialog::DasDialog(const DasDialogSetup& setup)
    : QDialog(setup.parent), host_(setup.host), progress_(setup.progress), folder_(setup.folder) {
    setObjectName(QStringLiteral("MKDAS"));
    setWindowTitle(QStringLiteral("Erstellen / Wiederherstellen DAS Stereo Datei"));

    auto* grid = new QGridLayout;
    left_ = Named(new QLineEdit(setup.left, this), 1035);
    right_ = Named(new QLineEdit(setup.right, this), 1036);
    for (QLineEdit* field : {left_, right_}) field->setMinimumWidth(360);
    auto* pickLeft = Named(new QPushButton(QStringLiteral("..."), this), 1037);
    auto* pickRight = Named(new QPushButton(QStringLiteral("..."), this), 1038);
    for (QPushButton* pick : {pickLeft, pickRight}) {
        pick->setAutoDefault(false);
        pick->setFixedWidth(pick->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    }
    grid->addWidget(new QLabel(QStringLiteral("Linkes Bild:"), this), 0, 0);
    grid->addWidget(left_, 0, 1);
    grid->addWidget(pickLeft, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Rechtes Bild:"), this), 1, 0);
    grid->addWidget(right_, 1, 1);
    grid->addWidget(pickRight, 1, 2);
    connect(pickLeft, &QPushButton::clicked, this, &DasDialog::PickLeft);
    connect(pickRight, &QPushButton::clicked, this, &DasDialog::PickRight);

    status_ = Named(new QLabel(this), 1040);
    status_->setWordWrap(true);
    status_->setFrameShape(QFrame::StyledPanel);
    status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * 3 + 8);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetStatus(Res(StringId::DasToolHint));

    // "Erstellen/Wiederherstellen" works and keeps the dialog open; "Abbrechen" closes it.
    auto* buttons = new QDialogButtonBox(this);
    auto* run = buttons->addButton(QStringLiteral("Erstellen/Wiederherstellen"),
                                   QDialogButtonBox::ActionRole);
    run->setObjectName(ControlName(1));
    run->setDefault(true);
    auto* close = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    close->setObjectName(ControlName(2));
    close->setAutoDefault(false);
    connect(run, &QPushButton::clicked, this, &DasDialog::CreateOrRestore);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    left_->setFocus(Qt::OtherFocusReason);
}

QString DasDialog::StatusText() const {
    return status_->text();
}

void DasDialog::SetStatus(const QString& text) {
    status_->setText(text);
}

void DasDialog::PickLeft() {
    const QString start = left_->text().isEmpty() ? folder_ : Q(FolderPart(Utf8(left_->text())));
    const QStringList picked = host_->PickFiles(this, QStringLiteral("Linkes Bild"), start,
                                                QString::fromUtf8(kSourceFilter));
    if (picked.isEmpty()) return;
    left_->setText(picked.front());
    // A container is its own partner; otherwise the partner by name, when it exists.
    right_->setText(Q(FindDasPartner(picked.front().toStdString())));
    SetStatus(Res(StringId::DasToolHint));
}

void DasDialog::PickRight() {
    QString start = right_->text().isEmpty() ? left_->text() : right_->text();
    start = start.isEmpty() ? folder_ : Q(FolderPart(Utf8(start)));
    const QStringList picked = host_->PickFiles(this, QStringLiteral("Rechtes Bild"), start,
                                                QString::fromUtf8(kSourceFilter));
    if (!picked.isEmpty()) right_->setText(picked.front());
}

void DasDialog::CreateOrRestore() {
    const std::string left = Utf8(left_->text());
    const std::string right = Utf8(right_->text());
    if (left.empty() || right.empty()) {
        SetStatus(Res(StringId::DasToolNeedSource));
        return;
    }
    std::string offered;
    switch (MakeDasName(left, offered, lastDasFolder_)) {
        case DasNameResult::Restore:
            Restore(left, offered);
            return;
        case DasNameResult::NewName:
            Create(left, right, offered);
            return;
        case DasNameResult::Failure:
            // An unreadable container: nothing to restore.
            SetStatus(
                Res(IsDasName(left) ? StringId::CannotRestoreDas : StringId::DasToolNeedSource));
            return;
    }
}

std::string DasDialog::ChooseDasName(int title, const std::string& offered, bool container) {
    QFileDialog files(this, Res(title), Q(FolderPart(offered)),
                      container ? QString::fromUtf8(kDasFilter) : QString());
    files.setObjectName(QStringLiteral("dasFileDialog"));
    files.setOption(QFileDialog::DontUseNativeDialog, true);
    files.setAcceptMode(QFileDialog::AcceptSave);
    files.setFileMode(QFileDialog::AnyFile);
    // The replace question is asked once the name is final, through the host.
    files.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (container) files.setDefaultSuffix(QStringLiteral("das"));
    files.selectFile(Q(FileNamePart(offered)));
    if (!host_->Run(files) || files.selectedFiles().isEmpty()) return {};
    return files.selectedFiles().front().toStdString();
}

void DasDialog::Create(const std::string& left, const std::string& right,
                       const std::string& offered) {
    const std::string das = ChooseDasName(StringId::DasToolTitle, offered, true);
    if (das.empty() || !ConfirmReplace(das, host_->Asking(this))) {
        SetStatus(Res(StringId::DasToolPressButton));
        return;
    }
    lastDasFolder_ = std::string(FolderPart(das));
    if (!CreateDasFile(das, left, right, 0, 0, progress_ ? *progress_ : NoProgress())) {
        host_->Tell(this, Res(StringId::CannotCreateDas), Res(StringId::ErrorCaption));
        return;
    }
    lastDas_ = das;
    left_->clear();
    right_->clear();
    SetStatus(QStringLiteral("(") + Q(FileNamePart(das)) + Res(StringId::DasCreated));
}

void DasDialog::Restore(const std::string& das, const std::string& offered) {
    // The stored left name is offered: keeping it brings back both stored names and times.
    const std::string chosen = ChooseDasName(StringId::DasToolRestoreTitle, offered, false);
    if (chosen.empty()) {
        SetStatus(Res(StringId::DasToolPressButton));
        return;
    }
    if (!RestoreDasFiles(das, chosen, host_->Asking(this))) {
        SetStatus(Res(StringId::CannotRestoreDas));
        return;
    }
    lastDas_ = das;
    SetStatus(Res(StringId::DasRestored));
}

std::string RunDasDialog(const DasDialogSetup& setup) {
    DasDialog dialog(setup);
    if (setup.host) setup.host->Run(dialog);
    return dialog.LastDasPath();
}

}  // namespace duplora

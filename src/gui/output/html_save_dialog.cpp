#include "gui/output/html_save_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "gui/shell/ui_text.h"

namespace duplora {

HtmlSaveDialog::HtmlSaveDialog(const HtmlOptions& options, bool frame, const QString& folder,
                               const QString& name, QWidget* parent)
    : FileDialogPanel(QStringLiteral("Make HTML File"), parent), initial_(options) {
    setObjectName(QStringLiteral("SAVJOPTION"));
    QFileDialog* files = Files();
    files->setAcceptMode(QFileDialog::AcceptSave);
    files->setFileMode(QFileDialog::AnyFile);
    files->setNameFilters({QStringLiteral("HTML (*.htm *.html)"), QStringLiteral("* (*)")});
    files->setDefaultSuffix(QStringLiteral("htm"));
    if (!folder.isEmpty()) files->setDirectory(folder);
    if (!name.isEmpty()) files->selectFile(name);

    QVBoxLayout* panel = PanelLayout();
    auto* typeBox = new QGroupBox;
    auto* typeLayout = new QVBoxLayout(typeBox);
    const char* const names[] = {"Nebeneinander", "Grau Anaglyph", "Farb Anaglyph", "Interlace"};
    for (int i = 0; i < 4; ++i) {
        types_[i] = new QRadioButton(QString::fromUtf8(names[i]));
        types_[i]->setObjectName(ControlName(3001 + i));
        types_[i]->setChecked(options.displayType == i);
        typeLayout->addWidget(types_[i]);
    }
    panel->addWidget(typeBox);
    auto check = [&](const char* text, int control, bool on) {
        auto* box = new QCheckBox(QString::fromUtf8(text));
        box->setObjectName(ControlName(control));
        box->setChecked(on);
        panel->addWidget(box);
        return box;
    };
    swap_ = check("Vertausche L/R", 3141, options.swap);
    scale_ = check("Auf Applet Größe skalieren", 1373, options.scaleToViewer);
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(new QLabel(QStringLiteral("Breite:")));
    width_ = new QLineEdit(QString::number(options.viewWidth));
    width_->setObjectName(ControlName(3113));
    width_->setValidator(new QIntValidator(1, 65535, width_));
    widthRow->addWidget(width_);
    panel->addLayout(widthRow);
    sharpen_ = check("Schärfe", 1377, options.sharpen);
    auto* sharpRow = new QHBoxLayout;
    sharpRow->addWidget(new QLabel(QStringLiteral("1 weich")));
    sharpness_ = new QLineEdit(QString::number(options.sharpness));
    sharpness_->setObjectName(ControlName(3115));
    sharpness_->setValidator(new QIntValidator(1, 50, sharpness_));
    sharpRow->addWidget(sharpness_);
    sharpRow->addWidget(new QLabel(QStringLiteral("50 hart")));
    panel->addLayout(sharpRow);
    show_ = check("Zeige HTML nach Abspeichern", 3160, options.showAfterwards);
    frame_ = check("Rahmen speichern", 3234, frame);
    panel->addStretch(1);
    connect(scale_, &QCheckBox::toggled, width_, &QWidget::setEnabled);
    connect(sharpen_, &QCheckBox::toggled, sharpness_, &QWidget::setEnabled);
    width_->setEnabled(options.scaleToViewer);
    sharpness_->setEnabled(options.sharpen);
}

HtmlOptions HtmlSaveDialog::Options() const {
    HtmlOptions options = initial_;
    for (int i = 0; i < 4; ++i)
        if (types_[i]->isChecked()) options.displayType = i;
    options.swap = swap_->isChecked();
    options.scaleToViewer = scale_->isChecked();
    bool ok = false;
    const int width = width_->text().toInt(&ok);
    if (ok && width > 0) options.viewWidth = width;
    options.sharpen = sharpen_->isChecked();
    const int sharpness = sharpness_->text().toInt(&ok);
    if (ok) options.sharpness = std::clamp(sharpness, 1, 50);
    options.showAfterwards = show_->isChecked();
    return options;
}

bool HtmlSaveDialog::Frame() const {
    return frame_->isChecked();
}

}  // namespace duplora

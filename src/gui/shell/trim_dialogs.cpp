#include "gui/shell/trim_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/shell/dialog_host.h"

#include <algorithm>

#include "gui/shell/dialog_host.h"

#include "gui/shell/ui_text.h"

namespace duplora {

namespace {

QString SizeText(QSize size) {
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

// A picture side in pixels: at least one, at most the largest side a picture may have.
QSpinBox* SideBox(QWidget* parent, int control, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(ControlName(control));
    box->setRange(1, kMaxResizeSide);
    box->setValue(value);
    return box;
}

// A first opening, with nothing stored yet, offers the pair's own size.
int Shown(int stored, int reference) {
    return stored > 0 ? stored : std::max(1, reference);
}

}  // namespace

// ---- "Umrechnung Bildgröße" -----------------------------------------------------------------

ResizeDialog::ResizeDialog(const ResizeChoice& stored, QSize reference, QWidget* parent)
    : QDialog(parent), stored_(stored), reference_(reference), aspectMode_(stored.aspect) {
    setObjectName(QStringLiteral("RESIZE"));
    setWindowTitle(QStringLiteral("Umrechnung Bildgröße"));
    setModal(true);

    x_ = SideBox(this, 1274, Shown(stored.width, reference.width()));
    y_ = SideBox(this, 1300, Shown(stored.height, reference.height()));
    referenceLabel_ = new QLabel(SizeText(reference), this);
    referenceLabel_->setObjectName(ControlName(1301));
    recompute_ = new QCheckBox(QStringLiteral("neu berechnen"), this);
    recompute_->setObjectName(ControlName(1303));
    recompute_->setChecked(stored.recompute);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("X:"), this), 0, 0);
    grid->addWidget(x_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Y:"), this), 0, 2);
    grid->addWidget(y_, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Originalgröße:"), this), 1, 0, 1, 2);
    grid->addWidget(referenceLabel_, 1, 2, 1, 2);
    grid->addWidget(recompute_, 2, 0, 1, 4);

    auto* group = new QGroupBox(this);
    auto* radios = new QVBoxLayout(group);
    const char* const texts[3] = {"Verhältnis nicht beibehalten", "Verhältnis beibehalten",
                                  "Verhältnis mit Rahmen beibehalten"};
    for (int i = 0; i < 3; ++i) {
        aspect_[i] = new QRadioButton(QString::fromUtf8(texts[i]), group);
        aspect_[i]->setObjectName(ControlName(3240 + i));
        aspect_[i]->setChecked(static_cast<int>(aspectMode_) == i);
        radios->addWidget(aspect_[i]);
        const auto mode = static_cast<AspectMode>(i);
        connect(aspect_[i], &QRadioButton::clicked, this, [this, mode] { AspectClicked(mode); });
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(group);
    layout->addWidget(OkCancelButtons(this));

    connect(x_, &QSpinBox::valueChanged, this, &ResizeDialog::WidthEdited);
    connect(y_, &QSpinBox::valueChanged, this, &ResizeDialog::HeightEdited);
}

ResizeChoice ResizeDialog::Choice() const {
    return ResizeChoice{x_->value(), y_->value(), aspectMode_, recompute_->isChecked()};
}

void ResizeDialog::Write(QSpinBox* box, int value) {
    writing_ = true;
    box->setValue(value);
    writing_ = false;
}

void ResizeDialog::WidthEdited(int value) {
    if (writing_ || aspectMode_ != AspectMode::KeepRatio) return;
    Write(y_, KeepRatioHeight(value, reference_, y_->value()));
}

void ResizeDialog::HeightEdited(int value) {
    if (writing_ || aspectMode_ != AspectMode::KeepRatio) return;
    Write(x_, KeepRatioWidth(value, reference_, x_->value()));
}

void ResizeDialog::AspectClicked(AspectMode mode) {
    // The check box counts as it was stored, not as it is ticked now.
    const ResizeChoice next = AspectChosen(Choice(), mode, stored_.recompute, reference_);
    aspectMode_ = next.aspect;
    Write(x_, next.width);
    Write(y_, next.height);
}

// ---- "Freier Ausschnitt" --------------------------------------------------------------------

TrimSizeDialog::TrimSizeDialog(const TrimResizeSet& stored, QSize reference, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TRIMSIZE"));
    setWindowTitle(QStringLiteral("Freier Ausschnitt"));
    setModal(true);

    width_ = SideBox(this, 1011, Shown(stored.width, reference.width()));
    height_ = SideBox(this, 1012, Shown(stored.height, reference.height()));
    rescale_ =
        new QCheckBox(QStringLiteral("Nach Ausschittsanpassung auf obige Größe umrechnen."), this);
    rescale_->setObjectName(ControlName(3091));
    rescale_->setChecked(stored.rescale == 1);
    referenceLabel_ = new QLabel(SizeText(reference), this);
    referenceLabel_->setObjectName(ControlName(1273));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Breite:"), this), 0, 0);
    grid->addWidget(width_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Höhe:"), this), 1, 0);
    grid->addWidget(height_, 1, 1);
    grid->addWidget(rescale_, 2, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Originalgröße:"), this), 3, 0);
    grid->addWidget(referenceLabel_, 3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(OkCancelButtons(this));
}

TrimResizeSet TrimSizeDialog::Choice() const {
    return TrimResizeSet{rescale_->isChecked() ? 1 : 0, width_->value(), height_->value()};
}

// ---- running them ---------------------------------------------------------------------------

bool AskResize(QWidget* parent, DialogHost& host, ResizeChoice& stored, QSize reference) {
    ResizeDialog dialog(stored, reference, parent);
    const bool ok = host.Run(dialog);
    const ResizeChoice shown = dialog.Choice();
    // A ratio mode chosen counts even when the dialog is cancelled.
    stored.aspect = shown.aspect;
    if (ok) stored = shown;
    return ok;
}

std::optional<TrimResizeSet> AskTrimSize(QWidget* parent, DialogHost& host,
                                         const TrimResizeSet& stored, QSize reference) {
    TrimSizeDialog dialog(stored, reference, parent);
    if (!host.Run(dialog)) return std::nullopt;
    return dialog.Choice();
}

}  // namespace duplora

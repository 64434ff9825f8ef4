#include "gui/edit/filter_dialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/edit/pair_filter.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"

namespace duplora {

namespace {

struct FilterDialogText {
    const char* name;
    const char* title;
    int field;
    const char* label;
    const char* legend;
};

const FilterDialogText& TextOf(FilterKind kind) {
    static const FilterDialogText sharpen{"SHAPEN", "Schärfen", 3072,
                                          "Schärfe:", "1 (weich) - 50 (hart)"};
    static const FilterDialogText edges{"EDGEDT", "Kantenerkennung", 3236,
                                        "Schwellwert :", "0 (schwarz) - 255 (weiß)"};
    return kind == FilterKind::Sharpen ? sharpen : edges;
}

}  // namespace

FilterValueDialog::FilterValueDialog(FilterKind kind, int value, QWidget* parent)
    : QDialog(parent), kind_(kind) {
    const FilterDialogText& text = TextOf(kind);
    setObjectName(QString::fromLatin1(text.name));
    setWindowTitle(QString::fromUtf8(text.title));

    field_ = new QLineEdit(QString::number(value), this);
    field_->setObjectName(ControlName(text.field));
    // A sign and a few digits, as a number field takes them; the range is OK's business.
    field_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,5}")), field_));
    field_->setMaxLength(6);
    field_->setFixedWidth(field_->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    field_->selectAll();

    auto* label = new QLabel(QString::fromUtf8(text.label), this);
    label->setBuddy(field_);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(field_);
    row->addWidget(new QLabel(QString::fromUtf8(text.legend), this));
    row->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(OkCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    field_->setFocus(Qt::OtherFocusReason);
}

int FilterValueDialog::Value() const {
    const int typed = field_->text().toInt();  // empty or a lone sign: 0
    return kind_ == FilterKind::Sharpen ? ClampSharpness(typed) : ClampEdgeThreshold(typed);
}

std::optional<int> AskFilterValue(QWidget* parent, DialogHost& host, FilterKind kind, int value) {
    FilterValueDialog dialog(kind, value, parent);
    if (!host.Run(dialog)) return std::nullopt;
    return dialog.Value();
}

}  // namespace duplora

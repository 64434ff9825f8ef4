#include "gui/shell/ui_text.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace duplora {

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    ok->setText(QStringLiteral("OK"));
    ok->setObjectName(ControlName(1));
    ok->setDefault(true);
    cancel->setText(QStringLiteral("Abbrechen"));
    cancel->setObjectName(ControlName(2));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace duplora

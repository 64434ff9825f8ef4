// Program texts for the widgets: UTF-8 strings and string-table entries as QString; the
// object name of a dialog control, and the OK/Abbrechen buttons every dialog ends with.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "core/strings.h"

namespace duplora {

inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString Res(int id) {
    return Q(LoadResString(id));
}

// "ctl<id>": how tests and tools find a dialog's control.
inline QString ControlName(int id) {
    return QStringLiteral("ctl%1").arg(id);
}

// `widget` named as control `control`.
template <typename Widget>
Widget* Named(Widget* widget, int control) {
    widget->setObjectName(ControlName(control));
    return widget;
}

}  // namespace duplora

class QDialog;
class QDialogButtonBox;

namespace duplora {

// "OK" (ctl1, the default button) and "Abbrechen" (ctl2), wired to accept and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

}  // namespace duplora

#include "app/shell/app_info.h"

namespace duplora {

QString ApplicationName() { return QStringLiteral("Duplora"); }

}  // namespace duplora

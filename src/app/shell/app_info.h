#pragma once

#include <QString>

namespace duplora {

QString ApplicationName();

}  // namespace duplora

// Program texts for the widgets: UTF-8 strings and string-table entries as QString.
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

}  // namespace duplora

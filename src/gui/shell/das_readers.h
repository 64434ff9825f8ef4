// The DAS container as the open dialogs and the opening see it. Kept apart from the stereo
// opener's header, which has a record of the same name as the container's reader.
#pragma once

#include <string>

#include "core/formats/open_preview.h"

namespace duplora {

// The left thumbnail of a DAS or IOS file (taken out into a private temporary folder and
// decoded as a preview) and the sizes its header stores; no thumbnail when the file is not a
// readable container.
DasPreview ReadDasPreview(const std::string& path);

}  // namespace duplora

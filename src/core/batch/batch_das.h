// The DAS container as the batch writes it: packing two source files into one.
#pragma once

#include <string>

#include "core/util/progress.h"

namespace duplora {

// Packs the two source files into a DAS container with the stored alignment X, Y. False
// when it cannot be made (a missing right file included, unless the left one is itself a
// container).
bool CreateBatchDasFile(const std::string& dasPath, const std::string& leftPath,
                        const std::string& rightPath, int x, int y,
                        const Progress& progress = NoProgress());

}  // namespace duplora

// The DAS container as the batch uses it: packing two source files into one, and reading a
// container's pair as one side-by-side picture for opening.
#pragma once

#include <string>

#include "core/image/image_buffer.h"

namespace duplora {

// Packs the two source files into a DAS container with the stored alignment X, Y. False
// when it cannot be made (a missing right file included, unless the left one is itself a
// container).
bool CreateBatchDasFile(const std::string& dasPath, const std::string& leftPath,
                        const std::string& rightPath, int x, int y);

// A container's two pictures side by side and its stored alignment; no picture when the
// file is not a readable container.
struct BatchDasSource {
    ImageBuffer picture;
    int x = 0;
    int y = 0;
};
BatchDasSource ReadBatchDasSource(const std::string& path);

}  // namespace duplora

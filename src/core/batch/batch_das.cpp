#include "core/batch/batch_das.h"

#include "core/formats/das.h"

namespace duplora {

bool CreateBatchDasFile(const std::string& dasPath, const std::string& leftPath,
                        const std::string& rightPath, int x, int y, const Progress& progress) {
    // A container needs both files; only another container stands for both on its own.
    if (rightPath.empty() && !IsDasName(leftPath)) return false;
    return CreateDasFile(dasPath, leftPath, rightPath, x, y, progress);
}

}  // namespace duplora

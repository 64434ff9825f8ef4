// Writing one picture of a batch run in the chosen file type.
#pragma once

#include <string>

#include "core/batch/batch_options.h"
#include "core/image/image_buffer.h"

namespace duplora {

// By the format's writer: BMP as held; JPG and JPS as a colour JPEG at the quality, with the
// Exif block and thumbnail when asked (a file the block cannot be added to is still
// written). False when
// the file could not be written; the file is replaced atomically, so nothing half-written
// is left.
bool WriteBatchPicture(const std::string& path, const ImageBuffer& picture,
                       const BatchOptions& options);

}  // namespace duplora

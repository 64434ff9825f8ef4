#include "core/batch/batch_output.h"

namespace duplora {

bool WriteBatchPicture(const std::string& path, const ImageBuffer& picture,
                       const BatchOptions& options) {
    const OutputFormatRow* row = FindOutputFormat(options.outputType);
    if (!row || !row->write) return false;
    return row->write(path, picture, options.quality, options.exifThumbnail && row->exif);
}

}  // namespace duplora

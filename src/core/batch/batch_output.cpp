#include "core/batch/batch_output.h"

namespace duplora {

Result<Warnings> WriteBatchPicture(const std::string& path, const ImageBuffer& picture,
                                   const BatchOptions& options, const Progress& progress) {
    const OutputFormatRow* row = FindOutputFormat(options.outputType);
    if (!row || !row->write) return Failure::Quiet(path);
    return row->write(path, picture, options.quality, options.exifThumbnail && row->exif, progress);
}

}  // namespace duplora

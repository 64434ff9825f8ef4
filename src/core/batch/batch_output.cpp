#include "core/batch/batch_output.h"

#include "core/formats/bmp_codec.h"
#include "core/formats/exif.h"
#include "core/formats/jpeg_codec.h"

namespace duplora {

bool WriteBatchPicture(const std::string& path, const ImageBuffer& picture,
                       const BatchOptions& options) {
    if (options.outputType == BatchOutputType::Bmp) return WriteBmpFile(path, picture);
    if (!EncodeJpegImage(path, picture, true, options.quality)) return false;
    if (options.exifThumbnail) AddExifBlock(path);
    return true;
}

}  // namespace duplora

#include "core/batch/batch_output.h"

#include "core/formats/bmp_codec.h"
#include "core/formats/exif.h"
#include "core/formats/jpeg_codec.h"

namespace duplora {

Result<Warnings> WriteBatchPicture(const std::string& path, const ImageBuffer& picture,
                                   const BatchOptions& options, const Progress& progress) {
    const Status written = options.outputType == BatchOutputType::Bmp
                               ? WriteBmpFile(path, picture, progress)
                               : EncodeJpegImage(path, picture, true, options.quality, progress);
    if (!written) return written.Error();
    Warnings warnings;
    if (options.outputType != BatchOutputType::Bmp && options.exifThumbnail) {
        if (const Status added = AddExifBlock(path); !added) warnings.push_back(added.Error());
    }
    return warnings;
}

}  // namespace duplora

#include "core/batch/batch_output.h"

namespace duplora {

Result<Warnings> WriteBatchPicture(const std::string& path, const ImageBuffer& picture,
                                   const BatchOptions& options, const Progress& progress,
                                   DisplayMode mode, std::span<const std::uint8_t> cameraExif) {
    const OutputFormatRow* row = FindOutputFormat(options.outputType);
    if (!row || !row->write) return Failure::Quiet(path);
    PictureWriteOptions write;
    write.quality = options.quality;
    write.exif = options.exifThumbnail && row->exif;
    write.mode = mode;
    if (options.keepExif && row->jpeg) write.cameraExif = cameraExif;
    return row->write(path, picture, write, progress);
}

}  // namespace duplora

// Writing one picture of a batch run in the chosen file type.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/batch/batch_options.h"
#include "core/image/image_buffer.h"
#include "core/util/progress.h"
#include "core/util/result.h"

namespace duplora {

// By the format's writer: BMP as held; JPG and JPS as a colour JPEG at the quality, with the
// Exif block and thumbnail when asked (a file the block cannot be added to is still
// written, the reason coming back as a warning). A failure with the writer's reason when
// the file could not be written (also when `progress` is cancelled); the file is replaced
// atomically, so nothing half-written is left.
// `mode` is what the picture holds (for the JPS descriptor); `cameraExif` the source's Exif
// segment to carry (keepExif), empty for none.
Result<Warnings> WriteBatchPicture(const std::string& path, const ImageBuffer& picture,
                                   const BatchOptions& options,
                                   const Progress& progress = NoProgress(),
                                   DisplayMode mode = DisplayMode::SideBySide,
                                   std::span<const std::uint8_t> cameraExif = {});

}  // namespace duplora

// The rotation choice of the open dialog. Apart from the preview loader, which reads the
// orientation through the JPEG loader, because this part writes it through the Exif tool.
#include "core/formats/exif.h"
#include "core/formats/open_preview.h"

namespace duplora {

bool WriteOrientationChoice(const std::string& path, int orientation) {
    if (orientation != 1 && orientation != 3 && orientation != 6 && orientation != 8) return false;
    ExifValues values;
    values.orientation = orientation;
    return ExifTool(path, {}, ExifToolMode::WriteOrientation, values).result ==
           ExifToolResult::Done;
}

}  // namespace duplora

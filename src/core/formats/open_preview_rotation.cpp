// The rotation choice of the open dialog. Apart from the preview loader, which reads the
// orientation through the JPEG loader, because this part writes it through the Exif tool.
#include "core/formats/exif.h"
#include "core/formats/open_preview.h"

namespace duplora {

RotationChoice RotationRadiosFor(int orientation) {
    RotationChoice choice;
    if (orientation == kNoPreviewOrientation) return choice;
    choice.visible = true;
    switch (orientation) {
        case 1:
            choice.checkedRadio = kRotateNoneRadio;
            break;
        case 8:
            choice.checkedRadio = kRotateLeftRadio;
            break;
        case 6:
            choice.checkedRadio = kRotateRightRadio;
            break;
        case 3:
            choice.checkedRadio = kRotateHalfRadio;
            break;
        default:
            break;
    }
    return choice;
}

int OrientationForRadio(int radioId) {
    switch (radioId) {
        case kRotateLeftRadio:
            return 8;
        case kRotateNoneRadio:
            return 1;
        case kRotateRightRadio:
            return 6;
        case kRotateHalfRadio:
            return 3;
        default:
            return 0;
    }
}

bool WriteOrientationChoice(const std::string& path, int radioId) {
    const int orientation = OrientationForRadio(radioId);
    if (orientation == 0) return false;
    ExifValues values;
    values.orientation = orientation;
    return ExifTool(path, {}, ExifToolMode::WriteOrientation, values).result ==
           ExifToolResult::Done;
}

}  // namespace duplora

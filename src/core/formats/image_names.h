// Classifying file names by their ending. A name matches an extension when its last
// characters are the extension's letters in any case; no dot is required. The formats the
// program writes classify names through their table (OutputFormatByName).
#pragma once

#include <string_view>

namespace duplora {

// Extension sets: 0 = BMP JPG JPEG JPS DAS BMI IOS TIF TIFF; 1 = DAS JPS JPG JPEG BMP BMI
// TIF TIFF; 2 = JPG JPEG BMP TIF TIFF. Any other set number matches nothing.
bool IsKnownImageName(std::string_view path, int extensionSet);

// True when `name` ends in `extension`, compared without regard to case (ASCII).
bool EndsWithNoCase(std::string_view name, std::string_view extension);

}  // namespace duplora

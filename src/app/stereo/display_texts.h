// The window title and the status-bar texts that go with the pictures the display composer
// holds: the names and sizes of the views, the browsed folder's position, the slide show or
// panorama, the size after alignment, the offset, and the shown size with the zoom.
#pragma once

#include <array>
#include <string>

#include "core/stereo/compose.h"
#include "core/stereo/display_composer.h"

namespace duplora {

struct DisplayTexts {
    std::string title;
    std::array<std::string, 3> status;  // size after alignment, offset, size and zoom
};

// What the title says besides the pictures.
struct TitleFacts {
    std::string firstName;
    std::string secondName;
    int folderIndex = 0;  // current entry of the browsed folder list, from 0
    int folderCount = 0;
    bool slideShowRunning = false;
    int slideInterval = 0;  // tenths of a second
};

// Title and status texts for the input and the pictures `composer` holds now. A single
// picture has no alignment texts.
DisplayTexts MakeDisplayTexts(const CompositionInput& input, const TitleFacts& facts,
                              const DisplayComposer& composer);

}  // namespace duplora

// The stereo descriptor of JPS files: an APP3 segment "_JPSJPS_" telling how the picture
// holds the two views and which eye comes first. Other viewers read it to show a JPS with
// the right depth; we read it to open one the way it was meant.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/formats/stereo_layout.h"
#include "core/stereo/display_mode.h"

namespace duplora {

struct JpsDescriptor {
    bool stereo = true;
    StereoLayout layout =
        StereoLayout::SideBySide;  // side by side, over/under, interlace, anaglyph
    // The left view is the first one (left half, top half, first field). Without the flag
    // a side-by-side JPS is in crossed order: the right view on the left.
    bool leftFirst = true;
    bool halfWidth = false;
    bool halfHeight = false;
    int separation = 0;
    std::string comment;
};

// The descriptor of a JPEG header (the first APP3 "_JPSJPS_" before the picture data);
// none when there is none or it is cut short. A layout code we do not know reads as side
// by side.
std::optional<JpsDescriptor> ReadJpsDescriptor(std::span<const std::uint8_t> jpeg);
std::optional<JpsDescriptor> ReadJpsDescriptor(const std::string& path);

// The descriptor of a picture composed in a display mode: side by side (also the three views
// and the half-width form) and over/under with the left view first, interlace as
// interleaved, the anaglyphs as anaglyph, a single picture as mono.
JpsDescriptor JpsDescriptorForMode(DisplayMode mode);

// The whole APP3 segment, marker and length included.
std::vector<std::uint8_t> MakeJpsSegment(const JpsDescriptor& descriptor);

// Puts the descriptor into the JPEG file at `path` after its leading APP0/APP1 segments,
// keeping the file's times; the file is replaced atomically. False when it cannot be.
bool InsertJpsDescriptor(const std::string& path, const JpsDescriptor& descriptor);

}  // namespace duplora

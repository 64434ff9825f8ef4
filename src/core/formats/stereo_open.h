// Opening a stereo pair: one file that holds both views in one of the stereo layouts, split
// into a left and a right view, or two files. The result is a plain record the document is
// made from; nothing here knows the document or a window.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/formats/codec_options.h"
#include "core/formats/das.h"
#include "core/formats/stereo_layout.h"
#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

struct StereoViews {
    ImageBuffer left;
    ImageBuffer right;
    explicit operator bool() const { return left && right; }
};

// The two views of a 24-bit picture in layout 0–7 (10 is taken as 0), as new 24-bit
// pictures; halves use integer division, so an odd last column or row is dropped. Both
// empty for no picture, another depth, a layout that does not split (20), or a picture too
// small to give two views.
StereoViews SplitStereoPicture(const ImageBuffer& picture, StereoLayout layout);

// Reads a DAS container as the opener needs it: both stored pictures joined side by side
// (left first) and the stored alignment. An empty picture means "not a DAS file".
using DasPictureReader = std::function<DasPicture(const std::string& path)>;

struct StereoOpenOptions {
    CodecOptions codec;
    // Tried after the TIFF readers and before the plug-ins: the container reader, unless a
    // caller puts another in its place. An empty function opens no DAS files.
    DasPictureReader readDas = LoadDasPicture;
};

// The outcome of an opening, for the app layer to make the document from.
struct StereoOpenResult {
    bool loaded = false;  // both views are there (for Single: the left one)
    ImageBuffer left;
    ImageBuffer right;  // empty for Single: the one picture is the left view
    std::string leftPath;
    std::string rightPath;
    std::string leftName;  // display names
    std::string rightName;
    StereoLayout layout = StereoLayout::SideBySide;
    bool single = false;        // opened as a single picture
    bool fromDas = false;       // the picture came from a DAS container
    bool hasAlignment = false;  // dx, dy below are to become the document's offset
    int dx = 0;
    int dy = 0;
    int orientation = 100;  // Exif orientation of a JPEG source; 100 when it has none
    // When not loaded: the file that could not be read (for a pair, the first that failed).
    std::string failedPath;
    // A file was read only in part (a JPEG that ends early, a TIFF strip that cannot be
    // read whole): the views are what could be decoded.
    bool partial = false;
};

// Opens one file as a stereo picture. Paths and display names are filled in whatever
// happens; split layouts get " - Links" and " - Rechts" behind the file name. The file is
// read by the first reader that accepts it (JPEG with its Exif orientation, BMP, TIFF, TIFF
// through RGBA, DAS, then the plug-ins), turned into 24 bit and split by `layout`. A DAS
// file is always split side by side (except under Single) and brings its alignment:
// dx = −X, dy = Y. Layout 10 opens as 0. Layout 8 reads the first two pictures of a
// multi-picture file (each turned by its own Exif orientation; not loaded for a file with
// fewer than two). When a file is split the way its JPS descriptor says, a descriptor that
// says the right view comes first exchanges the views, and one that says the views were
// halved in width (height) stretches each view to twice its width (height) with StretchView.
// Not loaded when no reader accepts the file or the split gives no views. Reading reports to
// `progress`; once it is cancelled nothing is loaded.
StereoOpenResult OpenStereoFile(const std::string& path, StereoLayout layout,
                                const StereoOpenOptions& options = {},
                                const Progress& progress = NoProgress());

// Opens two files as the left and the right view (layout 10). Loaded only when both load;
// the views keep their own sizes (the caller equalises them).
StereoOpenResult OpenLeftRight(const std::string& leftPath, const std::string& rightPath,
                               const CodecOptions& options = {},
                               const Progress& progress = NoProgress());

// ---- the left/right dialog's partner search --------------------------------------------

// The file the left/right dialog proposes as the right view of `selected`: its L/R partner
// when that is a regular file; else, when `lastRightFolder` is not empty and differs from
// the selected file's folder, the file of the same name there, or that file's partner,
// whichever exists first. None when no candidate exists (the dialog then asks for the right
// file).
std::optional<std::string> ProposeRightPartner(const std::string& selected,
                                               const std::string& lastRightFolder);

}  // namespace duplora

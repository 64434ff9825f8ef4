// Joining pictures side by side into one picture (a mosaic), and the pasting it is made of.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/formats/codec_options.h"
#include "core/image/image_buffer.h"
#include "core/util/question.h"
#include "core/util/result.h"

namespace duplora {

// Copies the rows of `source` into `target` with the source's left column at column `x`
// and its bottom row at stored row `row` (rows counted bottom-up, as held). Both must be
// 24-bit; otherwise nothing happens and false comes back. What falls outside the target
// (on any side, negative positions included) is left out.
bool PastePicture(ImageBuffer& target, const ImageBuffer& source, int x, int row);

// Where ComposeMosaic puts a picture of `height` rows on a canvas of `canvasHeight` rows:
// the stored row of its bottom row, so that it is centred with (canvasHeight − height) / 2
// rows above it.
int MosaicRow(int canvasHeight, int height);

// The pictures side by side, left to right, on a black 24-bit canvas as wide as all of
// them together and as high as the highest, each centred vertically. Empty and non-24-bit
// entries take no place. None when nothing is left or the canvas would exceed the size
// limits. `pasted(index, count, canvasWidth, canvasHeight)` is called after each paste.
ImageBuffer ComposeMosaic(std::span<const ImageBuffer> pictures,
                          const std::function<void(int, int, int, int)>& pasted = {});

enum class MosaicStatus {
    Written,    // the target holds the mosaic
    Declined,   // the user said No to starting or to overwriting; nothing written
    NoFiles,    // the list was empty; nothing asked, nothing written
    NoPicture,  // none of the files could be read
    TooLarge,   // the joined picture would exceed the size limits
    WriteFailed,
};

struct MosaicResult {
    MosaicStatus status = MosaicStatus::NoFiles;
    // Size of the mosaic, also when it could not be written (when too wide, the width
    // reached when reading stopped).
    int width = 0;
    int height = 0;
    std::vector<std::string> joined;      // in the order pasted, left to right
    std::vector<std::string> unreadable;  // left out
    // What the user is to be told: "Kann Bild nicht speichern" under "FEHLER" when nothing
    // could be joined or written (after the writer's own reason).
    std::optional<Failure> failure;
};

// How far the work has come, for the dialog's title: file `index` of `count` being read
// (from 1), or picture `index` of `count` pasted into the width × height canvas.
struct MosaicStep {
    bool joining = false;
    int index = 0;
    int count = 0;
    int width = 0;
    int height = 0;
    bool operator==(const MosaicStep&) const = default;
};
using MosaicSteps = std::function<void(const MosaicStep& step)>;

// Joins the files into one BMP file `target` once `confirm` agrees to "Verbinde %d Dateien.
// Wollen Sie starten ?" (caption "Konvertierung bestätigen") and, when the target exists,
// to "Datei bereits vorhanden. Wollen Sie diese Überschreiben?" with the target as caption
// (both Yes/No). The files are sorted by name without regard to case and read with
// LoadPictureFile; a file that cannot be read is left out. The target is replaced
// atomically; when nothing could be joined or written the result says why and an existing
// target stays as it was.
MosaicResult MakeMosaic(std::vector<std::string> paths, const std::string& target,
                        const ConfirmPolicy& confirm, const MosaicSteps& steps = {},
                        const CodecOptions& codecOptions = {});

// "Join all files": every picture file of the folder (extension set 1) joined as above.
MosaicResult MakeFolderMosaic(const std::string& folder, const std::string& target,
                              const ConfirmPolicy& confirm, const MosaicSteps& steps = {},
                              const CodecOptions& codecOptions = {});

}  // namespace duplora

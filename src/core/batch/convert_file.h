// One file of a batch conversion: loading the pair, the per-view steps (swap, rotation
// and size, position, gamma, sharpening, text and logo), the composition in the output
// layout, resizing to a width, the frame, and writing; every step logged with the texts
// of the progress window. Runs on any thread: the overwrite question, progress and
// cancelling are passed in, and what the user is to be told comes back with the result.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/batch/batch_options.h"
#include "core/formats/codec_options.h"
#include "core/formats/stereo_layout.h"
#include "core/image/image_buffer.h"
#include "core/util/progress.h"
#include "core/util/question.h"
#include "core/util/result.h"

namespace duplora {

// Texts of the batch log and its boxes.
inline constexpr const char* kBatchDasErrorText = "Error  ";
inline constexpr const char* kBatchNotConvertibleText = "Can not convert!  ";
inline constexpr const char* kBatchSameAsSourceText =
    "Ergebnis : Ausgabe wäre die Quelldatei, nicht überschrieben.\r\n\r\n";

// One unit of work of a run: a file of the file list or an entry of a slide-show list.
struct BatchItem {
    int index = 0;        // position in the list, from 0
    std::string logName;  // the name the log shows
    std::string left;     // a stereo file, or the left file of a pair
    std::string right;    // the right file of a pair; empty when none was found
    bool pair = false;    // two files
    // The layout a stereo file is split by (none: an entry type that names no layout).
    std::optional<StereoLayout> layout = StereoLayout::SideBySide;
    bool swapViews = false;  // a swapped list entry of one stereo file: views exchanged
    // List entries bring their own alignment: the offset the slide show gives the views in
    // the order they are converted (names already exchanged for a swapped entry).
    bool hasOffset = false;
    int dx = 0;
    int dy = 0;
    bool dasRefused = false;  // a list entry that is not a pair cannot become a DAS file
};

// The overlays drawn with the stored settings; an empty function is not drawn.
struct BatchAnnotations {
    // Returns the view with the overlay (possibly taller, by a band).
    std::function<Result<ImageBuffer>(const ImageBuffer& view, int depth)> text;
    int textDepth = 0;
    std::function<Result<ImageBuffer>(const ImageBuffer& view, int depth)> logo;
    int logoDepth = 0;
    // The picture framed as its display mode asks (AddBorder). On failure the picture is
    // written unframed.
    std::function<Result<ImageBuffer>(const ImageBuffer& picture, DisplayMode mode)> border;
};

struct BatchEnvironment {
    CodecOptions codec;
    BatchAnnotations annotations;
};

enum class BatchOutcome {
    Converted,       // every output written
    ReadError,       // a view could not be loaded
    Skipped,         // an existing output was not to be replaced
    WriteError,      // an output could not be made or written
    DasError,        // the DAS file could not be made
    NotConvertible,  // a list entry that cannot become a DAS file
    SameAsSource,    // an output would have replaced one of the item's own files
    Aborted,         // stopped inside the file; what it had written is removed
};

// What became of one file of a run.
struct BatchItemResult {
    BatchOutcome outcome = BatchOutcome::Aborted;
    // Sources read only in part (a JPEG that ends early, a TIFF strip that cannot be read
    // whole): converted from what was there, for the caller to warn about.
    std::vector<std::string> partlyRead;
    // What the user is to be told besides the log, in order: the boxes "Dieser Dateityp ist
    // unterschiedlich…" and "Speichern fehlgeschlagen…" after their reasons, and the
    // failures of steps the file was converted without (a frame, an overlay, an Exif block).
    std::vector<Failure> told;
};

using BatchLogFn = std::function<void(std::string_view text)>;

// Steps 3 to 16 of one file, after its "Quelle" line: everything is logged through `log`,
// an existing output is replaced only when `overwrite` confirms "Datei bereits vorhanden…"
// (Yes/No, the output as caption), and the boxes come back in the result. An output that is
// one of the item's own files (by any name or link) is never written, whatever the answer
// would be. Reading and writing report to `progress`; once it is cancelled the file is given
// up at the next step (Aborted) and any output it wrote is removed.
BatchItemResult ConvertBatchItem(const BatchItem& item, const BatchOptions& options,
                                 const BatchEnvironment& environment, const BatchLogFn& log,
                                 const OverwritePolicy& overwrite,
                                 const Progress& progress = NoProgress());

// ---- the steps, for the dialog's preview and for tests ----------------------------------

struct BatchViews {
    ImageBuffer left;
    ImageBuffer right;
    // The alignment a DAS container was stored with, as an offset of these views.
    int dx = 0;
    int dy = 0;
    std::vector<std::string> partlyRead;  // the files read only in part
    Warnings told;                        // views of two sizes that could not be equalised
    explicit operator bool() const { return left && right; }
};

// The two views of a stereo file split by `layout` (a DAS container is always side by side
// and brings its alignment). Both empty when the file cannot be read or split.
BatchViews OpenBatchStereoFile(const std::string& path, StereoLayout layout,
                               const CodecOptions& codec, const Progress& progress = NoProgress());

// The views of an item as loaded: a pair of files (brought to one size as the window does)
// or a stereo file, exchanged for a swapped entry. A missing view stays empty.
BatchViews LoadBatchViews(const BatchItem& item, const CodecOptions& codec,
                          const Progress& progress = NoProgress());

// Rotation and size of one view, keeping its pixel size W × H: above 100 % the view is
// rotated, scaled to W·p/100 × H·p/100 and its centre cut out; below, scaled first and then
// rotated onto a black W × H canvas; at 100 % only rotated. Angle in tenths of a degree.
// A quiet failure for no 24-bit picture or a step that gives none; the canvas's failure.
Result<ImageBuffer> AdjustBatchView(const ImageBuffer& view, int angle, int percent,
                                    const Progress& progress = NoProgress());

// The composition offset of an item: the alignment its views bring (`stored`, a DAS
// container's, plus a list entry's own), negated when the swap option exchanges the views,
// plus (−H, −V) of the position option.
struct BatchOffset {
    int dx = 0;
    int dy = 0;
};
BatchOffset BatchItemOffset(const BatchItem& item, const BatchOptions& options,
                            BatchOffset stored = {});

// Steps 7 to 11: the views swapped, with the auto-align option the right view fitted to the
// left by features (the fitted height replacing the offset's vertical part, the position
// option still added; its summary logged), adjusted, cut to their common area for the offset,
// gamma-corrected, sharpened and annotated, ready to be composed. A failure when a step
// could not make its picture; an overlay that could not be drawn is left out (a logo is
// logged), its reason added to `told`.
Status PrepareBatchViews(BatchViews& views, BatchOffset offset, const BatchOptions& options,
                         const BatchAnnotations& annotations, const BatchLogFn& log, Warnings& told,
                         const Progress& progress = NoProgress());

// The picture brought to `width` with its proportions kept (height at least 1).
ImageBuffer ResizeToWidth(const ImageBuffer& picture, int width,
                          const Progress& progress = NoProgress());

}  // namespace duplora

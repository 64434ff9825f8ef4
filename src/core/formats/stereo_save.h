// Saving the pair: as one stereo picture in the display mode (BMP, JPEG, JPS, STJ), or as
// separate left and right files. Every file is replaced atomically, so a failed save
// leaves the old file as it was. Failures come back with what the user is to be told
// ("Kann Bild nicht speichern" under "FEHLER").
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "core/formats/stereo_names.h"
#include "core/formats/stereo_open.h"
#include "core/image/image_buffer.h"
#include "core/stereo/compose.h"
#include "core/util/progress.h"
#include "core/util/question.h"
#include "core/util/result.h"

namespace duplora {

// What the save dialog's option panel decided.
struct SaveSettings {
    OutputFormat type = OutputFormat::Jpeg;
    int quality = 80;            // 1..99
    bool exifThumbnail = false;  // "Vorschaubild hinzufügen": JPEG and JPS only
    bool mirrorLeft = false;     // mirror the left view of side-by-side pictures
    // Side-by-side and over/under pictures with each view halved (for 3D televisions).
    bool halfSize = false;
    // JPEG, JPS and MPO files carry the left source's camera Exif instead of the thumbnail
    // block.
    bool keepExif = false;
};

inline constexpr int kMinSaveQuality = 1;
inline constexpr int kMaxSaveQuality = 99;
// The quality moved by `delta` (scroll-bar steps ±1, ±10) and kept inside 1..99.
int StepSaveQuality(int quality, int delta);

// The picture to save: the composition of the pair in input.mode at full size for the
// offset (input.dx, input.dy), or a copy of the left view for a single picture. A quiet
// failure when a view is missing; the composition's failure otherwise.
Result<ImageBuffer> ComposeSaveImage(const CompositionInput& input, bool single);
// The side-by-side composition the left and right files are cut from.
Result<ImageBuffer> ComposeLeftRightImage(const CompositionInput& input);

// The picture with its left half mirrored when `mirrorLeft` is on, the mode is side by side
// and no single picture is shown; else the picture unchanged. None when mirroring fails.
ImageBuffer ApplySaveMirror(ImageBuffer saveImage, bool mirrorLeft, DisplayMode mode, bool single);

// The format a save really writes: STJ for any name ending in "stj"; without a choice the
// name decides (a format made from a picture, else JPEG); otherwise the chosen format.
OutputFormat ResolveSaveType(const std::string& path, std::optional<OutputFormat> chosen);

// Writes the stereo picture as the resolved format with its writer: BMP as held; JPEG and
// JPS encoded at the quality in colour, then given an Exif block with thumbnail when asked;
// STJ encoded into a scratch file and wrapped (no Exif block). Writing reports to
// `progress`. A failure "Kann JPEG Daten nicht apeichern" for a picture the encoder cannot
// take, else "Kann Bild nicht speichern" (after the writer's own reason); an Exif block that
// could not be added is a warning of the saved file.
// `mode` is what the picture holds (the JPS descriptor says so); `cameraExif` the left
// source's Exif segment, carried when settings.keepExif is on.
Result<Warnings> SaveStereoPicture(const std::string& path, const ImageBuffer& saveImage,
                                   const SaveSettings& settings,
                                   const Progress& progress = NoProgress(),
                                   DisplayMode mode = DisplayMode::SideBySide,
                                   std::span<const std::uint8_t> cameraExif = {});

// The mode the saved picture is composed in: the one shown, except that a multi-picture
// file is made from the side-by-side picture, and side by side and over/under become their
// half-size forms when asked; a single picture stays one.
DisplayMode SaveCompositionMode(DisplayMode shown, const SaveSettings& settings, bool single);

// ---- STJ --------------------------------------------------------------------------------

// The fixed head of an STJ file: SOI, a JFIF APP0 of 150 dots per inch, an APP5 block
// "3Dpic" and a comment copy="NO". The wrapped JPEG follows without its own SOI and APP0.
inline constexpr std::size_t kStjHeadSize = 43;
// Bytes of an encoded JPEG's start (SOI and its 18-byte JFIF APP0) an STJ file drops.
inline constexpr std::size_t kStjDroppedBytes = 20;
// An STJ file is this much longer than the JPEG it wraps.
inline constexpr std::size_t kStjExtraBytes = kStjHeadSize - kStjDroppedBytes;
const std::array<std::uint8_t, kStjHeadSize>& StjHead();

// Writes `target` as the STJ head followed by the JPEG at `jpegPath` from its 21st byte on.
// False, with the target untouched, when the JPEG cannot be read or does not start with SOI
// and a 16-byte JFIF APP0, or the target cannot be written.
bool WriteStjFile(const std::string& target, const std::string& jpegPath);

// When `path` exists, puts "Datei bereits vorhanden! Diese Datei ersetzen ?" with the name as
// caption (OK/Cancel) to `overwrite`. True when the file may be written.
bool ConfirmReplace(const std::string& path, const OverwritePolicy& overwrite);

// ---- left and right files ---------------------------------------------------------------

// The check before writing: equal names are refused with a message; when the left (else the
// right) file exists "Datei bereits vorhanden! Diese Datei ersetzen ?" with its name as
// caption goes to `overwrite`, and a refusal is a quiet failure.
Status ConfirmLeftRightNames(const LeftRightNames& names, const OverwritePolicy& overwrite);

// The two views of a side-by-side picture (its left half mirrored first when asked):
// columns 0 … W/2 − 1 and W/2 … 2 × (W/2) − 1.
StereoViews SplitForLeftRightSave(const ImageBuffer& sideBySide, bool mirrorLeft);

// Writes the left file, then the right one: BMP for the BMP type, else JPEG at the quality
// with an Exif block when asked. Stops at the first failure (what was written stays).
Result<Warnings> WriteLeftRightFiles(const LeftRightNames& names, const StereoViews& views,
                                     const SaveSettings& settings,
                                     const Progress& progress = NoProgress());

// The whole left/right save after the dialog: names from the chosen name and the suffixes,
// the check (ConfirmLeftRightNames), the split, `overlay` on each view when given, and the
// writing.
Result<Warnings> SaveLeftRightFiles(const std::string& chosen, const ImageBuffer& sideBySide,
                                    const std::string& leftSuffix, const std::string& rightSuffix,
                                    const SaveSettings& settings, const OverwritePolicy& overwrite,
                                    const std::function<void(ImageBuffer&)>& overlay = {},
                                    const Progress& progress = NoProgress());

}  // namespace duplora

#include "core/formats/stereo_save.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "core/formats/atomic_file.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/exif.h"
#include "core/formats/image_names.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/temp_file.h"
#include "core/image/geometry.h"
#include "core/strings.h"

namespace duplora {

namespace {

constexpr int kErrorCaptionId = 2505;        // "FEHLER"
constexpr int kCannotSaveId = 2509;          // "Kann Bild nicht speichern"
constexpr int kCannotStoreJpegId = 2510;     // "Kann JPEG Daten nicht apeichern"
constexpr int kReplaceQuestionId = 2512;     // "Datei bereits vorhanden! Diese Datei ersetzen ?"

// Told instead of writing the right view over the left one.
constexpr const char* kSameNamesText =
    "Linker und rechter Dateiname sind gleich. Bitte unterschiedliche Namenszusätze für das "
    "linke und das rechte Bild angeben.";

constexpr std::size_t kCopyChunk = 32768;

// "Kann Bild nicht speichern", told after the writer's own reason.
Failure CannotSave(const std::string& path, const Failure& why = {}) {
    return Failure::Message(kCannotSaveId, kErrorCaptionId, path).After(why);
}

Failure CannotStoreJpeg(const std::string& path) {
    return Failure::Message(kCannotStoreJpegId, kErrorCaptionId, path);
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// A JPEG (or JPS) file with an Exif block added when asked. The encode replaces the file
// atomically; so does adding the block.
// Written files collect the warnings of their Exif blocks in `warnings`.
Status WriteJpegFile(const std::string& path, const ImageBuffer& image, int quality, bool exif,
                     const Progress& progress, Warnings& warnings) {
    if (!image || image.BitCount() != 24) return CannotStoreJpeg(path);
    const Status encoded =
        EncodeJpegImage(path, image, true, std::clamp(quality, 1, 100), progress);
    if (!encoded) return CannotSave(path, encoded.Error());
    if (exif) {
        if (const Status added = AddExifBlock(path); !added) warnings.push_back(added.Error());
    }
    return {};
}

Status WriteStjPicture(const std::string& path, const ImageBuffer& image, int quality,
                       const Progress& progress) {
    if (!image || image.BitCount() != 24) return CannotStoreJpeg(path);
    const ScratchFile scratch("stj");
    if (!scratch.Valid()) return CannotSave(path);
    const Status encoded = EncodeJpegImage(scratch.Path(), image, true, quality, progress);
    if (!encoded) return CannotSave(path, encoded.Error());
    if (!WriteStjFile(path, scratch.Path())) return CannotSave(path);
    return {};
}

// The warnings of the files written before a failure are told before it.
Result<Warnings> WithWarnings(const Status& written, Warnings warnings) {
    if (written) return warnings;
    Failure failure = written.Error();
    for (auto w = warnings.rbegin(); w != warnings.rend(); ++w)
        failure = std::move(failure).After(std::move(*w));
    return failure;
}

}  // namespace

int StepSaveQuality(int quality, int delta) {
    return std::clamp(quality + delta, kMinSaveQuality, kMaxSaveQuality);
}

Result<ImageBuffer> ComposeSaveImage(const CompositionInput& input, bool single) {
    const int code = single ? static_cast<int>(DisplayMode::Single) : static_cast<int>(input.mode);
    return ComposeForOutput(input, code, input.dx, input.dy);
}

Result<ImageBuffer> ComposeLeftRightImage(const CompositionInput& input) {
    return ComposeForOutput(input, static_cast<int>(DisplayMode::SideBySide), input.dx, input.dy);
}

ImageBuffer ApplySaveMirror(ImageBuffer saveImage, bool mirrorLeft, DisplayMode mode, bool single) {
    if (!mirrorLeft || mode != DisplayMode::SideBySide || single) return saveImage;
    return MirrorLeftHalf(saveImage);
}

SaveFileType ResolveSaveType(const std::string& path, SaveFileType chosen) {
    if (EndsWithNoCase(path, "stj")) return SaveFileType::Stj;
    if (chosen != SaveFileType::Fixed) return chosen;
    switch (SaveTypeByExtension(path)) {
        case SaveType::Bmp:
            return SaveFileType::Bmp;
        case SaveType::Jps:
            return SaveFileType::Jps;
        default:
            return SaveFileType::Jpeg;
    }
}

Result<Warnings> SaveStereoPicture(const std::string& path, const ImageBuffer& saveImage,
                                   const SaveSettings& settings, const Progress& progress) {
    switch (ResolveSaveType(path, settings.type)) {
        case SaveFileType::Bmp: {
            const Status written = WriteBmpFile(path, saveImage, progress);
            if (!written) return CannotSave(path, written.Error());
            return Warnings{};
        }
        case SaveFileType::Stj:
            return WithWarnings(WriteStjPicture(path, saveImage, settings.quality, progress), {});
        default: {
            Warnings warnings;
            const Status written = WriteJpegFile(path, saveImage, settings.quality,
                                                 settings.exifThumbnail, progress, warnings);
            return WithWarnings(written, std::move(warnings));
        }
    }
}

// ---- STJ --------------------------------------------------------------------------------

const std::array<std::uint8_t, kStjHeadSize>& StjHead() {
    static constexpr std::array<std::uint8_t, kStjHeadSize> kHead{
        0xFF, 0xD8,                          // start of image
        0xFF, 0xE0, 0x00, 0x10,              // APP0, length 16
        'J',  'F',  'I',  'F',  0x00,        // identifier
        0x01, 0x00,                          // version 1.00
        0x01,                                // dots per inch
        0x00, 0x96, 0x00, 0x96,              // 150 × 150
        0x00, 0x00,                          // no JFIF thumbnail
        0xFF, 0xE5, 0x00, 0x08,              // APP5, length 8
        '3',  'D',  'p',  'i',  'c',  0x00,  // stereo marker
        0xFF, 0xFE, 0x00, 0x0B,              // comment, length 11
        'c',  'o',  'p',  'y',  '=',  '"',  'N', 'O', '"'};
    return kHead;
}

bool WriteStjFile(const std::string& target, const std::string& jpegPath) {
    std::FILE* in = std::fopen(jpegPath.c_str(), "rb");
    if (!in) return false;
    // The part dropped must be exactly SOI and a 16-byte JFIF APP0; anything else would
    // leave a broken stream behind the head.
    std::uint8_t start[kStjDroppedBytes];
    static constexpr std::uint8_t kExpected[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10,
                                                 'J',  'F',  'I',  'F',  0x00};
    bool ok = std::fread(start, 1, sizeof start, in) == sizeof start &&
              std::memcmp(start, kExpected, sizeof kExpected) == 0;
    AtomicFileWriter writer;
    ok = ok && writer.Open(target);
    ok = ok && writer.Write(StjHead().data(), StjHead().size());
    std::vector<std::uint8_t> chunk(kCopyChunk);
    while (ok) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in);
        if (n > 0) ok = writer.Write(chunk.data(), n);
        if (n < chunk.size()) {
            ok = ok && !std::ferror(in);
            break;
        }
    }
    std::fclose(in);
    return ok && writer.Commit();
}

// ---- left and right files ---------------------------------------------------------------

bool ConfirmReplace(const std::string& path, const OverwritePolicy& overwrite) {
    return !Exists(path) ||
           overwrite.Confirms({LoadResString(kReplaceQuestionId), path, QuestionKind::OkCancel});
}

Status ConfirmLeftRightNames(const LeftRightNames& names, const OverwritePolicy& overwrite) {
    if (names.Same()) {
        Failure same = Failure::Literal(kSameNamesText, names.left);
        same.captionId = kErrorCaptionId;
        return same;
    }
    const std::string& asked = Exists(names.left) ? names.left : names.right;
    if (!ConfirmReplace(asked, overwrite)) return Failure::Quiet(asked);
    return {};
}

StereoViews SplitForLeftRightSave(const ImageBuffer& sideBySide, bool mirrorLeft) {
    if (!mirrorLeft) return SplitStereoPicture(sideBySide, StereoLayout::SideBySide);
    const ImageBuffer mirrored = MirrorLeftHalf(sideBySide);
    return SplitStereoPicture(mirrored, StereoLayout::SideBySide);
}

Result<Warnings> WriteLeftRightFiles(const LeftRightNames& names, const StereoViews& views,
                                     const SaveSettings& settings, const Progress& progress) {
    if (!views) return CannotSave(names.left);
    if (settings.type == SaveFileType::Bmp) {
        for (const auto& [path, view] :
             {std::pair{&names.left, &views.left}, std::pair{&names.right, &views.right}}) {
            const Status written = WriteBmpFile(*path, *view, progress);
            if (!written) return CannotSave(*path, written.Error());
        }
        return Warnings{};
    }
    Warnings warnings;
    const Status left = WriteJpegFile(names.left, views.left, settings.quality,
                                      settings.exifThumbnail, progress, warnings);
    if (!left) return WithWarnings(left, std::move(warnings));
    const Status right = WriteJpegFile(names.right, views.right, settings.quality,
                                       settings.exifThumbnail, progress, warnings);
    return WithWarnings(right, std::move(warnings));
}

Result<Warnings> SaveLeftRightFiles(const std::string& chosen, const ImageBuffer& sideBySide,
                                    const std::string& leftSuffix, const std::string& rightSuffix,
                                    const SaveSettings& settings, const OverwritePolicy& overwrite,
                                    const std::function<void(ImageBuffer&)>& overlay,
                                    const Progress& progress) {
    const LeftRightNames names = MakeLeftRightNames(chosen, leftSuffix, rightSuffix);
    if (const Status confirmed = ConfirmLeftRightNames(names, overwrite); !confirmed)
        return confirmed.Error();
    StereoViews views = SplitForLeftRightSave(sideBySide, settings.mirrorLeft);
    if (views && overlay) {
        overlay(views.left);
        overlay(views.right);
    }
    return WriteLeftRightFiles(names, views, settings, progress);
}

}  // namespace duplora

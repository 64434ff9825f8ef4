#include "core/formats/stereo_save.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/formats/atomic_file.h"
#include "core/hooks.h"
#include "core/image/geometry.h"
#include "core/strings.h"

namespace duplora {

namespace {

constexpr int kErrorCaptionId = 2505;        // "FEHLER"
constexpr int kCannotSaveId = 2509;          // "Kann Bild nicht speichern"
constexpr int kCannotStoreJpegId = 2510;     // "Kann JPEG Daten nicht apeichern"
constexpr int kReplaceQuestionId = 2512;     // "Datei bereits vorhanden! Diese Datei ersetzen ?"
constexpr int kStereoSaveTitleId = 2508;     // "Stereobild Speichern"
constexpr int kLeftRightSaveTitleId = 2511;  // "Linkes/Rechtes Bild Speichern"
constexpr int kSizeTextId = 2643;            // "Bildgröße (%d X %d)"
constexpr int kSingleSaveTitleId = 2695;     // "Bild speichern"

// Told instead of writing the right view over the left one.
constexpr const char* kSameNamesText =
    "Linker und rechter Dateiname sind gleich. Bitte unterschiedliche Namenszusätze für das "
    "linke und das rechte Bild angeben.";

constexpr std::size_t kCopyChunk = 32768;

void TellCannotSave() {
    ShowMessage(kCannotSaveId, kErrorCaptionId, MessageIcon::Exclamation);
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// The picture written by the format's writer (the Exif block only where the format takes
// one); every file is replaced atomically.
bool WritePicture(OutputFormat format, const std::string& path, const ImageBuffer& image,
                  const SaveSettings& settings) {
    const OutputFormatRow& row = *FindOutputFormat(format);
    if (row.jpeg && (!image || image.BitCount() != 24)) {
        ShowMessage(kCannotStoreJpegId, kErrorCaptionId, MessageIcon::Exclamation);
        return false;
    }
    if (!row.write(path, image, settings.quality, settings.exifThumbnail && row.exif)) {
        TellCannotSave();
        return false;
    }
    return true;
}

}  // namespace

int StepSaveQuality(int quality, int delta) {
    return std::clamp(quality + delta, kMinSaveQuality, kMaxSaveQuality);
}

std::string SaveDialogTitle(bool single) {
    return LoadResString(single ? kSingleSaveTitleId : kStereoSaveTitleId);
}

std::string LeftRightSaveDialogTitle() {
    return LoadResString(kLeftRightSaveTitleId);
}

std::string SaveImageSizeText(const ImageBuffer& saveImage) {
    return FormatResString(kSizeTextId, saveImage.Width(), saveImage.Height());
}

ImageBuffer ComposeSaveImage(const CompositionInput& input, bool single) {
    return ComposeForOutput(input, single ? DisplayMode::Single : input.mode, input.dx, input.dy);
}

ImageBuffer ComposeLeftRightImage(const CompositionInput& input) {
    return ComposeForOutput(input, DisplayMode::SideBySide, input.dx, input.dy);
}

ImageBuffer ApplySaveMirror(ImageBuffer saveImage, bool mirrorLeft, DisplayMode mode, bool single) {
    if (!mirrorLeft || mode != DisplayMode::SideBySide || single) return saveImage;
    return MirrorLeftHalf(saveImage);
}

OutputFormat ResolveSaveType(const std::string& path, std::optional<OutputFormat> chosen) {
    const auto writable = [](std::optional<OutputFormat> format) {
        const OutputFormatRow* row = format ? FindOutputFormat(*format) : nullptr;
        return row && row->write;
    };
    const std::optional<OutputFormat> named = OutputFormatByName(path);
    if (named == OutputFormat::Stj) return OutputFormat::Stj;
    if (writable(chosen)) return *chosen;
    if (writable(named)) return *named;
    return OutputFormat::Jpeg;
}

bool SaveStereoPicture(const std::string& path, const ImageBuffer& saveImage,
                       const SaveSettings& settings) {
    return WritePicture(ResolveSaveType(path, settings.type), path, saveImage, settings);
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

bool ConfirmReplace(const std::string& path) {
    return !Exists(path) ||
           AskQuestion(LoadResString(kReplaceQuestionId), path, QuestionKind::OkCancel) ==
               Answer::Ok;
}

bool ConfirmLeftRightNames(const LeftRightNames& names) {
    if (names.Same()) {
        ShowMessage(kSameNamesText, LoadResString(kErrorCaptionId), MessageIcon::Exclamation);
        return false;
    }
    return ConfirmReplace(Exists(names.left) ? names.left : names.right);
}

StereoViews SplitForLeftRightSave(const ImageBuffer& sideBySide, bool mirrorLeft) {
    if (!mirrorLeft) return SplitStereoPicture(sideBySide, StereoLayout::SideBySide);
    const ImageBuffer mirrored = MirrorLeftHalf(sideBySide);
    return SplitStereoPicture(mirrored, StereoLayout::SideBySide);
}

bool WriteLeftRightFiles(const LeftRightNames& names, const StereoViews& views,
                         const SaveSettings& settings) {
    if (!views) {
        TellCannotSave();
        return false;
    }
    // The list offers JPEG and BMP.
    const OutputFormat format =
        settings.type == OutputFormat::Bmp ? OutputFormat::Bmp : OutputFormat::Jpeg;
    return WritePicture(format, names.left, views.left, settings) &&
           WritePicture(format, names.right, views.right, settings);
}

LeftRightSaveResult SaveLeftRightFiles(const std::string& chosen, const ImageBuffer& sideBySide,
                                       const std::string& leftSuffix,
                                       const std::string& rightSuffix, const SaveSettings& settings,
                                       const std::function<void(ImageBuffer&)>& overlay) {
    const LeftRightNames names = MakeLeftRightNames(chosen, leftSuffix, rightSuffix);
    if (names.Same()) {
        ConfirmLeftRightNames(names);  // tells the user
        return LeftRightSaveResult::SameNames;
    }
    if (!ConfirmLeftRightNames(names)) return LeftRightSaveResult::Cancelled;
    StereoViews views = SplitForLeftRightSave(sideBySide, settings.mirrorLeft);
    if (views && overlay) {
        overlay(views.left);
        overlay(views.right);
    }
    return WriteLeftRightFiles(names, views, settings) ? LeftRightSaveResult::Saved
                                                       : LeftRightSaveResult::Failed;
}

}  // namespace duplora

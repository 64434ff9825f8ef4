#include "core/formats/stereo_save.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "core/formats/atomic_file.h"

#include "core/image/geometry.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

// Told instead of writing the right view over the left one.
constexpr const char* kSameNamesText =
    "Linker und rechter Dateiname sind gleich. Bitte unterschiedliche Namenszusätze für das "
    "linke und das rechte Bild angeben.";

constexpr std::size_t kCopyChunk = 32768;

// "Kann Bild nicht speichern", told after the writer's own reason.
Failure CannotSave(const std::string& path, const Failure& why = {}) {
    return Failure::Message(StringId::CannotSaveImage, StringId::ErrorCaption, path).After(why);
}

Failure CannotStoreJpeg(const std::string& path) {
    return Failure::Message(StringId::CannotStoreJpeg, StringId::ErrorCaption, path);
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// The warnings of the files written before a failure are told before it.
Result<Warnings> WithWarnings(Failure failure, Warnings warnings) {
    for (auto w = warnings.rbegin(); w != warnings.rend(); ++w)
        failure = std::move(failure).After(std::move(*w));
    return failure;
}

// The picture written by the format's writer (the Exif block only where the format takes
// one); every file is replaced atomically. The warnings are those of the Exif block.
Result<Warnings> WritePicture(OutputFormat format, const std::string& path,
                              const ImageBuffer& image, const SaveSettings& settings,
                              const Progress& progress, DisplayMode mode = DisplayMode::SideBySide,
                              std::span<const std::uint8_t> cameraExif = {}) {
    const OutputFormatRow& row = *FindOutputFormat(format);
    if (row.jpeg && (!image || image.BitCount() != 24)) return CannotStoreJpeg(path);
    PictureWriteOptions options;
    options.quality = settings.quality;
    options.exif = settings.exifThumbnail && row.exif;
    options.mode = mode;
    if (settings.keepExif && row.jpeg) options.cameraExif = cameraExif;
    Result<Warnings> written = row.write(path, image, options, progress);
    if (!written) return CannotSave(path, written.Error());
    return written;
}

}  // namespace

int StepSaveQuality(int quality, int delta) {
    return std::clamp(quality + delta, kMinSaveQuality, kMaxSaveQuality);
}

Result<ImageBuffer> ComposeSaveImage(const CompositionInput& input, bool single) {
    return ComposeForOutput(input, single ? DisplayMode::Single : input.mode, input.dx, input.dy);
}

Result<ImageBuffer> ComposeLeftRightImage(const CompositionInput& input) {
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

Result<Warnings> SaveStereoPicture(const std::string& path, const ImageBuffer& saveImage,
                                   const SaveSettings& settings, const Progress& progress,
                                   DisplayMode mode, std::span<const std::uint8_t> cameraExif) {
    return WritePicture(ResolveSaveType(path, settings.type), path, saveImage, settings, progress,
                        mode, cameraExif);
}

DisplayMode SaveCompositionMode(DisplayMode shown, const SaveSettings& settings, bool single) {
    if (single) return DisplayMode::Single;
    const OutputFormatRow* row = FindOutputFormat(settings.type);
    if (row && row->twoPictures) return DisplayMode::SideBySide;
    if (settings.halfSize && shown == DisplayMode::SideBySide) return DisplayMode::HalfSideBySide;
    if (settings.halfSize && shown == DisplayMode::OverUnder) return DisplayMode::HalfOverUnder;
    return shown;
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
    return !Exists(path) || overwrite.Confirms({LoadResString(StringId::FileExistsReplace), path,
                                                QuestionKind::OkCancel});
}

Status ConfirmLeftRightNames(const LeftRightNames& names, const OverwritePolicy& overwrite) {
    if (names.Same()) {
        Failure same = Failure::Literal(kSameNamesText, names.left);
        same.captionId = StringId::ErrorCaption;
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
    // The list offers JPEG and BMP.
    const OutputFormat format =
        settings.type == OutputFormat::Bmp ? OutputFormat::Bmp : OutputFormat::Jpeg;
    Warnings warnings;
    for (const auto& [path, view] :
         {std::pair{&names.left, &views.left}, std::pair{&names.right, &views.right}}) {
        Result<Warnings> written = WritePicture(format, *path, *view, settings, progress);
        if (!written) return WithWarnings(std::move(written).Error(), std::move(warnings));
        for (Failure& warning : written.Value()) warnings.push_back(std::move(warning));
    }
    return warnings;
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

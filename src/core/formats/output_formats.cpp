#include "core/formats/output_formats.h"

#include <algorithm>

#include "core/formats/bmp_codec.h"
#include "core/formats/exif.h"
#include "core/formats/exif_carry.h"
#include "core/formats/image_names.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/jps_descriptor.h"
#include "core/formats/mpo.h"
#include "core/formats/stereo_open.h"
#include "core/formats/stereo_save.h"
#include "core/formats/temp_file.h"

namespace duplora {

namespace {

// The source's Exif segment fitted to a picture, put in place of the file's own APP1.
void CarryCameraExif(const std::string& path, const ImageBuffer& picture,
                     const PictureWriteOptions& options, Warnings& warnings) {
    const std::vector<std::uint8_t> segment =
        AdaptExifSegment(options.cameraExif, picture.Width(), picture.Height());
    if (segment.empty()) return;
    if (const Status carried = InsertExifSegment(path, segment); !carried)
        warnings.push_back(carried.Error());
}

Result<Warnings> WriteJpegWith(const std::string& path, const ImageBuffer& picture,
                               const PictureWriteOptions& options, const Progress& progress) {
    const Status encoded =
        EncodeJpegImage(path, picture, true, std::clamp(options.quality, 1, 100), progress);
    if (!encoded) return encoded.Error();
    Warnings warnings;
    // The camera's block says more than our thumbnail block; one of them is written.
    if (!options.cameraExif.empty()) {
        CarryCameraExif(path, picture, options, warnings);
    } else if (options.exif) {
        if (const Status added = AddExifBlock(path); !added) warnings.push_back(added.Error());
    }
    return warnings;
}

Result<Warnings> WriteJpeg(const std::string& path, const ImageBuffer& picture,
                           const PictureWriteOptions& options, const Progress& progress) {
    return WriteJpegWith(path, picture, options, progress);
}

// A JPEG with the stereo descriptor of what it holds, so that other viewers show it with
// the right depth.
Result<Warnings> WriteJps(const std::string& path, const ImageBuffer& picture,
                          const PictureWriteOptions& options, const Progress& progress) {
    Result<Warnings> written = WriteJpegWith(path, picture, options, progress);
    if (!written) return written;
    Warnings warnings = std::move(written).Value();
    if (!InsertJpsDescriptor(path, JpsDescriptorForMode(options.mode)))
        warnings.push_back(Failure::Quiet(path));
    return warnings;
}

Result<Warnings> WriteBmp(const std::string& path, const ImageBuffer& picture,
                          const PictureWriteOptions&, const Progress& progress) {
    const Status written = WriteBmpFile(path, picture, progress);
    if (!written) return written.Error();
    return Warnings{};
}

// The JPEG encoded into a scratch file and wrapped with the STJ head.
Result<Warnings> WriteStj(const std::string& path, const ImageBuffer& picture,
                          const PictureWriteOptions& options, const Progress& progress) {
    const ScratchFile scratch("stj");
    if (!scratch.Valid()) return Failure::Quiet(path);
    const Status encoded = EncodeJpegImage(scratch.Path(), picture, true,
                                           std::clamp(options.quality, 1, 100), progress);
    if (!encoded) return encoded.Error();
    if (!WriteStjFile(path, scratch.Path())) return Failure::Quiet(path);
    return Warnings{};
}

// The halves of the side-by-side picture as the two pictures of a multi-picture file.
Result<Warnings> WriteMpo(const std::string& path, const ImageBuffer& picture,
                          const PictureWriteOptions& options, const Progress& progress) {
    const StereoViews views = SplitStereoPicture(picture, StereoLayout::SideBySide);
    if (!views) return Failure::Quiet(path);
    const std::vector<std::uint8_t> exif =
        AdaptExifSegment(options.cameraExif, views.left.Width(), views.left.Height());
    const Status written =
        WriteMpoFile(path, views.left, views.right, options.quality, exif, progress);
    if (!written) return written.Error();
    return Warnings{};
}

using F = OutputFormat;

// clang-format off
constexpr OutputFormatRow kFormats[] = {
    // format  key    ext     endings          type name           jpeg  exif   rewrite extra
    {F::Jpeg, "jpg", ".jpg", {"jpg", "jpeg"}, "JPEG File",         true, true,  false, 0,
     false, false, WriteJpeg},
    {F::Bmp,  "bmp", ".bmp", {"bmp"},         "BMP File",          false, false, false, 0,
     false, false, WriteBmp},
    {F::Jps,  "jps", ".jps", {"jps"},         "JPS Stereo File",   true, true,  false, 0,
     false, false, WriteJps},
    // STJ is the mobile-phone format; its names always get the ending written anew.
    {F::Stj,  "stj", ".stj", {"stj"},         "STJ Stereo File",   true, false, true,
     kStjExtraBytes, true, false, WriteStj},
    // A DAS container keeps the source files themselves.
    {F::Das,  "das", ".das", {"das"},         "",                  false, false, false, 0,
     false, false, nullptr},
    // The two views as the pictures of a multi-picture file; its thumbnails would be
    // the cameras' business.
    {F::Mpo,  "mpo", ".mpo", {"mpo"},         "MPO Stereo File",   true, false, false, 0,
     false, true, WriteMpo},
};
// clang-format on

const OutputFormatRow* Find(auto pred) {
    const auto it = std::ranges::find_if(kFormats, pred);
    return it == std::end(kFormats) ? nullptr : &*it;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperCase(std::string_view text) {
    std::string out(text);
    std::ranges::transform(out, out.begin(), Upper);
    return out;
}

}  // namespace

std::span<const OutputFormatRow> OutputFormatTable() {
    return kFormats;
}

const OutputFormatRow* FindOutputFormat(OutputFormat format) {
    return Find([format](const OutputFormatRow& r) { return r.format == format; });
}

const OutputFormatRow* OutputFormatByKey(std::string_view key) {
    return Find([key](const OutputFormatRow& r) { return r.key == key; });
}

std::optional<OutputFormat> OutputFormatByName(std::string_view name) {
    const OutputFormatRow* row = Find([name](const OutputFormatRow& r) {
        return std::ranges::any_of(
            r.endings, [name](std::string_view ending) { return EndsWithNoCase(name, ending); });
    });
    return row ? std::optional(row->format) : std::nullopt;
}

std::string OutputFormatLogName(const OutputFormatRow& row) {
    return UpperCase(row.key);
}

std::string OutputFormatFilter(const OutputFormatRow& row) {
    std::string filter(row.typeName);
    filter += " (";
    for (std::string_view ending : row.endings) {
        if (ending.empty()) continue;
        if (filter.back() != '(') filter += ' ';
        filter += "*.";
        filter += ending;
        filter += " *.";
        filter += UpperCase(ending);
    }
    filter += ')';
    return filter;
}

}  // namespace duplora

#include "core/formats/output_formats.h"

#include <algorithm>

#include "core/formats/bmp_codec.h"
#include "core/formats/exif.h"
#include "core/formats/image_names.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/stereo_save.h"
#include "core/formats/temp_file.h"

namespace duplora {

namespace {

Result<Warnings> WriteJpeg(const std::string& path, const ImageBuffer& picture, int quality,
                           bool exif, const Progress& progress) {
    const Status encoded =
        EncodeJpegImage(path, picture, true, std::clamp(quality, 1, 100), progress);
    if (!encoded) return encoded.Error();
    Warnings warnings;
    if (exif) {
        if (const Status added = AddExifBlock(path); !added) warnings.push_back(added.Error());
    }
    return warnings;
}

Result<Warnings> WriteBmp(const std::string& path, const ImageBuffer& picture, int, bool,
                          const Progress& progress) {
    const Status written = WriteBmpFile(path, picture, progress);
    if (!written) return written.Error();
    return Warnings{};
}

// The JPEG encoded into a scratch file and wrapped with the STJ head.
Result<Warnings> WriteStj(const std::string& path, const ImageBuffer& picture, int quality, bool,
                          const Progress& progress) {
    const ScratchFile scratch("stj");
    if (!scratch.Valid()) return Failure::Quiet(path);
    const Status encoded =
        EncodeJpegImage(scratch.Path(), picture, true, std::clamp(quality, 1, 100), progress);
    if (!encoded) return encoded.Error();
    if (!WriteStjFile(path, scratch.Path())) return Failure::Quiet(path);
    return Warnings{};
}

using F = OutputFormat;

// clang-format off
constexpr OutputFormatRow kFormats[] = {
    // format  key    ext     endings          type name           jpeg  exif   rewrite extra
    {F::Jpeg, "jpg", ".jpg", {"jpg", "jpeg"}, "JPEG File",         true, true,  false, 0,
     false, WriteJpeg},
    {F::Bmp,  "bmp", ".bmp", {"bmp"},         "BMP File",          false, false, false, 0,
     false, WriteBmp},
    {F::Jps,  "jps", ".jps", {"jps"},         "JPS Stereo File",   true, true,  false, 0,
     false, WriteJpeg},
    // STJ is the mobile-phone format; its names always get the ending written anew.
    {F::Stj,  "stj", ".stj", {"stj"},         "STJ Stereo File",   true, false, true,
     kStjExtraBytes, true, WriteStj},
    // A DAS container keeps the source files themselves.
    {F::Das,  "das", ".das", {"das"},         "",                  false, false, false, 0,
     false, nullptr},
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

#include "app/shell/open_failure.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/formats/plugins.h"
#include "core/image/image_buffer.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

constexpr std::array<int, 5> kReasonText{StringId::ReasonMissing, StringId::ReasonNoPermission,
                                         StringId::ReasonUnknownFormat, StringId::ReasonTooLarge,
                                         StringId::ReasonDamaged};

bool TooLarge(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && !ImageSizeAllowed(width, height);
}

std::uint32_t Le32(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// The frame size of a JPEG from its first start-of-frame segment; 0 × 0 when none is found in
// what was read.
std::pair<std::uint32_t, std::uint32_t> JpegSize(const std::vector<unsigned char>& b) {
    std::size_t at = 2;
    while (at + 9 < b.size()) {
        if (b[at] != 0xFF) return {0, 0};
        const unsigned char marker = b[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const std::size_t length = (b[at + 2] << 8) | b[at + 3];
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame)
            return {static_cast<std::uint32_t>((b[at + 7] << 8) | b[at + 8]),
                    static_cast<std::uint32_t>((b[at + 5] << 8) | b[at + 6])};
        if (length < 2) return {0, 0};
        at += 2 + length;
    }
    return {0, 0};
}

}  // namespace

UnreadableReason WhyUnreadable(const std::string& path, const CodecOptions& codec) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return UnreadableReason::Missing;
    std::ifstream file(path, std::ios::binary);
    if (!file) return UnreadableReason::NotPermitted;
    std::vector<unsigned char> head(65536);
    file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    if (head.size() >= 4 && head[0] == 0xFF && head[1] == 0xD8) {
        const auto [width, height] = JpegSize(head);
        return TooLarge(width, height) ? UnreadableReason::TooLarge : UnreadableReason::Damaged;
    }
    if (head.size() >= 26 && head[0] == 'B' && head[1] == 'M') {
        const std::int64_t width = static_cast<std::int32_t>(Le32(head, 18));
        const std::int64_t height = static_cast<std::int32_t>(Le32(head, 22));
        return TooLarge(width < 0 ? -width : width, height < 0 ? -height : height)
                   ? UnreadableReason::TooLarge
                   : UnreadableReason::Damaged;
    }
    const bool tiff = head.size() >= 4 && ((head[0] == 'I' && head[1] == 'I' && head[2] == 42) ||
                                           (head[0] == 'M' && head[1] == 'M' && head[3] == 42));
    const bool das = head.size() >= 2 &&
                     ((head[0] == 'D' && head[1] == 'A') || (head[0] == 'I' && head[1] == 'O'));
    if (tiff || das || (codec.plugins && PluginTakesName(*codec.plugins, path)))
        return UnreadableReason::Damaged;
    return UnreadableReason::UnknownFormat;
}

std::string UnreadableText(const std::string& path, UnreadableReason reason) {
    const std::string why = LoadResString(kReasonText[static_cast<std::size_t>(reason)]);
    return FormatResString(StringId::UnreadableFile, path.c_str(), why.c_str());
}

std::string UnreadableCaption() {
    return LoadResString(StringId::UnreadableCaption);
}

}  // namespace duplora

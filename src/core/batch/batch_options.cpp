#include "core/batch/batch_options.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

#include "core/align/gamma.h"
#include "core/image/image_buffer.h"

namespace duplora {

void ClampBatchOptions(BatchOptions& o) {
    o.quality = std::clamp(o.quality, 1, 99);
    o.leftAngle = std::clamp(o.leftAngle, -kMaxBatchAngle, kMaxBatchAngle);
    o.rightAngle = std::clamp(o.rightAngle, -kMaxBatchAngle, kMaxBatchAngle);
    o.leftSize = std::clamp(o.leftSize, 0, kMaxBatchSize);
    o.rightSize = std::clamp(o.rightSize, 0, kMaxBatchSize);
    o.leftGamma = std::clamp(o.leftGamma, kMinGamma, kMaxGamma);
    o.rightGamma = std::clamp(o.rightGamma, kMinGamma, kMaxGamma);
    o.anaglyphLeftGamma = std::clamp(o.anaglyphLeftGamma, kMinGamma, kMaxGamma);
    o.anaglyphRightGamma = std::clamp(o.anaglyphRightGamma, kMinGamma, kMaxGamma);
    o.width = std::clamp(o.width, 1, kMaxImageDimension);
    o.sharpness = std::clamp(o.sharpness, 1, kMaxBatchSharpness);
    // Offsets beyond any picture side mean the same as the side itself.
    o.positionH = std::clamp(o.positionH, -kMaxImageDimension, kMaxImageDimension);
    o.positionV = std::clamp(o.positionV, -kMaxImageDimension, kMaxImageDimension);
}

std::string NormaliseTargetFolder(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::string FileStem(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

std::string BatchOutputName(const std::string& targetFolder, std::string_view sourcePath,
                            OutputFormat format) {
    std::string name = targetFolder;
    if (name.empty() || name.back() != '/') name += '/';
    name += FileStem(sourcePath);
    if (const OutputFormatRow* row = FindOutputFormat(format)) name += row->extension;
    return name;
}

namespace {
std::string HeaderText(std::string_view input, const BatchOptions& options) {
    std::string text = "Input:";
    text += input;
    text += "-> Output:";
    text += options.targetFolder;
    text += " [";
    if (const OutputFormatRow* row = FindOutputFormat(options.outputType))
        text += OutputFormatLogName(*row);
    text += "]\r\n\r\n";
    return text;
}
}  // namespace

std::string BatchLogHeader(std::string_view sourceFolder, const BatchOptions& options) {
    return HeaderText(sourceFolder, options);
}

std::string BatchListLogHeader(const BatchOptions& options) {
    return HeaderText("Slide Show List ", options);
}

bool PrefillFromQuickAdjustment(std::string_view stored, BatchOptions& options) {
    std::vector<int> numbers;
    std::size_t at = 0;
    while (at < stored.size() && numbers.size() < 10) {
        const std::size_t comma = stored.find(',', at);
        if (comma == std::string_view::npos) break;
        const std::string_view field = stored.substr(at, comma - at);
        int value = 0;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (error != std::errc() || end != field.data() + field.size()) break;
        numbers.push_back(value);
        at = comma + 1;
    }
    if (numbers.size() < 6) return false;
    options.leftAngle = numbers[0];
    options.rightAngle = numbers[1];
    options.leftSize = 100 + numbers[2];
    options.rightSize = 100 + numbers[3];
    // The stored horizontal value is what the position field shows; the vertical one is
    // stored with the document's sign, which the field shows negated.
    options.positionH = numbers[4];
    options.positionV = -numbers[5];
    ClampBatchOptions(options);
    return true;
}

namespace {

std::string FormatFixed(int value, int scale, const char* positive, const char* negative) {
    char text[32];
    const int magnitude = value < 0 ? -value : value;
    std::snprintf(text, sizeof text, value < 0 ? negative : positive, magnitude / scale,
                  magnitude % scale);
    return text;
}

// A decimal number with at most `decimals` digits after the point, in units of
// 10^-decimals; none for anything else or a value beyond a million units.
std::optional<int> ParseFixed(std::string_view text, int decimals) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
    if (whole.empty() && fraction.empty()) return std::nullopt;
    if (dot != std::string_view::npos && fraction.empty()) return std::nullopt;
    if (fraction.size() > static_cast<std::size_t>(decimals) || whole.size() > 6)
        return std::nullopt;
    long value = 0;
    for (char c : whole) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    for (int i = 0; i < decimals; ++i) {
        const char c = static_cast<std::size_t>(i) < fraction.size() ? fraction[i] : '0';
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 1000000) return std::nullopt;
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::string FormatBatchAngle(int tenths) {
    return FormatFixed(tenths, 10, "%d.%d", "-%d.%d");
}

std::optional<int> ParseBatchAngle(std::string_view text) {
    return ParseFixed(text, 1);
}

std::string FormatBatchGamma(int hundredths) {
    return FormatFixed(hundredths, 100, "%d.%02d", "-%d.%02d");
}

std::optional<int> ParseBatchGamma(std::string_view text) {
    return ParseFixed(text, 2);
}

}  // namespace duplora

#include "app/output/html_page.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>

#include "app/shell/path_names.h"
#include "core/formats/atomic_file.h"
#include "core/image/filter.h"
#include "core/image/resample.h"
#include "core/stereo/combine.h"

namespace duplora {

namespace {

bool WriteText(const std::string& path, std::string_view text) {
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    return ReplaceFile(path, bytes, FileStamp{}) == ReplaceResult::Ok;
}

}  // namespace

std::string FillHtmlTemplate(std::string_view text, const HtmlPlaceholders& values) {
    std::string out;
    out.reserve(text.size() + 64);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] != '%' || next < '1' || next > '6') {
            out += text[i];
            continue;
        }
        switch (next) {
            case '1':
                out += std::to_string(values.viewerWidth + 5);
                break;
            case '2':
                out += std::to_string(values.viewerHeight + 45);
                break;
            case '3':
                out += values.jpegName;
                break;
            case '4':
                out += std::to_string(values.displayType);
                break;
            case '5':
                out += values.swap ? "1" : "0";
                break;
            default:
                out += "0";
                break;  // the zoom the viewer starts with: fitted
        }
        ++i;
    }
    return out;
}

std::string HtmlTemplate(const std::string& programFolder) {
    std::ifstream file(std::filesystem::path(programFolder) / std::string(kHtmlTemplateName),
                       std::ios::binary);
    if (file) {
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (!file.bad()) return text;
    }
    return std::string(BuiltInHtmlTemplate());
}

int ViewerHeight(int composedWidth, int composedHeight, int viewWidth) {
    if (composedWidth <= 0) return 0;
    return static_cast<int>(std::int64_t{composedHeight} * 2 * viewWidth / composedWidth);
}

ImageBuffer MakeHtmlPicture(const ImageBuffer& left, const ImageBuffer& right,
                            const HtmlOptions& options) {
    if (!left || !right || left.Width() <= 0) return {};
    const ImageBuffer* first = &left;
    const ImageBuffer* second = &right;
    ImageBuffer scaled[2];
    if (options.scaleToViewer && options.viewWidth > 0) {
        const int width = options.viewWidth;
        const int height = static_cast<int>(std::int64_t{left.Height()} * width / left.Width());
        if (height <= 0) return {};
        scaled[0] = ResizeImage(*first, width, height);
        scaled[1] = ResizeImage(*second, width, height);
        first = &scaled[0];
        second = &scaled[1];
    }
    ImageBuffer sharpened[2];
    if (options.sharpen && *first && *second) {
        // The strength counts from soft to hard; the filter's divisor the other way.
        const int divisor = 51 - std::clamp(options.sharpness, 1, 50);
        sharpened[0] = SharpenImage(*first, divisor);
        sharpened[1] = SharpenImage(*second, divisor);
        first = &sharpened[0];
        second = &sharpened[1];
    }
    if (!*first || !*second) return {};
    return ComposeSideBySide(*first, *second, CommonArea{}).ValueOr(ImageBuffer{});
}

std::string HtmlJpegPath(const std::string& pagePath) {
    const std::string_view extension = ExtensionOf(pagePath);
    std::string path = pagePath;
    if (!extension.empty()) path.resize(path.size() - extension.size() - 1);
    return path + ".jpg";
}

bool WriteHtmlAndViewer(const std::string& pagePath, const HtmlPlaceholders& values,
                        std::string_view templateText) {
    const std::filesystem::path folder = std::filesystem::path(pagePath).parent_path();
    if (!WriteText((folder / std::string(kViewerScriptName)).string(), PairViewerScript()))
        return false;
    return WriteText(pagePath, FillHtmlTemplate(templateText, values));
}

}  // namespace duplora

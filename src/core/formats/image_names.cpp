#include "core/formats/image_names.h"

#include <array>
#include <span>

namespace duplora {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithAny(std::string_view path, std::span<const std::string_view> extensions) {
    for (std::string_view e : extensions)
        if (EndsWithNoCase(path, e)) return true;
    return false;
}

}  // namespace

bool EndsWithNoCase(std::string_view name, std::string_view extension) {
    if (extension.empty() || name.size() < extension.size()) return false;
    const std::string_view tail = name.substr(name.size() - extension.size());
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (Lower(tail[i]) != Lower(extension[i])) return false;
    return true;
}

bool IsKnownImageName(std::string_view path, int extensionSet) {
    // Multi-picture files (mpo) are stereo pictures as much as JPS files.
    static constexpr std::array<std::string_view, 10> kSet0{
        "bmp", "jpg", "jpeg", "jps", "das", "bmi", "ios", "tif", "tiff", "mpo"};
    static constexpr std::array<std::string_view, 9> kSet1{"das", "jps", "jpg",  "jpeg", "bmp",
                                                           "bmi", "tif", "tiff", "mpo"};
    static constexpr std::array<std::string_view, 5> kSet2{"jpg", "jpeg", "bmp", "tif", "tiff"};
    switch (extensionSet) {
        case 0:
            return EndsWithAny(path, kSet0);
        case 1:
            return EndsWithAny(path, kSet1);
        case 2:
            return EndsWithAny(path, kSet2);
        default:
            return false;
    }
}

}  // namespace duplora

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

SaveType SaveTypeByExtension(std::string_view path) {
    // The first match in this order decides.
    struct Rule {
        std::string_view extension;
        SaveType type;
    };
    static constexpr std::array<Rule, 9> kRules{{{"bmp", SaveType::Bmp},
                                                 {"jpg", SaveType::Jpeg},
                                                 {"jpeg", SaveType::Jpeg},
                                                 {"jps", SaveType::Jps},
                                                 {"das", SaveType::Other},
                                                 {"bmi", SaveType::Other},
                                                 {"ios", SaveType::Other},
                                                 {"tif", SaveType::Other},
                                                 {"tiff", SaveType::Other}}};
    for (const Rule& rule : kRules)
        if (EndsWithNoCase(path, rule.extension)) return rule.type;
    return SaveType::Other;
}

bool IsKnownImageName(std::string_view path, int extensionSet) {
    static constexpr std::array<std::string_view, 9> kSet0{"bmp", "jpg", "jpeg", "jps", "das",
                                                           "bmi", "ios", "tif",  "tiff"};
    static constexpr std::array<std::string_view, 8> kSet1{"das", "jps", "jpg", "jpeg",
                                                           "bmp", "bmi", "tif", "tiff"};
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

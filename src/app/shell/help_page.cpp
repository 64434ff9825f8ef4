#include "app/shell/help_page.h"

#include <filesystem>
#include <system_error>

namespace duplora {

std::string HelpPageName(UiLanguage language) {
    return language == UiLanguage::English ? "duplora-en.html" : "duplora-de.html";
}

std::vector<std::string> HelpPageCandidates(const std::string& programFolder, UiLanguage language) {
    const std::string name = HelpPageName(language);
    return {programFolder + "/help/" + name, programFolder + "/../share/duplora/help/" + name};
}

std::string FindHelpPage(const std::string& programFolder, UiLanguage language) {
    std::vector<std::string> candidates = HelpPageCandidates(programFolder, language);
    if (language != UiLanguage::German)
        for (std::string& german : HelpPageCandidates(programFolder, UiLanguage::German))
            candidates.push_back(std::move(german));
    for (const std::string& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error))
            return std::filesystem::path(candidate).lexically_normal().string();
    }
    return {};
}

}  // namespace duplora

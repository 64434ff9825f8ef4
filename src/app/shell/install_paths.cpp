#include "app/shell/install_paths.h"

#include <filesystem>
#include <system_error>

namespace duplora {

std::string DefaultPluginFolder(const std::string& programFolder) {
    namespace fs = std::filesystem;
    const fs::path program(programFolder);
    for (const char* relative : {"../lib/duplora/plugins", "../plugins"}) {
        std::error_code error;
        const fs::path candidate = (program / relative).lexically_normal();
        if (fs::is_directory(candidate, error)) {
            std::string folder = candidate.string();
            if (folder.back() != '/') folder += '/';
            return folder;
        }
    }
    std::string folder = programFolder;
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace duplora

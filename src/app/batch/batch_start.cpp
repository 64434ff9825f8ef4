#include "app/batch/batch_start.h"

#include <filesystem>
#include <system_error>

#include "core/formats/output_formats.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

bool IsFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace

Status ConfirmBatchStart(BatchOptions& options, int count, const ConfirmPolicy& ask) {
    options.targetFolder = NormaliseTargetFolder(options.targetFolder);
    const std::string& folder = options.targetFolder;
    if (folder.empty()) return Failure::AboutFile(StringId::CannotCreateFolder, folder);
    if (!IsFolder(folder)) {
        const Question create{FormatResString(StringId::FolderMissingCreate, folder.c_str()),
                              folder};
        if (!ask.Confirms(create)) return Failure::Quiet();
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (!IsFolder(folder)) return Failure::AboutFile(StringId::CannotCreateFolder, folder);
    }
    const OutputFormatRow* type = FindOutputFormat(options.outputType);
    const std::string typeName = type ? OutputFormatLogName(*type) : std::string();
    const Question start{
        FormatResString(StringId::BatchConfirmStart, count, typeName.c_str(), folder.c_str()),
        LoadResString(StringId::ConfirmConversionCaption)};
    if (!ask.Confirms(start)) return Failure::Quiet();
    return {};
}

SettingWrites RememberBatchStart(Settings& settings, const BatchOptions& options) {
    settings.saveFolder = options.targetFolder;
    settings.jpegQuality = options.quality;
    return SettingWritesFor(settings, {setting::kNQuality});
}

}  // namespace duplora

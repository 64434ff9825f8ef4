#include "gui/shell/das_readers.h"

#include <QTemporaryDir>

#include "core/formats/das.h"
#include "core/formats/jpeg_load.h"

namespace duplora {

DasPreview ReadDasPreview(const std::string& path) {
    DasPreview preview;
    const QTemporaryDir folder;
    if (!folder.isValid()) return preview;
    DasHeader header;
    if (ExtractDasJpegs(path, folder.path().toStdString(), true, &header) != kDasExtracted)
        return preview;
    const std::string thumbnail = folder.filePath(QLatin1String(kDasLeftFileName)).toStdString();
    preview.thumbnail = std::move(LoadJpegImage(thumbnail, JpegLoadMode::Preview).image);
    preview.leftWidth = header.leftWidth;
    preview.leftHeight = header.leftHeight;
    preview.rightWidth = header.rightWidth;
    preview.rightHeight = header.rightHeight;
    return preview;
}

}  // namespace duplora

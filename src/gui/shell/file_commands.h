// The save commands and the partner question of the left/right opening, run for the main
// window: everything between its command and the core's savers, so the window only hands
// over the document's composition input and its settings.
#pragma once

#include <string>

#include "core/formats/output_formats.h"
#include "core/stereo/compose.h"
#include "core/util/progress.h"

class QWidget;

namespace duplora {

class DialogHost;
class SettingsStore;
struct Settings;

// What the save dialogs start on next time, for this run of the program: the file type of
// the type list and the Exif and mirror switches.
struct SaveMemory {
    OutputFormat type = OutputFormat::Jpeg;
    bool exifThumbnail = false;
    bool mirrorLeft = false;
    bool halfSize = false;
    bool keepExif = false;  // off until chosen: the program's own Exif block as always
};

// Where a save starts and what it may change: the settings get the quality, the name
// suffixes (both written to the store when the dialog closes) and the save folder.
struct SaveContext {
    QWidget* parent = nullptr;
    DialogHost* host = nullptr;
    Settings* settings = nullptr;
    SettingsStore* store = nullptr;
    SaveMemory* memory = nullptr;
    std::string leftPath;                // its file-name part is the name offered
    const Progress* progress = nullptr;  // the writing's; none when null
};

// "Stereobild Speichern" (or "Bild speichern" for a single picture): the composition of
// `input` offered to the dialog, then written as the chosen type. True when it was written;
// failures are told in boxes and leave an existing file as it was.
bool SaveStereoWithDialog(const SaveContext& context, const CompositionInput& input, bool single);

// "Linkes/Rechtes Bild Speichern": the side-by-side composition cut into the two files.
// True when both were written.
bool SaveLeftRightWithDialog(const SaveContext& context, const CompositionInput& input);

// The right view proposed for a lone left file (its L/R partner, or the file of the same name
// in the folder the last right view came from) when the user agrees to "Öffne '%s' als
// Stereopaar?"; empty when there is none or the user declines.
std::string AskForPartner(QWidget* parent, DialogHost& host, const std::string& left,
                          const std::string& lastRightFolder);

}  // namespace duplora

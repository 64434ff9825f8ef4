// Starting a batch run from the window: the target folder made ready (created after asking),
// the run confirmed with its file count, type and folder, and the values a started run leaves
// in the settings.
#pragma once

#include "app/shell/settings.h"
#include "core/batch/batch_options.h"
#include "core/util/question.h"
#include "core/util/result.h"

namespace duplora {

// The target folder loses a trailing separator; a missing one is created, every level, when
// the user agrees to "Angegebener Verzeichnis [%s] existiert nicht…" (its folder as caption).
// Then "DPL wird [%d] von [%s] Dateien umwandeln…" under "Konvertierung bestätigen" with the
// count, the output type's name and the folder. A quiet failure when a question is declined;
// "Erstellen eines neuen Verzeichnisses fehlgeschlagen." with the folder as caption when it
// could not be made, and also for an empty target.
Status ConfirmBatchStart(BatchOptions& options, int count, const ConfirmPolicy& ask);

// A started run remembers its target as the save folder and its quality as the stored JPEG
// quality; the writes for the quality (the save folder is written when the window closes).
SettingWrites RememberBatchStart(Settings& settings, const BatchOptions& options);

}  // namespace duplora

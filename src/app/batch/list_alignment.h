// Writing what the window shows back into the slide-show list it came from: the alignment
// and the order of the views of the shown entry.
#pragma once

#include "app/batch/slide_list.h"
#include "core/util/result.h"

namespace duplora {

class StereoDocument;

// Replaces the line of the entry `player` shows with the document's alignment and view
// order (the file is rewritten beside itself and renamed over the old one, so a failure
// leaves it as it was) and reads the list again; the index stays. Fails with "Kann keine
// Slide Show Liste erstellen !" under "FEHLER" (the list path as detail) when no entry is
// shown, the entry changed in the file meanwhile, or the list cannot be rewritten.
Status WriteShownEntryAlignment(SlideListPlayer& player, const StereoDocument& document);

// Whether the document shows an entry of the player's list (the window has no other way
// of knowing; another opening closes the list).
bool ShowsListEntry(const SlideListPlayer& player, const StereoDocument& document);

}  // namespace duplora

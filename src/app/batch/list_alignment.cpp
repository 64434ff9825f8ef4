#include "app/batch/list_alignment.h"

#include "app/shell/stereo_document.h"
#include "res/core/string_ids.h"

namespace duplora {

bool ShowsListEntry(const SlideListPlayer& player, const StereoDocument& document) {
    return player.IsOpen() && player.CurrentEntry() != nullptr && document.ListPlaying() &&
           document.BothLoaded() && !document.SingleImageMode();
}

Status WriteShownEntryAlignment(SlideListPlayer& player, const StereoDocument& document) {
    if (!ShowsListEntry(player, document))
        return Failure::Message(StringId::ListCannotCreate, StringId::ErrorCaption,
                                player.ListPath());
    // The right file is shown on the left when the slots are exchanged.
    const bool displaySwapped = document.LeftIndex() == 1;
    const ListResult result = player.WriteAlignment(displaySwapped, document.Dx(), document.Dy());
    if (result != ListResult::Ok)
        return Failure::Message(StringId::ListCannotCreate, StringId::ErrorCaption,
                                player.ListPath());
    return {};
}

}  // namespace duplora

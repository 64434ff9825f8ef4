#include "gui/edit/picture_edit_commands.h"

#include <memory>
#include <optional>

#include "app/edit/pair_filter.h"
#include "app/edit/pair_overlay.h"
#include "app/edit/text_overlay.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "core/edit/logo.h"
#include "gui/edit/filter_dialogs.h"
#include "gui/edit/overlay_dialogs.h"
#include "gui/shell/command_registry.h"
#include "gui/shell/dialog_host.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

class PictureEditCommands {
  public:
    explicit PictureEditCommands(const PictureEditContext& context) : c_(context) {}

    void Filter(FilterKind kind) {
        Settings& settings = *c_.settings;
        int& stored =
            kind == FilterKind::Sharpen ? settings.sharpenStrength : settings.edgeThreshold;
        const std::optional<int> value = AskFilterValue(c_.parent, *c_.host, kind, stored);
        if (!value) return;
        stored = *value;
        if (c_.store)
            c_.store->WriteSettings(SettingWritesFor(
                settings, {kind == FilterKind::Sharpen ? setting::kNSharpen : setting::kNEdgedtc}));

        const ViewFilter filter =
            kind == FilterKind::Sharpen ? SharpenFilter(*value) : EdgeFilter(*value);
        const Progress& progress = c_.progress ? c_.progress() : NoProgress();
        bool failed = false;
        c_.document->ApplyEdit([&](const ImageBuffer& left, const ImageBuffer& right) {
            EditedPair pair = FilterPair(left, right, filter, progress);
            failed = !pair.left && !progress.Cancelled();
            return pair;
        });
        // A stopped filter leaves the pair as it was without a word; one that could not make
        // its picture says so.
        if (failed)
            c_.host->Tell(c_.parent,
                          Failure::Message(StringId::CannotCreateBitmap, StringId::ErrorCaption));
    }

    void Text() {
        OverlayDialogSetup setup = Setup();
        const std::optional<TextChoice> choice = AskTextOverlay(setup);
        if (!choice) return;
        Stamp([&](const PairOverlayInput& input) { return AddTextToPair(input, *c_.settings); });
    }

    void Logo() {
        OverlayDialogSetup setup = Setup();
        const std::optional<LogoSet> set = AskLogoOverlay(setup);
        if (!set) return;
        const CodecOptions codec = setup.codec;
        Stamp([&](const PairOverlayInput& input) {
            return AddLogoToPair(input, *c_.settings, codec);
        });
    }

  private:
    OverlayDialogSetup Setup() const {
        OverlayDialogSetup setup;
        setup.parent = c_.parent;
        setup.host = c_.host;
        setup.settings = c_.settings;
        setup.store = c_.store;
        setup.first = &c_.document->Left().image;
        if (c_.codec) setup.codec = c_.codec();
        return setup;
    }

    // The overlay on both views as one edit. The views come back cut to their common area,
    // so the offset that cut them is used up: it becomes 0 (undo brings it back).
    template <typename Overlay>
    void Stamp(const Overlay& overlay) {
        StereoDocument& doc = *c_.document;
        ViewState view = doc.CurrentViewState();
        view.dx = view.dy = 0;
        std::optional<Failure> failure;
        const bool done = doc.ApplyEdit([&](const ImageBuffer& left, const ImageBuffer& right) {
            PairOverlayInput input;
            input.first = &left;
            input.second = &right;
            input.dx = doc.Dx();
            input.dy = doc.Dy();
            input.panorama = doc.Panorama();
            input.swapped = doc.Swapped() != doc.ListSwap();
            Result<PairViews> views = overlay(input);
            if (!views) {
                failure = std::move(views).Error();
                return EditedPair{};
            }
            return EditedPair{std::move(views.Value().first), std::move(views.Value().second),
                              view};
        });
        if (failure) c_.host->Tell(c_.parent, *failure);
        if (done && c_.resized) c_.resized();
    }

    PictureEditContext c_;
};

}  // namespace

void RegisterPictureEditCommands(CommandRegistry& registry, const PictureEditContext& context) {
    auto commands = std::make_shared<PictureEditCommands>(context);
    using G = CommandGuard;
    registry.Add(CmdSharpen, G::Loaded,
                 [commands](CommandId) { commands->Filter(FilterKind::Sharpen); });
    registry.Add(CmdEdgeDetect, G::Loaded,
                 [commands](CommandId) { commands->Filter(FilterKind::Edges); });
    registry.Add(CmdAddText, G::Loaded, [commands](CommandId) { commands->Text(); });
    registry.Add(CmdAddLogo, G::Loaded, [commands](CommandId) { commands->Logo(); });
}

}  // namespace duplora

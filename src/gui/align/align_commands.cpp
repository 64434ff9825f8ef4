#include "gui/align/align_commands.h"

#include <memory>

#include "app/align/adjustment.h"
#include "app/align/gamma_choices.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "core/align/gamma.h"
#include "gui/align/adjust_dialog.h"
#include "gui/align/auto_align_command.h"
#include "gui/align/correction_progress.h"
#include "gui/align/gamma_dialogs.h"
#include "gui/shell/command_registry.h"

namespace duplora {

namespace {

class AlignCommands {
  public:
    explicit AlignCommands(const AlignCommandContext& context) : c_(context) {}

    void Adjust(bool extended) {
        StereoDocument& doc = *c_.document;
        AdjustDialogSetup setup;
        setup.parent = c_.parent;
        setup.host = c_.host;
        setup.settings = c_.settings;
        setup.store = c_.store;
        setup.left = &doc.Left().image;
        setup.right = &doc.Right().image;
        setup.dx = doc.Dx();
        setup.dy = doc.Dy();
        setup.extended = extended;
        setup.memory = &memory_;
        const std::optional<AdjustmentResult> result = RunAdjustDialog(setup);
        if (!result) return;
        if (result->left.IsZero() && result->right.IsZero()) {
            // Nothing to correct: only the offset moves, without an undo step.
            if (result->offset.dx != doc.Dx() || result->offset.dy != doc.Dy()) {
                doc.SetOffset(result->offset.dx, result->offset.dy);
                if (c_.offsetChanged) c_.offsetChanged();
            }
            return;
        }
        ViewState view = doc.CurrentViewState();
        view.dx = result->offset.dx;
        view.dy = result->offset.dy;
        CorrectionProgressBar progress(c_.statusBar);
        doc.ApplyEdit([&](const ImageBuffer& left, const ImageBuffer& right) {
            CorrectedPair pair = CorrectPair(left, right, *result, progress.Reporter());
            return EditedPair{std::move(pair.left), std::move(pair.right), view};
        });
    }

    void Gamma() {
        StereoDocument& doc = *c_.document;
        const std::optional<GammaChoice> choice =
            RunGammaDialog(c_.parent, *c_.host, doc.Left().image, doc.Right().image);
        if (!choice || (choice->left == 100 && choice->right == 100)) return;
        doc.ApplyEdit([&](const ImageBuffer& left, const ImageBuffer& right) {
            EditedPair pair;
            pair.left = ApplyGamma(left, choice->left, false).image;
            if (right) pair.right = ApplyGamma(right, choice->right, false).image;
            return pair;
        });
    }

    void AnaglyphSettings(bool fromColourMenu) {
        StereoDocument& doc = *c_.document;
        AnaglyphSettingsSetup setup;
        setup.parent = c_.parent;
        setup.host = c_.host;
        setup.left = &doc.Left().image;
        setup.right = &doc.Right().image;
        setup.greyPair = doc.GreyPair();
        setup.colourKind = doc.ColourKind();
        setup.fromColourMenu = fromColourMenu;
        setup.leftGamma = c_.settings->leftGamma;
        setup.rightGamma = c_.settings->rightGamma;
        setup.shownViews = &anaglyphShown_;
        const std::optional<AnaglyphSettingsChoice> choice = RunAnaglyphSettingsDialog(setup);
        if (!choice) return;
        const SettingWrites writes = ApplyAnaglyphSettings(*c_.settings, choice->choice,
                                                           choice->leftGamma, choice->rightGamma);
        if (c_.store) c_.store->WriteSettings(writes);
        const bool colour = IsColourAnaglyphChoice(choice->choice);
        if (colour)
            doc.SetColourKind(c_.settings->colourAnaglyphKind);
        else
            doc.SetGreyPair(c_.settings->greyAnaglyphPair);
        // The display mode command composes again with the new tables.
        if (c_.execute) c_.execute(colour ? CmdColourAnaglyph : CmdGreyAnaglyph);
    }

  private:
    AlignCommandContext c_;
    AdjustDialogMemory memory_;
    int anaglyphShown_ = 0;
};

}  // namespace

void RegisterAlignCommands(CommandRegistry& registry, const AlignCommandContext& context) {
    auto commands = std::make_shared<AlignCommands>(context);
    using G = CommandGuard;
    registry.Add({CmdAdjust, CmdExtendedAdjust}, G::Stereo,
                 [commands](CommandId command) { commands->Adjust(command == CmdExtendedAdjust); });
    registry.Add(CmdGamma, G::Stereo, [commands](CommandId) { commands->Gamma(); });
    registry.Add({CmdGreyAnaglyphSettings, CmdColourAnaglyphSettings}, G::Stereo,
                 [commands](CommandId command) {
                     commands->AnaglyphSettings(command == CmdColourAnaglyphSettings);
                 });
    RegisterAutoAlignCommand(registry, context);
}

}  // namespace duplora

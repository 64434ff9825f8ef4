#include "gui/align/auto_align_command.h"

#include <cmath>
#include <optional>

#include "core/align/feature_align.h"
#include "core/strings.h"
#include "gui/align/align_commands.h"
#include "gui/align/correction_progress.h"
#include "gui/shell/command_registry.h"
#include "gui/shell/dialog_host.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

// Fits and resamples under a progress bar; the outcome for the user to be told, none when
// there is nothing to say (cancelled, or the edit could not be made).
std::optional<Result<FeatureAlignment>> AlignPair(const AlignCommandContext& c) {
    StereoDocument& doc = *c.document;
    CorrectionProgressBar bar(c.statusBar);
    const Progress& whole = bar.Reporter();
    // Finding the fit is most of the work, resampling the rest.
    const Progress measuring =
        whole.Relayed([&whole](ProgressDirection d, int percent) { whole(d, percent * 7 / 10); });
    const Progress resampling = whole.Relayed(
        [&whole](ProgressDirection d, int percent) { whole(d, 70 + percent * 3 / 10); });

    Result<FeatureAlignment> found =
        FindFeatureAlignment(doc.Left().image, doc.Right().image, {}, measuring);
    if (!found) return found;
    const FeatureAlignment& alignment = found.Value();
    // The whole pixels of the height move the pair instead, so no rows turn black for them.
    const int kept = static_cast<int>(std::lround(alignment.verticalShift));
    ViewState view = doc.CurrentViewState();
    view.dy = kept;
    const bool done = doc.ApplyEdit([&](const ImageBuffer& left, const ImageBuffer& right) {
        EditedPair pair;
        pair.right = ApplyFeatureAlignment(right, alignment, kept, resampling);
        if (pair.right) pair.left = DuplicateImage(left);
        pair.view = view;
        return pair;
    });
    if (!done) return std::nullopt;
    return found;
}

void AutoAlign(const AlignCommandContext& c) {
    // Told once the progress bar is gone.
    const std::optional<Result<FeatureAlignment>> outcome = AlignPair(c);
    if (!outcome) return;
    if (!*outcome) {
        c.host->Tell(c.parent, outcome->Error());
        return;
    }
    c.host->Tell(c.parent, QString::fromStdString(FeatureAlignmentSummary(outcome->Value())),
                 QString::fromStdString(LoadResString(StringId::ProgramTitle)),
                 QMessageBox::Information);
}

}  // namespace

void RegisterAutoAlignCommand(CommandRegistry& registry, const AlignCommandContext& context) {
    registry.Add(CmdAutoAlign, CommandGuard::Stereo, [context](CommandId) { AutoAlign(context); });
}

}  // namespace duplora

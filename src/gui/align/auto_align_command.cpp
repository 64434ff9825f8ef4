#include "gui/align/auto_align_command.h"

#include <cmath>

#include "core/align/feature_align.h"
#include "core/strings.h"
#include "gui/align/align_commands.h"
#include "gui/align/correction_progress.h"
#include "gui/shell/command_registry.h"
#include "gui/shell/dialog_host.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

void AutoAlign(const AlignCommandContext& c) {
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
    if (!found) {
        if (found.Error().HasMessage()) c.host->Tell(c.parent, found.Error());
        return;
    }
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
    if (done)
        c.host->Tell(c.parent, QString::fromStdString(FeatureAlignmentSummary(alignment)),
                     QString::fromStdString(LoadResString(StringId::ProgramTitle)),
                     QMessageBox::Information);
}

}  // namespace

void RegisterAutoAlignCommand(CommandRegistry& registry, const AlignCommandContext& context) {
    registry.Add(CmdAutoAlign, CommandGuard::Stereo, [context](CommandId) { AutoAlign(context); });
}

}  // namespace duplora

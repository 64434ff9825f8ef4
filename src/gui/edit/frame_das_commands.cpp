#include "gui/edit/frame_das_commands.h"

#include <memory>

#include "app/shell/path_names.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "app/shell/stereo_document.h"
#include "core/formats/das.h"
#include "core/strings.h"
#include "gui/edit/border_dialog.h"
#include "gui/edit/das_dialog.h"
#include "gui/shell/command_registry.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

class FrameDasCommands {
  public:
    explicit FrameDasCommands(const FrameDasCommandContext& context) : c_(context) {}

    void BorderSettings() {
        const StereoDocument& doc = *c_.document;
        BorderDialogSetup setup;
        setup.parent = c_.parent;
        setup.host = c_.host;
        setup.border = c_.settings->border;
        if (doc.BothLoaded()) {
            setup.left = &doc.Left().image;
            if (!doc.SingleImageMode()) setup.right = &doc.Right().image;
        }
        const std::optional<BorderSet> chosen = RunBorderDialog(setup);
        if (!chosen) return;
        c_.settings->border = *chosen;
        if (c_.store) c_.store->WriteSettings(SettingWritesFor(*c_.settings, {setting::kBorder}));
        if (c_.borderChanged) c_.borderChanged();
    }

    void MakeDas() {
        const StereoDocument& doc = *c_.document;
        DasDialogSetup setup;
        setup.parent = c_.parent;
        setup.host = c_.host;
        setup.folder = Q(c_.settings->openFolder);
        if (c_.progress) setup.progress = &c_.progress();
        // The open pair's two files, or the open container, fill the fields.
        if (doc.BothLoaded() && !doc.SingleImageMode()) {
            const std::string& left = doc.Left().path;
            const std::string& right = doc.Right().path;
            if (IsDasName(left)) {
                setup.left = setup.right = Q(left);
            } else if (!left.empty() && !right.empty() && left != right) {
                // A swapped pair is shown crossed; its files keep their own sides.
                setup.left = Q(doc.Swapped() ? right : left);
                setup.right = Q(doc.Swapped() ? left : right);
            }
        }
        RunDasDialog(setup);
        if (c_.workDone) c_.workDone();
    }

    void WriteAlignment() {
        const StereoDocument& doc = *c_.document;
        if (doc.SingleImageMode()) return;
        // While a slide-show list plays, the alignment belongs to the list's shown entry
        // rather than to the file.
        if (c_.writeListAlignment && c_.writeListAlignment()) return;
        const std::string& path = doc.Left().path;
        const DasAlignment stored = DasAlignmentFromOffset({doc.Dx(), doc.Dy()}, doc.Swapped());
        if (!WriteDasAlignment(path, stored.x, stored.y)) {
            c_.host->Tell(c_.parent, Res(StringId::CannotWriteAlignmentNotDas),
                          Res(StringId::ErrorCaption));
            return;
        }
        c_.host->Tell(
            c_.parent,
            Q(FormatResString(StringId::ListAlignmentWritten, path.c_str(), -doc.Dx(), -doc.Dy())),
            Res(StringId::WriteAlignmentCaption), QMessageBox::Information);
    }

  private:
    FrameDasCommandContext c_;
};

}  // namespace

void RegisterFrameDasCommands(CommandRegistry& registry, const FrameDasCommandContext& context) {
    auto commands = std::make_shared<FrameDasCommands>(context);
    using G = CommandGuard;
    registry.Add(CmdBorderSettings, G::Always,
                 [commands](CommandId) { commands->BorderSettings(); });
    registry.Add(CmdMakeDas, G::Always, [commands](CommandId) { commands->MakeDas(); });
    registry.Add(CmdWriteAlignment, G::Stereo,
                 [commands](CommandId) { commands->WriteAlignment(); });
}

}  // namespace duplora

#include "gui/lists/folder_tools.h"

#include <QApplication>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "app/shell/settings.h"
#include "core/batch/mosaic.h"
#include "core/batch/rename.h"
#include "gui/lists/rename_dialogs.h"
#include "gui/shell/command_registry.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

struct FolderTools {
    FolderToolContext c;
    RenameOptions rename;
    QString folder;

    QString StartFolder() const { return folder.isEmpty() ? Q(c.settings->openFolder) : folder; }

    static std::vector<std::string> Paths(const QStringList& files) {
        std::vector<std::string> paths;
        for (const QString& file : files) paths.push_back(file.toStdString());
        return paths;
    }

    void Rename() {
        RenameDialog dialog(rename, StartFolder(), c.parent);
        const bool accepted = dialog.Run(*c.host);
        rename = dialog.Options();
        folder = dialog.Folder();
        if (!accepted) return;
        const ConfirmPolicy ask = c.host->Asking(c.parent);
        const RenameResult result = dialog.Action() == FolderToolAction::WholeFolder
                                        ? RenameFolder(dialog.Folder().toStdString(), rename, ask)
                                        : RenameFiles(Paths(dialog.Chosen()), rename, ask);
        for (const Failure& told : result.told) c.host->Tell(c.parent, told);
    }

    void Mosaic() {
        MosaicDialog dialog(StartFolder(), *c.host, c.parent);
        const bool accepted = dialog.Run(*c.host);
        folder = dialog.Folder();
        if (!accepted) return;
        const std::string target = dialog.Target().toStdString();
        if (target.empty()) return;
        // The window's title tells how far the work has come.
        const MosaicSteps steps = [this](const MosaicStep& step) {
            const QString title = step.joining
                                      ? QStringLiteral("Image Size(x=%1  Y=%2)  %3/%4")
                                            .arg(step.width)
                                            .arg(step.height)
                                            .arg(step.index)
                                            .arg(step.count)
                                      : QStringLiteral("%1/%2").arg(step.index).arg(step.count);
            c.parent->setWindowTitle(title);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
        const ConfirmPolicy ask = c.host->Asking(c.parent);
        const MosaicResult result =
            dialog.Action() == FolderToolAction::WholeFolder
                ? MakeFolderMosaic(dialog.Folder().toStdString(), target, ask, steps, c.codec())
                : MakeMosaic(Paths(dialog.Chosen()), target, ask, steps, c.codec());
        c.restoreTitle();
        if (result.failure) {
            c.host->Tell(c.parent, *result.failure);
            return;
        }
        if (result.status != MosaicStatus::Written) return;
        c.host->Tell(c.parent,
                     QStringLiteral("%1\nImage Size(x=%2  Y=%3)")
                         .arg(Q(target))
                         .arg(result.width)
                         .arg(result.height),
                     Res(StringId::MosaicCaption), QMessageBox::Information);
    }
};

}  // namespace

void RegisterFolderTools(CommandRegistry& registry, const FolderToolContext& context) {
    auto tools = std::make_shared<FolderTools>();
    tools->c = context;
    registry.Add(CmdMultiRename, CommandGuard::Always, [tools](CommandId) { tools->Rename(); });
    registry.Add(CmdMosaic, CommandGuard::Always, [tools](CommandId) { tools->Mosaic(); });
}

}  // namespace duplora

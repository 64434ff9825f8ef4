#include "gui/lists/list_commands.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

#include "app/batch/list_alignment.h"
#include "app/shell/path_names.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "app/shell/stereo_document.h"
#include "core/strings.h"
#include "gui/shell/command_registry.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

constexpr int kPageFlippingShowType = 5;

std::vector<std::string> Paths(const QStringList& files) {
    std::vector<std::string> paths;
    for (const QString& file : files) paths.push_back(file.toStdString());
    return paths;
}

}  // namespace

ListCommands::ListCommands(ListCommandContext context)
    : c_(std::move(context)),
      sounds_(ListSoundStarter::AskWith(c_.host->Asking(c_.parent)),
              [host = c_.host](const SoundStart& start) {
                  // A program and its argument, never a command line for a shell.
                  return host->StartProgram(start.program, start.arguments);
              }) {
    options_.showType = c_.settings->listDisplayMode;
    options_.interval = ListInterval(c_.settings->slideTime);
    maker_.sourceLayout = c_.settings->listMakerSource;
    maker_.showPreview = c_.settings->openPreview != 0;
}

void ListCommands::Register(CommandRegistry& registry) {
    using G = CommandGuard;
    registry.Add(CmdOpenList, G::Always, [this](CommandId) { OpenListDialogCommand(); });
    registry.Add(CmdOpenPendingList, G::Internal, [this](CommandId) { OpenPendingList(); });
    registry.Add(CmdMakeList, G::Always, [this](CommandId) { MakeList(); });
    registry.Add(CmdChooseList, G::Always, [this](CommandId) { ChooseList(); });
    registry.Add(CmdAddToList, G::Loaded, [this](CommandId) { AddToList(); });
    registry.Add(CmdDeleteFromList, G::Loaded, [this](CommandId) { DeleteFromList(); });
}

void ListCommands::Tell(const QString& text, const QString& caption) {
    c_.host->Tell(c_.parent, text, caption);
}

void ListCommands::TellListFailure(bool writing, const std::string& path) {
    Q_UNUSED(path);
    Tell(Res(writing ? StringId::ListCannotCreate : StringId::ListCannotOpen),
         Res(StringId::ErrorCaption));
}

// ---- opening and showing -----------------------------------------------------------------

void ListCommands::OpenListDialogCommand() {
    if (!c_.mayReplacePair()) return;
    const QString folder = selectedList_.empty() ? Q(c_.settings->openFolder)
                                                 : Q(std::string(FolderPart(selectedList_)));
    OpenListDialog dialog(
        options_, folder,
        [this](int showType) {
            c_.settings->listDisplayMode = showType;
            c_.store->WriteSettings(SettingWritesFor(*c_.settings, {setting::kNSSType}));
        },
        c_.parent);
    const bool accepted = dialog.Run(*c_.host);
    options_ = dialog.Options();
    c_.settings->slideTime = options_.interval;
    c_.store->WriteSettings(SettingWritesFor(*c_.settings, {setting::kSlideTime}));
    if (!accepted) return;
    OpenListFile(dialog.Chosen().front().toStdString());
}

void ListCommands::OpenPendingList() {
    if (!c_.mayReplacePair()) return;
    OpenListFile(c_.pendingPath());
}

bool ListCommands::OpenListFile(const std::string& path) {
    const ListResult opened = player_.Open(path, options_);
    if (opened != ListResult::Ok) {
        TellListFailure(false, path);
        return false;
    }
    // Whatever list was shown before is left now.
    shownIndex_ = -1;
    // Additions and written alignments go to the list shown.
    selectedList_ = path;
    sounds_.Start(path, player_.List().sounds);
    // The first entry that can be shown; a missing file is told when nothing can.
    int first = -1;
    for (int i = 0; i < player_.Count() && first < 0; ++i)
        if (PlanSlide(player_.List(), path, i, options_).Showable()) first = i;
    if (player_.Count() == 0) {
        Closed();
        c_.redisplay();
        Tell(Res(StringId::ListInvalid), Q(path));
        return false;
    }
    if (!Show(player_.Select(std::max(first, 0)))) {
        Closed();
        c_.redisplay();
        return false;
    }
    if (options_.showType == kPageFlippingShowType) {
        c_.execute(CmdPageFlipping);
    } else if (const auto mode = ShowTypeDisplayMode(options_.showType);
               mode && !c_.document->SingleImageMode()) {
        c_.document->SetMode(*mode);
        c_.redisplay();
    }
    if (options_.autostart) c_.execute(CmdSlideShow);
    return true;
}

bool ListCommands::Show(const SlidePlan& plan) {
    if (plan.problem == SlideProblem::UnknownType || plan.problem == SlideProblem::NoFileName) {
        Tell(Res(StringId::ListInvalid), Q(player_.ListPath()));
        return false;
    }
    // A missing file is told by the opening itself.
    const bool opened =
        plan.pair ? c_.openPair(plan.left, plan.right) : c_.openStereo(plan.left, plan.layout);
    // What is shown stays when the files could not be read; the index moved on all the same,
    // so that the next step passes the entry.
    if (!opened) return false;
    shownIndex_ = plan.index;
    comment_ = plan.comment;
    StereoDocument& document = *c_.document;
    if (!document.SingleImageMode()) {
        document.SetListSwap(true, plan.swapViews);
        document.SetOffset(plan.dx, plan.dy);
    }
    c_.redisplay();
    return true;
}

bool ListCommands::Playing() const {
    return shownIndex_ >= 0 && ShowsListEntry(player_, *c_.document);
}

bool ListCommands::BackToShownEntry() {
    if (!Playing() || shownIndex_ >= player_.Count()) return false;
    player_.Select(shownIndex_);
    return player_.Index() == shownIndex_;
}

bool ListCommands::Step(CommandId command, bool fromTimer) {
    if (!player_.IsOpen() || player_.Count() == 0) return false;
    if (!c_.mayReplacePair()) return false;
    const bool back = command == CmdPreviousImage;
    for (int tried = 0; tried < player_.Count(); ++tried) {
        const SlidePlan plan = back ? player_.Previous() : player_.Next();
        if (fromTimer && !plan.Showable()) continue;
        return Show(plan);
    }
    return false;
}

int ListCommands::DisplayTime() const {
    return player_.TimerMs() / 100;
}

int ListCommands::TimerMs() const {
    return player_.TimerMs();
}

void ListCommands::Closed() {
    shownIndex_ = -1;
    if (player_.IsOpen()) player_.Close();
    c_.document->SetListSwap(false, false);
}

void ListCommands::ReloadIfShown(const std::string& path) {
    if (!player_.IsOpen() || player_.ListPath() != path) return;
    const int index = player_.Index();
    if (player_.Open(path, options_) == ListResult::Ok) player_.Select(index);
}

// ---- writing -------------------------------------------------------------------------------

Status ListCommands::WriteAlignment() {
    const std::string path = player_.ListPath();
    const int dx = c_.document->Dx();
    const int dy = c_.document->Dy();
    Status written =
        BackToShownEntry()
            ? WriteShownEntryAlignment(player_, *c_.document)
            : Status(Failure::Message(StringId::ListCannotCreate, StringId::ErrorCaption, path));
    if (!written) {
        c_.host->Tell(c_.parent, written.Error());
        return written;
    }
    c_.host->Tell(c_.parent, AlignmentWrittenText(path, dx, dy),
                  Res(StringId::WriteAlignmentCaption), QMessageBox::Information);
    c_.execute(CmdNextImage);
    return written;
}

void ListCommands::AddToList() {
    StereoDocument& document = *c_.document;
    if (!document.BothLoaded()) return;
    if (selectedList_.empty() || !QFileInfo::exists(Q(selectedList_)))
        if (!ChooseList()) return;
    const ListEntry entry =
        EntryForDocument(document.Slot(0).path, document.Slot(1).path, c_.layout(), addTime_,
                         document.LeftIndex() == 1, document.Dx(), document.Dy());
    const bool files = QFileInfo(Q(entry.left)).isFile() &&
                       (entry.right.empty() || QFileInfo(Q(entry.right)).isFile());
    if (!files || !ListEntryStorable(entry) ||
        AppendListEntry(selectedList_, entry) != ListResult::Ok) {
        TellListFailure(true, selectedList_);
        return;
    }
    ReloadIfShown(selectedList_);
    c_.setTitle(EntryAppendedTitle(selectedList_));
    c_.execute(CmdNextImage);
}

void ListCommands::DeleteFromList() {
    if (!BackToShownEntry()) return;
    if (!c_.mayReplacePair()) return;
    std::optional<SlidePlan> next;
    const ListResult removed = player_.DeleteCurrent(next);
    if (removed != ListResult::Ok) {
        TellListFailure(true, player_.ListPath());
        return;
    }
    // The entry shown is gone from the list.
    shownIndex_ = -1;
    if (next) {
        Show(*next);
    } else {
        // Nothing left to show: what is shown stays, as a pair of its own.
        Closed();
        c_.redisplay();
    }
}

bool ListCommands::ChooseList() {
    ChooseListDialog dialog(Q(selectedList_), addTime_, c_.parent);
    if (!dialog.Run(*c_.host)) return false;
    const QString path = dialog.Chosen().front();
    addTime_ = dialog.Time();
    if (!QFileInfo::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            TellListFailure(true, path.toStdString());
            return false;
        }
    }
    selectedList_ = path.toStdString();
    return true;
}

// ---- making a list -------------------------------------------------------------------------

void ListCommands::MakeList() {
    if (maker_.listPath.isEmpty() && !selectedList_.empty()) maker_.listPath = Q(selectedList_);
    ListMakerDialog dialog(maker_, Q(c_.settings->openFolder), *c_.host, c_.preview(), c_.parent);
    const bool accepted = dialog.Run(*c_.host);
    maker_ = dialog.Choices();
    c_.settings->openPreview = maker_.showPreview ? 1 : 0;
    c_.settings->listMakerSource = maker_.sourceLayout;
    c_.store->WriteSettings(
        SettingWritesFor(*c_.settings, {setting::kNOpenPreview, setting::kNSSin}));
    if (!accepted) return;
    const std::string list = maker_.listPath.toStdString();
    if (list.empty()) {
        Tell(Res(StringId::ListInvalid), Res(StringId::ErrorCaption));
        return;
    }
    const ListMakerResult made =
        MakeListEntries(Paths(dialog.Pictures()), maker_.sourceLayout,
                        maker_.rightFolder.toStdString(), maker_.interval, maker_.swap);
    if (made.errorText != 0) {
        Tell(Res(made.errorText), Res(StringId::ErrorCaption));
        return;
    }
    for (const std::string& missing : made.missingPairs)
        Tell(QStringLiteral("Not find pair image file!"), Q(missing));
    const std::string comment = maker_.comment.trimmed().toStdString();
    if (AppendListEntries(list, made.entries, comment) != ListResult::Ok) {
        TellListFailure(true, list);
        return;
    }
    selectedList_ = list;
    ReloadIfShown(list);
    c_.host->Tell(
        c_.parent,
        Q(FormatResString(StringId::ListFilesAdded, static_cast<int>(made.entries.size()))),
        Res(StringId::FilesAddedCaption), QMessageBox::Information);
}

}  // namespace duplora

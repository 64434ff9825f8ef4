#include "app/shell/open_rules.h"

#include <QFile>

#include "app/shell/path_names.h"
#include "core/stereo/display_modes.h"

namespace duplora {

namespace {

// A path whose first character is a control character (or the blank) names nothing.
bool NamesSomething(const std::string& path) {
    return !path.empty() && static_cast<unsigned char>(path[0]) > 30;
}

int Digit(int value, int position) {
    if (value < 0) value = -value;
    for (int i = 0; i < position; ++i) value /= 10;
    return value % 10;
}

}  // namespace

CommandLinePaths CommandLineFromArguments(std::span<const std::string> arguments) {
    CommandLinePaths paths;
    if (!arguments.empty()) paths.first = arguments.front();
    if (arguments.size() > 1) paths.second = arguments.back();
    return paths;
}

CommandLinePaths CommandLineFromArgv(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i] ? argv[i] : "");
    return CommandLineFromArguments(arguments);
}

bool FileReadable(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly);
}

std::optional<OpenRequest> CommandLineOpening(
    const CommandLinePaths& paths, const std::string& programFolder, int commandLineOpening,
    const std::function<bool(const std::string&)>& readable) {
    if (!NamesSomething(paths.first)) return std::nullopt;
    OpenRequest request;
    request.path = paths.first;
    const bool list = HasListExtension(request.path);
    if (list && request.path.find('/') == std::string::npos)
        request.path = programFolder + "/" + request.path;
    if (!readable(request.path)) return std::nullopt;
    if (list) {
        request.command = CmdOpenPendingList;
        return request;
    }
    request.commandLineStart = true;
    request.layout =
        StereoLayoutFromNumber(Digit(commandLineOpening, 1)).value_or(StereoLayout::SideBySide);
    if (NamesSomething(paths.second)) {
        request.command = CmdOpenPendingPair;
        request.leftPath = paths.second;
    } else {
        request.command = CmdOpenPending;
    }
    request.sendAtOnce = Digit(commandLineOpening, 0) == 6;
    return request;
}

std::optional<OpenRequest> DropOpening(std::span<const std::string> files) {
    if (files.empty() || !NamesSomething(files[0])) return std::nullopt;
    OpenRequest request;
    request.path = files[0];
    if (HasListExtension(request.path)) {
        request.command = CmdOpenPendingList;
    } else if (files.size() > 1) {
        request.command = CmdOpenPendingPair;
        request.leftPath = files[1];
    } else {
        request.command = CmdOpenPending;
    }
    return request;
}

std::vector<std::string> LocalFilesFromUrls(const QList<QUrl>& urls) {
    std::vector<std::string> files;
    for (const QUrl& url : urls)
        if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
    return files;
}

std::vector<QueuedCommand> StartDisplayCommands(int commandLineOpening) {
    const int display = Digit(commandLineOpening, 0);
    // After the modes: page flipping, then page flipping that ends the program with it.
    if (display == 5) return {{CmdPageFlipping, true}};
    if (display == 6) return {{CmdPageFlipping, false}};
    // An opening shows side by side; another mode is chosen before the fit.
    const std::optional<DisplayMode> mode = DisplayModeAtListIndex(display);
    if (!mode || *mode == DisplayMode::SideBySide) return {{CmdFitWindow, false}};
    return {{FindDisplayMode(*mode)->command, true}, {CmdFitWindow, false}};
}

AfterOpening PlanAfterOpening(const AfterOpeningInput& input) {
    AfterOpening plan;
    const bool mono = input.kind == OpenedKind::Mono;
    const MainMenu wanted = mono ? MainMenu::DuploraSgl : MainMenu::Duplora;
    if (input.loadedMenu != wanted) plan.loadMenu = wanted;
    // The toolbar set goes with the menu; it is applied on every opening, so the undo and
    // redo buttons of the previous document never stay enabled.
    plan.toolbar = mono ? ToolbarSet::Single : ToolbarSet::Stereo;
    plan.singleImageMode = mono;

    if (input.kind == OpenedKind::Paste) {
        plan.modified = true;
        plan.displayMode = DisplayMode::SideBySide;
        return plan;
    }

    plan.equalizeSizes = !mono;
    plan.rebuildFolderList = true;
    plan.openFolder = std::string(FolderPart(input.openedPath));
    plan.updateHistory = !input.fromHistory;
    if (mono) {
        plan.displayMode = DisplayMode::Single;
        plan.commands.push_back({input.openAtFullSize == 1 ? CmdZoom100 : CmdFitWindow, false});
        return plan;
    }
    // A newly loaded stereo menu starts side by side (this also leaves the single mode).
    if (plan.loadMenu) plan.displayMode = DisplayMode::SideBySide;
    if (input.commandLineStart) {
        plan.commands = StartDisplayCommands(input.commandLineOpening);
        plan.closeWhenPageFlippingEnds = Digit(input.commandLineOpening, 0) == 6;
    } else if (input.openAtFullSize == 1) {
        plan.commands.push_back({CmdZoom100, false});
    } else {
        plan.commands.push_back({FitCommand(input.fitMode).value_or(CmdFitWindow), false});
    }
    return plan;
}

std::optional<CommandId> FitCommand(int fitMode) {
    switch (fitMode) {
        case 1:
            return CmdFitWindow;
        case 2:
            return CmdFitHeight;
        case 3:
            return CmdFitWidth;
        default:
            return std::nullopt;
    }
}

std::optional<CommandId> WheelCommand(int angleDelta) {
    if (angleDelta > 0) return CmdZoomIn;
    if (angleDelta < 0) return CmdZoomOut;
    return std::nullopt;
}

}  // namespace duplora

// duplora-convert: the batch conversion from the command line. Each option is a control
// of the batch dialog with the dialog's default; the user's settings are read (quality,
// anaglyph choices, overlays, last save folder) and never written. Needs no display.
#include <QCoreApplication>
#include <QGuiApplication>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "app/batch/batch_settings.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "core/align/gamma.h"
#include "core/batch/batch_run.h"
#include "core/batch/list_file.h"
#include "core/formats/plugins.h"
#include "core/hooks.h"
#include "core/strings.h"

namespace {

using namespace duplora;

constexpr int kExitUsage = 2;
constexpr int kFolderFailedText = 2615;  // "Erstellen eines neuen Verzeichnisses fehlgeschlagen."

const char kHelp[] =
    "Usage: duplora-convert [OPTIONS] FILE...        convert stereo files\n"
    "       duplora-convert [OPTIONS] --list LIST    convert the pairs of a slide-show list\n"
    "\n"
    "  -o, --output DIR       target folder, created when missing (default: the last\n"
    "                         save folder, else the current folder)\n"
    "      --from LAYOUT      sbs, ou, interlace, anaglyph or lr (separate left and right\n"
    "                         files; the right one is the next FILE) (default sbs)\n"
    "      --right-folder DIR with --from lr: take the right files from DIR\n"
    "      --to LAYOUT        sbs, ou, interlace, grey-anaglyph, colour-anaglyph or lr\n"
    "                         (two files, _l and _r) (default sbs)\n"
    "      --type TYPE        bmp, jpg, jps or das (default jpg)\n"
    "      --quality N        JPEG quality 1-99 (default: the stored quality)\n"
    "      --exif-thumbnail   give JPG and JPS files an Exif block with a thumbnail\n"
    "      --angle L,R        rotate the views by L and R degrees (one decimal)\n"
    "      --size L,R         scale the views to L and R percent (0-200), same pixel size\n"
    "      --position H,V     align the views by H and V pixels\n"
    "      --gamma L,R        gamma of the views, 0.01-5.00 (as 1.00,1.50)\n"
    "      --width W          resize the result to W pixels wide\n"
    "      --sharpen N        sharpen the views, 1 (soft) - 50 (hard)\n"
    "      --swap             exchange the left and right views\n"
    "      --text, --logo, --border\n"
    "                         burn in the stored text, logo and frame settings\n"
    "      --grey-pair PAIR   red-cyan, red-green, red-blue or yellow-blue\n"
    "      --colour-kind KIND colour-red-cyan, halftone-red-cyan, colour-yellow-blue or\n"
    "                         halftone-yellow-blue (default: the stored anaglyph choices)\n"
    "      --yes              replace existing outputs (without it they are skipped)\n"
    "  -q, --quiet            print no log\n"
    "  -h, --help             show this help\n"
    "\n"
    "Exit status: 0 every file converted, 1 a file failed or was skipped, 2 usage error.\n";

struct CommandLine {
    BatchOptions options;
    bool outputGiven = false;
    std::vector<std::string> files;
    std::string list;
    bool listGiven = false;
    bool yes = false;
    bool quiet = false;
    bool help = false;
    std::optional<GreyAnaglyphPair> greyPair;
    std::optional<ColourAnaglyphKind> colourKind;
};

struct UsageError {
    std::string reason;
};

template <typename T>
std::optional<T> Choose(std::string_view value,
                        std::initializer_list<std::pair<std::string_view, T>> choices) {
    for (const auto& [name, result] : choices)
        if (value == name) return result;
    return std::nullopt;
}

std::optional<int> WholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
        if (text.empty()) return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

// "A,B" read by `read`; none unless both parts read.
template <typename Read>
std::optional<std::pair<int, int>> TwoValues(std::string_view text, Read read) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const std::optional<int> a = read(text.substr(0, comma));
    const std::optional<int> b = read(text.substr(comma + 1));
    if (!a || !b) return std::nullopt;
    return std::pair{*a, *b};
}

bool InRange(const std::pair<int, int>& v, int low, int high) {
    return v.first >= low && v.first <= high && v.second >= low && v.second <= high;
}

CommandLine Parse(int argc, char** argv, BatchOptions defaults) {
    CommandLine cl;
    cl.options = std::move(defaults);
    BatchOptions& o = cl.options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (optionsEnded || arg.empty() || arg.front() != '-' || arg == "-") {
            cl.files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view name = arg;
        std::optional<std::string_view> inlineValue;
        if (arg.starts_with("--")) {
            if (const std::size_t eq = arg.find('='); eq != std::string_view::npos) {
                name = arg.substr(0, eq);
                inlineValue = arg.substr(eq + 1);
            }
        }
        const auto flag = [&](std::string_view shortName, std::string_view longName) {
            return name == longName || (!shortName.empty() && name == shortName);
        };
        const auto value = [&]() -> std::string_view {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= argc) throw UsageError{std::string(name) + " needs a value"};
            return argv[++i];
        };
        const auto bad = [&](std::string_view v) {
            return UsageError{"bad value for " + std::string(name) + ": '" + std::string(v) + "'"};
        };
        const auto noValue = [&] {
            if (inlineValue) throw UsageError{std::string(name) + " takes no value"};
        };

        if (flag("-h", "--help")) {
            noValue();
            cl.help = true;
        } else if (flag("-q", "--quiet")) {
            noValue();
            cl.quiet = true;
        } else if (flag("", "--yes")) {
            noValue();
            cl.yes = true;
        } else if (flag("", "--exif-thumbnail")) {
            noValue();
            o.exifThumbnail = true;
        } else if (flag("", "--swap")) {
            noValue();
            o.swap = true;
        } else if (flag("", "--text")) {
            noValue();
            o.text = true;
        } else if (flag("", "--logo")) {
            noValue();
            o.logo = true;
        } else if (flag("", "--border")) {
            noValue();
            o.border = true;
        } else if (flag("-o", "--output")) {
            const std::string_view v = value();
            if (v.empty()) throw bad(v);
            o.targetFolder = NormaliseTargetFolder(std::string(v));
            cl.outputGiven = true;
        } else if (flag("", "--list")) {
            if (cl.listGiven) throw UsageError{"only one --list can be converted"};
            cl.list = std::string(value());
            cl.listGiven = true;
        } else if (flag("", "--from")) {
            const std::string_view v = value();
            const auto layout =
                Choose<BatchSourceLayout>(v, {{"sbs", BatchSourceLayout::SideBySide},
                                              {"ou", BatchSourceLayout::OverUnder},
                                              {"interlace", BatchSourceLayout::Interlace},
                                              {"anaglyph", BatchSourceLayout::Anaglyph},
                                              {"lr", BatchSourceLayout::LeftRight}});
            if (!layout) throw bad(v);
            o.sourceLayout = *layout;
        } else if (flag("", "--right-folder")) {
            const std::string_view v = value();
            if (v.empty()) throw bad(v);
            o.useRightFolder = true;
            o.rightFolder = std::string(v);
        } else if (flag("", "--to")) {
            const std::string_view v = value();
            const auto layout = Choose<BatchOutputLayout>(
                v, {{"sbs", BatchOutputLayout::SideBySide},
                    {"ou", BatchOutputLayout::OverUnder},
                    {"interlace", BatchOutputLayout::Interlace},
                    {"grey-anaglyph", BatchOutputLayout::GreyAnaglyph},
                    {"colour-anaglyph", BatchOutputLayout::ColourAnaglyph},
                    {"lr", BatchOutputLayout::LeftRight}});
            if (!layout) throw bad(v);
            o.outputLayout = *layout;
        } else if (flag("", "--type")) {
            const std::string_view v = value();
            const auto type = Choose<BatchOutputType>(v, {{"bmp", BatchOutputType::Bmp},
                                                          {"jpg", BatchOutputType::Jpg},
                                                          {"jps", BatchOutputType::Jps},
                                                          {"das", BatchOutputType::Das}});
            if (!type) throw bad(v);
            o.outputType = *type;
        } else if (flag("", "--quality")) {
            const std::string_view v = value();
            const std::optional<int> q = WholeNumber(v);
            if (!q || *q < 1 || *q > 99) throw bad(v);
            o.quality = *q;
        } else if (flag("", "--angle")) {
            const std::string_view v = value();
            const auto a = TwoValues(v, ParseBatchAngle);
            if (!a || !InRange(*a, -kMaxBatchAngle, kMaxBatchAngle)) throw bad(v);
            o.angle = true;
            o.leftAngle = a->first;
            o.rightAngle = a->second;
        } else if (flag("", "--size")) {
            const std::string_view v = value();
            const auto s = TwoValues(v, WholeNumber);
            if (!s || !InRange(*s, 0, kMaxBatchSize)) throw bad(v);
            o.size = true;
            o.leftSize = s->first;
            o.rightSize = s->second;
        } else if (flag("", "--position")) {
            const std::string_view v = value();
            const auto p = TwoValues(v, WholeNumber);
            if (!p || !InRange(*p, -kMaxImageDimension, kMaxImageDimension)) throw bad(v);
            o.position = true;
            o.positionH = p->first;
            o.positionV = p->second;
        } else if (flag("", "--gamma")) {
            const std::string_view v = value();
            const auto g = TwoValues(v, ParseBatchGamma);
            if (!g || !InRange(*g, kMinGamma, kMaxGamma)) throw bad(v);
            o.gamma = true;
            o.leftGamma = g->first;
            o.rightGamma = g->second;
        } else if (flag("", "--width")) {
            const std::string_view v = value();
            const std::optional<int> w = WholeNumber(v);
            if (!w || *w < 1 || *w > kMaxImageDimension) throw bad(v);
            o.resizeWidth = true;
            o.width = *w;
        } else if (flag("", "--sharpen")) {
            const std::string_view v = value();
            const std::optional<int> s = WholeNumber(v);
            if (!s || *s < 1 || *s > kMaxBatchSharpness) throw bad(v);
            o.sharpen = true;
            o.sharpness = *s;
        } else if (flag("", "--grey-pair")) {
            const std::string_view v = value();
            cl.greyPair =
                Choose<GreyAnaglyphPair>(v, {{"red-cyan", GreyAnaglyphPair::RedCyan},
                                             {"red-green", GreyAnaglyphPair::RedGreen},
                                             {"red-blue", GreyAnaglyphPair::RedBlue},
                                             {"yellow-blue", GreyAnaglyphPair::YellowBlue}});
            if (!cl.greyPair) throw bad(v);
        } else if (flag("", "--colour-kind")) {
            const std::string_view v = value();
            cl.colourKind = Choose<ColourAnaglyphKind>(
                v, {{"colour-red-cyan", ColourAnaglyphKind::ColourRedCyan},
                    {"halftone-red-cyan", ColourAnaglyphKind::HalfToneRedCyan},
                    {"colour-yellow-blue", ColourAnaglyphKind::ColourYellowBlue},
                    {"halftone-yellow-blue", ColourAnaglyphKind::HalfToneYellowBlue}});
            if (!cl.colourKind) throw bad(v);
        } else {
            throw UsageError{"unknown option " + std::string(name)};
        }
    }
    if (cl.help) return cl;
    if (cl.greyPair) o.greyPair = *cl.greyPair;
    if (cl.colourKind) o.colourKind = *cl.colourKind;
    if (cl.listGiven && !cl.files.empty())
        throw UsageError{"give either files or --list, not both"};
    if (!cl.listGiven && cl.files.empty()) throw UsageError{"no files to convert"};
    if (cl.files.size() > static_cast<std::size_t>(kMaxBatchFiles))
        throw UsageError{"more than " + std::to_string(kMaxBatchFiles) + " files"};
    if (o.useRightFolder && o.sourceLayout != BatchSourceLayout::LeftRight)
        throw UsageError{"--right-folder needs --from lr"};
    return cl;
}

// The log as a terminal shows it: line ends as this system writes them.
void PrintLog(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

std::atomic<BatchControl*> gControl{nullptr};

void OnInterrupt(int) {
    if (BatchControl* control = gControl.load()) {
        control->stop.store(true);
        control->abort.store(true);
    }
}

std::string CurrentFolder() {
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return error ? std::string(".") : here.string();
}

}  // namespace

int main(int argc, char** argv) {
    // Read the settings before anything else: they give the defaults.
    std::unique_ptr<QCoreApplication> app;
    bool wantsText = false;
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i)
        if (std::string_view(argv[i]) == "--text") wantsText = true;
    if (wantsText) {
        // Text needs fonts, which need the GUI side of Qt; nothing is ever shown. The
        // offscreen platform serves unless the user chose one and a display is there for it
        // (a platform that needs a display would end the program without one).
        const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") ||
                             !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !display)
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setOrganizationName("Ferrowyn");
    QCoreApplication::setApplicationName("duplmaker");

    const SettingsStore store;
    const Settings settings =
        ReadAllSettings(store, QCoreApplication::applicationDirPath().toStdString() + "/");
    BatchOptions defaults = BatchOptionsFromSettings(settings);

    CommandLine cl;
    try {
        cl = Parse(argc, argv, std::move(defaults));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "duplora-convert: %s (try --help)\n", error.reason.c_str());
        return kExitUsage;
    }
    if (cl.help) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    BatchOptions& options = cl.options;
    if (!cl.outputGiven && options.targetFolder.empty()) options.targetFolder = CurrentFolder();

    SetMessageSink([](std::string_view text, std::string_view caption, MessageIcon) {
        const std::string line = std::string(caption) + ": " + std::string(text) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
    });

    std::error_code error;
    if (!std::filesystem::is_directory(options.targetFolder, error)) {
        std::filesystem::create_directories(options.targetFolder, error);
        if (!std::filesystem::is_directory(options.targetFolder, error)) {
            std::fprintf(stderr, "%s: %s\n", options.targetFolder.c_str(),
                         LoadResString(kFolderFailedText).c_str());
            return 1;
        }
    }

    BatchJob job;
    if (cl.listGiven) {
        ListFile list;
        if (OpenList(cl.list, list) != ListResult::Ok) {
            std::fprintf(stderr, "%s: %s\n", cl.list.c_str(),
                         LoadResString(kListOpenFailedText).c_str());
            return 1;
        }
        job = MakeListJob(cl.list, list, options);
    } else {
        job = MakeFileJob(cl.files, options);
    }

    const PluginTable plugins = LoadPlugins(settings.susie32Plugin);
    const BatchEnvironment environment = BatchEnvironmentFromSettings(settings, &plugins);

    BatchLogSink log;
    if (!cl.quiet) log.append = PrintLog;
    BatchThreads threads;
    threads.count = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    const Answer answer = cl.yes ? Answer::Yes : Answer::No;
    threads.question = [answer](std::string_view, std::string_view, QuestionKind) {
        return answer;
    };
    // The codecs' progress has no place on a terminal.
    threads.progress = [](ProgressDirection, int) {};

    BatchControl control;
    gControl = &control;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;  // a second interrupt ends the program at once
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    const BatchSummary summary = RunBatch(job, options, environment, log, control, threads);
    gControl = nullptr;
    return summary.AllConverted() ? 0 : 1;
}

// duplora-convert: the batch conversion from the command line. Each option is a control
// of the batch dialog with the dialog's default; the user's settings are read (quality,
// anaglyph choices, overlays, last save folder) and never written. Needs no display.
#include <QCommandLineOption>
#include <QCommandLineParser>
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
#include "app/shell/install_paths.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "core/align/gamma.h"
#include "core/batch/batch_run.h"
#include "core/batch/list_file.h"
#include "core/formats/plugins.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/display_modes.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace {

using namespace duplora;

constexpr int kExitUsage = 2;

// --from's and --to's name for two separate files.
constexpr std::string_view kSeparateFilesKey = "lr";

// The help text's right margin; longer lists of names go on in the description column.
constexpr std::size_t kHelpMargin = 82;
constexpr std::size_t kHelpColumn = 25;

// "a, b, c or d" for an option whose line has reached the description column.
std::string Choices(const std::vector<std::string_view>& keys) {
    std::string text;
    std::size_t column = kHelpColumn;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        std::string word(keys[i]);
        // "or" stays with the name before it.
        if (i + 2 < keys.size()) word += ',';
        if (i + 2 == keys.size()) word += " or";
        if (i > 0) {
            if (column + 1 + word.size() > kHelpMargin) {
                text += '\n' + std::string(kHelpColumn, ' ');
                column = kHelpColumn;
            } else {
                text += ' ';
                ++column;
            }
        }
        text += word;
        column += word.size();
    }
    return text;
}

std::vector<std::string_view> OutputLayoutKeys() {
    std::vector<std::string_view> keys;
    for (const DisplayModeRow* row : ListedDisplayModes()) keys.push_back(row->key);
    keys.push_back(kSeparateFilesKey);
    return keys;
}

// The batch dialog's formats in its order, then every other format of the table that has a
// writer of its own (STJ): the converter offers all the engine can write.
std::vector<const OutputFormatRow*> ConverterOutputFormats() {
    std::vector<const OutputFormatRow*> rows;
    for (OutputFormat format : kBatchOutputFormats) rows.push_back(FindOutputFormat(format));
    for (const OutputFormatRow& row : OutputFormatTable())
        if (row.write && std::ranges::find(rows, &row) == rows.end()) rows.push_back(&row);
    return rows;
}

std::vector<std::string_view> OutputTypeKeys() {
    std::vector<std::string_view> keys;
    for (const OutputFormatRow* row : ConverterOutputFormats()) keys.push_back(row->key);
    return keys;
}

std::vector<std::string_view> MethodKeys(DisplayMode mode) {
    std::vector<std::string_view> keys;
    for (const AnaglyphMethodRow& row : AnaglyphMethodsOf(mode)) keys.push_back(row.key);
    return keys;
}

std::string HelpText() {
    const BatchOptions defaults;
    std::string help =
        "Usage: duplora-convert [OPTIONS] FILE...        convert stereo files\n"
        "       duplora-convert [OPTIONS] --list LIST    convert the pairs of a slide-show list\n"
        "\n"
        "  -o, --output DIR       target folder, created when missing (default: the last\n"
        "                         save folder, else the current folder)\n"
        "      --from LAYOUT      sbs, ou, interlace, anaglyph or lr (separate left and right\n"
        "                         files: each FILE with its _l/_r partner, else with the\n"
        "                         next FILE) (default sbs)\n"
        "      --right-folder DIR with --from lr: take the right files from DIR\n";
    help += "      --to LAYOUT        " + Choices(OutputLayoutKeys()) + "\n" +
            "                         (two files, _l and _r) (default " +
            std::string(FindDisplayMode(defaults.outputMode)->key) + ")\n";
    help += "      --type TYPE        " + Choices(OutputTypeKeys()) + " (default " +
            std::string(FindOutputFormat(defaults.outputType)->key) + ")\n";
    help +=
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
        "                         burn in the stored text, logo and frame settings\n";
    help += "      --grey-pair PAIR   " + Choices(MethodKeys(DisplayMode::GreyAnaglyph)) + "\n";
    help += "      --colour-kind KIND " + Choices(MethodKeys(DisplayMode::ColourAnaglyph)) +
            " (default: the stored anaglyph choices)\n";
    help +=
        "      --yes              replace existing outputs, but never a source file (without\n"
        "                         it they are skipped)\n"
        "  -q, --quiet            print no log\n"
        "  -h, --help             show this help\n"
        "\n"
        "Exit status: 0 every file converted, 1 a file failed, was skipped or was read only\n"
        "in part, 2 usage error.\n";
    return help;
}

struct CommandLine {
    BatchOptions options;
    bool outputGiven = false;
    std::vector<std::string> files;
    std::string list;
    bool listGiven = false;
    bool yes = false;
    bool quiet = false;
};

struct UsageError {
    std::string reason;
};

// The options, named as the help text names them; the help text itself is HelpText().
struct Options {
    QCommandLineOption output{{"o", "output"}, {}, "DIR"};
    QCommandLineOption list{"list", {}, "LIST"};
    QCommandLineOption from{"from", {}, "LAYOUT"};
    QCommandLineOption rightFolder{"right-folder", {}, "DIR"};
    QCommandLineOption to{"to", {}, "LAYOUT"};
    QCommandLineOption type{"type", {}, "TYPE"};
    QCommandLineOption quality{"quality", {}, "N"};
    QCommandLineOption exifThumbnail{"exif-thumbnail"};
    QCommandLineOption angle{"angle", {}, "L,R"};
    QCommandLineOption size{"size", {}, "L,R"};
    QCommandLineOption position{"position", {}, "H,V"};
    QCommandLineOption gamma{"gamma", {}, "L,R"};
    QCommandLineOption width{"width", {}, "W"};
    QCommandLineOption sharpen{"sharpen", {}, "N"};
    QCommandLineOption swap{"swap"};
    QCommandLineOption text{"text"};
    QCommandLineOption logo{"logo"};
    QCommandLineOption border{"border"};
    QCommandLineOption greyPair{"grey-pair", {}, "PAIR"};
    QCommandLineOption colourKind{"colour-kind", {}, "KIND"};
    QCommandLineOption yes{"yes"};
    QCommandLineOption quiet{{"q", "quiet"}};
    QCommandLineOption help{{"h", "help"}};

    void AddTo(QCommandLineParser& parser) const {
        parser.addOptions({output,   list,          from,  rightFolder, to,       type,
                           quality,  exifThumbnail, angle, size,        position, gamma,
                           width,    sharpen,       swap,  text,        logo,     border,
                           greyPair, colourKind,    yes,   quiet,       help});
    }
};

// The arguments as bytes: Latin-1 maps each byte to one character and back, so a file name
// that is not valid UTF-8 comes through unchanged.
QStringList ByteArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLatin1(argv[i]);
    return arguments;
}

std::string Bytes(const QString& argument) {
    return argument.toLatin1().toStdString();
}

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

// The parsed options laid over the stored defaults; a value out of range or options that
// do not go together are usage errors.
CommandLine Apply(const QCommandLineParser& parser, const Options& opt, BatchOptions defaults) {
    CommandLine cl;
    cl.options = std::move(defaults);
    BatchOptions& o = cl.options;
    // The value of a given option (the last one when it is given more than once).
    const auto valueOf = [&parser](const QCommandLineOption& option) -> std::optional<std::string> {
        if (!parser.isSet(option)) return std::nullopt;
        return Bytes(parser.value(option));
    };
    const auto bad = [](const QCommandLineOption& option, std::string_view v) {
        return UsageError{"bad value for --" + Bytes(option.names().back()) + ": '" +
                          std::string(v) + "'"};
    };

    cl.quiet = parser.isSet(opt.quiet);
    cl.yes = parser.isSet(opt.yes);
    if (parser.isSet(opt.exifThumbnail)) o.exifThumbnail = true;
    if (parser.isSet(opt.swap)) o.swap = true;
    if (parser.isSet(opt.text)) o.text = true;
    if (parser.isSet(opt.logo)) o.logo = true;
    if (parser.isSet(opt.border)) o.border = true;

    if (const auto v = valueOf(opt.output)) {
        if (v->empty()) throw bad(opt.output, *v);
        o.targetFolder = NormaliseTargetFolder(*v);
        cl.outputGiven = true;
    }
    if (parser.isSet(opt.list)) {
        if (parser.values(opt.list).size() > 1)
            throw UsageError{"only one --list can be converted"};
        cl.list = Bytes(parser.value(opt.list));
        cl.listGiven = true;
    }
    if (const auto v = valueOf(opt.from)) {
        const auto layout = Choose<StereoLayout>(*v, {{"sbs", StereoLayout::SideBySide},
                                                      {"ou", StereoLayout::OverUnder},
                                                      {"interlace", StereoLayout::Interlace},
                                                      {"anaglyph", StereoLayout::Anaglyph},
                                                      {kSeparateFilesKey, StereoLayout::Pair}});
        if (!layout) throw bad(opt.from, *v);
        o.sourceLayout = *layout;
    }
    if (const auto v = valueOf(opt.rightFolder)) {
        if (v->empty()) throw bad(opt.rightFolder, *v);
        o.useRightFolder = true;
        o.rightFolder = *v;
    }
    if (const auto v = valueOf(opt.to)) {
        // The modes a run can write (those with a list position), or the separate files.
        const DisplayModeRow* mode = DisplayModeByKey(*v);
        o.separateFiles = *v == kSeparateFilesKey;
        if (!o.separateFiles && (!mode || mode->listIndex < 0)) throw bad(opt.to, *v);
        o.outputMode = o.separateFiles ? DisplayMode::SideBySide : mode->mode;
    }
    if (const auto v = valueOf(opt.type)) {
        const OutputFormatRow* type = OutputFormatByKey(*v);
        const std::vector<const OutputFormatRow*> offered = ConverterOutputFormats();
        if (!type || std::ranges::find(offered, type) == offered.end()) throw bad(opt.type, *v);
        o.outputType = type->format;
    }
    if (const auto v = valueOf(opt.quality)) {
        const std::optional<int> q = WholeNumber(*v);
        if (!q || *q < 1 || *q > 99) throw bad(opt.quality, *v);
        o.quality = *q;
    }
    if (const auto v = valueOf(opt.angle)) {
        const auto a = TwoValues(*v, ParseBatchAngle);
        if (!a || !InRange(*a, -kMaxBatchAngle, kMaxBatchAngle)) throw bad(opt.angle, *v);
        o.angle = true;
        o.leftAngle = a->first;
        o.rightAngle = a->second;
    }
    if (const auto v = valueOf(opt.size)) {
        const auto s = TwoValues(*v, WholeNumber);
        if (!s || !InRange(*s, 0, kMaxBatchSize)) throw bad(opt.size, *v);
        o.size = true;
        o.leftSize = s->first;
        o.rightSize = s->second;
    }
    if (const auto v = valueOf(opt.position)) {
        const auto p = TwoValues(*v, WholeNumber);
        if (!p || !InRange(*p, -kMaxImageDimension, kMaxImageDimension))
            throw bad(opt.position, *v);
        o.position = true;
        o.positionH = p->first;
        o.positionV = p->second;
    }
    if (const auto v = valueOf(opt.gamma)) {
        const auto g = TwoValues(*v, ParseBatchGamma);
        if (!g || !InRange(*g, kMinGamma, kMaxGamma)) throw bad(opt.gamma, *v);
        o.gamma = true;
        o.leftGamma = g->first;
        o.rightGamma = g->second;
    }
    if (const auto v = valueOf(opt.width)) {
        const std::optional<int> w = WholeNumber(*v);
        if (!w || *w < 1 || *w > kMaxImageDimension) throw bad(opt.width, *v);
        o.resizeWidth = true;
        o.width = *w;
    }
    if (const auto v = valueOf(opt.sharpen)) {
        const std::optional<int> s = WholeNumber(*v);
        if (!s || *s < 1 || *s > kMaxBatchSharpness) throw bad(opt.sharpen, *v);
        o.sharpen = true;
        o.sharpness = *s;
    }
    if (const auto v = valueOf(opt.greyPair)) {
        const AnaglyphMethodRow* pair = AnaglyphMethodByKey(DisplayMode::GreyAnaglyph, *v);
        if (!pair) throw bad(opt.greyPair, *v);
        o.greyPair = static_cast<GreyAnaglyphPair>(pair->number);
    }
    if (const auto v = valueOf(opt.colourKind)) {
        const AnaglyphMethodRow* kind = AnaglyphMethodByKey(DisplayMode::ColourAnaglyph, *v);
        if (!kind) throw bad(opt.colourKind, *v);
        o.colourKind = static_cast<ColourAnaglyphKind>(kind->number);
    }

    for (const QString& file : parser.positionalArguments()) cl.files.push_back(Bytes(file));
    if (cl.listGiven && !cl.files.empty())
        throw UsageError{"give either files or --list, not both"};
    if (!cl.listGiven && cl.files.empty()) throw UsageError{"no files to convert"};
    if (cl.files.size() > static_cast<std::size_t>(kMaxBatchFiles))
        throw UsageError{"more than " + std::to_string(kMaxBatchFiles) + " files"};
    if (o.useRightFolder && o.sourceLayout != StereoLayout::Pair)
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
    QCommandLineParser parser;
    const Options opt;
    opt.AddTo(parser);
    if (!parser.parse(ByteArguments(argc, argv))) {
        std::fprintf(stderr, "duplora-convert: %s (try --help)\n",
                     Bytes(parser.errorText()).c_str());
        return kExitUsage;
    }
    if (parser.isSet(opt.help)) {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    }

    // The settings give the defaults, so the application comes first.
    std::unique_ptr<QCoreApplication> app;
    if (parser.isSet(opt.text)) {
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
    const Settings settings = ReadAllSettings(
        store, DefaultPluginFolder(QCoreApplication::applicationDirPath().toStdString()));

    CommandLine cl;
    try {
        cl = Apply(parser, opt, BatchOptionsFromSettings(settings));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "duplora-convert: %s (try --help)\n", error.reason.c_str());
        return kExitUsage;
    }
    BatchOptions& options = cl.options;
    if (!cl.outputGiven && options.targetFolder.empty()) options.targetFolder = CurrentFolder();

    std::error_code error;
    if (!std::filesystem::is_directory(options.targetFolder, error)) {
        std::filesystem::create_directories(options.targetFolder, error);
        if (!std::filesystem::is_directory(options.targetFolder, error)) {
            std::fprintf(stderr, "%s: %s\n", options.targetFolder.c_str(),
                         LoadResString(StringId::CannotCreateFolder).c_str());
            return 1;
        }
    }

    BatchJob job;
    if (cl.listGiven) {
        ListFile list;
        if (OpenList(cl.list, list) != ListResult::Ok) {
            std::fprintf(stderr, "%s: %s\n", cl.list.c_str(),
                         LoadResString(StringId::ListCannotOpen).c_str());
            return 1;
        }
        job = MakeListJob(cl.list, list, options);
    } else {
        job = MakeFileJob(cl.files, options);
    }

    const PluginTable plugins = LoadPlugins(settings.pluginFolder);
    const BatchEnvironment environment = BatchEnvironmentFromSettings(settings, &plugins);

    BatchLogSink log;
    if (!cl.quiet) log.append = PrintLog;
    // What the batch dialog would show in a box goes to standard error.
    log.tell = [](const Failure& message) {
        const std::string line = message.CaptionText() + ": " + message.MessageText() + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
    };
    // A picture converted from a damaged or cut-off file is worth a word, even without a log.
    log.done = [](const BatchItem&, const BatchItemResult& result) {
        for (const std::string& path : result.partlyRead)
            std::fprintf(stderr, "Warnung : Quelle(%s) nur teilweise gelesen.\n", path.c_str());
    };
    BatchThreads threads;
    threads.count = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    threads.overwrite = cl.yes ? OverwritePolicy::Always() : OverwritePolicy::Never();
    // The codecs' progress has no place on a terminal: none is given.

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
    return summary.AllConverted() && summary.partlyRead == 0 ? 0 : 1;
}

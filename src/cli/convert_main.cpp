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
#include <vector>

#include "app/batch/batch_settings.h"
#include "app/shell/install_paths.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "app/shell/translations.h"
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
    const std::string orWord = " " + TranslateText("oder");
    std::string text;
    std::size_t column = kHelpColumn;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        std::string word(keys[i]);
        // "or" stays with the name before it.
        if (i + 2 < keys.size()) word += ',';
        if (i + 2 == keys.size()) word += orWord;
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

// A German text of the converter in the user's language, with %1, %2, … filled in.
std::string Text(std::string_view german, std::initializer_list<std::string_view> values = {}) {
    QString text = QString::fromStdString(TranslateText(german));
    for (std::string_view value : values)
        text = text.arg(QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    return text.toStdString();
}

std::string HelpText() {
    const BatchOptions defaults;
    return Text(
        "Aufruf: duplora-convert [OPTIONEN] FILE...        Stereodateien umwandeln\n"
        "        duplora-convert [OPTIONEN] --list LIST    die Paare einer Slide Show Liste\n"
        "                                                  umwandeln\n"
        "\n"
        "  -o, --output DIR       Zielordner, wird angelegt, wenn er fehlt (Vorgabe: der\n"
        "                         letzte Speicherordner, sonst der aktuelle Ordner)\n"
        "      --from LAYOUT      sbs, ou, interlace, anaglyph oder lr (getrennte linke und\n"
        "                         rechte Dateien: jede FILE mit ihrem _l/_r-Partner, sonst\n"
        "                         mit der nächsten FILE) (Vorgabe sbs)\n"
        "      --right-folder DIR mit --from lr: die rechten Dateien aus DIR nehmen\n"
        "      --to LAYOUT        %1\n"
        "                         (zwei Dateien, _l und _r) (Vorgabe %2)\n"
        "      --type TYPE        %3 (Vorgabe %4)\n"
        "      --quality N        JPEG-Qualität 1-99 (Vorgabe: die gespeicherte Qualität)\n"
        "      --exif-thumbnail   JPG- und JPS-Dateien einen Exif-Block mit Vorschaubild\n"
        "                         geben\n"
        "      --angle L,R        die Bilder um L und R Grad drehen (eine Nachkommastelle)\n"
        "      --size L,R         die Bilder auf L und R Prozent skalieren (0-200), gleiche\n"
        "                         Pixelgröße\n"
        "      --position H,V     die Bilder um H und V Pixel gegeneinander verschieben\n"
        "      --gamma L,R        Gamma der Bilder, 0.01-5.00 (etwa 1.00,1.50)\n"
        "      --width W          das Ergebnis auf W Pixel Breite umrechnen\n"
        "      --sharpen N        die Bilder schärfen, 1 (weich) - 50 (hart)\n"
        "      --swap             linkes und rechtes Bild vertauschen\n"
        "      --auto-align       das rechte Bild nach gefundenen Merkmalen an das linke\n"
        "                         anpassen (Drehung, Größe, Höhe und Trapez; die Tiefe\n"
        "                         bleibt, wie sie ist)\n"
        "      --text, --logo, --border\n"
        "                         gespeicherten Text, Logo und Rahmen einbrennen\n"
        "      --grey-pair PAIR   %5\n"
        "      --colour-kind KIND %6 (Vorgabe: die gespeicherte Anaglyph-Wahl)\n"
        "      --yes              vorhandene Ausgaben ersetzen, aber nie eine Quelldatei\n"
        "                         (ohne diese Option werden sie übersprungen)\n"
        "  -q, --quiet            kein Protokoll ausgeben\n"
        "  -h, --help             diese Hilfe zeigen\n"
        "\n"
        "Rückgabewert: 0 jede Datei umgewandelt, 1 eine Datei ist fehlgeschlagen, wurde\n"
        "übersprungen oder nur teilweise gelesen, 2 Aufruffehler.\n",
        {Choices(OutputLayoutKeys()), FindDisplayMode(defaults.outputMode)->key,
         Choices(OutputTypeKeys()), FindOutputFormat(defaults.outputType)->key,
         Choices(MethodKeys(DisplayMode::GreyAnaglyph)),
         Choices(MethodKeys(DisplayMode::ColourAnaglyph))});
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
    QCommandLineOption autoAlign{"auto-align"};
    QCommandLineOption text{"text"};
    QCommandLineOption logo{"logo"};
    QCommandLineOption border{"border"};
    QCommandLineOption greyPair{"grey-pair", {}, "PAIR"};
    QCommandLineOption colourKind{"colour-kind", {}, "KIND"};
    QCommandLineOption yes{"yes"};
    QCommandLineOption quiet{{"q", "quiet"}};
    QCommandLineOption help{{"h", "help"}};

    void AddTo(QCommandLineParser& parser) const {
        parser.addOptions({output,  list,          from,       rightFolder, to,       type,
                           quality, exifThumbnail, angle,      size,        position, gamma,
                           width,   sharpen,       swap,       autoAlign,   text,     logo,
                           border,  greyPair,      colourKind, yes,         quiet,    help});
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
        return UsageError{
            Text("ungültiger Wert für --%1: '%2'", {Bytes(option.names().back()), v})};
    };

    cl.quiet = parser.isSet(opt.quiet);
    cl.yes = parser.isSet(opt.yes);
    if (parser.isSet(opt.exifThumbnail)) o.exifThumbnail = true;
    if (parser.isSet(opt.swap)) o.swap = true;
    if (parser.isSet(opt.autoAlign)) o.autoAlign = true;
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
            throw UsageError{Text("nur eine --list kann umgewandelt werden")};
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
        throw UsageError{Text("entweder Dateien oder --list angeben, nicht beides")};
    if (!cl.listGiven && cl.files.empty()) throw UsageError{Text("keine Dateien zum Umwandeln")};
    if (cl.files.size() > static_cast<std::size_t>(kMaxBatchFiles))
        throw UsageError{Text("mehr als %1 Dateien", {std::to_string(kMaxBatchFiles)})};
    if (o.useRightFolder && o.sourceLayout != StereoLayout::Pair)
        throw UsageError{Text("--right-folder braucht --from lr")};
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

// A usage error as one line on standard error.
int UsageFailure(std::string_view reason) {
    const std::string line = Text("duplora-convert: %1 (siehe --help)\n", {reason});
    std::fputs(line.c_str(), stderr);
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    QCommandLineParser parser;
    const Options opt;
    opt.AddTo(parser);
    const bool parsed = parser.parse(ByteArguments(argc, argv));

    // The settings give the defaults and the texts need the translations, so the application
    // comes first.
    std::unique_ptr<QCoreApplication> app;
    if (parsed && !parser.isSet(opt.help) && parser.isSet(opt.text)) {
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
    InstallTranslations(SystemUiLanguage());
    if (!parsed) return UsageFailure(Bytes(parser.errorText()));
    if (parser.isSet(opt.help)) {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
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
        return UsageFailure(error.reason);
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
            std::fputs(Text("Warnung : Quelle(%1) nur teilweise gelesen.\n", {path}).c_str(),
                       stderr);
    };
    BatchThreads threads;
    threads.count = DefaultBatchThreads();
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

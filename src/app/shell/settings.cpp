#include "app/shell/settings.h"

#include <climits>
#include <optional>
#include <vector>

#include "core/shell/setting_values.h"
#include "core/stereo/anaglyph_methods.h"

namespace duplora {

namespace {

using Parse = std::function<void(Settings&, std::string_view text, const std::string& folder)>;
using Format = std::function<std::string(const Settings&)>;

struct Rule {
    std::string name;
    Parse parse;
    Format format;
};

constexpr int kMaxColour = 0xFFFFFF;

// The number when it lies in lo…hi, else the start value (also for no number at all).
int Ranged(std::optional<int> n, int lo, int hi, int start) {
    return n && *n >= lo && *n <= hi ? *n : start;
}

int Ranged(std::string_view text, int lo, int hi, int start) {
    return Ranged(ParseSettingNumber(text), lo, hi, start);
}

// Field k of a list, or none when the list is shorter.
std::optional<int> Field(const std::vector<std::optional<int>>& fields, std::size_t k) {
    return k < fields.size() ? fields[k] : std::nullopt;
}

bool IsLayout(int v) {
    return (v >= 0 && v <= 7) || v == 10 || v == 20;
}

std::string Text(std::string_view text) {
    return std::string(text);
}

// A file-name suffix whose first byte is a control character (an empty one included) is
// replaced by its default.
std::string Suffix(std::string_view text, const char* start) {
    if (text.empty() || static_cast<unsigned char>(text[0]) < 20) return start;
    return std::string(text);
}

std::string PluginFolder(std::string_view text, const std::string& programFolder) {
    std::string folder = text.empty() ? programFolder : std::string(text);
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

TextSet ParseTextSet(std::string_view text) {
    TextSet t;
    const auto fields = SplitSettingFields(text, '\t', 14);
    std::vector<std::optional<int>> n;
    for (std::size_t k = 0; k < fields.size() && k < 13; ++k)
        n.push_back(ParseSettingNumber(fields[k]));
    t.corner = Ranged(Field(n, 0), 0, 3, t.corner);
    t.xDistance = Field(n, 1).value_or(t.xDistance);
    t.yDistance = Field(n, 2).value_or(t.yDistance);
    t.depth = Field(n, 3).value_or(t.depth);
    t.textColour = Ranged(Field(n, 4), 0, kMaxColour, t.textColour);
    t.smooth = Ranged(Field(n, 5), 0, 1, t.smooth);
    t.shadow = Ranged(Field(n, 6), 0, 1, t.shadow);
    t.shadowX = Field(n, 7).value_or(t.shadowX);
    t.shadowY = Field(n, 8).value_or(t.shadowY);
    t.shadowColour = Ranged(Field(n, 9), 0, kMaxColour, t.shadowColour);
    t.band = Ranged(Field(n, 10), 0, 1, t.band);
    t.bandHeight = Ranged(Field(n, 11), 0, INT_MAX, t.bandHeight);
    t.bandColour = Ranged(Field(n, 12), 0, kMaxColour, t.bandColour);
    if (fields.size() > 13) t.text = std::string(fields[13]);
    return t;
}

std::string FormatTextSet(const TextSet& t) {
    const int n[] = {t.corner, t.xDistance,  t.yDistance, t.depth,   t.textColour,
                     t.smooth, t.shadow,     t.shadowX,   t.shadowY, t.shadowColour,
                     t.band,   t.bandHeight, t.bandColour};
    return FormatSettingInts(n, '\t') + t.text + '\t';
}

LogoSet ParseLogoSet(std::string_view text) {
    LogoSet l;
    const auto fields = SplitSettingFields(text, '\t', 10);
    std::vector<std::optional<int>> n;
    for (std::size_t k = 0; k < fields.size() && k < 9; ++k)
        n.push_back(ParseSettingNumber(fields[k]));
    l.corner = Ranged(Field(n, 0), 0, 3, l.corner);
    l.xDistance = Field(n, 1).value_or(l.xDistance);
    l.yDistance = Field(n, 2).value_or(l.yDistance);
    l.depth = Field(n, 3).value_or(l.depth);
    l.band = Ranged(Field(n, 4), 0, 1, l.band);
    l.bandHeight = Ranged(Field(n, 5), 0, INT_MAX, l.bandHeight);
    l.bandColour = Ranged(Field(n, 6), 0, kMaxColour, l.bandColour);
    l.transparent = Ranged(Field(n, 7), 0, 1, l.transparent);
    l.transparentColour = Ranged(Field(n, 8), 0, kMaxColour, l.transparentColour);
    if (fields.size() > 9) l.file = std::string(fields[9]);
    return l;
}

std::string FormatLogoSet(const LogoSet& l) {
    const int n[] = {l.corner,     l.xDistance,   l.yDistance,        l.depth, l.band, l.bandHeight,
                     l.bandColour, l.transparent, l.transparentColour};
    return FormatSettingInts(n, '\t') + l.file + '\t';
}

BorderSet ParseBorder(std::string_view text) {
    BorderSet b;
    const auto n = ParseSettingNumbers(text, '\t', 12);
    b.show = Ranged(Field(n, 0), 0, 1, b.show);
    b.roundCorners = Ranged(Field(n, 1), 0, 1, b.roundCorners);
    int* widths[] = {&b.outerDisplay, &b.middleDisplay, &b.innerDisplay,
                     &b.outerPrint,   &b.middlePrint,   &b.innerPrint};
    for (int k = 0; k < 6; ++k) *widths[k] = Ranged(Field(n, 2 + k), 0, INT_MAX, *widths[k]);
    int* colours[] = {&b.outerColour, &b.middleColour, &b.innerColour, &b.background};
    for (int k = 0; k < 4; ++k) *colours[k] = Ranged(Field(n, 8 + k), 0, kMaxColour, *colours[k]);
    return b;
}

std::string FormatBorder(const BorderSet& b) {
    const int n[] = {b.show,         b.roundCorners, b.outerDisplay, b.middleDisplay,
                     b.innerDisplay, b.outerPrint,   b.middlePrint,  b.innerPrint,
                     b.outerColour,  b.middleColour, b.innerColour,  b.background};
    return FormatSettingInts(n, '\t');
}

AspectSet ParseAspect(std::string_view text) {
    AspectSet a;
    const auto n = ParseSettingNumbers(text, '\t', 3);
    a.keepRatio = Ranged(Field(n, 0), 0, 1, 0);
    const int x = Field(n, 1).value_or(0);
    const int y = Field(n, 2).value_or(0);
    // A ratio with a side of 0 (or below) means 4 : 3.
    if (x > 0 && y > 0) {
        a.x = x;
        a.y = y;
    }
    return a;
}

TrimResizeSet ParseTrimResize(std::string_view text) {
    TrimResizeSet t;
    const auto n = ParseSettingNumbers(text, ',', 3);
    t.rescale = Ranged(Field(n, 0), 0, 1, 0);
    t.width = Ranged(Field(n, 1), 0, INT_MAX, 0);
    t.height = Ranged(Field(n, 2), 0, INT_MAX, 0);
    return t;
}

// A number value whose start-up rule is "lo…hi, else start".
Rule RangedRule(std::string_view name, int Settings::*member, int lo, int hi, int start) {
    return {std::string(name),
            [member, lo, hi, start](Settings& s, std::string_view text, const std::string&) {
                s.*member = Ranged(text, lo, hi, start);
            },
            [member](const Settings& s) { return FormatSettingInt(s.*member); }};
}

// An anaglyph method: a number its table names, else the first method.
template <typename Method>
Rule MethodRule(std::string_view name, Method Settings::*member,
                std::optional<Method> (*fromNumber)(int)) {
    return {std::string(name),
            [member, fromNumber](Settings& s, std::string_view text, const std::string&) {
                const std::optional<int> n = ParseSettingNumber(text);
                s.*member = (n ? fromNumber(*n) : std::nullopt).value_or(Method{});
            },
            [member](const Settings& s) { return FormatSettingInt(static_cast<int>(s.*member)); }};
}

Rule TextRule(std::string_view name, std::string Settings::*member) {
    return {std::string(name),
            [member](Settings& s, std::string_view text, const std::string&) {
                s.*member = Text(text);
            },
            [member](const Settings& s) { return s.*member; }};
}

std::vector<Rule> MakeRules() {
    using namespace setting;
    std::vector<Rule> rules;
    rules.push_back(TextRule(kOpenFolder, &Settings::openFolder));
    rules.push_back(TextRule(kSaveFolder, &Settings::saveFolder));
    rules.push_back({std::string(kTrimingSize),
                     [](Settings& s, std::string_view text, const std::string&) {
                         const auto n = ParseSettingNumbers(text, ',', 10);
                         for (std::size_t k = 0; k < n.size(); ++k)
                             if (n[k] && *n[k] > 0) s.trimPresets[k] = *n[k];
                     },
                     [](const Settings& s) { return FormatSettingInts(s.trimPresets, ','); }});
    rules.push_back({std::string(kSusie32Plugin),
                     [](Settings& s, std::string_view text, const std::string& folder) {
                         s.pluginFolder = PluginFolder(text, folder);
                     },
                     [](const Settings& s) { return s.pluginFolder; }});
    for (int k = 0; k < 10; ++k) {
        rules.push_back({FileHistoryName(k),
                         [k](Settings& s, std::string_view text, const std::string&) {
                             s.fileHistory[k] = Text(text);
                         },
                         [k](const Settings& s) { return s.fileHistory[k]; }});
    }
    rules.push_back({std::string(kFileTypeHistory),
                     [](Settings& s, std::string_view text, const std::string&) {
                         const auto n = ParseSettingNumbers(text, ',', 5);
                         for (std::size_t k = 0; k < n.size(); ++k)
                             s.fileTypeHistory[k] = n[k] && IsLayout(*n[k]) ? *n[k] : 0;
                     },
                     [](const Settings& s) { return FormatSettingInts(s.fileTypeHistory, ','); }});
    rules.push_back(RangedRule(kN3DSize, &Settings::pageFlipScreenMode, 0, 5, 2));
    rules.push_back(RangedRule(kN3DBpp, &Settings::pageFlipColourDepth, 0, 2, 1));
    rules.push_back(RangedRule(kNQuality, &Settings::jpegQuality, 1, 99, 70));
    rules.push_back(RangedRule(kNTSize, &Settings::textureSize, 0, 8, 1));
    rules.push_back(RangedRule(kNWaku, &Settings::frameWidth, 0, 99, 5));
    rules.push_back(
        {std::string(kNAspect),
         [](Settings& s, std::string_view text, const std::string&) {
             s.freeTrimRatio = ParseAspect(text);
         },
         [](const Settings& s) {
             const int n[] = {s.freeTrimRatio.keepRatio, s.freeTrimRatio.x, s.freeTrimRatio.y};
             return FormatSettingInts(n, '\t');
         }});
    rules.push_back(RangedRule(kNVidia, &Settings::pageFlipDriver, 0, 2, 1));
    rules.push_back(RangedRule(kDocomo, &Settings::phoneSize, INT_MIN, INT_MAX, 0));
    rules.push_back(RangedRule(kNWinMax, &Settings::startMaximised, 0, 1, 0));
    // A gamma of 0 would divide by zero when the tables are built.
    rules.push_back(RangedRule(kNGmmar, &Settings::leftGamma, 1, 500, 100));
    rules.push_back(RangedRule(kNGmmab, &Settings::rightGamma, 1, 500, 100));
    rules.push_back(RangedRule(kNSharpen, &Settings::sharpenStrength, 1, 50, 40));
    rules.push_back(RangedRule(kNEdgedtc, &Settings::edgeThreshold, 0, 255, 16));
    rules.push_back(RangedRule(kSlideTime, &Settings::slideTime, 1, 3600, 30));
    rules.push_back(RangedRule(kGaibuHiki, &Settings::passPictureToExternalProgram, 0, 1, 0));
    rules.push_back({std::string(kComset),
                     [](Settings& s, std::string_view text, const std::string&) {
                         const int v = ParseSettingInt(text);
                         const bool valid = v >= 0 && v / 10 <= 7 && v % 10 <= 6;
                         s.commandLineOpening = valid ? v : 0;
                     },
                     [](const Settings& s) { return FormatSettingInt(s.commandLineOpening); }});
    rules.push_back({std::string(kNAdjustv),
                     [](Settings& s, std::string_view text, const std::string&) {
                         const int v = ParseSettingInt(text);
                         s.alignmentStep = v < 1 ? 4 : v > 100 ? 100 : v;
                     },
                     [](const Settings& s) { return FormatSettingInt(s.alignmentStep); }});
    rules.push_back(RangedRule(kSpecial, &Settings::lzwAccessMarker, INT_MIN, INT_MAX, 0));
    rules.push_back(RangedRule(kNSSin, &Settings::listMakerSource, 0, 10, 0));
    rules.push_back(MethodRule(kNAnatype, &Settings::greyAnaglyphPair, GreyAnaglyphPairFromNumber));
    rules.push_back(
        MethodRule(kNAnactype, &Settings::colourAnaglyphKind, ColourAnaglyphKindFromNumber));
    rules.push_back(RangedRule(kNSSType, &Settings::listDisplayMode, 0, 10, 0));
    rules.push_back(RangedRule(kNLoc, &Settings::showNavigator, 0, 1, 0));
    rules.push_back(RangedRule(kNWcent, &Settings::packToCentre, 0, 1, 0));
    rules.push_back(RangedRule(kNTrimress, &Settings::presetTrimRescales, 0, 1, 0));
    rules.push_back({std::string(kNTrimresd),
                     [](Settings& s, std::string_view text, const std::string&) {
                         s.customTrim = ParseTrimResize(text);
                     },
                     [](const Settings& s) {
                         const auto& t = s.customTrim;
                         return FormatSettingInt(t.rescale) + ',' + FormatSettingInt(t.width) +
                                ',' + FormatSettingInt(t.height);
                     }});
    rules.push_back(RangedRule(kNKantyo, &Settings::adjustDialogMaximised, 0, 1, 0));
    rules.push_back(RangedRule(kN2action, &Settings::twoStepTrim, 0, 1, 1));
    rules.push_back({std::string(kLeftname),
                     [](Settings& s, std::string_view text, const std::string&) {
                         s.leftSuffix = Suffix(text, "_l");
                     },
                     [](const Settings& s) { return s.leftSuffix; }});
    rules.push_back({std::string(kRightname),
                     [](Settings& s, std::string_view text, const std::string&) {
                         s.rightSuffix = Suffix(text, "_r");
                     },
                     [](const Settings& s) { return s.rightSuffix; }});
    rules.push_back({std::string(kGaibuFile),
                     [](Settings& s, std::string_view text, const std::string&) {
                         s.externalProgram = text.empty() ? "gimp" : Text(text);
                     },
                     [](const Settings& s) { return s.externalProgram; }});
    rules.push_back(TextRule(kLogfont, &Settings::textFont));
    rules.push_back(TextRule(kLogfont1, &Settings::textFontDefault));
    const auto textSet = [](std::string_view name, TextSet Settings::*member) {
        return Rule{std::string(name),
                    [member](Settings& s, std::string_view text, const std::string&) {
                        s.*member = ParseTextSet(text);
                    },
                    [member](const Settings& s) { return FormatTextSet(s.*member); }};
    };
    rules.push_back(textSet(kTextset, &Settings::textSettings));
    rules.push_back(textSet(kTextsetdef, &Settings::textDefaults));
    const auto logoSet = [](std::string_view name, LogoSet Settings::*member) {
        return Rule{std::string(name),
                    [member](Settings& s, std::string_view text, const std::string&) {
                        s.*member = ParseLogoSet(text);
                    },
                    [member](const Settings& s) { return FormatLogoSet(s.*member); }};
    };
    rules.push_back(logoSet(kLogoset, &Settings::logoSettings));
    rules.push_back(logoSet(kLogosetdef, &Settings::logoDefaults));
    rules.push_back({std::string(kBorder),
                     [](Settings& s, std::string_view text, const std::string&) {
                         s.border = ParseBorder(text);
                     },
                     [](const Settings& s) { return FormatBorder(s.border); }});
    rules.push_back(RangedRule(kNOpenPreview, &Settings::openPreview, 0, 1, 0));
    rules.push_back(RangedRule(kNFitSize, &Settings::openAtFullSize, 0, 1, 0));
    rules.push_back(TextRule(kKantanTyousei, &Settings::quickAdjustment));
    return rules;
}

const std::vector<Rule>& Rules() {
    static const std::vector<Rule> rules = MakeRules();
    return rules;
}

}  // namespace

std::string FileHistoryName(int index) {
    return "FileHistory" + std::to_string(index);
}

int ViewFrameWidth(const Settings& settings) {
    const BorderSet& b = settings.border;
    if (b.show == 1) return b.outerDisplay + b.middleDisplay + b.innerDisplay;
    return settings.frameWidth;
}

const std::vector<std::string>& SettingNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const Rule& r : Rules()) n.push_back(r.name);
        return n;
    }();
    return names;
}

Settings ParseSettings(const SettingReader& read, const std::string& programFolder) {
    Settings settings;
    for (const Rule& rule : Rules()) rule.parse(settings, read(rule.name), programFolder);
    return settings;
}

Settings DefaultSettings(const std::string& programFolder) {
    return ParseSettings([](std::string_view) { return std::string(); }, programFolder);
}

Settings ReadAllSettings(const SettingsStore& store, const std::string& programFolder) {
    return ParseSettings([&store](std::string_view name) { return store.ReadSetting(name); },
                         programFolder);
}

std::string FormatSetting(const Settings& settings, std::string_view name) {
    for (const Rule& rule : Rules())
        if (rule.name == name) return rule.format(settings);
    return {};
}

SettingWrites SettingWritesFor(const Settings& settings,
                               std::initializer_list<std::string_view> names) {
    SettingWrites writes;
    for (std::string_view name : names)
        writes.emplace_back(std::string(name), FormatSetting(settings, name));
    return writes;
}

SettingWrites AllSettingWrites(const Settings& settings) {
    SettingWrites writes;
    for (const Rule& rule : Rules()) writes.emplace_back(rule.name, rule.format(settings));
    return writes;
}

SettingWrites ClosingWrites(const Settings& settings) {
    using namespace setting;
    return SettingWritesFor(settings, {kOpenFolder, kSaveFolder, kNAnatype, kNAnactype});
}

SettingWrites FileHistoryWrites(const Settings& settings) {
    SettingWrites writes;
    for (int k = 0; k < 10; ++k) writes.emplace_back(FileHistoryName(k), settings.fileHistory[k]);
    writes.emplace_back(std::string(setting::kFileTypeHistory),
                        FormatSetting(settings, setting::kFileTypeHistory));
    return writes;
}

}  // namespace duplora

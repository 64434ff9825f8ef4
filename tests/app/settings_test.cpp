// The settings file: start values, the rule each stored value is read with, what the settings
// windows and the file history write, and what the next start reads back.
#include "app/shell/settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <string>

#include "app/shell/file_history.h"
#include "app/shell/settings_dialogs.h"
#include "app/shell/settings_store.h"
#include "gui_application.h"
#include "support/qt_files.h"

namespace duplora {
namespace {

const std::string kProgramFolder = "/opt/duplora";
using Write = std::pair<std::string, std::string>;

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("Ferrowyn/duplmaker.ini"));
    }
    void WriteRaw(const QByteArray& bytes) { ASSERT_TRUE(test::WriteFileBytes(path_, bytes)); }
    bool Store(const SettingWrites& writes) { return SettingsStore(path_).WriteSettings(writes); }
    // A fresh store object each time, as at a new start of the program.
    Settings ReadBack() {
        SettingsStore store(path_);
        return ReadAllSettings(store, kProgramFolder);
    }

    QTemporaryDir dir_;
    QString path_;
};

TEST_F(SettingsTest, FreshStoreGivesTheStartValuesAndCreatesNothing) {
    const Settings s = ReadBack();
    EXPECT_EQ(s, DefaultSettings(kProgramFolder));
    Settings plain;  // the struct's own defaults, apart from the program folder
    plain.pluginFolder = "/opt/duplora/";
    EXPECT_EQ(s, plain);
    EXPECT_FALSE(QFile::exists(path_));
}

// Below, at and above each kind of range, garbage, empty texts, and lists too short, too long
// or with holes.
TEST_F(SettingsTest, EachStoredValueIsReadWithItsRule) {
#define VALUE(name, text, expr)                            \
    {                                                      \
        name, text, [](const Settings& s) { return expr; } \
    }
    const struct {
        const char* name;
        const char* text;
        std::function<bool(const Settings&)> check;
    } cases[] = {
        VALUE("SlideTime", "0", s.slideTime == 30),
        VALUE("SlideTime", "4000", s.slideTime == 30),
        VALUE("SlideTime", "3600", s.slideTime == 3600),
        VALUE("SlideTime", "zehn", s.slideTime == 30),
        VALUE("nQuality", "100", s.jpegQuality == 70),
        VALUE("nQuality", "85%", s.jpegQuality == 85),
        VALUE("nAdjustv", "0", s.alignmentStep == 4),
        VALUE("nAdjustv", "500", s.alignmentStep == 100),
        VALUE("nWaku", "0", s.frameWidth == 0 && ViewFrameWidth(s) == 0),
        VALUE("nEdgedtc", "0", s.edgeThreshold == 0),
        VALUE("n2action", "", s.twoStepTrim == 1),
        VALUE("n2action", "7", s.twoStepTrim == 1),
        VALUE("nAnatype", "4", s.greyAnaglyphPair == GreyAnaglyphPair::RedCyan),
        VALUE("nAnactype", "2x", s.colourAnaglyphKind == ColourAnaglyphKind::ColourYellowBlue),
        VALUE("special", "604718", LzwTiffAllowed(s)),
        VALUE("comset", "76", s.commandLineOpening == 76),
        VALUE("comset", "77", s.commandLineOpening == 0),
        VALUE("Leftname", "\x01x", s.leftSuffix == "_l"),
        VALUE("Leftname", "-L", s.leftSuffix == "-L"),
        VALUE("Rightname", "\x14r", s.rightSuffix == "\x14r"),
        VALUE("GaibuFile", "", s.externalProgram == "gimp"),
        VALUE("Susie32Plugin", "/home/u/spi", s.pluginFolder == "/home/u/spi/"),
        VALUE("nAspect", "1\t0\t5\t", (s.freeTrimRatio == AspectSet{1, 4, 3})),
        VALUE("nAspect", "2\t-16\t9\t", (s.freeTrimRatio == AspectSet{0, 4, 3})),
        VALUE("TrimingSize", "100,200,x,-5,300,",
              (s.trimPresets ==
               std::array<int, 10>{100, 200, 800, 600, 300, 768, 1280, 1024, 1600, 1200})),
        VALUE("TrimingSize", "1,2,3,4,5,6,7,8,9,10,11,12,",
              (s.trimPresets == std::array<int, 10>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10})),
        VALUE("FileTypeHistory", "1,20,9,-1,7,",
              (s.fileTypeHistory == std::array<int, 5>{1, 20, 0, 0, 7})),
        VALUE("nTrimresd", "1,320,-4", (s.customTrim == TrimResizeSet{1, 320, 0})),
        VALUE("textset", "0\t10\t",
              s.textSettings.corner == 0 && s.textSettings.xDistance == 10 &&
                  s.textSettings.shadow == 1 && s.textSettings.text.empty()),
        VALUE("textset", "7\t1\t2\t3\t-1\t2\t0\t4\t5\t16777216\t0\t-8\t255\tHallo\tWelt\t",
              s.textSettings.corner == 3 && s.textSettings.depth == 3 &&
                  s.textSettings.textColour == 0xE6E6E6 && s.textSettings.smooth == 0 &&
                  s.textSettings.shadow == 0 && s.textSettings.shadowColour == 0x202020 &&
                  s.textSettings.band == 0 && s.textSettings.bandHeight == 0 &&
                  s.textSettings.bandColour == 255 && s.textSettings.text == "Hallo\tWelt"),
        VALUE("logoset", "1\t5\t6\t-7\t0\t40\t65280\t1\t0\t/home/u/logo.bmp\t",
              (s.logoSettings == LogoSet{1, 5, 6, -7, 0, 40, 65280, 1, 0, "/home/u/logo.bmp"})),
        VALUE("border", "1\t0\t3\t4\t5\t6\t7\t8\t1\t2\t3\t255\t",
              (s.border == BorderSet{1, 0, 3, 4, 5, 6, 7, 8, 1, 2, 3, 255}) &&
                  ViewFrameWidth(s) == 12),
        VALUE("border", "1\tx\t-3\t",
              s.border.show == 1 && s.border.roundCorners == 1 && s.border.outerDisplay == 2 &&
                  s.border.background == 0),
    };
#undef VALUE
    for (const auto& c : cases) {
        QFile::remove(path_);
        ASSERT_TRUE(Store({{c.name, c.text}}));
        EXPECT_TRUE(c.check(ReadBack())) << c.name << " = \"" << c.text << "\"";
    }
}

TEST_F(SettingsTest, EveryValueSurvivesWriteAndRead) {
    Settings s = DefaultSettings(kProgramFolder);
    s.openFolder = "/home/ü/Bilder/3D";
    s.saveFolder = "/tmp/a b,c";
    s.trimPresets = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    s.pluginFolder = "/usr/lib/spi/";
    for (int k = 0; k < 10; ++k) s.fileHistory[k] = "/pics/" + std::to_string(k) + "_l.jpg";
    s.fileHistory[3].clear();
    s.fileTypeHistory = {0, 10, 20, 7, 3};
    // Each number at a value other than its start value, limits where it has them.
    const std::pair<int Settings::*, int> numbers[] = {
        {&Settings::pageFlipScreenMode, 5},  {&Settings::pageFlipColourDepth, 2},
        {&Settings::jpegQuality, 99},        {&Settings::textureSize, 8},
        {&Settings::frameWidth, 0},          {&Settings::pageFlipDriver, 2},
        {&Settings::phoneSize, 1},           {&Settings::startMaximised, 1},
        {&Settings::leftGamma, 1},           {&Settings::rightGamma, 500},
        {&Settings::sharpenStrength, 1},     {&Settings::edgeThreshold, 255},
        {&Settings::slideTime, 3600},        {&Settings::passPictureToExternalProgram, 1},
        {&Settings::commandLineOpening, 76}, {&Settings::alignmentStep, 100},
        {&Settings::listMakerSource, 10},    {&Settings::listDisplayMode, 5},
        {&Settings::showNavigator, 1},       {&Settings::packToCentre, 1},
        {&Settings::presetTrimRescales, 1},  {&Settings::adjustDialogMaximised, 1},
        {&Settings::twoStepTrim, 0},         {&Settings::openPreview, 1},
        {&Settings::openAtFullSize, 1},
    };
    for (const auto& [member, value] : numbers) s.*member = value;
    s.greyAnaglyphPair = GreyAnaglyphPair::YellowBlue;
    s.colourAnaglyphKind = ColourAnaglyphKind::ColourYellowBlue;
    s.lzwAccessMarker = kLzwMarker;
    s.freeTrimRatio = {1, 16, 9};
    s.customTrim = {1, 1920, 1080};
    s.leftSuffix = "-links";
    s.rightSuffix = "-rechts";
    s.externalProgram = "/usr/bin/gimp-2.10";
    s.textFont = "DejaVu Sans,12,-1,5,700,0,0,0,0,0";
    s.textFontDefault = "Noto Serif,20,-1,5,400,1,0,0,0,0";
    s.textSettings = {1, 2, 3, 4, 5, 1, 0, 6, 7, 8, 0, 9, 10, "Grüße \"3D\"\ttab\\n"};
    s.textDefaults = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, ""};
    s.logoSettings = {2, 1, 1, 1, 0, 3, 4, 1, 5, "/home/u/logo,1.bmp"};
    s.logoDefaults = LogoSet{};
    s.border = {1, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0xFFFFFF};
    s.quickAdjustment = "1,-2,3,4,5,6,7,8,9,10,";
    ASSERT_TRUE(Store(AllSettingWrites(s)));
    EXPECT_EQ(ReadBack(), s);
}

// What the values read back as: the round trip above; the history's writes: with the history.
TEST_F(SettingsTest, WriteGroupsCarryTheirValues) {
    Settings s = DefaultSettings(kProgramFolder);
    s.greyAnaglyphPair = GreyAnaglyphPair::YellowBlue;
    s.colourAnaglyphKind = ColourAnaglyphKind::HalfToneRedCyan;
    s.openFolder = "/data/in";
    s.saveFolder = "/data/out";
    const SettingWrites closing = ClosingWrites(s);
    EXPECT_EQ(closing, (SettingWrites{{"OpenFolder", "/data/in"},
                                      {"SaveFolder", "/data/out"},
                                      {"nAnatype", "3"},
                                      {"nAnactype", "1"}}));
    EXPECT_EQ(FormatSetting(s, "textset"),
              "3\t0\t0\t0\t15132390\t0\t1\t1\t1\t2105376\t1\t0\t0\t\t");
    EXPECT_EQ(FormatSetting(s, "NoSuchValue"), "");
}

TEST_F(SettingsTest, DamagedFilesKeepWhatCanBeRead) {
    WriteRaw(
        "garbage before any section\n[General]\nnQuality=85\nthis line means nothing\n"
        "=orphan\n\x01\x02\xff\xfe binary\nTrimingSize=100,200,300,400,500,600,700,800,900,1000,\n"
        "SlideTime=\"55\"\nLeftname=@Variant(broken\nOpenFolder=/home/user/Bilder\n"
        "[Elsewhere]\nkey=value\n");
    {
        SettingsStore store(path_);
        const Settings s = ReadAllSettings(store, kProgramFolder);
        EXPECT_EQ(std::tuple(s.jpegQuality, s.slideTime), std::tuple(85, 55));
        EXPECT_EQ(s.openFolder, "/home/user/Bilder");
        EXPECT_TRUE(store.WriteSetting("nWaku", "9"));  // rewrites the file, every value stays
    }
    const Settings s = ReadBack();
    EXPECT_EQ(s.frameWidth, 9);
    EXPECT_EQ(s.trimPresets,
              (std::array<int, 10>{100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}));
    EXPECT_EQ(s.leftSuffix, "@Variant(broken");
    EXPECT_EQ(SettingsStore(path_).ReadSetting("Elsewhere/key"), "value");
    // Binary and empty files read as fresh.
    for (const QByteArray& bytes :
         {QByteArray("\x00\x01\x02\xff[[[===\n\n\x7f", 13), QByteArray()}) {
        WriteRaw(bytes);
        EXPECT_EQ(ReadBack(), DefaultSettings(kProgramFolder));
    }
}

TEST_F(SettingsTest, UnwritableStoreFailsQuietlyAndTheUserStoreIsInTheConfigFolder) {
    ASSERT_TRUE(QDir().mkpath(path_));  // a folder: nothing can be written there
    SettingsStore store(path_);
    EXPECT_FALSE(store.WriteSetting("nQuality", "80"));
    EXPECT_EQ(ReadAllSettings(store, kProgramFolder).slideTime, 30);
    EXPECT_TRUE(QFileInfo(path_).isDir());
    EXPECT_TRUE(SettingsStore::UserStorePath().endsWith(QStringLiteral("/Ferrowyn/duplmaker.ini")));
    // Test mode keeps it away from the user's own settings.
    EXPECT_TRUE(SettingsStore::UserStorePath().contains(QStringLiteral("qttest")));
}

TEST_F(SettingsTest, FontsAreStoredAsText) {
    test::EnsureGuiApplication();
    SettingsStore store(path_);
    EXPECT_FALSE(store.ReadSettingFont("LOGFONT").has_value());
    QFont font(QStringLiteral("DejaVu Sans"), 17);
    font.setBold(true);
    font.setItalic(true);
    ASSERT_TRUE(store.WriteSettingFont("LOGFONT", font));
    EXPECT_EQ(store.ReadSettingFont("LOGFONT"), font);
    ASSERT_TRUE(store.WriteSetting("LOGFONT1", ""));
    EXPECT_FALSE(store.ReadSettingFont("LOGFONT1").has_value());
    EXPECT_EQ(ReadBack().textFont, font.toString().toStdString());
}

// ---- the file history ---------------------------------------------------------------------

std::vector<std::string> Firsts(const Settings& s) {
    std::vector<std::string> firsts;
    for (const HistoryEntry& e : ReadFileHistory(s)) firsts.push_back(e.first);
    return firsts;
}

// The layout stored as this number.
StereoLayout Layout(int number) {
    return static_cast<StereoLayout>(number);
}

TEST_F(SettingsTest, HistoryTakesNewOpeningsOnTopAndRenewsAListedFileWhereItStands) {
    Settings s;
    for (int i = 1; i <= 6; ++i)
        UpdateFileHistory(s, {"/p/" + std::to_string(i) + ".jps", "", Layout(i % 8)});
    EXPECT_EQ(Firsts(s), (std::vector<std::string>{"/p/6.jps", "/p/5.jps", "/p/4.jps", "/p/3.jps",
                                                   "/p/2.jps"}));
    EXPECT_EQ(s.fileTypeHistory, (std::array<int, 5>{6, 5, 4, 3, 2}));

    s = Settings();
    UpdateFileHistory(s, {"/p/a.jpg", "", Layout(0)});
    UpdateFileHistory(s, {"/p/b.jpg", "", Layout(1)});
    UpdateFileHistory(s, {"/p/a.jpg", "", Layout(4)});
    EXPECT_EQ(Firsts(s), (std::vector<std::string>{"/p/b.jpg", "/p/a.jpg", "", "", ""}));
    EXPECT_EQ(s.fileTypeHistory[1], 4);
    // A pair is always a new entry, even with the same first path.
    UpdateFileHistory(s, {"/p/a.jpg", "/p/c.jpg", StereoLayout::Pair});
    EXPECT_EQ(Firsts(s), (std::vector<std::string>{"/p/a.jpg", "/p/b.jpg", "/p/a.jpg", "", ""}));
    EXPECT_EQ(ReadFileHistory(s)[0].second, "/p/c.jpg");
    // So is a single file whose path is listed only as a pair's left view.
    UpdateFileHistory(s, {"/p/c.jpg", "", Layout(2)});
    EXPECT_EQ(Firsts(s)[0], "/p/c.jpg");
}

TEST_F(SettingsTest, HistoryMenuItemsAndWhatTheyOpen) {
    Settings s;
    EXPECT_TRUE(FileHistoryMenuItems(s).empty());
    UpdateFileHistory(s, {"/p/one.jps", "", Layout(3)});
    UpdateFileHistory(s,
                      {"/home/me/Bilder/l_l.jpg", "/home/me/Bilder/r_r.jpg", StereoLayout::Pair});
    EXPECT_EQ(FileHistoryMenuItems(s),
              (std::vector<HistoryMenuItem>{{CmdHistory1, "/home/me/Bilder/l_l.jpg/r_r.jpg"},
                                            {CmdHistory2, "/p/one.jps"}}));
    // A pair opens with the right view first, as on the command line.
    EXPECT_EQ(OpenFromHistory(s, CmdHistory1),
              (HistoryOpening{CmdOpenPendingPair, "/home/me/Bilder/r_r.jpg",
                              "/home/me/Bilder/l_l.jpg", StereoLayout::Pair}));
    EXPECT_EQ(OpenFromHistory(s, CmdHistory2),
              (HistoryOpening{CmdOpenPending, "/p/one.jps", "", StereoLayout::Anaglyph}));
    EXPECT_FALSE(OpenFromHistory(s, CmdHistory3).has_value());
    EXPECT_FALSE(OpenFromHistory(s, CmdMultiRename).has_value());
    // An entry with an empty first path is left out; the others keep their numbers.
    s.fileHistory[2] = s.fileHistory[3] = "";
    s.fileHistory[4] = "/p/three.jps";
    const auto gap = FileHistoryMenuItems(s);
    ASSERT_EQ(gap.size(), 2u);
    EXPECT_EQ(gap[1], (HistoryMenuItem{CmdHistory3, "/p/three.jps"}));
    s.fileHistory[0] = "";  // later entries alone do not count while the first is empty
    EXPECT_TRUE(FileHistoryMenuItems(s).empty());
}

TEST_F(SettingsTest, HistoryWritesAllTenPathsAndTheLayoutsTogether) {
    Settings s;
    UpdateFileHistory(s, {"/p/Größe 1.jps", "", Layout(1)});
    const SettingWrites writes = UpdateFileHistory(s, {"/p/l.jpg", "/p/r.jpg", StereoLayout::Pair});
    EXPECT_EQ(writes, FileHistoryWrites(s));
    ASSERT_EQ(writes.size(), 11u);
    std::map<std::string, std::string> values(writes.begin(), writes.end());
    EXPECT_EQ(values.at("FileHistory0"), "/p/l.jpg");
    EXPECT_EQ(values.at("FileHistory1"), "/p/r.jpg");
    EXPECT_EQ(values.at("FileHistory9"), "");
    EXPECT_EQ(values.at("FileTypeHistory"), "10,1,0,0,0,");
    ASSERT_TRUE(Store(writes));
    EXPECT_EQ(ReadFileHistory(ReadBack()), ReadFileHistory(s));
}

// ---- the settings windows -----------------------------------------------------------------

TEST_F(SettingsTest, SetteiOkTakesOverEveryControl) {
    Settings s = DefaultSettings(kProgramFolder);
    SetteiState state = SetteiStateFromSettings(s);
    state.pluginFolder = "/home/u/spi";
    state.externalProgram = "";
    state.slideTime = 4000;
    state.waku = 150;
    state.trimSizes = {320, 240, 0, -5, 1024, 768, 1280, 1024, 1600, 1200};
    state.alignmentStep = 3946;  // beside the number that opens LZW (the GUI tests type that)
    const SetteiResult r = ApplySetteiOk(s, state);
    EXPECT_EQ(s.alignmentStep, 100);
    EXPECT_FALSE(r.lzwSwitchedOn || LzwTiffAllowed(s));
    EXPECT_EQ(std::tuple(s.pluginFolder, s.externalProgram), std::tuple("/home/u/spi/", "gimp"));
    EXPECT_EQ(std::tuple(s.slideTime, s.frameWidth), std::tuple(3600, 99));
    EXPECT_EQ(ViewFrameWidth(s), 99);
    EXPECT_EQ(s.trimPresets,
              (std::array<int, 10>{320, 240, 1, 1, 1024, 768, 1280, 1024, 1600, 1200}));
    EXPECT_EQ(r.writes.back(), Write("TrimingSize", "320,240,1,1,1024,768,1280,1024,1600,1200,"));
    // While the frame is shown the frame width stays that of the frame.
    s.border.show = 1;
    state.waku = 7;
    ApplySetteiOk(s, state);
    EXPECT_EQ(s.frameWidth, 7);
    EXPECT_EQ(ViewFrameWidth(s), 2 + 10 + 2);
}

TEST_F(SettingsTest, SetteiImmediateSwitchesAndBackground) {
    Settings s = DefaultSettings(kProgramFolder);
    EXPECT_EQ(ToggleKantyo(s), (SettingWrites{{"nKantyo", "1"}}));
    EXPECT_EQ(ToggleKantyo(s), (SettingWrites{{"nKantyo", "0"}}));
    EXPECT_EQ(PluginFolderOfFile("/usr/lib/spi/ifpng.spi"), "/usr/lib/spi/");
    EXPECT_EQ(PluginFolderOfFile("ifpng.spi"), "./");
}

TEST_F(SettingsTest, PageFlipModesUnofferedChoicesAndTheColourDepthOfNoChoice) {
    for (int stored : {0, 3, 2}) {
        Settings s = DefaultSettings(kProgramFolder);
        s.pageFlipColourDepth = stored;
        EXPECT_EQ(W3dStateFromSettings(s).colours, stored == 2 ? 1 : 0) << stored;
        EXPECT_EQ(s.pageFlipColourDepth, stored == 2 ? 2 : 1) << stored;
    }
    EXPECT_EQ(PageFlipScreenMode(5).width, 1600);
    EXPECT_EQ(PageFlipScreenMode(99).width, 1024);  // no such mode: the start value
    EXPECT_EQ(PageFlipBitDepth(2), 32);
    // The GUI tests write the offered choices; those not offered change nothing.
    Settings s = DefaultSettings(kProgramFolder);
    const Settings chosen = s;
    EXPECT_TRUE(W3dChooseResolution(s, 6).empty());
    EXPECT_TRUE(W3dChooseColours(s, 2).empty());
    EXPECT_TRUE(W3dChooseTexture(s, -1).empty());
    EXPECT_TRUE(W3dChooseDriver(s, 3).empty());
    EXPECT_EQ(s, chosen);
}

// What the GUI tests type stays inside the range; here its last number and one beyond.
TEST_F(SettingsTest, CommandLineStartBeyondTheChoicesIsStoredAsZero) {
    Settings s = DefaultSettings(kProgramFolder);
    EXPECT_EQ(ApplyComsetOk(s, {7, 6}), (SettingWrites{{"comset", "76"}}));
    EXPECT_EQ(ApplyComsetOk(s, {9, 8}), (SettingWrites{{"comset", "0"}}));
}

}  // namespace
}  // namespace duplora

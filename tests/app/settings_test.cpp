#include "app/shell/settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <string>

#include "app/shell/settings_store.h"
#include "gui_application.h"

namespace duplora {
namespace {

const std::string kProgramFolder = "/opt/duplora";

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("Ferrowyn/duplmaker.ini"));
    }

    void WriteRaw(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path_).absolutePath());
        QFile file(path_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // A fresh store object each time, as at a new start of the program.
    Settings ReadBack() {
        SettingsStore store(path_);
        return ReadAllSettings(store, kProgramFolder);
    }

    QTemporaryDir dir_;
    QString path_;
};

TEST_F(SettingsTest, FreshStoreGivesTheStartValues) {
    SettingsStore store(path_);
    const Settings s = ReadAllSettings(store, kProgramFolder);
    EXPECT_EQ(s, DefaultSettings(kProgramFolder));
    // The struct's own defaults, apart from the program folder.
    Settings plain;
    plain.susie32Plugin = "/opt/duplora/";
    EXPECT_EQ(s, plain);
    EXPECT_EQ(ViewFrameWidth(s), 5);
    EXPECT_FALSE(LzwTiffAllowed(s));
    // Reading creates nothing on disk.
    EXPECT_FALSE(QFile::exists(path_));
}

// One stored text and what the settings hold after start-up.
struct ValueCase {
    const char* name;
    const char* text;
    std::function<bool(const Settings&)> check;
    const char* what;
};

class StoredValue : public SettingsTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(StoredValue, IsReadWithItsRule) {
    const ValueCase& c = GetParam();
    SettingsStore store(path_);
    ASSERT_TRUE(store.WriteSetting(c.name, c.text));
    EXPECT_TRUE(c.check(ReadBack())) << c.name << " = \"" << c.text << "\": " << c.what;
}

#define VALUE(name, text, expr)                                   \
    ValueCase {                                                   \
        name, text, [](const Settings& s) { return expr; }, #expr \
    }

// Below, at and above each kind of range, garbage, empty texts, and lists too short, too long
// or with holes.
INSTANTIATE_TEST_SUITE_P(
    OutOfRangeAndGarbage, StoredValue,
    ::testing::Values(
        VALUE("SlideTime", "0", s.slideTime == 30), VALUE("SlideTime", "4000", s.slideTime == 30),
        VALUE("SlideTime", "3600", s.slideTime == 3600),
        VALUE("SlideTime", "zehn", s.slideTime == 30), VALUE("nQuality", "100", s.nQuality == 70),
        VALUE("nQuality", "85%", s.nQuality == 85), VALUE("nAdjustv", "0", s.nAdjustv == 4),
        VALUE("nAdjustv", "500", s.nAdjustv == 100),
        VALUE("nWaku", "0", s.nWaku == 0 && ViewFrameWidth(s) == 0),
        VALUE("nEdgedtc", "0", s.nEdgedtc == 0), VALUE("n2action", "", s.n2action == 1),
        VALUE("n2action", "7", s.n2action == 1), VALUE("nAnatype", "4", s.nAnatype == 0),
        VALUE("special", "604718", LzwTiffAllowed(s)), VALUE("comset", "76", s.comset == 76),
        VALUE("comset", "77", s.comset == 0), VALUE("Leftname", "\x01x", s.leftname == "_l"),
        VALUE("Leftname", "-L", s.leftname == "-L"),
        VALUE("Rightname", "\x14r", s.rightname == "\x14r"),
        VALUE("GaibuFile", "", s.gaibuFile == "gimp"),
        VALUE("Susie32Plugin", "/home/u/spi", s.susie32Plugin == "/home/u/spi/"),
        VALUE("nAspect", "1\t0\t5\t", (s.nAspect == AspectSet{1, 4, 3})),
        VALUE("nAspect", "2\t-16\t9\t", (s.nAspect == AspectSet{0, 4, 3})),
        VALUE("TrimingSize", "100,200,x,-5,300,",
              (s.trimingSize ==
               std::array<int, 10>{100, 200, 800, 600, 300, 768, 1280, 1024, 1600, 1200})),
        VALUE("TrimingSize", "1,2,3,4,5,6,7,8,9,10,11,12,",
              (s.trimingSize == std::array<int, 10>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10})),
        VALUE("FileTypeHistory", "1,20,9,-1,7,",
              (s.fileTypeHistory == std::array<int, 5>{1, 20, 0, 0, 7})),
        VALUE("nTrimresd", "1,320,-4", (s.nTrimresd == TrimResizeSet{1, 320, 0})),
        VALUE("textset", "0\t10\t",
              s.textset.corner == 0 && s.textset.xDistance == 10 && s.textset.shadow == 1 &&
                  s.textset.text.empty()),
        VALUE("textset", "7\t1\t2\t3\t-1\t2\t0\t4\t5\t16777216\t0\t-8\t255\tHallo\tWelt\t",
              s.textset.corner == 3 && s.textset.depth == 3 && s.textset.textColour == 0xE6E6E6 &&
                  s.textset.smooth == 0 && s.textset.shadow == 0 &&
                  s.textset.shadowColour == 0x202020 && s.textset.band == 0 &&
                  s.textset.bandHeight == 0 && s.textset.bandColour == 255 &&
                  s.textset.text == "Hallo\tWelt"),
        VALUE("logoset", "1\t5\t6\t-7\t0\t40\t65280\t1\t0\t/home/u/logo.bmp\t",
              (s.logoset == LogoSet{1, 5, 6, -7, 0, 40, 65280, 1, 0, "/home/u/logo.bmp"})),
        VALUE("border", "1\t0\t3\t4\t5\t6\t7\t8\t1\t2\t3\t255\t",
              (s.border == BorderSet{1, 0, 3, 4, 5, 6, 7, 8, 1, 2, 3, 255}) &&
                  ViewFrameWidth(s) == 12),
        VALUE("border", "1\tx\t-3\t",
              s.border.show == 1 && s.border.roundCorners == 1 && s.border.outerDisplay == 2 &&
                  s.border.background == 0)),
    [](const auto& info) { return info.param.name + std::to_string(info.index); });

#undef VALUE

TEST_F(SettingsTest, EveryValueSurvivesWriteAndRead) {
    Settings s = DefaultSettings(kProgramFolder);
    s.openFolder = "/home/ü/Bilder/3D";
    s.saveFolder = "/tmp/a b,c";
    s.trimingSize = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    s.susie32Plugin = "/usr/lib/spi/";
    for (int k = 0; k < 10; ++k) s.fileHistory[k] = "/pics/" + std::to_string(k) + "_l.jpg";
    s.fileHistory[3].clear();
    s.fileTypeHistory = {0, 10, 20, 7, 3};
    // Each number at a value other than its start value, limits where it has them.
    const std::pair<int Settings::*, int> numbers[] = {
        {&Settings::n3DSize, 5},      {&Settings::n3DBpp, 2},    {&Settings::nQuality, 99},
        {&Settings::nTSize, 8},       {&Settings::nWaku, 0},     {&Settings::nVidia, 2},
        {&Settings::docomo, 1},       {&Settings::nWinMax, 1},   {&Settings::nGmmar, 1},
        {&Settings::nGmmab, 500},     {&Settings::nSharpen, 1},  {&Settings::nEdgedtc, 255},
        {&Settings::slideTime, 3600}, {&Settings::gaibuHiki, 1}, {&Settings::comset, 76},
        {&Settings::nAdjustv, 100},   {&Settings::nSSin, 10},    {&Settings::nAnatype, 3},
        {&Settings::nAnactype, 2},    {&Settings::nSSType, 5},   {&Settings::nLoc, 1},
        {&Settings::nWcent, 1},       {&Settings::nTrimress, 1}, {&Settings::nKantyo, 1},
        {&Settings::n2action, 0},
    };
    for (const auto& [member, value] : numbers) s.*member = value;
    s.special = kLzwMarker;
    s.nAspect = {1, 16, 9};
    s.nTrimresd = {1, 1920, 1080};
    s.leftname = "-links";
    s.rightname = "-rechts";
    s.gaibuFile = "/usr/bin/gimp-2.10";
    s.logfont = "DejaVu Sans,12,-1,5,700,0,0,0,0,0";
    s.logfont1 = "Noto Serif,20,-1,5,400,1,0,0,0,0";
    s.textset = {1, 2, 3, 4, 5, 1, 0, 6, 7, 8, 0, 9, 10, "Grüße \"3D\"\ttab\\n"};
    s.textsetdef = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, ""};
    s.logoset = {2, 1, 1, 1, 0, 3, 4, 1, 5, "/home/u/logo,1.bmp"};
    s.logosetdef = LogoSet{};
    s.border = {1, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0xFFFFFF};
    s.nOpenPreview = 1;
    s.nFitSize = 1;
    s.kantanTyousei = "1,-2,3,4,5,6,7,8,9,10,";
    {
        SettingsStore store(path_);
        ASSERT_TRUE(store.WriteSettings(AllSettingWrites(s)));
    }
    EXPECT_EQ(ReadBack(), s);
}

TEST_F(SettingsTest, WriteGroupsCarryTheirValues) {
    Settings s = DefaultSettings(kProgramFolder);
    s.nAnatype = 3;  // yellow/blue
    s.nAnactype = 1;
    s.openFolder = "/data/in";
    s.saveFolder = "/data/out";
    s.fileHistory[0] = "/x/a.jps";
    s.fileTypeHistory = {2, 0, 0, 0, 0};
    const SettingWrites closing = ClosingWrites(s);
    EXPECT_EQ(closing, (SettingWrites{{"OpenFolder", "/data/in"},
                                      {"SaveFolder", "/data/out"},
                                      {"nAnatype", "3"},
                                      {"nAnactype", "1"}}));
    const SettingWrites history = FileHistoryWrites(s);
    ASSERT_EQ(history.size(), 11u);
    EXPECT_EQ(history[0], (std::pair<std::string, std::string>{"FileHistory0", "/x/a.jps"}));
    EXPECT_EQ(history[10], (std::pair<std::string, std::string>{"FileTypeHistory", "2,0,0,0,0,"}));
    {
        SettingsStore store(path_);
        ASSERT_TRUE(store.WriteSettings(closing));
        ASSERT_TRUE(store.WriteSettings(history));
    }
    EXPECT_EQ(ReadBack(), s);
    EXPECT_EQ(FormatSetting(s, "border"), "0\t1\t2\t10\t2\t4\t20\t4\t16777215\t0\t16777215\t0\t");
    EXPECT_EQ(FormatSetting(s, "textset"),
              "3\t0\t0\t0\t15132390\t0\t1\t1\t1\t2105376\t1\t0\t0\t\t");
    EXPECT_EQ(FormatSetting(s, "NoSuchValue"), "");
}

TEST_F(SettingsTest, FileWithGarbageLinesKeepsItsValues) {
    WriteRaw(
        "garbage before any section\n"
        "[General]\n"
        "nQuality=85\n"
        "this line means nothing\n"
        "=orphan\n"
        "\x01\x02\xff\xfe binary\n"
        "TrimingSize=100,200,300,400,500,600,700,800,900,1000,\n"
        "SlideTime=\"55\"\n"
        "Leftname=@Variant(broken\n"
        "OpenFolder=/home/user/Bilder\n"
        "[Elsewhere]\n"
        "key=value\n");
    {
        SettingsStore store(path_);
        const Settings s = ReadAllSettings(store, kProgramFolder);
        EXPECT_EQ(s.nQuality, 85);
        EXPECT_EQ(s.slideTime, 55);
        EXPECT_EQ(s.openFolder, "/home/user/Bilder");
        // A write rewrites the file; every value in it stays.
        EXPECT_TRUE(store.WriteSetting("nWaku", "9"));
    }
    const Settings s = ReadBack();
    EXPECT_EQ(s.nWaku, 9);
    EXPECT_EQ(s.trimingSize,
              (std::array<int, 10>{100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}));
    EXPECT_EQ(s.leftname, "@Variant(broken");
    SettingsStore again(path_);
    EXPECT_EQ(again.ReadSetting("Elsewhere/key"), "value");
}

TEST_F(SettingsTest, BinaryAndEmptyFilesReadAsFresh) {
    WriteRaw(QByteArray("\x00\x01\x02\xff[[[===\n\n\x7f", 13));
    EXPECT_EQ(ReadBack(), DefaultSettings(kProgramFolder));
    WriteRaw("");
    EXPECT_EQ(ReadBack(), DefaultSettings(kProgramFolder));
}

TEST_F(SettingsTest, UnwritableStoreFailsQuietly) {
    // The store's path is a folder: nothing can be written there.
    ASSERT_TRUE(QDir().mkpath(path_));
    SettingsStore store(path_);
    EXPECT_FALSE(store.WriteSetting("nQuality", "80"));
    EXPECT_EQ(ReadAllSettings(store, kProgramFolder).slideTime, 30);
    EXPECT_TRUE(QFileInfo(path_).isDir());
}

TEST_F(SettingsTest, UserStoreLivesInTheConfigFolder) {
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
    const auto back = store.ReadSettingFont("LOGFONT");
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, font);
    ASSERT_TRUE(store.WriteSetting("LOGFONT1", ""));
    EXPECT_FALSE(store.ReadSettingFont("LOGFONT1").has_value());
    EXPECT_EQ(ReadBack().logfont, font.toString().toStdString());
}

}  // namespace
}  // namespace duplora

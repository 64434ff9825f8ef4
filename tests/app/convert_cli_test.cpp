// The converter program run as a user runs it: its own process, a home folder of its own,
// no display.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <vector>

#include "convert_run.h"
#include "core/batch/batch_options.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/load_chain.h"
#include "core/formats/stereo_save.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/display_modes.h"
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

QStringList Arguments(const char* line) {
    return QString::fromUtf8(line).split(' ', Qt::SkipEmptyParts);
}

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ConvertCli : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid() && in_.isValid());
        config_ = home_.filePath("config");
        QDir().mkpath(config_);
    }

    // `platform`, when given, is the Qt platform the user has chosen.
    Result Run(const QStringList& arguments, const QString& platform = {}) const {
        const test::ConvertRun run =
            test::RunConverter(arguments, home_.path(), config_, in_.path(), platform, locale_);
        return {run.exitCode, run.out, run.err};
    }

    QString locale_ = "C.UTF-8";

    QString In(const QString& name) const { return in_.filePath(name); }
    QString Home(const QString& name) const { return home_.filePath(name); }

    // The sample pair copied into the input folder.
    bool CopyPair() const {
        if (!test::SampleExists("pairs/frozenpond_l.jpg")) return false;
        for (const char* name : {"frozenpond_l.jpg", "frozenpond_r.jpg"})
            std::filesystem::copy_file(test::SamplePath(std::string("pairs/") + name),
                                       In(name).toStdString());
        return true;
    }

    // A side-by-side BMP of two width × height views in the input folder.
    QString WriteSideBySide(const QString& name, int width, int height, std::uint32_t left,
                            std::uint32_t right) const {
        const ImageBuffer picture = test::MakeImage(
            2 * width, height, [&](int x, int) { return x < width ? left : right; });
        EXPECT_TRUE(WriteBmpFile(In(name).toStdString(), picture));
        return In(name);
    }

    // "TYPE WxH" of a picture as ImageMagick reads it; empty when it cannot.
    static std::string Identify(const QString& path) {
        QProcess identify;
        identify.start("identify", {"-format", "%m %wx%h", path});
        if (!identify.waitForFinished(30000) || identify.exitCode() != 0) return {};
        return identify.readAllStandardOutput().toStdString();
    }

    QTemporaryDir home_, in_;
    QString config_;
};

// No arguments, values out of range or unknown, an option without its value, and options
// that do not go together exit with 2 and one line; help with 0.
TEST_F(ConvertCli, UsageErrorsExitWithTwoAndOneLineAndHelpWithZero) {
    const char* const cases[] = {
        "",
        "--quality 0 a.jpg",
        "--bogus a.jpg",
        "--to 3d a.jpg",
        // Modes the batch does not offer, and a format nobody writes.
        "--to three-views a.jpg",
        "--type gif a.jpg",
        "--grey-pair colour-red-cyan a.jpg",
        "--angle 1.25,0 a.jpg",
        "--size 120 a.jpg",
        "--swap=1 a.jpg",
        "a.jpg --quality",
        "--list show.txt a.jpg",
        "--right-folder /tmp a.jpg",
    };
    for (const char* arguments : cases) {
        const Result r = Run(Arguments(arguments));
        EXPECT_EQ(r.exitCode, 2) << arguments;
        EXPECT_TRUE(r.out.empty());
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    const Result help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--list LIST"), std::string::npos);
    // Its lists of names are the rows the converter accepts.
    std::vector<std::string_view> keys;
    for (const DisplayModeRow* row : ListedDisplayModes()) keys.push_back(row->key);
    for (const OutputFormatRow& row : OutputFormatTable()) keys.push_back(row.key);
    for (const AnaglyphMethodRow& row : AnaglyphMethodTable()) keys.push_back(row.key);
    for (std::string_view key : keys)
        EXPECT_NE(help.out.find(std::string(" ") + std::string(key)), std::string::npos) << key;
    EXPECT_EQ(help.out.find("three-views"), std::string::npos);
}

// The stored save folder and quality are the defaults; the stored file is never written.
TEST_F(ConvertCli, ConvertsAPairWithTheStoredSettingsAndPrintsTheLog) {
    if (!CopyPair()) GTEST_SKIP();
    const QString folder = Home("saved");
    const QString ini = config_ + "/Ferrowyn/duplmaker.ini";
    const QByteArray text = "[General]\nSaveFolder=" + folder.toUtf8() + "\nnQuality=30\n";
    ASSERT_TRUE(test::WriteFileBytes(ini, text));
    const QDateTime before = QFileInfo(ini).lastModified();
    const QStringList pair = {
        "--from", "lr", "--to", "colour-anaglyph", In("frozenpond_l.jpg"), In("frozenpond_r.jpg")};
    const Result r = Run(pair);
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const std::string output = (folder + "/frozenpond_l.jpg").toStdString();
    EXPECT_TRUE(LoadImageFile(output).image);  // its size per layout: the batch tests
    EXPECT_NE(r.out.find("Input:" + in_.path().toStdString() + "-> Output:" + folder.toStdString() +
                         " [JPG]\n\n\"1/2 Quelle(frozenpond_l.jpg)\"-> Ausgabe(" + output +
                         ")\nErgebmis : Erfolgreich\n\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
    EXPECT_EQ(test::FileBytes(ini), text);
    EXPECT_EQ(QFileInfo(ini).lastModified(), before);

    // Quality 90 into a folder still to be made: a larger file than the stored quality 30.
    const QString out = Home("made/here");
    EXPECT_EQ(Run(QStringList{"--quality", "90", "-o", out} + pair).exitCode, 0);
    EXPECT_LT(QFileInfo(QString::fromStdString(output)).size(),
              QFileInfo(out + "/frozenpond_l.jpg").size());
}

TEST_F(ConvertCli, ExistingOutputIsSkippedUnlessYes) {
    if (!CopyPair()) GTEST_SKIP();
    const QString out = Home("out");
    const QString existing = out + "/frozenpond_l.bmp";
    ASSERT_TRUE(test::WriteFileBytes(existing, "old"));
    const QStringList arguments = {
        "--from", "lr", "--type", "bmp", "-o", out, In("frozenpond_l.jpg"), In("frozenpond_r.jpg")};
    const Result skipped = Run(arguments);
    EXPECT_EQ(skipped.exitCode, 1);
    EXPECT_NE(skipped.out.find("Ergebnis : übersprungen.\n"), std::string::npos) << skipped.out;
    EXPECT_EQ(QFileInfo(existing).size(), 3);

    const Result replaced = Run(QStringList{"--yes", "-q"} + arguments);
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_TRUE(replaced.out.empty());
    EXPECT_TRUE(ReadBmpFile(existing.toStdString()));
}

// In an English locale the help, the usage errors and the log are English; names and numbers
// stay as given. In "C" they are German.
TEST_F(ConvertCli, SpeaksEnglishInAnEnglishLocaleAndGermanInC) {
    constexpr auto npos = std::string::npos;
    locale_ = "en_US.UTF-8";
    const Result help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: duplora-convert [OPTIONS] FILE...", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("(told from each file's content) or lr"), npos) << help.out;
    EXPECT_NE(Run({"--quality", "0", "a.jpg"})
                  .err.find("duplora-convert: bad value for --quality: '0' (try --help)\n"),
              npos);
    locale_ = "C.UTF-8";
    EXPECT_EQ(Run({"--help"}).out.rfind("Aufruf: duplora-convert [OPTIONEN] FILE...", 0), 0u);
    EXPECT_NE(Run({"--quality", "0", "a.jpg"})
                  .err.find("duplora-convert: ungültiger Wert für --quality: '0' (siehe --help)\n"),
              npos);

    if (!CopyPair()) GTEST_SKIP();
    locale_ = "en_US.UTF-8";
    const Result r = Run({"--from", "lr", "--type", "bmp", "-o", Home("english"),
                          In("frozenpond_l.jpg"), In("frozenpond_r.jpg")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(
        r.out.find("\"1/2 Source(frozenpond_l.jpg)\"-> Output(" + Home("english").toStdString() +
                   "/frozenpond_l.bmp)\nResult : success\n\n"),
        npos)
        << r.out;
}

TEST_F(ConvertCli, UnreadableFileFailsTheRunButNotTheOthers) {
    if (!CopyPair()) GTEST_SKIP();
    ASSERT_TRUE(test::WriteFileBytes(In("broken.jpg"), "\xFF\xD8 not really"));
    const QString out = Home("out2");
    const Result r = Run({"--to", "ou", "-o", out, In("broken.jpg"), In("frozenpond_l.jpg")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("Ergebnis: Leserfehler.\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("Dieser Dateityp ist unterschiedlich"), std::string::npos) << r.err;
    EXPECT_TRUE(QFileInfo::exists(out + "/frozenpond_l.jpg"));
    EXPECT_FALSE(QFileInfo::exists(out + "/broken.jpg"));
}

TEST_F(ConvertCli, StoredTextIsDrawnWithoutADisplay) {
    if (!CopyPair()) GTEST_SKIP();
    // Bottom right, a band of 12 rows under each view.
    ASSERT_TRUE(test::WriteFileBytes(
        config_ + "/Ferrowyn/duplmaker.ini",
        "[General]\ntextset=\"3\\t4\\t2\\t3\\t15132390\\t0\\t1\\t1\\t1\\t2105376"
        "\\t1\\t12\\t0\\tDuplora\\t\"\n"));
    const Result r = Run({"--from", "lr", "--text", "--type", "bmp", "-o", Home("txt"),
                          In("frozenpond_l.jpg"), In("frozenpond_r.jpg")});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const ImageBuffer picture = ReadBmpFile((Home("txt") + "/frozenpond_l.bmp").toStdString());
    const ImageBuffer view = LoadImageFile(In("frozenpond_l.jpg").toStdString()).image;
    ASSERT_TRUE(picture && view);
    EXPECT_EQ(picture.Width(), 2 * view.Width());
    EXPECT_EQ(picture.Height(), view.Height() + 12);
    // The glyphs themselves and their depth are the batch overlay tests' concern; here the
    // text's colour must appear in the band.
    bool drawn = false;
    for (int x = 0; x < picture.Width() && !drawn; ++x)
        drawn = test::PixelAt(picture, x, view.Height() + 6) == 0xE6E6E6u;
    EXPECT_TRUE(drawn);

    // A platform that needs a display, chosen where there is none, does not stop it.
    const Result xcb = Run({"--from", "lr", "--text", "--type", "bmp", "--yes", "-o", Home("txt"),
                            In("frozenpond_l.jpg"), In("frozenpond_r.jpg")},
                           "xcb");
    EXPECT_EQ(xcb.exitCode, 0) << xcb.err;
    EXPECT_TRUE(test::SamePixels(ReadBmpFile((Home("txt") + "/frozenpond_l.bmp").toStdString()),
                                 picture, "cli-text"));
}

TEST_F(ConvertCli, ListRunConvertsTheListsPairs) {
    if (!CopyPair()) GTEST_SKIP();
    // The pair as it is, and swapped: the right file leads and names the output.
    ASSERT_TRUE(test::WriteFileBytes(In("show.txt"),
                                     "21,0,0,10,-4,frozenpond_l.jpg,frozenpond_r.jpg,\n"
                                     "21,0,1,10,-4,frozenpond_l.jpg,frozenpond_r.jpg,\n"));
    const Result r = Run(
        {"--list", In("show.txt"), "--to", "grey-anaglyph", "--type", "bmp", "-o", Home("lst")});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    const ImageBuffer picture = ReadBmpFile((Home("lst") + "/frozenpond_l.bmp").toStdString());
    const ImageBuffer swapped = ReadBmpFile((Home("lst") + "/frozenpond_r.bmp").toStdString());
    const ImageBuffer view = LoadImageFile(In("frozenpond_l.jpg").toStdString()).image;
    ASSERT_TRUE(picture && swapped && view);
    EXPECT_EQ(picture.Width(), view.Width() - 10);
    EXPECT_EQ(picture.Height(), view.Height() - 4);
    // What a swap does to the pixels is the batch list test's concern.
    EXPECT_EQ(swapped.Width(), picture.Width());
    EXPECT_EQ(swapped.Height(), picture.Height());
    const Result missing = Run({"--list", In("nothing.txt"), "-o", Home("lst")});
    EXPECT_EQ(missing.exitCode, 1);
}

// An output never replaces its own source, not even with --yes: the source named relatively
// (the target is the current folder), the target reached through a link, the right file
// of a pair, and the right half of a pair written as two files.
TEST_F(ConvertCli, OutputNeverReplacesItsOwnSource) {
    for (const char* name : {"p.bmp", "p.jpg", "p_r.bmp"}) WriteSideBySide(name, 8, 6, 0xFFFFFF, 0);
    ASSERT_TRUE(QFile::link(in_.path(), Home("alias")));
    const struct {
        const char* arguments;
        const char* source;  // the file that would be replaced
    } cases[] = {
        {"--type bmp --yes p.bmp", "p.bmp"},
        {"--type bmp --yes -o ALIAS p.bmp", "p.bmp"},
        {"--from lr --type bmp --yes p.jpg p.bmp", "p.bmp"},
        {"--from lr --to lr --type bmp --yes p.bmp p_r.bmp", "p_r.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        QStringList arguments = Arguments(c.arguments);
        arguments.replaceInStrings("ALIAS", Home("alias"));
        const QDateTime before = QFileInfo(In(c.source)).lastModified();
        const QFileInfo was(In(c.source));
        const Result r = Run(arguments);
        EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
        EXPECT_NE(r.out.find("Ergebnis : Ausgabe wäre die Quelldatei, nicht überschrieben.\n"),
                  std::string::npos)
            << r.out;
        EXPECT_EQ(QFileInfo(In(c.source)).lastModified(), before);
        EXPECT_EQ(QFileInfo(In(c.source)).size(), was.size());
    }
}

// A photograph cut short converts with what is there, and the run says so: a warning
// naming the file, and exit status 1. ImageMagick reads the output whole.
TEST_F(ConvertCli, PartlyReadSourceIsConvertedWithAWarning) {
    if (!CopyPair()) GTEST_SKIP();
    const QByteArray bytes = test::FileBytes(In("frozenpond_l.jpg"));
    ASSERT_TRUE(test::WriteFileBytes(In("cut.jpg"), bytes.left(bytes.size() / 2)));
    const Result r =
        Run({"--from", "lr", "-o", Home("cut"), In("cut.jpg"), In("frozenpond_r.jpg")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Quelle(" + In("cut.jpg").toStdString() + ") nur teilweise gelesen"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.out.find("Erfolgreich"), std::string::npos) << r.out;
    EXPECT_EQ(Identify(Home("cut/cut.jpg")), "JPEG 1280x480");

    // The whole file makes no warning.
    const Result clean =
        Run({"--from", "lr", "-o", Home("whole"), In("frozenpond_l.jpg"), In("frozenpond_r.jpg")});
    EXPECT_EQ(clean.exitCode, 0) << clean.err;
    EXPECT_EQ(clean.err.find("nur teilweise"), std::string::npos) << clean.err;
}

// Left and right files given in any order pair by their names; a file without a partner
// takes the next one left over.
TEST_F(ConvertCli, SeparateFilesPairByTheirNames) {
    for (const char* name : {"frozenpond_l.jpg", "gx8_l.jpg", "frozenpond_r.jpg", "gx8_r.jpg"})
        if (!test::SampleExists(std::string("pairs/") + name)) GTEST_SKIP();
    QStringList arguments = {"--from", "lr", "-o", Home("pairs")};
    for (const char* name : {"frozenpond_l.jpg", "gx8_l.jpg", "frozenpond_r.jpg", "gx8_r.jpg"})
        arguments << QString::fromStdString(test::SamplePath(std::string("pairs/") + name));
    const Result r = Run(arguments);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(Identify(Home("pairs/frozenpond_l.jpg")), "JPEG 1280x480");
    EXPECT_EQ(Identify(Home("pairs/gx8_l.jpg")), "JPEG 3648x1367");
    EXPECT_FALSE(QFileInfo::exists(Home("pairs/frozenpond_r.jpg")));
}

// Beyond the batch dialog's four types, STJ: the composed picture in a JPEG behind the STJ
// head, 23 bytes longer than the JPEG, which ImageMagick reads at the composed size.
TEST_F(ConvertCli, StjTypeWritesTheStereoJpeg) {
    const QString source = WriteSideBySide("pair.bmp", 40, 30, 0xFFFFFF, 0x808080);
    const Result r = Run({"--type", "stj", "-o", Home("stj"), source});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("[STJ]"), std::string::npos) << r.out;
    const QByteArray bytes = test::FileBytes(Home("stj/pair.stj"));
    ASSERT_GT(bytes.size(), static_cast<qsizetype>(kStjHeadSize));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(StjHead().data()), kStjHeadSize),
              bytes.left(kStjHeadSize));
    EXPECT_EQ(Identify(Home("stj/pair.stj")), "JPEG 80x30");
}

// Each option of the dialog reaches the picture: sources of a white left and a grey right
// view, written as BMP so that the pixels are exact.
TEST_F(ConvertCli, EveryOptionReachesThePicture) {
    const QString source = WriteSideBySide("w.bmp", 40, 30, 0xFFFFFF, 0x808080);
    const struct {
        const char* name;
        const char* arguments;
        int width, height;  // of the output, a side-by-side picture of two 40 × 30 views
        int x, y;
        std::uint32_t rgb;  // the pixel at (x, y)
    } cases[] = {
        {"plain", "", 80, 30, 0, 0, 0xFFFFFF},
        {"ou", "--to ou", 40, 60, 5, 35, 0x808080},
        {"interlace", "--to interlace", 40, 30, 5, 0, 0x808080},
        {"grey", "--to grey-anaglyph", 40, 30, 3, 3, 0xFF8080},
        {"grey-yb", "--to grey-anaglyph --grey-pair yellow-blue", 40, 30, 3, 3, 0x8080FF},
        {"colour", "--to colour-anaglyph", 40, 30, 3, 3, 0xFF8080},
        {"colour-yb", "--to colour-anaglyph --colour-kind colour-yellow-blue", 40, 30, 3, 3,
         0x8080FF},
        {"swap", "--swap", 80, 30, 0, 0, 0x808080},
        {"position", "--position 5,-3", 70, 27, 0, 0, 0xFFFFFF},
        {"width", "--width 20", 20, 7, 2, 3, 0xFFFFFF},
        {"size", "--size 50,100", 80, 30, 20, 15, 0xFFFFFF},
        {"size-border", "--size 50,100", 80, 30, 5, 5, 0x000000},
        {"angle", "--angle 1.5,-0.5", 80, 30, 20, 15, 0xFFFFFF},
        {"gamma", "--gamma 1.00,2.00", 80, 30, 60, 15, 0xB4B4B4},
        {"sharpen", "--sharpen 50", 80, 30, 60, 15, 0x808080},
        {"border", "--border", 80 + 4 * 28, 30 + 2 * 28, 0, 0, 0xFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString out = Home(QString("opt-") + c.name);
        const Result r = Run(QStringList{"--type", "bmp", "-o", out} + Arguments(c.arguments) +
                             QStringList{source});
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        const ImageBuffer picture = ReadBmpFile((out + "/w.bmp").toStdString());
        ASSERT_TRUE(picture);
        EXPECT_EQ(std::tuple(picture.Width(), picture.Height()), std::tuple(c.width, c.height));
        EXPECT_EQ(test::PixelAt(picture, c.x, c.y), c.rgb);
        if (c.name == std::string("width")) {
            EXPECT_NE(r.out.find("Quellbild von(80*30)nach(20*7)umgewandelt\n"), std::string::npos)
                << r.out;
        }
    }
    EXPECT_TRUE(QDir(config_).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty())
        << "the settings folder is left alone";
}

}  // namespace
}  // namespace duplora

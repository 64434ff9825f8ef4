// The converter program run as a user runs it: its own process, a home folder of its own,
// no display. The pictures themselves are the core's concern; here the options, the paths
// through the program, its log and its exit status.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <vector>

#include "core/align/feature_align.h"
#include "core/batch/batch_options.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/load_chain.h"
#include "core/formats/mpo.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/display_modes.h"
#include "core/strings.h"
#include "res/core/string_ids.h"
#include "support/qt_files.h"
#include "support/test_support.h"

namespace duplora {
namespace {

QStringList Arguments(const char* line) {
    return QString::fromUtf8(line).split(' ', Qt::SkipEmptyParts);
}

struct Result {
    int exitCode = -1;  // -1 when it crashed or did not finish in two minutes
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

    // Run in the input folder with the user's language `locale_`; `platform`, when given, is
    // the Qt platform the user has chosen.
    Result Run(const QStringList& arguments, const QString& platform = {}) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable :
             {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(variable);
        if (!platform.isEmpty()) environment.insert("QT_QPA_PLATFORM", platform);
        environment.insert("HOME", home_.path());
        environment.insert("XDG_CONFIG_HOME", config_);
        environment.insert("LANG", locale_);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(in_.path());
        process.start(DUPLORA_CONVERT_PROGRAM, arguments);
        Result run;
        if (!process.waitForFinished(120000)) return run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput().toStdString();
        run.err = process.readAllStandardError().toStdString();
        return run;
    }

    QString In(const QString& name) const { return in_.filePath(name); }
    QString Home(const QString& name) const { return home_.filePath(name); }

    // The samples copied into the input folder under the given names; false when missing.
    bool Copy(const std::vector<std::pair<std::string, QString>>& samples) const {
        for (const auto& [sample, name] : samples) {
            if (!test::SampleExists(sample)) return false;
            std::filesystem::copy_file(test::SamplePath(sample), In(name).toStdString());
        }
        return true;
    }
    bool CopyPair() const {
        return Copy({{"pairs/frozenpond_l.jpg", "frozenpond_l.jpg"},
                     {"pairs/frozenpond_r.jpg", "frozenpond_r.jpg"}});
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

    QString locale_ = "C.UTF-8";
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
        "--colour-kind dubois a.jpg",
        "--from mpeg a.jpg",
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

// In an English locale the help and the usage errors are English; in "C" German.
TEST_F(ConvertCli, SpeaksEnglishInAnEnglishLocaleAndGermanInC) {
    constexpr auto npos = std::string::npos;
    locale_ = "en_US.UTF-8";
    const Result help = Run({"--help"});
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

// A file that cannot be read fails the run, and its box goes to standard error.
TEST_F(ConvertCli, UnreadableFileFailsTheRun) {
    ASSERT_TRUE(test::WriteFileBytes(In("broken.jpg"), "\xFF\xD8 not really"));
    const Result r = Run({"--to", "ou", "-o", Home("out2"), In("broken.jpg")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("Ergebnis: Leserfehler.\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("Dieser Dateityp ist unterschiedlich"), std::string::npos) << r.err;
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
}

TEST_F(ConvertCli, StoredTextIsDrawnWithoutADisplay) {
    if (!CopyPair()) GTEST_SKIP();
    // Bottom right, a band of 12 rows under each view.
    ASSERT_TRUE(test::WriteFileBytes(
        config_ + "/Ferrowyn/duplmaker.ini",
        "[General]\ntextset=\"3\\t4\\t2\\t3\\t15132390\\t0\\t1\\t1\\t1\\t2105376"
        "\\t1\\t12\\t0\\tDuplora\\t\"\n"));
    const QStringList arguments = {"--from",
                                   "lr",
                                   "--text",
                                   "--type",
                                   "bmp",
                                   "--yes",
                                   "-o",
                                   Home("txt"),
                                   In("frozenpond_l.jpg"),
                                   In("frozenpond_r.jpg")};
    const Result r = Run(arguments);
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const ImageBuffer picture = ReadBmpFile((Home("txt") + "/frozenpond_l.bmp").toStdString());
    const ImageBuffer view = LoadImageFile(In("frozenpond_l.jpg").toStdString()).image;
    ASSERT_TRUE(picture && view);
    EXPECT_EQ(picture.Height(), view.Height() + 12);
    // The glyphs and their depth are the batch overlay tests' concern; here the text's colour
    // must appear in the band.
    bool drawn = false;
    for (int x = 0; x < picture.Width() && !drawn; ++x)
        drawn = test::PixelAt(picture, x, view.Height() + 6) == 0xE6E6E6u;
    EXPECT_TRUE(drawn);

    // A platform that needs a display, chosen where there is none, does not stop it.
    const Result xcb = Run(arguments, "xcb");
    EXPECT_EQ(xcb.exitCode, 0) << xcb.err;
    EXPECT_TRUE(test::SamePixels(ReadBmpFile((Home("txt") + "/frozenpond_l.bmp").toStdString()),
                                 picture, "cli-text"));
}

// The pair as it is, and swapped: the right file leads and names the output. What the
// alignment and the swap do to the pixels is the batch list test's concern.
TEST_F(ConvertCli, ListRunConvertsTheListsPairs) {
    if (!CopyPair()) GTEST_SKIP();
    ASSERT_TRUE(test::WriteFileBytes(In("show.txt"),
                                     "21,0,0,10,-4,frozenpond_l.jpg,frozenpond_r.jpg,\n"
                                     "21,0,1,10,-4,frozenpond_l.jpg,frozenpond_r.jpg,\n"));
    const Result r = Run(
        {"--list", In("show.txt"), "--to", "grey-anaglyph", "--type", "bmp", "-o", Home("lst")});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    const ImageBuffer picture = ReadBmpFile((Home("lst") + "/frozenpond_l.bmp").toStdString());
    const ImageBuffer view = LoadImageFile(In("frozenpond_l.jpg").toStdString()).image;
    ASSERT_TRUE(picture && view);
    EXPECT_EQ(std::tuple(picture.Width(), picture.Height()),
              std::tuple(view.Width() - 10, view.Height() - 4));
    EXPECT_TRUE(ReadBmpFile((Home("lst") + "/frozenpond_r.bmp").toStdString()));
    EXPECT_EQ(Run({"--list", In("nothing.txt"), "-o", Home("lst")}).exitCode, 1);
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
        const QFileInfo was(In(c.source));
        const Result r = Run(arguments);
        EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
        EXPECT_NE(r.out.find("Ergebnis : Ausgabe wäre die Quelldatei, nicht überschrieben.\n"),
                  std::string::npos)
            << r.out;
        EXPECT_EQ(QFileInfo(In(c.source)).lastModified(), was.lastModified());
        EXPECT_EQ(QFileInfo(In(c.source)).size(), was.size());
    }
}

// Each option of the dialog reaches the picture: sources of a white left and a grey right
// view, written as BMP so that the pixels are exact; beyond the dialog's four types, STJ.
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
    // The STJ head is the core's concern; ImageMagick reads the JPEG behind it.
    const Result stj = Run({"--type", "stj", "-o", Home("stj"), source});
    EXPECT_EQ(stj.exitCode, 0) << stj.out << stj.err;
    EXPECT_NE(stj.out.find("[STJ]"), std::string::npos) << stj.out;
    EXPECT_EQ(Identify(Home("stj/w.stj")), "JPEG 80x30");
}

// ---- the stereo-camera formats --------------------------------------------------------------

// Multi-picture sources and outputs, layouts told from the content, half-size outputs and the
// least-squares anaglyphs; the files have names that say nothing of their layout.
TEST_F(ConvertCli, MpoInAndOutAutoLayoutsAndHalfSize) {
    if (!Copy({{"mpo/sugarshack.mpo", "one.jpg"},
               {"single-file/walrus-360.top-bottom.jpg", "two.jpg"}}))
        GTEST_SKIP() << "sample photographs missing";
    const QString mpo = In("one.jpg");
    const auto convert = [&](const QStringList& arguments) {
        const Result r = Run(QStringList{"-o", Home("out"), "-q", "--yes"} + arguments);
        EXPECT_EQ(r.exitCode, 0) << r.err;
    };
    const auto out = [&](const char* name) { return Home("out/").toStdString() + name; };
    // Told from their content: the MPO's two pictures, the panorama's halves.
    convert({"--from", "auto", "--to", "sbs", "--type", "bmp", mpo, In("two.jpg")});
    EXPECT_EQ(LoadImageFile(out("one.bmp")).image.Width(), 1280);
    const ImageBuffer panorama = LoadImageFile(out("two.bmp")).image;
    EXPECT_EQ(std::tuple(panorama.Width(), panorama.Height()), std::tuple(8192, 2048));
    // Out as a multi-picture file, whatever the layout asked, and in again with --from mpo.
    convert({"--from", "mpo", "--to", "grey-anaglyph", "--type", "mpo", mpo});
    const MpoViews views = ReadMpoFile(out("one.mpo"));
    ASSERT_TRUE(views.left && views.right);
    EXPECT_EQ(views.right.Width(), 640);
    // Half width: each view halved, the picture as wide as one view.
    convert({"--from", "mpo", "--to", "half-sbs", "--type", "jpg", "--colour-kind",
             "dubois-red-cyan", mpo});
    const ImageBuffer half = LoadImageFile(out("one.jpg")).image;
    EXPECT_EQ(std::tuple(half.Width(), half.Height()), std::tuple(640, 480));
    convert(
        {"--from", "mpo", "--to", "colour-anaglyph", "--colour-kind", "dubois-amber-blue", mpo});
}

TEST_F(ConvertCli, KeepExifCarriesTheCameraOfTheLeftSource) {
    if (!Copy({{"mpo/gx8.mpo", "cam.mpo"}}) || QProcess::execute("exiftool", {"-ver"}) != 0)
        GTEST_SKIP() << "sample photographs or exiftool missing";
    const Result r =
        Run({"--from", "mpo", "--type", "jps", "--keep-exif", "-o", Home("out"), In("cam.mpo")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto exif = [](const QStringList& arguments) {
        QProcess exiftool;
        exiftool.start("exiftool", QStringList{"-s3"} + arguments);
        EXPECT_TRUE(exiftool.waitForFinished(30000));
        return QString::fromUtf8(exiftool.readAllStandardOutput()).trimmed();
    };
    const QString model = exif({"-Model", In("cam.mpo")});
    EXPECT_FALSE(model.isEmpty());
    EXPECT_EQ(exif({"-Model", "-ExifImageWidth", "-Orientation#", Home("out/cam.jps")}),
              model + "\n3648\n1");
}

// ---- automatic alignment --------------------------------------------------------------------

// The written pair has nothing left to correct, and the log says what was done.
TEST_F(ConvertCli, AutoAlignedPairHasNothingLeftToCorrect) {
    if (!Copy({{"pairs/gx8_l.jpg", "gx8_l.jpg"}, {"pairs/gx8_r.jpg", "gx8_r.jpg"}}))
        GTEST_SKIP() << "sample photographs missing";
    const Result run = Run({"--from", "lr", "--to", "lr", "--type", "bmp", "-o", "out",
                            "--auto-align", In("gx8_l.jpg"), In("gx8_r.jpg")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Automatisch ausgerichtet: Drehung "), std::string::npos) << run.out;
    const ImageBuffer left = ReadBmpFile(In("out/gx8_l_l.bmp").toStdString());
    const ImageBuffer right = ReadBmpFile(In("out/gx8_l_r.bmp").toStdString());
    ASSERT_TRUE(left && right);
    const auto again = FindFeatureAlignment(left, right);
    ASSERT_TRUE(again);
    EXPECT_NEAR(again.Value().rotation, 0, 0.05);
    EXPECT_NEAR(again.Value().verticalShift, 0, 0.5);
    EXPECT_LE(again.Value().residualBefore, 0.6);
}

TEST_F(ConvertCli, AutoAlignOfAPairWithoutFeaturesFailsWithTheReason) {
    const ImageBuffer flat = test::MakeImage(200, 150, [](int, int) { return 0x336699u; });
    ASSERT_TRUE(WriteBmpFile(In("flat_l.bmp").toStdString(), flat));
    ASSERT_TRUE(WriteBmpFile(In("flat_r.bmp").toStdString(), flat));
    const Result run = Run(
        {"--from", "lr", "-o", "out", "--auto-align", "-q", In("flat_l.bmp"), In("flat_r.bmp")});
    EXPECT_EQ(run.exitCode, 1);
    const std::string reason = LoadResString(StringId::AutoAlignTooFewFeatures);
    EXPECT_NE(run.err.find(reason.substr(0, reason.find('\n'))), std::string::npos) << run.err;
    EXPECT_FALSE(QFileInfo::exists(In("out/flat_l.jpg")));
}

}  // namespace
}  // namespace duplora

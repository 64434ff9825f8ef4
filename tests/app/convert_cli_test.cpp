// The converter program run as a user runs it: its own process, a home folder of its own,
// no display.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <filesystem>
#include <string>

#include "core/formats/bmp_codec.h"
#include "core/formats/load_chain.h"
#include "support/test_support.h"

namespace duplora {
namespace {

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

    Result Run(const QStringList& arguments) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM");
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("HOME", home_.path());
        environment.insert("XDG_CONFIG_HOME", config_);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(in_.path());
        process.start(DUPLORA_CONVERT_PROGRAM, arguments);
        Result result;
        if (!process.waitForFinished(120000)) return result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput().toStdString();
        result.err = process.readAllStandardError().toStdString();
        return result;
    }

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

    QTemporaryDir home_, in_;
    QString config_;
};

TEST_F(ConvertCli, UsageErrorsExitWithTwoAndOneLine) {
    const QStringList cases[] = {
        {},
        {"--quality", "0", "a.jpg"},
        {"--quality", "100", "a.jpg"},
        {"--bogus", "a.jpg"},
        {"--to", "3d", "a.jpg"},
        {"--from", "xyz", "a.jpg"},
        {"--type", "png", "a.jpg"},
        {"--angle", "1.25,0", "a.jpg"},
        {"--angle", "91,0", "a.jpg"},
        {"--size", "120", "a.jpg"},
        {"--gamma", "0,1", "a.jpg"},
        {"--sharpen", "51", "a.jpg"},
        {"--width", "wide", "a.jpg"},
        {"--grey-pair", "blue-red", "a.jpg"},
        {"--colour-kind", "red-cyan", "a.jpg"},
        {"--list", "show.txt", "a.jpg"},
        {"--list", "a.txt", "--list", "b.txt"},
        {"--right-folder", "/tmp", "a.jpg"},
        {"--swap=1", "a.jpg"},
        {"a.jpg", "--quality"},
    };
    for (const QStringList& arguments : cases) {
        const Result r = Run(arguments);
        EXPECT_EQ(r.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.out.empty());
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

TEST_F(ConvertCli, HelpExitsWithZero) {
    const Result r = Run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("--list LIST"), std::string::npos);
}

TEST_F(ConvertCli, ConvertsAPairIntoANewFolderAndPrintsTheLog) {
    if (!CopyPair()) GTEST_SKIP();
    const QString out = Home("made/here");
    const Result r = Run({"--from", "lr", "--to", "colour-anaglyph", "--quality", "80", "-o", out,
                          In("frozenpond_l.jpg"), In("frozenpond_r.jpg")});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const std::string output = (out + "/frozenpond_l.jpg").toStdString();
    const ImageBuffer picture = LoadImageFile(output).image;
    const ImageBuffer view = LoadImageFile(In("frozenpond_l.jpg").toStdString()).image;
    ASSERT_TRUE(picture && view);
    EXPECT_EQ(picture.Width(), view.Width());
    EXPECT_EQ(picture.Height(), view.Height());
    EXPECT_NE(r.out.find("Input:" + in_.path().toStdString() + "-> Output:" + out.toStdString() +
                         " [JPG]\n\n\"1/2 Quelle(frozenpond_l.jpg)\"-> Ausgabe(" + output +
                         ")\nErgebmis : Erfolgreich\n\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
}

TEST_F(ConvertCli, ExistingOutputIsSkippedUnlessYes) {
    if (!CopyPair()) GTEST_SKIP();
    const QString out = Home("out");
    QDir().mkpath(out);
    const QString existing = out + "/frozenpond_l.bmp";
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    const QStringList arguments = {
        "--from", "lr", "--type", "bmp", "-o", out, In("frozenpond_l.jpg"), In("frozenpond_r.jpg")};
    const Result skipped = Run(arguments);
    EXPECT_EQ(skipped.exitCode, 1);
    EXPECT_NE(skipped.out.find("Ergebnis : übersprungen.\n"), std::string::npos) << skipped.out;
    EXPECT_EQ(QFileInfo(existing).size(), 3);

    const Result replaced = Run(QStringList{"--yes", "-q"} + arguments);
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_TRUE(replaced.out.empty());
    const ImageBuffer picture = ReadBmpFile(existing.toStdString());
    ASSERT_TRUE(picture);
}

TEST_F(ConvertCli, UnreadableFileFailsTheRunButNotTheOthers) {
    if (!CopyPair()) GTEST_SKIP();
    {
        QFile f(In("broken.jpg"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\xFF\xD8 not really");
    }
    const QString out = Home("out2");
    const Result r = Run({"--to", "ou", "-o", out, In("broken.jpg"), In("frozenpond_l.jpg")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("Ergebnis: Leserfehler.\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("Dieser Dateityp ist unterschiedlich"), std::string::npos) << r.err;
    EXPECT_TRUE(QFileInfo::exists(out + "/frozenpond_l.jpg"));
    EXPECT_FALSE(QFileInfo::exists(out + "/broken.jpg"));
}

TEST_F(ConvertCli, StoredSettingsGiveTheDefaultsAndAreNotWritten) {
    if (!CopyPair()) GTEST_SKIP();
    const QString folder = Home("saved");
    QDir().mkpath(config_ + "/Ferrowyn");
    const QString ini = config_ + "/Ferrowyn/duplmaker.ini";
    const QByteArray text = "[General]\nSaveFolder=" + folder.toUtf8() + "\nnQuality=30\n";
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    const QDateTime before = QFileInfo(ini).lastModified();
    const Result r = Run({"--from", "lr", In("frozenpond_l.jpg"), In("frozenpond_r.jpg")});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    const QString output = folder + "/frozenpond_l.jpg";
    ASSERT_TRUE(QFileInfo::exists(output));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), text);
    EXPECT_EQ(QFileInfo(ini).lastModified(), before);

    // The stored quality 30 makes a smaller file than quality 90.
    const Result high = Run({"--from", "lr", "--quality", "90", "-o", Home("high"),
                             In("frozenpond_l.jpg"), In("frozenpond_r.jpg")});
    EXPECT_EQ(high.exitCode, 0);
    EXPECT_LT(QFileInfo(output).size(), QFileInfo(Home("high") + "/frozenpond_l.jpg").size());
}

TEST_F(ConvertCli, StoredTextIsDrawnWithoutADisplay) {
    if (!CopyPair()) GTEST_SKIP();
    QDir().mkpath(config_ + "/Ferrowyn");
    QFile ini(config_ + "/Ferrowyn/duplmaker.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    // Bottom right, a band of 12 rows under each view.
    ini.write(
        "[General]\ntextset=\"3\\t4\\t2\\t3\\t15132390\\t0\\t1\\t1\\t1\\t2105376\\t1\\t12"
        "\\t0\\tDuplora\\t\"\n");
    ini.close();
    const Result r = Run({"--from", "lr", "--text", "--type", "bmp", "-o", Home("txt"),
                          In("frozenpond_l.jpg"), In("frozenpond_r.jpg")});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const ImageBuffer picture = ReadBmpFile((Home("txt") + "/frozenpond_l.bmp").toStdString());
    const ImageBuffer view = LoadImageFile(In("frozenpond_l.jpg").toStdString()).image;
    ASSERT_TRUE(picture && view);
    EXPECT_EQ(picture.Width(), 2 * view.Width());
    EXPECT_EQ(picture.Height(), view.Height() + 12);
}

TEST_F(ConvertCli, ListRunConvertsTheListsPairs) {
    if (!CopyPair()) GTEST_SKIP();
    {
        QFile f(In("show.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("21,0,0,10,0,frozenpond_l.jpg,frozenpond_r.jpg,\n");
    }
    const Result r = Run({"--list", In("show.txt"), "--to", "grey-anaglyph", "-o", Home("lst")});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    const ImageBuffer picture =
        LoadImageFile((Home("lst") + "/frozenpond_l.jpg").toStdString()).image;
    const ImageBuffer view = LoadImageFile(In("frozenpond_l.jpg").toStdString()).image;
    ASSERT_TRUE(picture && view);
    EXPECT_EQ(picture.Width(), view.Width() - 10);
    const Result missing = Run({"--list", In("nothing.txt"), "-o", Home("lst")});
    EXPECT_EQ(missing.exitCode, 1);
}

}  // namespace
}  // namespace duplora

// The converter with the stereo-camera formats: multi-picture sources and outputs, layouts
// told from the content, half-size outputs, the least-squares anaglyphs and the camera Exif.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <string>

#include "core/formats/load_chain.h"
#include "core/formats/mpo.h"
#include "core/formats/stereo_open.h"
#include "support/test_support.h"

namespace duplora {
namespace {

class ConvertStereoFormats : public ::testing::Test {
  protected:
    // Runs the converter into out/ with a home of its own; the exit status, -1 when it hung.
    int Convert(QStringList arguments) {
        QProcess process;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", dir_.path());
        environment.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
        environment.remove("DISPLAY");
        process.setProcessEnvironment(environment);
        arguments.prepend(dir_.filePath("out"));
        arguments.prepend("-o");
        arguments << "-q"
                  << "--yes";
        process.start(DUPLORA_CONVERT_PROGRAM, arguments);
        if (!process.waitForFinished(120000)) return -1;
        error_ = process.readAllStandardError().toStdString();
        return process.exitCode();
    }
    // A sample under a name that says nothing of its layout.
    QString Neutral(const char* sample, const char* name) {
        const QString path = dir_.filePath(name);
        std::filesystem::copy_file(test::SamplePath(sample), path.toStdString());
        return path;
    }
    std::string Out(const char* name) const { return dir_.filePath("out/").toStdString() + name; }

    QTemporaryDir dir_;
    std::string error_;
};

TEST_F(ConvertStereoFormats, MpoInAndOutAutoLayoutsAndHalfSize) {
    if (!test::SampleExists("mpo/sugarshack.mpo") ||
        !test::SampleExists("single-file/walrus-360.top-bottom.jpg"))
        GTEST_SKIP() << "sample photographs missing";
    const QString mpo = Neutral("mpo/sugarshack.mpo", "one.jpg");
    const QString ou = Neutral("single-file/walrus-360.top-bottom.jpg", "two.jpg");
    // Told from their content: the MPO's two pictures, the panorama's halves.
    ASSERT_EQ(Convert({"--from", "auto", "--to", "sbs", "--type", "bmp", mpo, ou}), 0) << error_;
    EXPECT_EQ(LoadImageFile(Out("one.bmp")).image.Width(), 1280);
    const ImageBuffer panorama = LoadImageFile(Out("two.bmp")).image;
    EXPECT_EQ(panorama.Width(), 8192);
    EXPECT_EQ(panorama.Height(), 2048);
    // Out as a multi-picture file, whatever the layout asked, and in again with --from mpo.
    ASSERT_EQ(Convert({"--from", "mpo", "--to", "grey-anaglyph", "--type", "mpo", mpo}), 0);
    const MpoViews views = ReadMpoFile(Out("one.mpo"));
    ASSERT_TRUE(views.left && views.right);
    EXPECT_EQ(views.right.Width(), 640);
    // Half width: each view halved, the picture as wide as one view.
    ASSERT_EQ(Convert({"--from", "mpo", "--to", "half-sbs", "--type", "jpg", "--colour-kind",
                       "dubois-red-cyan", mpo}),
              0);
    const ImageBuffer half = LoadImageFile(Out("one.jpg")).image;
    EXPECT_EQ(half.Width(), 640);
    EXPECT_EQ(half.Height(), 480);
    EXPECT_EQ(Convert({"--from", "mpo", "--to", "colour-anaglyph", "--colour-kind",
                       "dubois-amber-blue", mpo}),
              0);
    EXPECT_EQ(Convert({"--colour-kind", "dubois", mpo}), 2);
    EXPECT_EQ(Convert({"--from", "mpeg", mpo}), 2);
}

TEST_F(ConvertStereoFormats, KeepExifCarriesTheCameraOfTheLeftSource) {
    if (!test::SampleExists("mpo/gx8.mpo") || QProcess::execute("exiftool", {"-ver"}) != 0)
        GTEST_SKIP() << "sample photographs or exiftool missing";
    const QString mpo = Neutral("mpo/gx8.mpo", "cam.mpo");
    ASSERT_EQ(Convert({"--from", "mpo", "--type", "jps", "--keep-exif", mpo}), 0) << error_;
    QProcess exiftool;
    exiftool.start("exiftool", {"-s3", "-Model", "-ExifImageWidth", "-Orientation#",
                                QString::fromStdString(Out("cam.jps"))});
    ASSERT_TRUE(exiftool.waitForFinished(30000));
    QProcess source;
    source.start("exiftool", {"-s3", "-Model", mpo});
    ASSERT_TRUE(source.waitForFinished(30000));
    const QString model = QString::fromUtf8(source.readAllStandardOutput()).trimmed();
    EXPECT_FALSE(model.isEmpty());
    EXPECT_EQ(QString::fromUtf8(exiftool.readAllStandardOutput()).trimmed(), model + "\n3648\n1");
}

}  // namespace
}  // namespace duplora

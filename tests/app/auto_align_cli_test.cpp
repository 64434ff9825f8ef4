// duplora-convert --auto-align run as a user runs it: the written pair has nothing left to
// correct, the log says what was done, and a pair without common features fails with the
// reason.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "convert_run.h"
#include "core/align/feature_align.h"
#include "core/formats/bmp_codec.h"
#include "core/strings.h"
#include "res/core/string_ids.h"
#include "support/test_support.h"

namespace duplora {
namespace {

// The converter in `folder`, with a home of its own there.
test::ConvertRun Convert(const QTemporaryDir& folder, const QStringList& arguments) {
    return test::RunConverter(arguments, folder.filePath("home"), folder.filePath("home/config"),
                              folder.path());
}

TEST(ConvertAutoAlign, WrittenPairHasNothingLeftToCorrect) {
    if (!test::SampleExists("pairs/gx8_l.jpg")) GTEST_SKIP() << "sample photographs missing";
    QTemporaryDir folder;
    for (const char* name : {"gx8_l.jpg", "gx8_r.jpg"})
        std::filesystem::copy_file(test::SamplePath(std::string("pairs/") + name),
                                   folder.filePath(name).toStdString());
    const test::ConvertRun run =
        Convert(folder, {"--from", "lr", "--to", "lr", "--type", "bmp", "-o", "out", "--auto-align",
                         folder.filePath("gx8_l.jpg"), folder.filePath("gx8_r.jpg")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Automatisch ausgerichtet: Drehung "), std::string::npos) << run.out;

    const ImageBuffer left = ReadBmpFile(folder.filePath("out/gx8_l_l.bmp").toStdString());
    const ImageBuffer right = ReadBmpFile(folder.filePath("out/gx8_l_r.bmp").toStdString());
    ASSERT_TRUE(left && right);
    Result<FeatureAlignment> again = FindFeatureAlignment(left, right);
    ASSERT_TRUE(again);
    EXPECT_NEAR(again.Value().rotation, 0, 0.05);
    EXPECT_NEAR(again.Value().verticalShift, 0, 0.5);
    EXPECT_LE(again.Value().residualBefore, 0.6);
}

TEST(ConvertAutoAlign, PairWithoutFeaturesFailsWithTheReason) {
    QTemporaryDir folder;
    const ImageBuffer flat = test::MakeImage(200, 150, [](int, int) { return 0x336699u; });
    ASSERT_TRUE(WriteBmpFile(folder.filePath("flat_l.bmp").toStdString(), flat));
    ASSERT_TRUE(WriteBmpFile(folder.filePath("flat_r.bmp").toStdString(), flat));
    const test::ConvertRun run =
        Convert(folder, {"--from", "lr", "-o", "out", "--auto-align", "-q",
                         folder.filePath("flat_l.bmp"), folder.filePath("flat_r.bmp")});
    EXPECT_EQ(run.exitCode, 1);
    const std::string reason = LoadResString(StringId::AutoAlignTooFewFeatures);
    EXPECT_NE(run.err.find(reason.substr(0, reason.find('\n'))), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder.filePath("out/flat_l.jpg").toStdString()));
}

}  // namespace
}  // namespace duplora

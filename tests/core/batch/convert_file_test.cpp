#include "core/batch/convert_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/batch/batch_options.h"
#include "core/batch/batch_run.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/das.h"
#include "core/formats/formats_test_util.h"
#include "core/formats/jpeg_codec.h"
#include "core/strings.h"
#include "res/core/string_ids.h"
#include "support/test_support.h"
#include "support/told.h"

namespace duplora {
namespace {

using test::MakeImage;
using test::PixelAt;
using test::ScratchDir;

constexpr std::uint32_t kRed = 0xFF0000, kBlack = 0x000000, kWhite = 0xFFFFFF;

ImageBuffer Plain(int width, int height, std::uint32_t rgb) {
    return MakeImage(width, height, [rgb](int, int) { return rgb; });
}

// A side-by-side BMP whose left half is `left` and right half `right`.
std::string WriteSideBySide(const ScratchDir& folder, const std::string& name, int viewWidth,
                            int height, std::uint32_t left, std::uint32_t right) {
    EXPECT_TRUE(WriteBmpFile(folder / name, MakeImage(2 * viewWidth, height, [&](int x, int) {
                                 return x < viewWidth ? left : right;
                             })));
    return folder / name;
}

struct BatchRunLog {
    std::vector<std::string> log;         // "<clear>" where the log was cleared
    std::vector<std::string> partlyRead;  // as the files' results reported them
    std::vector<std::string> told;        // the boxes, "caption|text"
    BatchSummary summary;
    std::string Joined() const {
        std::string all;
        for (const std::string& text : log) all += text;
        return all;
    }
};

BatchRunLog RunFiles(const std::vector<std::string>& files, const BatchOptions& options,
                     BatchControl* control = nullptr, const BatchThreads& threads = {}) {
    BatchRunLog run;
    BatchControl own;
    BatchLogSink log;
    log.clear = [&run] { run.log.push_back("<clear>"); };
    log.append = [&run](std::string_view text) { run.log.emplace_back(text); };
    log.tell = [&run](const Failure& m) {
        run.told.push_back(m.CaptionText() + "|" + m.MessageText());
    };
    log.done = [&run](const BatchItem&, const BatchItemResult& result) {
        run.partlyRead.insert(run.partlyRead.end(), result.partlyRead.begin(),
                              result.partlyRead.end());
    };
    run.summary =
        RunBatch(MakeFileJob(files, options), options, {}, log, control ? *control : own, threads);
    return run;
}

BatchOptions Into(const ScratchDir& out, OutputFormat type = OutputFormat::Bmp) {
    BatchOptions options;
    options.targetFolder = out.Path();
    options.outputType = type;
    return options;
}

TEST(BatchOptionsTest, NamesHeadersAndPrefill) {
    EXPECT_EQ(BatchOutputName("/out", "/in/a.b/pic.large.JPG", OutputFormat::Jps),
              "/out/pic.large.jps");
    EXPECT_EQ(BatchOutputName("/out/", "noext", OutputFormat::Bmp), "/out/noext.bmp");
    EXPECT_EQ(FileStem("/x/.hidden"), ".hidden");
    EXPECT_EQ(NormaliseTargetFolder("/a/b//"), "/a/b");
    EXPECT_EQ(NormaliseTargetFolder("/"), "/");
    BatchOptions options;
    options.targetFolder = "/t";
    options.outputType = OutputFormat::Das;
    EXPECT_EQ(BatchLogHeader("/src", options), "Input:/src-> Output:/t [DAS]\r\n\r\n");
    EXPECT_EQ(BatchListLogHeader(options), "Input:Slide Show List -> Output:/t [DAS]\r\n\r\n");
    // The quick adjustment's angles, sizes (100 + n) and position.
    ASSERT_TRUE(PrefillFromQuickAdjustment("15,-15,10,-20,7,3,1,2,3,4,", options));
    EXPECT_EQ((std::vector{options.leftAngle, options.rightAngle, options.leftSize,
                           options.rightSize, options.positionH, options.positionV}),
              (std::vector{15, -15, 110, 80, 7, -3}));
    BatchOptions untouched;
    EXPECT_FALSE(PrefillFromQuickAdjustment("1,2,3,", untouched));
    EXPECT_FALSE(PrefillFromQuickAdjustment("1,2,x,4,5,6,", untouched));
    EXPECT_EQ(untouched.leftSize, 100);
}

TEST(BatchOptionsTest, AngleAndGammaTexts) {
    const struct {
        const char* text;
        std::optional<int> angle, gamma;
    } cases[] = {
        {"1.5", 15, 150}, {"-0.5", -5, -50}, {"1.50", {}, 150}, {"0.01", {}, 1},
        {"", {}, {}},     {"1.", {}, {}},    {"1.2.3", {}, {}}, {".5", 5, 50},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseBatchAngle(c.text), c.angle) << c.text;
        EXPECT_EQ(ParseBatchGamma(c.text), c.gamma) << c.text;
    }
    EXPECT_EQ(FormatBatchAngle(-5), "-0.5");
    EXPECT_EQ(FormatBatchGamma(1), "0.01");
}

// A smaller view sits centred on the black canvas of its former size: at 80 % the 80 × 64
// picture at (10, 8); at 0 % a single pixel rather than a failure.
TEST(BatchViewTest, SmallerViewSitsCentredOnItsFormerSize) {
    const struct {
        int width, height, angle, percent;
        int left, top, right, bottom;  // the picture's place
    } cases[] = {{100, 80, 0, 80, 10, 8, 90, 72}, {9, 9, 0, 0, 4, 4, 5, 5}};
    for (const auto& c : cases) {
        const auto box = [&](int x, int y) {
            return x >= c.left && x < c.right && y >= c.top && y < c.bottom ? kRed : kBlack;
        };
        EXPECT_TRUE(
            test::SamePixels(AdjustBatchView(Plain(c.width, c.height, kRed), c.angle, c.percent),
                             MakeImage(c.width, c.height, box), "batch_view"))
            << c.percent;
    }
    // Shrinking comes before the quarter turn: 40 × 20 turned upright (20 × 40) in the
    // middle of the 100 × 50 canvas.
    const ImageBuffer turned = test::Made(AdjustBatchView(Plain(100, 50, kWhite), 900, 40));
    ASSERT_EQ(turned.Width(), 100);
    ASSERT_EQ(turned.Height(), 50);
    EXPECT_EQ((std::vector{PixelAt(turned, 50, 10), PixelAt(turned, 35, 25),
                           PixelAt(turned, 65, 25), PixelAt(turned, 50, 2)}),
              (std::vector{kWhite, kBlack, kBlack, kBlack}));
    EXPECT_FALSE(AdjustBatchView(ImageBuffer{}, 10, 120));
    EXPECT_FALSE(AdjustBatchView(test::MakeIndexed(8, 8, 8, 1), 0, 100));
}

TEST(BatchViewTest, LargerViewShowsItsMagnifiedCentre) {
    // A grey ramp: column x has level 2x; column x of the result shows source column 25 + x / 2.
    const ImageBuffer view =
        MakeImage(100, 20, [](int x, int) { return std::uint32_t(2 * x) * 0x010101u; });
    const ImageBuffer out = test::Made(AdjustBatchView(view, 0, 200));
    ASSERT_EQ(out.Width(), 100);
    for (int x : {0, 50, 98})
        EXPECT_NEAR(static_cast<int>(PixelAt(out, x, 10) & 0xFF), 2 * (25 + x / 2), 2) << x;
}

TEST(BatchViewTest, OffsetAddsThePositionFields) {
    const struct {
        bool hasOffset, swap, position;
        int wantX, wantY;
    } cases[] = {
        {false, false, false, 0, 0}, {false, false, true, -2, -1}, {true, false, true, -9, 3},
        {true, true, false, 7, -4},  {true, true, true, 5, -5},
    };
    for (const auto& c : cases) {
        BatchItem item;
        item.hasOffset = c.hasOffset;
        item.dx = -7;
        item.dy = 4;
        BatchOptions options;
        options.swap = c.swap;
        options.position = c.position;
        options.positionH = 2;
        options.positionV = 1;
        const BatchOffset offset = BatchItemOffset(item, options);
        EXPECT_EQ(std::pair(offset.dx, offset.dy), std::pair(c.wantX, c.wantY))
            << c.hasOffset << c.swap << c.position;
    }
}

TEST(BatchJobTest, SeparateFilesPairByNameOrWithTheNextOrTheRightFolder) {
    ScratchDir right;
    for (const char* name : {"b.jpg", "c_r.jpg"}) ASSERT_TRUE(test::WriteAll(right / name, {}));
    BatchOptions options;
    options.sourceLayout = StereoLayout::Pair;
    const auto inP = [](std::vector<std::string> names) {
        for (std::string& name : names) name = "/p/" + name;
        return names;
    };
    const auto pairs = [](const BatchJob& job) {
        std::string text;
        for (const BatchItem& item : job.items)
            text += FileStem(item.left) + "+" + FileStem(item.right) + " ";
        return text;
    };
    // A file goes with its partner by name wherever that stands, a right file named first
    // still as the right view; the others with the next file no name claims.
    const struct {
        std::vector<std::string> files;
        const char* pairs;
    } cases[] = {
        {{"a_l.jpg", "a_r.jpg", "b.jpg", "c_l.jpg", "d.jpg"}, "a_l+a_r b+c_l d+ "},
        {{"f_l.jpg", "g_l.jpg", "f_r.jpg", "g_r.jpg"}, "f_l+f_r g_l+g_r "},
        {{"x.jpg", "a_R.jpg", "a_L.jpg", "y.jpg"}, "x+y a_L+a_R "},
    };
    for (const auto& c : cases) EXPECT_EQ(pairs(MakeFileJob(inP(c.files), options)), c.pairs);
    const std::vector<std::string> files = inP(cases[0].files);
    BatchJob job = MakeFileJob(files, options);
    EXPECT_EQ(std::tuple(job.count, job.items[1].index, job.items[2].index), std::tuple(5, 2, 4));

    options.useRightFolder = true;
    options.rightFolder = right.Path();
    job = MakeFileJob(files, options);
    ASSERT_EQ(job.items.size(), 5u);
    EXPECT_EQ(std::tuple(job.items[0].right, job.items[2].right), std::tuple("", right / "b.jpg"));
    EXPECT_EQ(job.items[3].right, right / "c_r.jpg");  // the partner name
    EXPECT_EQ(job.header.substr(0, 8), "Input:/p");

    std::vector<std::string> many(kMaxBatchFiles + 3, "/p/x.jpg");
    options.sourceLayout = StereoLayout::SideBySide;
    EXPECT_EQ(MakeFileJob(many, options).items.size(), std::size_t(kMaxBatchFiles));
}

TEST(BatchRunTest, LogOfOneFileReadsAsTheProgressWindowShowsIt) {
    ScratchDir in, out;
    const std::string file = WriteSideBySide(in, "pair.bmp", 8, 4, kWhite, kBlack);
    BatchOptions options = Into(out);
    options.outputMode = DisplayMode::GreyAnaglyph;
    options.resizeWidth = true;
    options.width = 4;
    const BatchRunLog run = RunFiles({file}, options);
    EXPECT_EQ(run.log, (std::vector<std::string>{
                           "<clear>",
                           "Input:" + in.Path() + "-> Output:" + out.Path() + " [BMP]\r\n\r\n",
                           "\"1/1 Quelle(pair.bmp)\"",
                           "-> Ausgabe(" + out / "pair.bmp" + ")\r\n",
                           "Quellbild von(8*4)nach(4*2)umgewandelt\r\n",
                           "Ergebmis : Erfolgreich\r\n\r\n",
                       }));
    EXPECT_TRUE(run.summary.AllConverted());
    const ImageBuffer written = ReadBmpFile(out / "pair.bmp");
    ASSERT_EQ(written.Width(), 4);
    EXPECT_EQ(PixelAt(written, 1, 1), kRed);  // red/cyan: white left, black right
}

TEST(BatchRunTest, LogIsClearedBeforeEveryHundredthFile) {
    ScratchDir in, out;
    const std::vector<std::string> files(250, WriteSideBySide(in, "s.bmp", 2, 2, kRed, kRed));
    BatchThreads threads;
    threads.overwrite = OverwritePolicy::Always();
    const BatchRunLog run = RunFiles(files, Into(out), nullptr, threads);
    std::vector<std::string> afterClears;
    for (std::size_t i = 0; i + 1 < run.log.size(); ++i)
        if (run.log[i] == "<clear>") afterClears.push_back(run.log[i + 1]);
    EXPECT_EQ(afterClears.size(), 3u);
    EXPECT_EQ(afterClears.back(), "\"200/250 Quelle(s.bmp)\"");
    EXPECT_EQ(afterClears.at(1), "\"100/250 Quelle(s.bmp)\"");
    EXPECT_EQ(run.summary.converted, 250);
}

// Files finish out of order on several threads (their sizes differ), two pairs of them want
// the same output name, one is missing and one cut short: the log, the questions and the
// files' results still go in file order.
TEST(BatchRunTest, SeveralThreadsKeepTheLogInFileOrder) {
    ScratchDir a, b;
    std::vector<std::string> files;
    for (int i = 0; i < 8; ++i)
        files.push_back(WriteSideBySide(i % 2 ? b : a, "n" + std::to_string(i / 2) + ".bmp",
                                        40 + 8 * (i % 3), 30, kRed, kWhite));
    files.insert(files.begin() + 5, a / "missing.bmp");
    ASSERT_TRUE(EncodeJpegImage(a / "cut.jpg", test::MakeNoise(64, 32, 1), true, 90));
    test::Bytes cut = test::ReadAll(a / "cut.jpg");
    cut.resize(cut.size() / 2);
    ASSERT_TRUE(test::WriteAll(a / "cut.jpg", cut));
    files.insert(files.begin() + 2, a / "cut.jpg");
    BatchThreads threads;
    test::QuestionRecorder asked;
    asked.fallback = false;
    threads.overwrite = asked.Policy();
    std::string logs[2];
    for (int count : {1, 3}) {
        SCOPED_TRACE(count);
        ScratchDir target;
        threads.count = count;
        asked.questions.clear();
        const BatchRunLog run = RunFiles(files, Into(target), nullptr, threads);
        // The later file of each pair with one output name finds the earlier one's output.
        EXPECT_EQ(asked.questions.size(), 4u);
        const BatchSummary& s = run.summary;
        EXPECT_EQ((std::vector{s.converted, s.skipped, s.failed, s.partlyRead}),
                  (std::vector{5, 4, 1, 1}));
        EXPECT_EQ(run.partlyRead, std::vector<std::string>{a / "cut.jpg"});
        // The log of both runs, without the name of their output folder.
        std::string& log = logs[count / 3] = run.Joined();
        for (std::size_t at; (at = log.find(target.Path())) != std::string::npos;)
            log.replace(at, target.Path().size(), "<out>");
    }
    EXPECT_EQ(logs[0], logs[1]);
}

TEST(BatchRunTest, AbortRemovesTheHalfOfAPairAlreadyWritten) {
    ScratchDir in, out;
    const std::string file = WriteSideBySide(in, "h.bmp", 64, 32, kRed, kWhite);
    BatchOptions options = Into(out, OutputFormat::Jpeg);
    options.separateFiles = true;
    BatchControl control;
    BatchThreads threads;
    // The first file being written asks for the run to be given up.
    threads.progress = [&control](ProgressDirection direction, int) {
        if (direction == ProgressDirection::Writing) control.abort = true;
    };
    const BatchRunLog run = RunFiles({file, file}, options, &control, threads);
    EXPECT_TRUE(run.summary.stopped);
    EXPECT_EQ(run.summary.converted, 0);
    EXPECT_EQ(run.Joined().find("Erfolgreich"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(out.Path()));
}

TEST(BatchRunTest, UnreadableFileIsLoggedAndTheOthersConvert) {
    ScratchDir in, out;
    const std::string good = WriteSideBySide(in, "good.bmp", 4, 4, kRed, kRed);
    ASSERT_TRUE(test::WriteAll(in / "bad.jpg", test::Text("not a picture")));
    const BatchRunLog run = RunFiles({in / "bad.jpg", good}, Into(out, OutputFormat::Jpeg));
    EXPECT_EQ(run.told, std::vector<std::string>{LoadResString(StringId::WarningCaption) + "|" +
                                                 LoadResString(StringId::BatchOtherFileType)});
    EXPECT_EQ(run.log[3], "Ergebnis: Leserfehler.\r\n\r\n");
    EXPECT_EQ(std::tuple(run.summary.converted, run.summary.failed), std::tuple(1, 1));
    EXPECT_FALSE(run.summary.AllConverted());
    EXPECT_TRUE(std::filesystem::exists(out / "good.jpg"));
}

TEST(BatchRunTest, UnwritableOutputIsToldWithItsReason) {
    ScratchDir in, out;
    const std::string file = WriteSideBySide(in, "w.bmp", 4, 4, kRed, kRed);
    BatchOptions options = Into(out, OutputFormat::Jpeg);
    options.targetFolder = out / "missing";
    const std::string output = BatchOutputName(options.targetFolder, file, options.outputType);
    const BatchRunLog run = RunFiles({file}, options);
    EXPECT_EQ(run.told, (std::vector<std::string>{output + "|Kann Bild nicht öffnen",
                                                  LoadResString(StringId::WarningCaption) + "|" +
                                                      LoadResString(StringId::BatchSaveFailed)}));
    EXPECT_EQ(run.log.back(), LoadResString(StringId::BatchResultWriteError));
    EXPECT_EQ(run.summary.failed, 1);
}

TEST(BatchRunTest, DasContainersKeepBothFilesAndTheAlignment) {
    ScratchDir in, out;
    ASSERT_TRUE(WriteBmpFile(in / "v_l.bmp", Plain(30, 20, kWhite)));
    ASSERT_TRUE(WriteBmpFile(in / "v_r.bmp", Plain(30, 20, kBlack)));
    BatchOptions options = Into(out, OutputFormat::Das);
    options.sourceLayout = StereoLayout::Pair;
    const BatchRunLog run = RunFiles({in / "v_l.bmp", in / "v_r.bmp"}, options);
    ASSERT_TRUE(run.summary.AllConverted()) << run.Joined();
    DasHeader header;
    ASSERT_TRUE(ReadDasHeader(out / "v_l.das", header));
    EXPECT_EQ(std::tuple(header.alignX, header.leftWidth), std::tuple(0, 30));

    // A list entry's alignment with the position fields: offset (−5 − 2, 3 − 1).
    BatchItem item;
    item.pair = item.hasOffset = true;
    item.left = in / "v_l.bmp";
    item.right = in / "v_r.bmp";
    item.dx = -5;
    item.dy = 3;
    options.position = true;
    options.positionH = 2;
    options.positionV = 1;
    options.targetFolder = in.Path();
    ASSERT_EQ(ConvertBatchItem(item, options, {}, {}, OverwritePolicy::Never()).outcome,
              BatchOutcome::Converted);
    ASSERT_TRUE(ReadDasHeader(in / "v_l.das", header));
    EXPECT_EQ(std::tuple(header.alignX, header.alignY), std::tuple(7, 2));
    // Opened again as a source, the container gives its views and its offset.
    const BatchViews views = OpenBatchStereoFile(in / "v_l.das", StereoLayout::OverUnder, {});
    ASSERT_TRUE(views);
    EXPECT_EQ(PixelAt(views.left, 3, 3), kWhite);
    EXPECT_EQ(PixelAt(views.right, 3, 3), kBlack);
    EXPECT_EQ(std::tuple(views.dx, views.dy), std::tuple(-7, 2));

    // Packed again into the same folder, the container would be its own source: refused.
    const test::Bytes packed = test::ReadAll(in / "v_l.das");
    const BatchRunLog again = RunFiles({in / "v_l.das"}, options);
    EXPECT_EQ(again.summary.failed, 1);
    EXPECT_EQ(again.log.back(),
              "Ergebnis : Ausgabe wäre die Quelldatei, nicht überschrieben.\r\n\r\n");
    EXPECT_EQ(test::ReadAll(in / "v_l.das"), packed);
    // Without a right file nothing can be packed.
    options.sourceLayout = StereoLayout::SideBySide;
    options.position = false;
    const BatchRunLog lone = RunFiles({in / "v_r.bmp"}, options);
    EXPECT_EQ(std::tuple(lone.log.back(), lone.summary.failed), std::tuple("Error  ", 1));
}

TEST(BatchRunTest, RealSideBySidePhotoBecomesAnAnaglyphOfHalfItsWidth) {
    const std::string source = test::SamplePath("single-file/stereograph.left-right.jpg");
    if (!test::SampleExists("single-file/stereograph.left-right.jpg")) GTEST_SKIP();
    ScratchDir out;
    BatchOptions options = Into(out, OutputFormat::Jpeg);
    options.outputMode = DisplayMode::ColourAnaglyph;
    const BatchRunLog run = RunFiles({source}, options);
    ASSERT_TRUE(run.summary.AllConverted()) << run.Joined();
    const ImageBuffer whole = test::LoadJpeg(source);
    const ImageBuffer written = test::LoadJpeg(out / "stereograph.left-right.jpg");
    ASSERT_TRUE(whole && written);
    EXPECT_EQ(written.Width(), whole.Width() / 2);
    EXPECT_EQ(written.Height(), whole.Height());
}

}  // namespace
}  // namespace duplora

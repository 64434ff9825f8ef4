#include "core/batch/convert_file.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "core/batch/batch_options.h"
#include "core/batch/batch_run.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/das.h"
#include "core/hooks.h"
#include "core/image/geometry.h"
#include "core/strings.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeImage;
using test::PixelAt;

constexpr std::uint32_t kRed = 0xFF0000, kBlack = 0x000000, kWhite = 0xFFFFFF;

// A folder of its own for each test, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "duplora-batch-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code error;
        if (!path_.empty()) std::filesystem::remove_all(path_, error);
    }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// A side-by-side BMP whose left half is `left` and right half `right`.
std::string WriteSideBySide(const TempFolder& folder, const std::string& name, int viewWidth,
                            int height, std::uint32_t left, std::uint32_t right) {
    const ImageBuffer picture =
        MakeImage(2 * viewWidth, height, [&](int x, int) { return x < viewWidth ? left : right; });
    const std::string path = folder / name;
    EXPECT_TRUE(WriteBmpFile(path, picture));
    return path;
}

struct BatchRunLog {
    std::vector<std::string> log;
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
    run.summary =
        RunBatch(MakeFileJob(files, options), options, {}, log, control ? *control : own, threads);
    return run;
}

// ---- options ------------------------------------------------------------------------

TEST(BatchOptionsTest, NamesAndCodes) {
    EXPECT_EQ(BatchOutputName("/out", "/in/a.b/pic.large.JPG", BatchOutputType::Jps),
              "/out/pic.large.jps");
    EXPECT_EQ(BatchOutputName("/out/", "noext", BatchOutputType::Bmp), "/out/noext.bmp");
    EXPECT_EQ(FileStem("/x/.hidden"), ".hidden");
    EXPECT_EQ(NormaliseTargetFolder("/a/b//"), "/a/b");
    EXPECT_EQ(NormaliseTargetFolder("/"), "/");
    const int codes[] = {0, 1, 20, 21, 22, 0};
    for (int layout = 0; layout < 6; ++layout)
        EXPECT_EQ(BatchCompositionCode(static_cast<BatchOutputLayout>(layout)), codes[layout]);
    BatchOptions options;
    options.targetFolder = "/t";
    options.outputType = BatchOutputType::Das;
    EXPECT_EQ(BatchLogHeader("/src", options), "Input:/src-> Output:/t [DAS]\r\n\r\n");
    EXPECT_EQ(BatchListLogHeader(options), "Input:Slide Show List -> Output:/t [DAS]\r\n\r\n");
}

TEST(BatchOptionsTest, AngleAndGammaTexts) {
    struct Case {
        const char* text;
        std::optional<int> angle;
        std::optional<int> gamma;
    } cases[] = {
        {"1.5", 15, 150},  {"-0.5", -5, -50}, {"2", 20, 200}, {"1.50", {}, 150},
        {"0.01", {}, 1},   {"", {}, {}},      {"1.", {}, {}}, {"a", {}, {}},
        {"1.2.3", {}, {}}, {".5", 5, 50},     {"-", {}, {}},  {"90.0", 900, 9000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseBatchAngle(c.text), c.angle) << c.text;
        EXPECT_EQ(ParseBatchGamma(c.text), c.gamma) << c.text;
    }
    EXPECT_EQ(FormatBatchAngle(-5), "-0.5");
    EXPECT_EQ(FormatBatchAngle(15), "1.5");
    EXPECT_EQ(FormatBatchGamma(150), "1.50");
    EXPECT_EQ(FormatBatchGamma(1), "0.01");
}

TEST(BatchOptionsTest, QuickAdjustmentPrefill) {
    BatchOptions options;
    ASSERT_TRUE(PrefillFromQuickAdjustment("15,-15,10,-20,7,3,1,2,3,4,", options));
    EXPECT_EQ(options.leftAngle, 15);
    EXPECT_EQ(options.rightAngle, -15);
    EXPECT_EQ(options.leftSize, 110);
    EXPECT_EQ(options.rightSize, 80);
    EXPECT_EQ(options.positionH, 7);
    EXPECT_EQ(options.positionV, -3);
    BatchOptions untouched;
    EXPECT_FALSE(PrefillFromQuickAdjustment("1,2,3,", untouched));
    EXPECT_FALSE(PrefillFromQuickAdjustment("1,2,x,4,5,6,", untouched));
    EXPECT_EQ(untouched.leftSize, 100);
}

// ---- one view: rotation and size ------------------------------------------------------

TEST(BatchViewTest, SmallerViewSitsCentredOnItsFormerSize) {
    const ImageBuffer view = MakeImage(100, 80, [](int, int) { return kRed; });
    const ImageBuffer out = AdjustBatchView(view, 0, 80);
    ASSERT_EQ(out.Width(), 100);
    ASSERT_EQ(out.Height(), 80);
    // 80 × 64 placed at (10, 8).
    EXPECT_EQ(PixelAt(out, 9, 40), kBlack);
    EXPECT_EQ(PixelAt(out, 10, 40), kRed);
    EXPECT_EQ(PixelAt(out, 89, 40), kRed);
    EXPECT_EQ(PixelAt(out, 90, 40), kBlack);
    EXPECT_EQ(PixelAt(out, 50, 7), kBlack);
    EXPECT_EQ(PixelAt(out, 50, 8), kRed);
    EXPECT_EQ(PixelAt(out, 50, 71), kRed);
    EXPECT_EQ(PixelAt(out, 50, 72), kBlack);
}

TEST(BatchViewTest, LargerViewShowsItsMagnifiedCentre) {
    // A grey ramp: column x has level 2x.
    const ImageBuffer view =
        MakeImage(100, 20, [](int x, int) { return std::uint32_t(2 * x) * 0x010101u; });
    const ImageBuffer out = AdjustBatchView(view, 0, 200);
    ASSERT_EQ(out.Width(), 100);
    ASSERT_EQ(out.Height(), 20);
    // Column x shows source column 25 + x / 2.
    for (int x : {0, 10, 50, 98}) {
        const int level = static_cast<int>(PixelAt(out, x, 10) & 0xFF);
        EXPECT_NEAR(level, 2 * (25 + x / 2), 2) << x;
    }
}

TEST(BatchViewTest, ShrinkingComesBeforeTheQuarterTurn) {
    const ImageBuffer view = MakeImage(100, 50, [](int, int) { return kWhite; });
    // 40 × 20, turned upright (20 × 40) in the middle of the 100 × 50 canvas.
    const ImageBuffer out = AdjustBatchView(view, 900, 40);
    ASSERT_EQ(out.Width(), 100);
    ASSERT_EQ(out.Height(), 50);
    EXPECT_EQ(PixelAt(out, 50, 25), kWhite);
    EXPECT_EQ(PixelAt(out, 50, 10), kWhite);
    EXPECT_EQ(PixelAt(out, 35, 25), kBlack);
    EXPECT_EQ(PixelAt(out, 65, 25), kBlack);
    EXPECT_EQ(PixelAt(out, 50, 2), kBlack);
}

TEST(BatchViewTest, BadInputGivesNothing) {
    EXPECT_FALSE(AdjustBatchView(ImageBuffer{}, 10, 120));
    EXPECT_FALSE(AdjustBatchView(test::MakeIndexed(8, 8, 8, 1), 0, 100));
    // Zero percent keeps a single pixel rather than failing.
    const ImageBuffer out = AdjustBatchView(MakeImage(9, 9, [](int, int) { return kRed; }), 0, 0);
    ASSERT_TRUE(out);
    EXPECT_EQ(PixelAt(out, 4, 4), kRed);
    EXPECT_EQ(PixelAt(out, 3, 4), kBlack);
}

TEST(BatchViewTest, OffsetAddsThePositionFields) {
    struct Case {
        bool hasOffset;
        int dx, dy;
        bool swap;
        bool position;
        int h, v;
        int wantX, wantY;
    } cases[] = {
        {false, 9, 9, false, false, 5, 5, 0, 0},  {false, 0, 0, false, true, 5, -3, -5, 3},
        {true, -7, 4, false, false, 2, 1, -7, 4}, {true, -7, 4, false, true, 2, 1, -9, 3},
        {true, -7, 4, true, false, 2, 1, 7, -4},  {true, -7, 4, true, true, 2, 1, 5, -5},
        {false, -7, 4, true, true, 2, 1, -2, -1},
    };
    for (const Case& c : cases) {
        BatchItem item;
        item.hasOffset = c.hasOffset;
        item.dx = c.dx;
        item.dy = c.dy;
        BatchOptions options;
        options.swap = c.swap;
        options.position = c.position;
        options.positionH = c.h;
        options.positionV = c.v;
        const BatchOffset offset = BatchItemOffset(item, options);
        EXPECT_EQ(offset.dx, c.wantX);
        EXPECT_EQ(offset.dy, c.wantY);
    }
}

// ---- jobs ---------------------------------------------------------------------------

TEST(BatchJobTest, SeparateFilesPairWithTheNextOrTheRightFolder) {
    TempFolder right;
    for (const char* name : {"b.jpg", "c_r.jpg"}) {
        std::FILE* f = std::fopen((right / name).c_str(), "w");
        ASSERT_TRUE(f);
        std::fclose(f);
    }
    BatchOptions options;
    options.sourceLayout = BatchSourceLayout::LeftRight;
    const std::vector<std::string> files = {"/p/a_l.jpg", "/p/a_r.jpg", "/p/b.jpg", "/p/c_l.jpg",
                                            "/p/d.jpg"};
    BatchJob job = MakeFileJob(files, options);
    ASSERT_EQ(job.items.size(), 3u);
    EXPECT_EQ(job.count, 5);
    EXPECT_EQ(job.items[0].right, "/p/a_r.jpg");
    EXPECT_EQ(job.items[1].left, "/p/b.jpg");
    EXPECT_EQ(job.items[1].right, "/p/c_l.jpg");
    EXPECT_EQ(job.items[2].index, 4);
    EXPECT_EQ(job.items[2].right, "");  // nothing left to pair with

    options.useRightFolder = true;
    options.rightFolder = right.Path();
    job = MakeFileJob(files, options);
    ASSERT_EQ(job.items.size(), 5u);
    EXPECT_EQ(job.items[0].right, "");
    EXPECT_EQ(job.items[2].right, right / "b.jpg");
    EXPECT_EQ(job.items[3].right, right / "c_r.jpg");  // the partner name
    EXPECT_EQ(job.header.substr(0, 8), "Input:/p");

    std::vector<std::string> many(kMaxBatchFiles + 3, "/p/x.jpg");
    options.sourceLayout = BatchSourceLayout::SideBySide;
    EXPECT_EQ(MakeFileJob(many, options).items.size(), std::size_t(kMaxBatchFiles));
}

// ---- runs ---------------------------------------------------------------------------

TEST(BatchRunTest, LogOfOneFileReadsAsTheProgressWindowShowsIt) {
    TempFolder in, out;
    const std::string file = WriteSideBySide(in, "pair.bmp", 8, 4, kWhite, kBlack);
    BatchOptions options;
    options.targetFolder = out.Path();
    options.outputType = BatchOutputType::Bmp;
    options.outputLayout = BatchOutputLayout::GreyAnaglyph;
    options.resizeWidth = true;
    options.width = 4;
    const BatchRunLog run = RunFiles({file}, options);
    const std::string output = out / "pair.bmp";
    const std::vector<std::string> expected = {
        "<clear>",
        "Input:" + in.Path() + "-> Output:" + out.Path() + " [BMP]\r\n\r\n",
        "\"1/1 Quelle(pair.bmp)\"",
        "-> Ausgabe(" + output + ")\r\n",
        "Quellbild von(8*4)nach(4*2)umgewandelt\r\n",
        "Ergebmis : Erfolgreich\r\n\r\n",
    };
    EXPECT_EQ(run.log, expected);
    EXPECT_TRUE(run.summary.AllConverted());
    const ImageBuffer written = ReadBmpFile(output);
    ASSERT_TRUE(written);
    EXPECT_EQ(written.Width(), 4);
    EXPECT_EQ(PixelAt(written, 1, 1), kRed);  // red/cyan: white left, black right
}

TEST(BatchRunTest, SwapAndPositionReachTheComposition) {
    TempFolder in, out;
    const std::string file = WriteSideBySide(in, "p.bmp", 20, 16, kWhite, kBlack);
    BatchOptions options;
    options.targetFolder = out.Path();
    options.outputType = BatchOutputType::Bmp;
    options.outputLayout = BatchOutputLayout::GreyAnaglyph;
    options.swap = true;
    options.position = true;
    options.positionH = 3;
    options.positionV = -2;
    ASSERT_TRUE(RunFiles({file}, options).summary.AllConverted());
    const ImageBuffer written = ReadBmpFile(out / "p.bmp");
    ASSERT_TRUE(written);
    EXPECT_EQ(written.Width(), 17);
    EXPECT_EQ(written.Height(), 14);
    EXPECT_EQ(PixelAt(written, 0, 0), 0x00FFFFu);  // the white view is now the right one
}

TEST(BatchRunTest, SeparateOutputFilesAreTheTwoViews) {
    TempFolder in, out;
    const std::string file = WriteSideBySide(in, "v.bmp", 6, 4, kRed, kWhite);
    BatchOptions options;
    options.targetFolder = out.Path();
    options.outputType = BatchOutputType::Bmp;
    options.outputLayout = BatchOutputLayout::LeftRight;
    const BatchRunLog run = RunFiles({file}, options);
    EXPECT_TRUE(run.summary.AllConverted());
    const ImageBuffer left = ReadBmpFile(out / "v_l.bmp");
    const ImageBuffer right = ReadBmpFile(out / "v_r.bmp");
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left.Width(), 6);
    EXPECT_EQ(PixelAt(left, 0, 0), kRed);
    EXPECT_EQ(PixelAt(right, 5, 3), kWhite);
    EXPECT_EQ(run.log[3], "-> Ausgabe(" + out / "v_l.bmp" + ")\r\n");
    EXPECT_EQ(run.log[4], "-> Ausgabe(" + out / "v_r.bmp" + ")\r\n");
}

TEST(BatchRunTest, LogIsClearedBeforeEveryHundredthFile) {
    TempFolder in, out;
    const std::string file = WriteSideBySide(in, "s.bmp", 2, 2, kRed, kRed);
    const std::vector<std::string> files(250, file);
    BatchOptions options;
    options.targetFolder = out.Path();
    options.outputType = BatchOutputType::Bmp;
    BatchThreads threads;
    threads.question = [](std::string_view, std::string_view, QuestionKind) { return Answer::Yes; };
    const BatchRunLog run = RunFiles(files, options, nullptr, threads);
    std::vector<std::size_t> clears;
    for (std::size_t i = 0; i < run.log.size(); ++i)
        if (run.log[i] == "<clear>") clears.push_back(i);
    ASSERT_EQ(clears.size(), 3u);
    EXPECT_EQ(run.log[clears[1] + 1], "\"100/250 Quelle(s.bmp)\"");
    EXPECT_EQ(run.log[clears[2] + 1], "\"200/250 Quelle(s.bmp)\"");
    EXPECT_EQ(run.summary.converted, 250);
}

TEST(BatchRunTest, SeveralThreadsKeepTheLogInFileOrder) {
    TempFolder in, out;
    std::vector<std::string> files;
    for (int i = 0; i < 12; ++i)
        files.push_back(WriteSideBySide(in, "f" + std::to_string(i) + ".bmp", 40 + 8 * (i % 3), 30,
                                        kRed, kWhite));
    files.insert(files.begin() + 5, in / "missing.bmp");
    BatchOptions options;
    options.targetFolder = out.Path();
    const BatchRunLog single = RunFiles(files, options);
    TempFolder out2;
    options.targetFolder = out2.Path();
    BatchThreads threads;
    threads.count = 3;
    BatchRunLog parallel = RunFiles(files, options, nullptr, threads);
    // Same log but for the target folder.
    std::string a = single.Joined(), b = parallel.Joined();
    for (std::size_t at; (at = b.find(out2.Path())) != std::string::npos;)
        b.replace(at, out2.Path().size(), out.Path());
    EXPECT_EQ(a, b);
    EXPECT_EQ(parallel.summary.converted, 12);
    EXPECT_EQ(parallel.summary.failed, 1);
}

TEST(BatchRunTest, SameOutputNameIsAskedAboutOnSeveralThreadsToo) {
    TempFolder a, b, out;
    std::vector<std::string> files;
    for (int i = 0; i < 6; ++i) {
        const TempFolder& folder = i % 2 ? b : a;
        // Files 0 and 1, and 2 and 3, have the same names in two folders.
        files.push_back(
            WriteSideBySide(folder, "n" + std::to_string(i / 2) + ".bmp", 64, 48, kRed, kWhite));
    }
    BatchOptions options;
    options.outputType = BatchOutputType::Bmp;
    BatchThreads threads;
    threads.question = [](std::string_view, std::string_view, QuestionKind) { return Answer::No; };
    std::string logs[2];
    for (int count : {1, 2}) {
        TempFolder target;
        options.targetFolder = target.Path();
        threads.count = count;
        const BatchRunLog run = RunFiles(files, options, nullptr, threads);
        EXPECT_EQ(run.summary.converted, 3) << count;
        EXPECT_EQ(run.summary.skipped, 3) << count;
        logs[count - 1] = run.Joined();
        for (std::size_t at; (at = logs[count - 1].find(target.Path())) != std::string::npos;)
            logs[count - 1].replace(at, target.Path().size(), "<out>");
    }
    EXPECT_EQ(logs[0], logs[1]);
}

TEST(BatchRunTest, StopDuringTheThirdFileEndsAfterIt) {
    TempFolder in, out;
    const std::string file = WriteSideBySide(in, "s.bmp", 4, 4, kRed, kRed);
    std::vector<std::string> files;
    for (int i = 0; i < 10; ++i) {
        files.push_back(in / ("s" + std::to_string(i) + ".bmp"));
        std::filesystem::copy_file(file, files.back());
    }
    BatchOptions options;
    options.targetFolder = out.Path();
    options.outputType = BatchOutputType::Bmp;
    BatchControl control;
    BatchRunLog run;
    BatchLogSink log;
    log.append = [&](std::string_view text) {
        run.log.emplace_back(text);
        if (text.starts_with("\"3/10")) control.stop = true;
    };
    run.summary = RunBatch(MakeFileJob(files, options), options, {}, log, control);
    EXPECT_TRUE(run.summary.stopped);
    EXPECT_EQ(run.summary.converted, 3);
    const std::string all = run.Joined();
    std::size_t results = 0;
    for (std::size_t at = 0; (at = all.find("Erfolgreich", at)) != std::string::npos; ++at)
        ++results;
    EXPECT_EQ(results, 3u);
    EXPECT_TRUE(std::filesystem::exists(out / "s2.bmp"));
    EXPECT_FALSE(std::filesystem::exists(out / "s3.bmp"));
}

TEST(BatchRunTest, AbortRemovesTheHalfOfAPairAlreadyWritten) {
    TempFolder in, out;
    const std::string file = WriteSideBySide(in, "h.bmp", 64, 32, kRed, kWhite);
    BatchOptions options;
    options.targetFolder = out.Path();
    options.outputType = BatchOutputType::Jpg;
    options.outputLayout = BatchOutputLayout::LeftRight;
    BatchControl control;
    BatchThreads threads;
    // The first file being written asks for the run to be given up.
    threads.progress = [&control](ProgressDirection direction, int) {
        if (direction == ProgressDirection::Writing) control.abort = true;
    };
    const BatchRunLog run = RunFiles({file, file}, options, &control, threads);
    EXPECT_TRUE(run.summary.stopped);
    EXPECT_EQ(run.summary.converted, 0);
    EXPECT_FALSE(std::filesystem::exists(out / "h_l.jpg"));
    EXPECT_FALSE(std::filesystem::exists(out / "h_r.jpg"));
    EXPECT_EQ(run.Joined().find("Erfolgreich"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(out.Path()));
}

TEST(BatchRunTest, UnreadableFileIsLoggedAndTheOthersConvert) {
    TempFolder in, out;
    const std::string good = WriteSideBySide(in, "good.bmp", 4, 4, kRed, kRed);
    const std::string bad = in / "bad.jpg";
    std::FILE* f = std::fopen(bad.c_str(), "w");
    ASSERT_TRUE(f);
    std::fputs("not a picture", f);
    std::fclose(f);
    int boxes = 0;
    SetMessageSink([&boxes](std::string_view text, std::string_view, MessageIcon) {
        if (text == LoadResString(kBatchOtherTypeText)) ++boxes;
    });
    BatchOptions options;
    options.targetFolder = out.Path();
    const BatchRunLog run = RunFiles({bad, good}, options);
    SetMessageSink({});
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(run.log[3], "Ergebnis: Leserfehler.\r\n\r\n");
    EXPECT_EQ(run.summary.converted, 1);
    EXPECT_EQ(run.summary.failed, 1);
    EXPECT_FALSE(run.summary.AllConverted());
    EXPECT_TRUE(std::filesystem::exists(out / "good.jpg"));
}

TEST(BatchRunTest, ExistingOutputIsKeptWhenTheAnswerIsNo) {
    TempFolder in, out;
    const std::string file = WriteSideBySide(in, "e.bmp", 4, 4, kRed, kRed);
    const std::string existing = out / "e.jpg";
    std::FILE* f = std::fopen(existing.c_str(), "w");
    ASSERT_TRUE(f);
    std::fputs("keep", f);
    std::fclose(f);
    BatchOptions options;
    options.targetFolder = out.Path();
    std::string asked;
    BatchThreads threads;
    threads.question = [&asked](std::string_view text, std::string_view, QuestionKind) {
        asked = text;
        return Answer::No;
    };
    const BatchRunLog run = RunFiles({file}, options, nullptr, threads);
    EXPECT_EQ(asked, LoadResString(kBatchOverwriteText));
    EXPECT_EQ(run.log.back(), "Ergebnis : übersprungen.\r\n\r\n");
    EXPECT_EQ(run.summary.skipped, 1);
    EXPECT_EQ(std::filesystem::file_size(existing), 4u);
}

TEST(BatchRunTest, DasOutputOfAListEntryOfOneFileCannotBeMade) {
    BatchItem item;
    item.left = "/nowhere/a.jpg";
    item.dasRefused = true;
    BatchOptions options;
    options.outputType = BatchOutputType::Das;
    std::string log;
    EXPECT_EQ(ConvertBatchItem(item, options, {}, [&log](std::string_view t) { log += t; }),
              BatchOutcome::NotConvertible);
    EXPECT_EQ(log, "Can not convert!  ");
}

TEST(BatchRunTest, DasContainersKeepBothFilesAndTheAlignment) {
    TempFolder in, out;
    const ImageBuffer white = MakeImage(30, 20, [](int, int) { return kWhite; });
    const ImageBuffer black = MakeImage(30, 20, [](int, int) { return kBlack; });
    ASSERT_TRUE(WriteBmpFile(in / "v_l.bmp", white));
    ASSERT_TRUE(WriteBmpFile(in / "v_r.bmp", black));
    BatchOptions options;
    options.targetFolder = out.Path();
    options.outputType = BatchOutputType::Das;
    options.sourceLayout = BatchSourceLayout::LeftRight;
    const BatchRunLog run = RunFiles({in / "v_l.bmp", in / "v_r.bmp"}, options);
    ASSERT_TRUE(run.summary.AllConverted()) << run.Joined();
    EXPECT_EQ(run.log.back(), "Ergebmis : Erfolgreich\r\n\r\n");
    DasHeader header;
    ASSERT_TRUE(ReadDasHeader(out / "v_l.das", header));
    EXPECT_EQ(header.alignX, 0);
    EXPECT_EQ(header.leftWidth, 30);

    // A list entry's alignment with the position fields: offset (−5 − 2, 3 − 1).
    BatchItem item;
    item.pair = true;
    item.left = in / "v_l.bmp";
    item.right = in / "v_r.bmp";
    item.hasOffset = true;
    item.dx = -5;
    item.dy = 3;
    options.position = true;
    options.positionH = 2;
    options.positionV = 1;
    options.targetFolder = in.Path();
    ASSERT_EQ(ConvertBatchItem(item, options, {}, {}), BatchOutcome::Converted);
    ASSERT_TRUE(ReadDasHeader(in / "v_l.das", header));
    EXPECT_EQ(header.alignX, 7);
    EXPECT_EQ(header.alignY, 2);

    // Opened again as a source, the container gives its views and its offset.
    const BatchViews views = OpenBatchStereoFile(in / "v_l.das", 1, {});
    ASSERT_TRUE(views);
    EXPECT_EQ(views.left.Width(), 30);
    EXPECT_EQ(PixelAt(views.left, 3, 3), kWhite);
    EXPECT_EQ(PixelAt(views.right, 3, 3), kBlack);
    EXPECT_EQ(views.dx, -7);
    EXPECT_EQ(views.dy, 2);

    // Without a right file nothing can be packed.
    options.sourceLayout = BatchSourceLayout::SideBySide;
    options.position = false;
    const BatchRunLog lone = RunFiles({in / "v_r.bmp"}, options);
    EXPECT_EQ(lone.log.back(), "Error  ");
    EXPECT_EQ(lone.summary.failed, 1);
}

TEST(BatchRunTest, RealSideBySidePhotoBecomesAnAnaglyphOfHalfItsWidth) {
    if (!test::SampleExists("single-file/stereograph.left-right.jpg")) GTEST_SKIP();
    TempFolder out;
    BatchOptions options;
    options.targetFolder = out.Path();
    options.outputLayout = BatchOutputLayout::ColourAnaglyph;
    const std::string source = test::SamplePath("single-file/stereograph.left-right.jpg");
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

// Stopping and giving up a run, on one thread and on several: a stop ends the run with the
// file the log has reached, and files after it that were under way leave nothing behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/batch/batch_run.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ScratchDir;

// Ten side-by-side files; from the fourth on big enough to be under way when the third ends.
std::vector<std::string> TenFiles(const ScratchDir& in) {
    std::vector<std::string> files;
    for (int i = 0; i < 10; ++i) {
        const std::string path = in / ("f" + std::to_string(i) + ".bmp");
        const int width = i < 3 ? 64 : 2400;
        EXPECT_TRUE(WriteBmpFile(path, test::MakeNoise(width, width / 2, i + 1)));
        files.push_back(path);
    }
    return files;
}

struct StopRun {
    std::string log;
    BatchSummary summary;
};

// Runs the files into `out` and sets `flag` of the control once the log shows `line`.
StopRun RunUntil(const std::vector<std::string>& files, const std::string& out, int threads,
                 const std::string& line, bool abort) {
    BatchOptions options;
    options.outputType = OutputFormat::Jpeg;
    options.targetFolder = out;
    BatchControl control;
    StopRun run;
    BatchLogSink log;
    log.append = [&](std::string_view text) {
        run.log += text;
        if (text == line) (abort ? control.abort : control.stop) = true;
    };
    BatchThreads counts;
    counts.count = threads;
    run.summary = RunBatch(MakeFileJob(files, options), options, {}, log, control, counts);
    return run;
}

class BatchStop : public ::testing::TestWithParam<int> {};

TEST_P(BatchStop, StopOrGiveUpLeavesTheFirstThreeOutputs) {
    for (const auto& [line, abort] :
         {std::pair{"\"3/10 Quelle(f2.bmp)\"", false}, {"\"4/10 Quelle(f3.bmp)\"", true}}) {
        SCOPED_TRACE(line);
        ScratchDir in, out;
        const StopRun run = RunUntil(TenFiles(in), out.Path(), GetParam(), line, abort);
        EXPECT_EQ(out.Files(), (std::vector<std::string>{"f0.jpg", "f1.jpg", "f2.jpg"}));
        EXPECT_TRUE(run.summary.stopped);
        EXPECT_EQ(run.summary.converted, 3);
        if (abort) continue;
        EXPECT_EQ(run.log.find("4/10"), std::string::npos) << run.log;
        EXPECT_TRUE(run.log.ends_with("Ergebmis : Erfolgreich\r\n\r\n")) << run.log;
    }
}

INSTANTIATE_TEST_SUITE_P(Threads, BatchStop, ::testing::Values(1, 2, 4));

}  // namespace
}  // namespace duplora

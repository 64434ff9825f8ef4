// A whole batch run: the work made from a file list or a slide-show list, converted file
// after file (or several at once, on the calling thread and the worker pool) with the log
// kept in file order, and stopped cooperatively.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/batch/batch_options.h"
#include "core/batch/convert_file.h"
#include "core/batch/list_file.h"
#include "core/util/progress.h"
#include "core/util/question.h"
#include "core/util/result.h"

namespace duplora {

struct BatchJob {
    std::string header;  // the first log text
    int count = 0;       // files or entries of the list, as the log counts them
    std::vector<BatchItem> items;
    int leftOut = 0;  // list entries without a left name, which are passed over
};

// The file run over `paths` (at most kMaxBatchFiles are taken). With separate left and
// right files the right file is the one of the same name in the right folder, else its
// L/R partner there. Without a right folder a file pairs with its L/R partner by name
// wherever it stands in the list (the L file being the left view), and a file without one
// with the next file that no other claims by name; a file taken as a right view is not
// converted again on its own.
BatchJob MakeFileJob(const std::vector<std::string>& paths, const BatchOptions& options);

// The list run over the entries of a slide-show list read from `listPath`. Names are
// resolved against the list's folder; a swapped entry is converted with its views
// exchanged and its alignment negated, as the slide show shows it.
BatchJob MakeListJob(const std::string& listPath, const ListFile& list,
                     const BatchOptions& options);

struct BatchControl {
    std::atomic<bool> stop{false};   // end after the file being converted
    std::atomic<bool> abort{false};  // give up the file being converted as well
};

struct BatchSummary {
    int items = 0;         // files the run was to convert
    int converted = 0;     // made every output
    int skipped = 0;       // not replaced, or list entries without a name
    int failed = 0;        // unreadable, not writable, or given up
    int partlyRead = 0;    // files with a source read only in part
    bool stopped = false;  // ended before the last file
    bool AllConverted() const { return !stopped && skipped == 0 && failed == 0; }
};

// Where the log goes, in file order as it is written, one call at a time: on the thread that
// called RunBatch, or with several converters on the one converting the file the log has
// reached.
struct BatchLogSink {
    std::function<void()> clear;
    std::function<void(std::string_view text)> append;
    // What a file has to tell the user besides its log (BatchItemResult::told), one message
    // at a time, after its log.
    std::function<void(const Failure& message)> tell;
    // Each file's result, after its log.
    std::function<void(const BatchItem& item, const BatchItemResult& result)> done;
};

// Files a run converts at once by default: as many as the machine has threads, at most four.
int DefaultBatchThreads();

struct BatchThreads {
    // Files converted at once, at most the pool's thread count; 1 converts on the calling
    // thread alone, more on pool workers as well.
    int count = 1;
    // Whether an existing output is replaced; an asking policy is asked on the thread that
    // converts the file (refused when none is given).
    OverwritePolicy overwrite;
    // Reading and writing progress of each file, reported on the thread that converts it.
    Progress::Report progress;
};

// Clears the log, writes the header and converts the job's items in order. Every
// hundredth file of the list clears the log first. The stop flag is looked at after each
// file the log has finished: files after it that are still under way are given up (what
// they wrote removed), those already done are logged. The abort flag is looked at inside a
// file too (as the cancel flag of its progress).
BatchSummary RunBatch(const BatchJob& job, const BatchOptions& options,
                      const BatchEnvironment& environment, const BatchLogSink& log,
                      BatchControl& control, const BatchThreads& threads = {});

// The log line that opens each file: "\"%d/%d Quelle(%s)\"".
std::string BatchSourceLine(int index, int count, std::string_view name);

}  // namespace duplora

#include "core/batch/batch_run.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#include "core/formats/stereo_names.h"
#include "core/strings.h"
#include "core/util/worker_pool.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

std::string_view NamePart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view FolderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {};
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

constexpr std::size_t kNoPartner = static_cast<std::size_t>(-1);

std::string RightFileInFolder(const std::string& leftPath, const std::string& folder) {
    const std::string_view name = NamePart(leftPath);
    std::string candidate = JoinPath(folder, name);
    if (IsRegularFile(candidate)) return candidate;
    if (const std::optional<std::string> partner = FindPartnerName(name)) {
        candidate = JoinPath(folder, *partner);
        if (IsRegularFile(candidate)) return candidate;
    }
    return {};
}

}  // namespace

int DefaultBatchThreads() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

std::string BatchSourceLine(int index, int count, std::string_view name) {
    const std::string text(name);
    return FormatResString(StringId::BatchSource, index + 1, count, text.c_str());
}

namespace {

// With separate files and no right folder: for each file, the index of its L/R partner by
// name among the others, when one is there; each file is claimed once.
std::vector<std::size_t> PartnersByName(const std::vector<std::string>& paths, std::size_t count) {
    std::vector<std::size_t> partner(count, kNoPartner);
    std::unordered_map<std::string, std::vector<std::size_t>> byName;
    const auto key = [](const std::string& path) {
        return std::filesystem::path(path).lexically_normal().string();
    };
    for (std::size_t i = 0; i < count; ++i) byName[key(paths[i])].push_back(i);
    for (std::size_t i = 0; i < count; ++i) {
        if (partner[i] != kNoPartner) continue;
        const std::optional<std::string> name = FindPartnerName(paths[i]);
        if (!name) continue;
        const auto found = byName.find(key(*name));
        if (found == byName.end()) continue;
        for (std::size_t j : found->second)
            if (j != i && partner[j] == kNoPartner) {
                partner[i] = j;
                partner[j] = i;
                break;
            }
    }
    return partner;
}

// "pair_R.jpg": the right file of a pair by its name.
bool NamedRight(std::string_view path) {
    const std::optional<std::size_t> dot = ExtensionDot(path);
    return dot && (path[*dot - 1] == 'r' || path[*dot - 1] == 'R');
}

}  // namespace

BatchJob MakeFileJob(const std::vector<std::string>& paths, const BatchOptions& options) {
    BatchJob job;
    const std::size_t count = std::min(paths.size(), static_cast<std::size_t>(kMaxBatchFiles));
    job.count = static_cast<int>(count);
    job.header = BatchLogHeader(count > 0 ? FolderOf(paths[0]) : std::string_view{}, options);
    const bool separate = options.sourceLayout == StereoLayout::Pair;
    const bool rightFolder = options.useRightFolder && !options.rightFolder.empty();
    const std::vector<std::size_t> partner =
        separate && !rightFolder ? PartnersByName(paths, count) : std::vector<std::size_t>{};
    std::vector<char> taken(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (taken[i]) continue;
        taken[i] = 1;
        BatchItem item;
        item.index = static_cast<int>(i);
        item.left = paths[i];
        if (separate) {
            item.pair = true;
            if (rightFolder) {
                item.right = RightFileInFolder(paths[i], options.rightFolder);
            } else if (partner[i] != kNoPartner) {
                item.right = paths[partner[i]];
                taken[partner[i]] = 1;
                // Named the other way round: the names say which view is which.
                if (NamedRight(item.left) && !NamedRight(item.right))
                    std::swap(item.left, item.right);
            } else {
                // The next file that no other file claims by name is this one's right view;
                // it is not a left view as well.
                for (std::size_t j = i + 1; j < count; ++j)
                    if (!taken[j] && partner[j] == kNoPartner) {
                        item.right = paths[j];
                        taken[j] = 1;
                        break;
                    }
            }
        } else {
            item.layout = options.sourceLayout;
        }
        item.logName = std::string(NamePart(item.left));
        job.items.push_back(std::move(item));
    }
    return job;
}

BatchJob MakeListJob(const std::string& listPath, const ListFile& list,
                     const BatchOptions& options) {
    BatchJob job;
    job.count = static_cast<int>(list.entries.size());
    job.header = BatchListLogHeader(options);
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        const ListEntry& entry = list.entries[i];
        if (entry.left.empty()) {
            ++job.leftOut;
            continue;
        }
        BatchItem item;
        item.index = static_cast<int>(i);
        item.pair = IsPairEntryType(entry.type);
        item.layout = ListEntryLayout(entry.type);
        item.left = ResolveListName(listPath, entry.left);
        if (item.pair && !entry.right.empty()) item.right = ResolveListName(listPath, entry.right);
        // The offset the slide show gives the entry: stored X is the negated horizontal
        // offset; a swapped entry shows its views exchanged, with both negated.
        item.hasOffset = true;
        item.dx = -entry.x;
        item.dy = entry.y;
        if (entry.swap) {
            if (item.pair)
                std::swap(item.left, item.right);
            else
                item.swapViews = true;
            item.dx = -item.dx;
            item.dy = -item.dy;
        }
        item.dasRefused = !item.pair;
        item.logName = std::string(NamePart(item.left));
        job.items.push_back(std::move(item));
    }
    return job;
}

namespace {

// What one file puts into the log, kept until it is its turn.
struct LogEvent {
    bool clear = false;
    std::string text;
};

void Tally(BatchSummary& summary, const BatchItemResult& result) {
    if (!result.partlyRead.empty()) ++summary.partlyRead;
    switch (result.outcome) {
        case BatchOutcome::Converted:
            ++summary.converted;
            break;
        case BatchOutcome::Skipped:
            ++summary.skipped;
            break;
        default:
            ++summary.failed;
            break;
    }
}

}  // namespace

BatchSummary RunBatch(const BatchJob& job, const BatchOptions& options,
                      const BatchEnvironment& environment, const BatchLogSink& log,
                      BatchControl& control, const BatchThreads& threads) {
    const auto clear = [&log] {
        if (log.clear) log.clear();
    };
    const auto append = [&log](std::string_view text) {
        if (log.append) log.append(text);
    };
    clear();
    append(job.header);

    BatchSummary summary;
    summary.items = static_cast<int>(job.items.size()) + job.leftOut;
    summary.skipped = job.leftOut;
    const std::size_t n = job.items.size();

    // Every hundredth file of the list (counted in the list, so the files taken as right
    // views count too) starts with a clean log.
    std::vector<char> clearBefore(n, 0);
    for (std::size_t k = 0, previous = 0; k < n; ++k) {
        const std::size_t passed = static_cast<std::size_t>(job.items[k].index) + 1;
        if (passed / 100 > previous / 100) clearBefore[k] = 1;
        previous = passed;
    }

    // One file with its opening lines, its log going to `emit`.
    const Progress progress(threads.progress, &control.abort);
    const auto convert = [&](std::size_t k, const std::function<void(LogEvent)>& emit,
                             const Progress& watched) {
        const BatchItem& item = job.items[k];
        if (clearBefore[k]) emit({true, {}});
        emit({false, BatchSourceLine(item.index, job.count, item.logName)});
        return ConvertBatchItem(
            item, options, environment,
            [&emit](std::string_view text) {
                emit({false, std::string(text)});
            },
            threads.overwrite, watched);
    };
    const auto deliver = [&](const LogEvent& event) {
        if (event.clear)
            clear();
        else
            append(event.text);
    };
    const auto done = [&](std::size_t k, const BatchItemResult& result) {
        Tally(summary, result);
        if (log.tell)
            for (const Failure& message : result.told) log.tell(message);
        if (log.done) log.done(job.items[k], result);
    };
    const auto ending = [&control] { return control.stop.load() || control.abort.load(); };

    // Never more files at once than the pool has threads: each file bands its own rows.
    const int converters =
        std::min({std::clamp(threads.count, 1, 64), PoolThreadCount(), static_cast<int>(n)});
    if (converters <= 1) {
        for (std::size_t k = 0; k < n; ++k) {
            if (ending()) {
                summary.stopped = true;
                break;
            }
            const BatchItemResult result = convert(k, deliver, progress);
            done(k, result);
            if (result.outcome == BatchOutcome::Aborted) {
                summary.stopped = true;
                break;
            }
        }
        return summary;
    }

    // Several files at once: this thread and pool workers each take the next file. The log
    // goes out in file order as it is written: the first file not yet finished (the head)
    // logs straight through, on whichever thread converts it; the files after it keep their
    // lines until the head reaches them. The lock guards the log sink too.
    struct Slot {
        std::vector<LogEvent> events;
        BatchItemResult item;
        std::exception_ptr error;
        bool done = false;
    };
    std::vector<Slot> slots(n);
    // Each file can be given up on its own: every file under way when the run is given up,
    // and those after the file the log has reached when it is stopped, so that a stopped
    // run ends with the file the user saw last.
    const std::unique_ptr<std::atomic<bool>[]> cancel(new std::atomic<bool>[n]);
    for (std::size_t k = 0; k < n; ++k) cancel[k] = false;
    std::vector<char> cancelledAhead(n, 0);
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;  // the next file to take
    std::size_t head = 0;  // the first file whose log is not complete
    bool noMore = false;
    std::exception_ptr failure;

    // Two files that make the same output (same name from different folders) are converted
    // one after the other, so that the later one finds the earlier one's output and is
    // asked about it, as in a run on one thread.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> sameOutputBefore(n, kNone);
    {
        std::unordered_map<std::string, std::size_t> lastWith;
        for (std::size_t k = 0; k < n; ++k) {
            const std::string name =
                BatchOutputName(options.targetFolder, job.items[k].left, options.outputType);
            const auto [at, fresh] = lastWith.try_emplace(name, k);
            if (!fresh) {
                sameOutputBefore[k] = at->second;
                at->second = k;
            }
        }
    }

    // Under the lock: the finished files at the head are handed on, then what the new head
    // has logged so far. A stop takes effect after a file handed on.
    const auto advance = [&] {
        while (!failure && head < n && slots[head].done) {
            const std::size_t k = head++;
            Slot& slot = slots[k];
            if (slot.error) {
                failure = slot.error;
                noMore = true;
                break;
            }
            if (slot.item.outcome == BatchOutcome::Aborted) summary.stopped = true;
            // Given up by a stop before the log reached it: it left nothing behind.
            if (cancelledAhead[k] && slot.item.outcome == BatchOutcome::Aborted) continue;
            for (const LogEvent& event : slot.events) deliver(event);
            slot.events.clear();
            done(k, slot.item);
            if (ending() && !noMore) {
                noMore = true;
                for (std::size_t j = head; j < next; ++j)
                    if (!slots[j].done) {
                        cancel[j] = true;
                        cancelledAhead[j] = 1;
                    }
            }
        }
        if (!failure && head < n && !cancelledAhead[head]) {
            for (const LogEvent& event : slots[head].events) deliver(event);
            slots[head].events.clear();
        }
        changed.notify_all();
    };
    const auto mayTake = [&] { return !noMore && next < n && !ending(); };

    // Takes the next file and converts it; false when there is none to take. Called and
    // returns with the lock held.
    const auto take = [&](std::unique_lock<std::mutex>& lock) {
        if (!mayTake()) return false;
        const std::size_t k = next++;
        // The earlier file was taken before this one, so it is under way or done.
        if (const std::size_t before = sameOutputBefore[k]; before != kNone)
            changed.wait(lock, [&] { return slots[before].done; });
        lock.unlock();
        const auto emit = [&, k](LogEvent event) {
            std::lock_guard logLock(mutex);
            if (k == head && !failure && !cancelledAhead[k])
                deliver(event);
            else
                slots[k].events.push_back(std::move(event));
        };
        const Progress fileProgress(
            [&, k](ProgressDirection direction, int percent) {
                // A run given up reaches the file on this thread too.
                if (control.abort.load()) cancel[k] = true;
                if (threads.progress) threads.progress(direction, percent);
            },
            &cancel[k]);
        BatchItemResult item;
        std::exception_ptr error;
        try {
            // Given up while it waited for its turn: it is not begun.
            if (!cancel[k]) item = convert(k, emit, fileProgress);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        slots[k].item = std::move(item);
        slots[k].error = error;
        slots[k].done = true;
        advance();
        return true;
    };

    // Declared after what the helpers use, so that it waits for them before that goes.
    TaskGroup helpers;
    for (int t = 1; t < converters; ++t) {
        helpers.Run([&] {
            std::unique_lock lock(mutex);
            while (take(lock)) {
            }
        });
    }
    {
        std::unique_lock lock(mutex);
        while (take(lock)) {
        }
        // Giving up reaches the files under way elsewhere through their own flags.
        while (!changed.wait_for(lock, std::chrono::milliseconds(20),
                                 [&] { return failure || head >= next; }))
            if (control.abort.load())
                for (std::size_t j = head; j < next; ++j) cancel[j] = true;
        if (next < n) summary.stopped = true;
    }
    helpers.Wait();
    if (failure) std::rethrow_exception(failure);
    return summary;
}

}  // namespace duplora

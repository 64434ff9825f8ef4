#include "core/util/worker_pool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace duplora {

namespace {

// A pass being banded. It lives on its owner's stack; the owner takes it off the pool's
// list and waits for the workers inside it before it returns.
struct Pass {
    int rows = 0;
    int bands = 0;
    BandCall call = nullptr;
    void* context = nullptr;
    std::atomic<int> next{0};  // the next band nobody has taken
    // Guarded by the pool's lock.
    int helpers = 0;  // workers that took the pass and have not left it
    bool listed = false;
    std::exception_ptr error;
};

struct Task {
    TaskGroup* group;
    std::function<void()> run;
};

// Set while the thread runs a band, where a pass runs inline because the band's siblings
// already keep the other threads busy, and under ScopedInlinePasses.
thread_local bool tInline = false;

}  // namespace

class WorkerPool {
  public:
    static WorkerPool& Instance() {
        static WorkerPool pool(PoolThreadCount() - 1);
        return pool;
    }

    explicit WorkerPool(int workers) {
        threads_.reserve(static_cast<std::size_t>(workers));
        for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { WorkerLoop(); });
    }
    ~WorkerPool() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        work_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

    int Workers() const { return static_cast<int>(threads_.size()); }

    void Band(Pass& pass) {
        {
            std::lock_guard lock(mutex_);
            passes_.push_back(&pass);
            pass.listed = true;
        }
        const int wake = std::min(pass.bands - 1, Workers());
        for (int i = 0; i < wake; ++i) work_.notify_one();
        RunBands(pass);
        std::unique_lock lock(mutex_);
        if (pass.listed) Unlist(pass);
        // Only bands already under way are waited for; they are running, never queued.
        finished_.wait(lock, [&] { return pass.helpers == 0; });
    }

    void Queue(TaskGroup& group, std::function<void()> run) {
        {
            std::lock_guard lock(mutex_);
            tasks_.push_back({&group, std::move(run)});
            ++group.queued_;
        }
        work_.notify_one();
    }

    void Wait(TaskGroup& group) {
        std::unique_lock lock(mutex_);
        for (;;) {
            const auto mine = std::find_if(tasks_.begin(), tasks_.end(),
                                           [&](const Task& t) { return t.group == &group; });
            if (mine != tasks_.end()) {
                // No worker is free for it: do it here rather than wait.
                Task task = std::move(*mine);
                tasks_.erase(mine);
                Execute(task, lock);
                continue;
            }
            if (group.running_ == 0) break;
            finished_.wait(lock);
        }
    }

  private:
    static void RunBands(Pass& pass) {
        const bool outer = std::exchange(tInline, true);
        for (;;) {
            const int b = pass.next.fetch_add(1, std::memory_order_relaxed);
            if (b >= pass.bands) break;
            const auto begin = static_cast<int>(std::int64_t{pass.rows} * b / pass.bands);
            const auto end = static_cast<int>(std::int64_t{pass.rows} * (b + 1) / pass.bands);
            try {
                pass.call(pass.context, begin, end);
            } catch (...) {
                pass.next.store(pass.bands, std::memory_order_relaxed);
                std::lock_guard lock(Instance().mutex_);
                if (!pass.error) pass.error = std::current_exception();
            }
        }
        tInline = outer;
    }

    void Unlist(Pass& pass) {
        passes_.erase(std::find(passes_.begin(), passes_.end(), &pass));
        pass.listed = false;
    }

    // Runs a task taken off the queue; called and returns with the lock held.
    void Execute(Task& task, std::unique_lock<std::mutex>& lock) {
        TaskGroup& group = *task.group;
        --group.queued_;
        ++group.running_;
        lock.unlock();
        std::exception_ptr error;
        try {
            task.run();
        } catch (...) {
            error = std::current_exception();
        }
        task.run = nullptr;  // whatever it holds goes before the group hears it is done
        lock.lock();
        if (error && !group.error_) group.error_ = error;
        --group.running_;
        finished_.notify_all();
    }

    void WorkerLoop() {
        std::unique_lock lock(mutex_);
        for (;;) {
            work_.wait(lock, [&] { return stopping_ || !passes_.empty() || !tasks_.empty(); });
            // Bands first: someone is waiting for them now.
            if (!passes_.empty()) {
                Pass& pass = *passes_.front();
                if (pass.next.load(std::memory_order_relaxed) >= pass.bands) {
                    Unlist(pass);  // every band is taken; nothing to help with
                    continue;
                }
                ++pass.helpers;
                if (pass.helpers >= pass.bands - 1) Unlist(pass);
                lock.unlock();
                RunBands(pass);
                lock.lock();
                if (pass.listed) Unlist(pass);
                if (--pass.helpers == 0) finished_.notify_all();
            } else if (!tasks_.empty()) {
                Task task = std::move(tasks_.front());
                tasks_.pop_front();
                Execute(task, lock);
            } else {
                return;  // stopping, and nothing left
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable work_;      // workers: something was queued
    std::condition_variable finished_;  // owners and groups: a helper or task ended
    std::deque<Pass*> passes_;
    std::deque<Task> tasks_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

int PoolThreadCount() {
    static const int count = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return count;
}

void RunRowBands(int rows, int bands, BandCall call, void* context) {
    bands = std::min(bands, rows);
    if (bands <= 1 || tInline || PoolThreadCount() == 1) {
        call(context, 0, rows);
        return;
    }
    Pass pass;
    pass.rows = rows;
    pass.bands = bands;
    pass.call = call;
    pass.context = context;
    WorkerPool::Instance().Band(pass);
    if (pass.error) std::rethrow_exception(pass.error);
}

ScopedInlinePasses::ScopedInlinePasses() : previous_(std::exchange(tInline, true)) {}

ScopedInlinePasses::~ScopedInlinePasses() {
    tInline = previous_;
}

TaskGroup::~TaskGroup() {
    WorkerPool::Instance().Wait(*this);
}

void TaskGroup::Run(std::function<void()> task) {
    WorkerPool::Instance().Queue(*this, std::move(task));
}

void TaskGroup::Wait() {
    WorkerPool::Instance().Wait(*this);
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

}  // namespace duplora

// The process's one set of worker threads, started on first use and sized to the hardware
// threads. Row bands of pixel passes and whole pieces of work (batch files) share it, so
// nothing starts threads per pass and nested work never puts more threads on the cores:
// whoever waits on the pool does the waiting work itself where no worker has taken it.
#pragma once

#include <exception>
#include <functional>

namespace duplora {

// Threads that work on one pass at most: the pool's workers and the calling thread.
// Known without starting the pool.
int PoolThreadCount();

// Calls call(context, begin, end) once for each of `bands` consecutive bands of [0, rows)
// (band b is rows·b/bands … rows·(b+1)/bands), on the calling thread and on idle workers,
// and returns when every band has run. Inside a band, further passes run inline. The first
// exception a band throws is thrown here once the others have ended; bands not yet begun
// are then left out.
using BandCall = void (*)(void* context, int begin, int end);
void RunRowBands(int rows, int bands, BandCall call, void* context);

// While one lives, passes started on this thread run on it alone (measuring a pass
// against its one-thread run; work that already keeps every core busy).
class ScopedInlinePasses {
  public:
    ScopedInlinePasses();
    ~ScopedInlinePasses();
    ScopedInlinePasses(const ScopedInlinePasses&) = delete;
    ScopedInlinePasses& operator=(const ScopedInlinePasses&) = delete;

  private:
    bool previous_;
};

// Pieces of work handed to the pool and waited for together.
class TaskGroup {
  public:
    TaskGroup() = default;
    // Waits like Wait() but keeps an exception to itself.
    ~TaskGroup();
    TaskGroup(const TaskGroup&) = delete;
    TaskGroup& operator=(const TaskGroup&) = delete;

    // Queues `task` for the next idle worker.
    void Run(std::function<void()> task);
    // Runs the group's tasks no worker has begun on this thread, then waits for the rest.
    // Throws the first exception a task threw.
    void Wait();

  private:
    friend class WorkerPool;
    // Guarded by the pool's lock.
    int queued_ = 0;
    int running_ = 0;
    std::exception_ptr error_;
};

}  // namespace duplora

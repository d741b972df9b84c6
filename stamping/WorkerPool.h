#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace velinor::stamping {

// A pool of worker threads for a list of independent tasks, whose results the calling thread
// takes in list order. task(index, worker) runs once for every index 0..count-1, the indexes
// taken in order by whichever worker is free; worker is that thread's number 0..workers-1, for
// the state each thread keeps of its own (see weight for the order they start in). The calling thread is handed every finished task
// through finished(index), in list order (0, 1, 2, ...), and nothing else calls finished, so it
// needs no lock.
//
// - before(index), when given, is asked on the calling thread just before index is handed over,
//   whether or not it has finished yet: false ends the run there, and neither index nor any later
//   one is handed over (what ran ahead is for the caller to throw away).
// - No task starts more than ahead places beyond the next one to be handed over, so a slow
//   picture holds back the work behind it only so far, and finished results never pile up
//   beyond that: room enough for the other workers to go on past a picture several times the
//   size of its neighbours.
// - weight(index), when given, says how much work a task is (a picture's pixels): of the tasks
//   allowed to start, a free worker takes the heaviest (the first of equals), so a large picture
//   is begun early instead of being left to run alone at the end. Without it, list order. A run
//   that ends early (before, shouldStop) may then leave a task that ran ahead unhanded, for the
//   caller to throw away.
// - While it waits, the calling thread calls tick() every tickEvery and asks shouldStop(); once
//   that says yes no task is started any more, and the tasks started are still handed over.
//
// Returns the number of tasks handed over. With one worker the tasks run on a thread of their
// own all the same, so the calling thread keeps its ticks.
struct PoolCallbacks {
    std::function<void(int index, int worker)> task;
    std::function<void(int index)> finished;
    std::function<bool(int index)> before;   // may be empty
    std::function<long long(int index)> weight;   // may be empty; asked once a task, on the calling thread
    std::function<void()> tick;              // may be empty
    std::function<bool()> shouldStop;        // may be empty
    std::chrono::milliseconds tickEvery{100};
    int ahead = 0;                           // 0: eight a worker
    // Made on each worker thread as it starts and kept until it ends (a fault handler's
    // stack, for instance); may be empty.
    std::function<std::shared_ptr<void>()> perThread;
};

int RunPool(int count, int workers, const PoolCallbacks& callbacks);

// The number of processors this process may run on (its affinity mask), at least 1.
int UsableProcessors();

}  // namespace velinor::stamping

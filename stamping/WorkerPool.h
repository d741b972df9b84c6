#pragma once

#include <chrono>
#include <functional>

namespace velinor::stamping {

// A pool of worker threads for a list of independent tasks: task(index, worker) runs once for
// every index 0..count-1, the indexes taken in order by whichever worker is free; worker is that
// thread's number 0..workers-1, for the state each thread keeps of its own. The calling thread
// hears of every finished task through finished(index), in the order they finish, and nothing
// else calls finished, so it needs no lock. Every tick it calls tick() and asks shouldStop();
// once that says yes, no task is started any more and the tasks in flight are waited for.
// Returns the number of tasks that ran. With one worker the tasks run on a thread of their own
// all the same, so the calling thread keeps its ticks.
struct PoolCallbacks {
    std::function<void(int index, int worker)> task;
    std::function<void(int index)> finished;
    std::function<void()> tick;              // may be empty
    std::function<bool()> shouldStop;        // may be empty
    std::chrono::milliseconds tickEvery{100};
};

int RunPool(int count, int workers, const PoolCallbacks& callbacks);

// The number of processors this process may run on (its affinity mask), at least 1.
int UsableProcessors();

}  // namespace velinor::stamping

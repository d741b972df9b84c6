#include "stamping/WorkerPool.h"

#include <sched.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace velinor::stamping {

int RunPool(int count, int workers, const PoolCallbacks& callbacks) {
    workers = std::max(1, std::min(workers, count));
    std::mutex lock;
    std::condition_variable changed;
    std::deque<int> done;
    int next = 0;
    int running = 0;
    bool stopping = false;

    auto work = [&](int worker) {
        for (;;) {
            int index;
            {
                std::lock_guard<std::mutex> hold(lock);
                if (stopping || next >= count) return;
                index = next++;
                ++running;
            }
            callbacks.task(index, worker);
            {
                std::lock_guard<std::mutex> hold(lock);
                done.push_back(index);
                --running;
            }
            changed.notify_one();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(workers));
    for (int w = 0; w < workers && count > 0; ++w) threads.emplace_back(work, w);

    int finished = 0;
    for (;;) {
        std::deque<int> ready;
        bool over;
        {
            std::unique_lock<std::mutex> hold(lock);
            changed.wait_for(hold, callbacks.tickEvery, [&] { return !done.empty(); });
            ready.swap(done);
            over = (stopping || next >= count) && running == 0;
        }
        for (int index : ready) {
            callbacks.finished(index);
            ++finished;
        }
        if (callbacks.tick) callbacks.tick();
        if (callbacks.shouldStop && callbacks.shouldStop()) {
            std::lock_guard<std::mutex> hold(lock);
            stopping = true;
        }
        if (over) break;
    }
    for (std::thread& thread : threads) thread.join();
    return finished;
}

int UsableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    return std::max(1, CPU_COUNT(&set));
}

}  // namespace velinor::stamping

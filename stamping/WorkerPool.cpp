#include "stamping/WorkerPool.h"

#include <sched.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace velinor::stamping {

int RunPool(int count, int workers, const PoolCallbacks& callbacks) {
    count = std::max(0, count);
    workers = std::max(1, std::min(workers, count));
    const int ahead = callbacks.ahead > 0 ? callbacks.ahead : 8 * workers;
    std::mutex lock;
    std::condition_variable finishedOne;   // a worker finished a task
    std::condition_variable roomAhead;     // a task was handed over, or the run is stopping
    std::vector<char> done(static_cast<std::size_t>(count), 0);
    std::vector<char> started(static_cast<std::size_t>(count), 0);
    std::vector<long long> weights;
    if (callbacks.weight) {
        weights.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) weights.push_back(callbacks.weight(i));
    }
    int next = 0;      // the first task not started yet
    int handed = 0;    // the next task to hand over
    bool stopping = false;

    auto work = [&](int worker) {
        const std::shared_ptr<void> kept = callbacks.perThread ? callbacks.perThread() : nullptr;
        for (;;) {
            int index;
            {
                std::unique_lock<std::mutex> hold(lock);
                roomAhead.wait(hold, [&] { return stopping || next >= count || next < handed + ahead; });
                if (stopping || next >= count) return;
                index = next;
                if (!weights.empty()) {
                    const int end = std::min(count, handed + ahead);
                    for (int i = next + 1; i < end; ++i) {
                        const auto at = static_cast<std::size_t>(i);
                        if (!started[at] && weights[at] > weights[static_cast<std::size_t>(index)]) index = i;
                    }
                }
                started[static_cast<std::size_t>(index)] = 1;
                while (next < count && started[static_cast<std::size_t>(next)]) ++next;
            }
            callbacks.task(index, worker);
            {
                std::lock_guard<std::mutex> hold(lock);
                done[static_cast<std::size_t>(index)] = 1;
            }
            finishedOne.notify_one();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(workers));
    for (int w = 0; w < workers && count > 0; ++w) threads.emplace_back(work, w);

    const auto stop = [&] {
        {
            std::lock_guard<std::mutex> hold(lock);
            stopping = true;
        }
        roomAhead.notify_all();
    };
    const auto askToStop = [&] {
        if (callbacks.tick) callbacks.tick();
        if (callbacks.shouldStop && callbacks.shouldStop()) stop();
    };
    // True when the task to hand over next will never run: the run stopped before it started.
    const auto nothingMore = [&] { return handed >= next && (stopping || next >= count); };

    for (;;) {
        {
            std::lock_guard<std::mutex> hold(lock);
            if (nothingMore()) break;
        }
        if (callbacks.before && !callbacks.before(handed)) {
            stop();
            break;
        }
        bool over = false;
        for (;;) {
            {
                std::unique_lock<std::mutex> hold(lock);
                if (finishedOne.wait_for(hold, callbacks.tickEvery,
                                         [&] { return done[static_cast<std::size_t>(handed)] != 0; })) {
                    break;
                }
            }
            askToStop();
            std::lock_guard<std::mutex> hold(lock);
            if (nothingMore()) {
                over = true;
                break;
            }
        }
        if (over) break;
        callbacks.finished(handed);
        {
            std::lock_guard<std::mutex> hold(lock);
            ++handed;
        }
        roomAhead.notify_all();
        askToStop();
    }
    stop();
    for (std::thread& thread : threads) thread.join();
    return handed;
}

int UsableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    return std::max(1, CPU_COUNT(&set));
}

}  // namespace velinor::stamping

#include "imageio/TemporaryFiles.h"

#include <unistd.h>

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>

namespace velinor::imageio {

namespace {

constexpr int kSlots = 8;
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Read by the signal handler: a slot's path is complete whenever `ready` is set.
struct Slot {
    std::atomic<bool> taken{false};
    std::atomic<bool> ready{false};
    char path[PATH_MAX];
};

Slot slots[kSlots];

extern "C" void RemoveTemporariesAndEnd(int signal) {
    for (Slot& slot : slots) {
        if (slot.ready.load()) ::unlink(slot.path);
    }
    // Then end as the signal's default action would, with the status a caller expects.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallHandlers() {
    for (int signal : kSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
            (current.sa_flags & SA_SIGINFO) != 0) {
            continue;   // ignored, or handled by someone else: not ours to change
        }
        struct sigaction action {};
        action.sa_handler = RemoveTemporariesAndEnd;
        sigemptyset(&action.sa_mask);
        for (int other : kSignals) sigaddset(&action.sa_mask, other);
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace

int RememberTemporary(const std::string& path) {
    static std::once_flag installed;
    std::call_once(installed, InstallHandlers);
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (!slots[i].taken.compare_exchange_strong(expected, true)) continue;
        std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
        slots[i].ready.store(true);
        return i;
    }
    return -1;
}

void ForgetTemporary(int slot) {
    if (slot < 0 || slot >= kSlots) return;
    slots[slot].ready.store(false);
    slots[slot].taken.store(false);
}

}  // namespace velinor::imageio

#pragma once

// How far a piece of work raises the process's resident memory, read from /proc/self.
#include <fstream>
#include <functional>
#include <string>

namespace velinor::testing_support {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kPeakMeasurable = false;  // the sanitizer's allocator keeps freed memory around
#else
inline constexpr bool kPeakMeasurable = true;
#endif

// A field of /proc/self/status in kilobytes; -1 when it is not there.
inline long long StatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::stoll(line.substr(field.size() + 1));
    }
    return -1;
}

// How far the resident memory rose above where it stood while work ran, in bytes; -1 when the
// system does not let the peak be reset.
inline long long PeakGrowth(const std::function<void()>& work) {
    {
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5";  // resets the peak resident size to the current one
        if (!reset.flush()) return -1;
    }
    const long long before = StatusKilobytes("VmRSS");
    work();
    const long long peak = StatusKilobytes("VmHWM");
    if (before < 0 || peak < 0) return -1;
    return (peak - before) * 1024;
}

}  // namespace velinor::testing_support

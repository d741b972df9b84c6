#include "tools/velinor-cli/Progress.h"

#include <cstdio>
#include <string>

namespace velinor::tools {

namespace {

constexpr int kBarWidth = 30;

}  // namespace

Progress::Progress(int total, bool shown)
    : total_(total), shown_(shown && total > 0), start_(std::chrono::steady_clock::now()) {}

void Progress::Draw() {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0 ? done_ / seconds : 0;
    const int filled = total_ > 0 ? done_ * kBarWidth / total_ : 0;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kBarWidth, '.');
    char left[32] = "--";
    if (rate > 0) {
        const long remaining = static_cast<long>((total_ - done_) / rate + 0.5);
        std::snprintf(left, sizeof left, "%ld:%02ld", remaining / 60, remaining % 60);
    }
    std::fprintf(stderr, "\r\033[K[%s] %d/%d  %.1f/s  %s left", bar.c_str(), done_, total_, rate, left);
    std::fflush(stderr);
    drawn_ = true;
}

void Progress::Clear() {
    if (!drawn_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
}

}  // namespace velinor::tools

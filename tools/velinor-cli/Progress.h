#pragma once

#include <chrono>

namespace velinor::tools {

// A one-line progress bar on standard error (done/total, pictures per second, time left),
// redrawn in place; nothing at all when shown is false (standard error is no terminal).
class Progress {
public:
    Progress(int total, bool shown);
    void Done() { ++done_; }
    // Redraws the line, at most a few times a second.
    void Draw();
    // Takes the line away, so that another line can be written.
    void Clear();

private:
    int total_;
    int done_ = 0;
    bool shown_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point last_;
};

}  // namespace velinor::tools

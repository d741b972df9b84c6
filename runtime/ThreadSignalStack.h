#pragma once

#include <csignal>
#include <memory>

namespace velinor::runtime {

// A stack of its own for the fault handler on the thread that makes this object, for as long as
// it lives. The handler runs on the alternate stack of the faulting thread; a thread without
// one (each new thread starts without) would take a stack overflow, or a fault on a stack worn
// thin, into the handler on the very stack that failed, and the report would never come.
class ThreadSignalStack {
public:
    ThreadSignalStack();
    ~ThreadSignalStack();
    ThreadSignalStack(const ThreadSignalStack&) = delete;
    ThreadSignalStack& operator=(const ThreadSignalStack&) = delete;

    bool Installed() const { return installed_; }

private:
    std::unique_ptr<unsigned char[]> memory_;
    stack_t kept_{};
    bool installed_ = false;
};

}  // namespace velinor::runtime

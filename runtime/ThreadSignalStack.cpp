#include "runtime/ThreadSignalStack.h"

#include <new>

namespace velinor::runtime {

namespace {

// As large as the main thread's handler stack: the handler reads line information and formats.
constexpr std::size_t kStackSize = 64 * 1024;

}  // namespace

ThreadSignalStack::ThreadSignalStack() : memory_(new (std::nothrow) unsigned char[kStackSize]) {
    if (memory_ == nullptr) return;
    stack_t ours{};
    ours.ss_sp = memory_.get();
    ours.ss_size = kStackSize;
    installed_ = sigaltstack(&ours, &kept_) == 0;
}

ThreadSignalStack::~ThreadSignalStack() {
    // The thread's own stack setting is given back before the memory goes.
    if (installed_) sigaltstack(&kept_, nullptr);
}

}  // namespace velinor::runtime

// A thread given a signal stack of its own has one while the object lives, and its own setting
// back afterwards: the fault handler then runs there even when the thread's stack is used up.
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include "runtime/ThreadSignalStack.h"

namespace velinor::runtime {
namespace {

TEST(ThreadSignalStack, ANewThreadHasOneWhileTheObjectLives) {
    std::thread([] {
        stack_t current{};
        ASSERT_EQ(sigaltstack(nullptr, &current), 0);
        EXPECT_NE(current.ss_flags & SS_DISABLE, 0);   // a new thread starts without one
        {
            const ThreadSignalStack stack;
            ASSERT_TRUE(stack.Installed());
            ASSERT_EQ(sigaltstack(nullptr, &current), 0);
            EXPECT_EQ(current.ss_flags & SS_DISABLE, 0);
            EXPECT_GE(current.ss_size, std::size_t{64 * 1024});
        }
        ASSERT_EQ(sigaltstack(nullptr, &current), 0);
        EXPECT_NE(current.ss_flags & SS_DISABLE, 0);
    }).join();
}

}  // namespace
}  // namespace velinor::runtime

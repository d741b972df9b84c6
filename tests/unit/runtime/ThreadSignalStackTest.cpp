// A thread given a signal stack of its own has one while the object lives, and its own setting
// back afterwards: the fault handler then runs there even when the thread's stack is used up.
// A new thread may already have one (AddressSanitizer gives every thread its own), so the test
// compares with what the thread had before rather than assuming it had none.
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include "runtime/ThreadSignalStack.h"

namespace velinor::runtime {
namespace {

TEST(ThreadSignalStack, ANewThreadHasOneWhileTheObjectLivesAndItsOwnSettingBackAfter) {
    std::thread([] {
        stack_t before{};
        ASSERT_EQ(sigaltstack(nullptr, &before), 0);
        stack_t current{};
        {
            const ThreadSignalStack stack;
            ASSERT_TRUE(stack.Installed());
            ASSERT_EQ(sigaltstack(nullptr, &current), 0);
            EXPECT_EQ(current.ss_flags & SS_DISABLE, 0);
            EXPECT_GE(current.ss_size, std::size_t{64 * 1024});
            EXPECT_NE(current.ss_sp, before.ss_sp);
        }
        ASSERT_EQ(sigaltstack(nullptr, &current), 0);
        EXPECT_EQ(current.ss_flags & SS_DISABLE, before.ss_flags & SS_DISABLE);
        if ((before.ss_flags & SS_DISABLE) == 0) {
            EXPECT_EQ(current.ss_sp, before.ss_sp);
            EXPECT_EQ(current.ss_size, before.ss_size);
        }
    }).join();
}

}  // namespace
}  // namespace velinor::runtime

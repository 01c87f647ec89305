#include "model/WorkerCount.h"

#include "tests/model/support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using zef::test::ScopedVariable;

TEST(WorkerCountTest, TheCoresAtMostEightUnlessZefThreadsNamesANumber)
{
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, MaxWorkers);
    struct Case {
        const char* setting;
        unsigned expected;
    };
    for (const Case& c : {Case{nullptr, cores}, Case{"1", 1}, Case{"3", 3}, Case{"8", 8}, Case{"64", 8},
                          Case{"0", cores}, Case{"-2", cores}, Case{"two", cores}, Case{"2x", cores},
                          Case{"", cores}}) {
        SCOPED_TRACE(c.setting ? c.setting : "unset");
        const ScopedVariable setting("ZEF_THREADS", c.setting);
        EXPECT_EQ(workerCount(), c.expected);
    }
}

#include "model/UnpackLimits.h"

#include "tests/model/support/RaisedError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using zef::test::raisedError;

namespace {

std::string announced(const UnpackBudget& budget, uint64_t entries)
{
    const auto error = raisedError([&] { budget.announce(entries); });
    return error ? error->text() : "";
}

std::string added(UnpackBudget& budget, const std::vector<uint64_t>& sizes)
{
    const auto error = raisedError([&] {
        for (uint64_t size : sizes)
            budget.add(size);
    });
    if (error) {
        EXPECT_EQ(error->number(), 29);
    }
    return error ? error->text() : "";
}

TEST(UnpackLimitsTest, EachLimitIsHeldAndNamed)
{
    const UnpackLimits limits;
    UnpackBudget listed(limits, 1 << 20);
    EXPECT_EQ(announced(listed, 100000), "");
    EXPECT_EQ(announced(listed, 100001), "The book exceeds the unpacking limit of 100000 entries.");

    // Sizes recorded near 2^64 must not wrap around to a small sum.
    UnpackBudget wrapping(limits, uint64_t(1) << 40);
    EXPECT_EQ(added(wrapping, {~uint64_t(0), 2}), "The book exceeds the unpacking limit of 4294967296 bytes.");

    // The ratio holds only beyond the grace: a small book may deflate well.
    UnpackBudget small(limits, 1000);
    EXPECT_EQ(added(small, {UnpackLimits::RatioGrace}), "");
    EXPECT_EQ(added(small, {1}), "The book exceeds the unpacking limit of 100 times its size.");
    UnpackBudget large(limits, 10 << 20);
    EXPECT_EQ(added(large, {1000ull << 20}), "") << "exactly 100 times";
    EXPECT_EQ(added(large, {100}), "The book exceeds the unpacking limit of 100 times its size.");
}

} // namespace

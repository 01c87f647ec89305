#include "kiln/base/DefaultWriters.h"
#include "kiln/base/Library.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace KILN;

namespace {

// Test callbacks for the free slots 4 to 6, recording their calls in order.
std::string calls;
bool failNextStart = false;

bool slot4(bool startUp)
{
    calls += startUp ? "4+" : "4-";
    return true;
}

bool slot5(bool startUp)
{
    calls += startUp ? "5+" : "5-";
    if (startUp && failNextStart) {
        failNextStart = false;
        return false;
    }
    return true;
}

bool slot6(bool startUp)
{
    calls += startUp ? "6+" : "6-";
    return true;
}

// Leaves the library in the state the test found it in.
class LibraryTest : public testing::Test {
protected:
    void SetUp() override
    {
        wasRunning = isLibraryStarted() && !isLibraryStopped();
        stopLibrary();
        calls.clear();
    }
    void TearDown() override
    {
        if (wasRunning)
            startLibrary();
        else
            stopLibrary();
    }

    bool wasRunning = false;
};

} // namespace

TEST_F(LibraryTest, DefaultWritersLiveWhileTheLibraryRuns)
{
    ASSERT_TRUE(startLibrary());
    ASSERT_NE(DefaultWriters::nullFlow(), nullptr);
    ASSERT_NE(DefaultWriters::writer<char>(), nullptr);
    ASSERT_NE(DefaultWriters::writer<unsigned short>(), nullptr);
    ASSERT_NE(DefaultWriters::writer<unsigned int>(), nullptr);
    EXPECT_EQ(DefaultWriters::writer<unsigned short>()->target(), nullptr);
    TextWriter<char>* before = DefaultWriters::writer<char>();
    EXPECT_TRUE(startLibrary());
    EXPECT_EQ(DefaultWriters::writer<char>(), before);

    EXPECT_TRUE(stopLibrary());
    EXPECT_TRUE(isLibraryStopped());
    EXPECT_FALSE(stopLibrary());
    EXPECT_EQ(DefaultWriters::nullFlow(), nullptr);
    EXPECT_EQ(DefaultWriters::writer<unsigned short>(), nullptr);

    // A stopped library starts again with fresh objects.
    EXPECT_TRUE(startLibrary());
    EXPECT_NE(DefaultWriters::writer<unsigned int>(), nullptr);
}

TEST_F(LibraryTest, CallbacksRunInSlotOrderAndAFailureLeavesTheLibraryUnstarted)
{
    // Registered out of order: the calls follow the slots.
    LibraryRegistration six(6, slot6);
    LibraryRegistration four(4, slot4);
    LibraryRegistration five(5, slot5);
    failNextStart = true;
    EXPECT_FALSE(startLibrary());
    EXPECT_EQ(calls, "4+5+");
    EXPECT_FALSE(stopLibrary());
    EXPECT_EQ(calls, "4+5+");

    EXPECT_TRUE(startLibrary());
    EXPECT_EQ(calls, "4+5+4+5+6+");
    EXPECT_TRUE(startLibrary());
    EXPECT_EQ(calls, "4+5+4+5+6+");
    EXPECT_TRUE(stopLibrary());
    EXPECT_EQ(calls, "4+5+4+5+6+4-5-6-");
}

TEST_F(LibraryTest, SlotsAreChecked)
{
    EXPECT_THROW(LibraryRegistration(LibrarySlot::Count, slot4), std::logic_error);
    EXPECT_THROW(LibraryRegistration(LibrarySlot::DefaultWriters, slot4), std::logic_error);
    {
        LibraryRegistration four(4, slot4);
        EXPECT_THROW(LibraryRegistration(4, slot6), std::logic_error);
    }
    LibraryRegistration again(4, slot6);
}

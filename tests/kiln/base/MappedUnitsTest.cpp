#include "kiln/base/MappedUnits.h"
#include "kiln/base/XMLParserSrc.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

using namespace KILN;

namespace {

const size_t PageUnits = static_cast<size_t>(sysconf(_SC_PAGESIZE)) / sizeof(unsigned short);

// Whether the page holding units[index] is still mapped (mincore answers
// ENOMEM for an address outside every mapping).
bool mapped(const unsigned short* units, size_t index)
{
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const auto address = reinterpret_cast<uintptr_t>(units + index) / page * page;
    unsigned char resident = 0;
    return mincore(reinterpret_cast<void*>(address), page, &resident) == 0 || errno != ENOMEM;
}

MappedUnits numbered(uint32_t count)
{
    MappedUnits units;
    EXPECT_TRUE(units.resize(count));
    for (uint32_t i = 0; i < count; ++i)
        units.data()[i] = static_cast<unsigned short>(i);
    return units;
}

} // namespace

TEST(MappedUnitsTest, ResizingKeepsTheUnitsWithinTheNewRoom)
{
    // From the heap into mapped pages and down again.
    const uint32_t small = 3 * static_cast<uint32_t>(PageUnits) + 5;
    const uint32_t large = 2 * 1024 * 1024;
    MappedUnits units = numbered(small);
    ASSERT_TRUE(units.resize(large));
    EXPECT_EQ(units.capacity(), large);
    for (uint32_t i = 0; i < small; ++i)
        ASSERT_EQ(units.data()[i], static_cast<unsigned short>(i));
    units.data()[large - 1] = 7;
    ASSERT_TRUE(units.resize(7));
    EXPECT_EQ(units.data()[6], 6);
    MappedUnits moved(std::move(units));
    EXPECT_EQ(units.data(), nullptr);
    EXPECT_EQ(moved.data()[6], 6);
    EXPECT_TRUE(MappedUnits().resize(0));
}

TEST(MappedUnitsTest, OnlyWholePagesBeforeThePositionAreGivenBack)
{
    MappedUnits units = numbered(1024 * 1024);
    const unsigned short* data = units.data();
    units.releaseBefore(data + PageUnits - 1);
    EXPECT_TRUE(mapped(data, 0));
    units.releaseBefore(data + 3 * PageUnits + 1);
    EXPECT_FALSE(mapped(data, 0));
    EXPECT_FALSE(mapped(data, 3 * PageUnits - 1));
    EXPECT_TRUE(mapped(data, 3 * PageUnits));
    EXPECT_EQ(data[3 * PageUnits], static_cast<unsigned short>(3 * PageUnits));
    // A position behind what was given back changes nothing.
    units.releaseBefore(data + PageUnits);
    EXPECT_EQ(data[1024 * 1024 - 1], static_cast<unsigned short>(1024 * 1024 - 1));

    // A small text stays on the heap, whole.
    MappedUnits small = numbered(10 * static_cast<uint32_t>(PageUnits));
    small.releaseBefore(small.data() + 9 * PageUnits);
    EXPECT_EQ(small.data()[0], 0);
}

TEST(MappedUnitsTest, TheParserInputGivesBackWhatItHasRead)
{
    // Several release steps of text, read by single units and by runs as the
    // parser reads; what is ahead of the cursor stays readable throughout.
    const uint32_t count = 3 * 1024 * 1024;
    MappedUnits units = numbered(count);
    const unsigned short* data = units.data();
    XMLParserSrc src;
    src.push(new XMLParserSrcUnit("unknown", std::move(units), count));
    Utf16String run;
    uint32_t read = 0;
    while (read < count - 70000) {
        src.consume(9999);
        read += 9999;
        ASSERT_EQ(src.peek(), static_cast<unsigned short>(read));
        run.clear();
        read += src.copyUntil(run, [&](unsigned short unit) { return unit == static_cast<unsigned short>(read + 60000); });
        ASSERT_EQ(run.length(), 60000u);
        ASSERT_EQ(src.peek(1), static_cast<unsigned short>(read + 1));
    }
    EXPECT_FALSE(mapped(data, 0));
    EXPECT_FALSE(mapped(data, count - 2 * 1024 * 1024));
    EXPECT_TRUE(mapped(data, read));
    src.consume(count - read);
    EXPECT_TRUE(src.atEnd());
}

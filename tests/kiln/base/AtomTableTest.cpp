#include "kiln/base/AtomTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace KILN;

namespace {

Utf16String unitsOf(const std::string& ascii)
{
    Utf16String out;
    for (const char c : ascii)
        out.append(static_cast<unsigned short>(c));
    return out;
}

} // namespace

TEST(AtomTableTest, EqualNamesAreOneAtomWhetherCachedOrNot)
{
    // Far more names than cache slots, so that slots are shared and replaced.
    AtomTable table;
    std::vector<const Utf16String*> atoms;
    for (int i = 0; i < 1000; ++i)
        atoms.push_back(table.intern(unitsOf("n" + std::to_string(i))));
    for (int round = 0; round < 2; ++round) {
        for (int i = 999; i >= 0; --i) {
            const std::string name = "n" + std::to_string(i);
            ASSERT_EQ(table.intern(unitsOf(name)), atoms[static_cast<size_t>(i)]) << name;
            ASSERT_EQ(table.lookup(unitsOf(name)), atoms[static_cast<size_t>(i)]) << name;
            ASSERT_EQ(table.internAscii(name.c_str()), atoms[static_cast<size_t>(i)]) << name;
        }
    }
    EXPECT_EQ(table.count(), 1000u);
    // A cached atom never answers for a longer or shorter name that shares its
    // units, nor does a lookup add one.
    EXPECT_EQ(table.lookup(unitsOf("n1")), atoms[1]);
    EXPECT_EQ(table.lookup(unitsOf("n")), nullptr);
    EXPECT_EQ(table.lookup(unitsOf("n10000")), nullptr);
    EXPECT_EQ(table.count(), 1000u);
    const Utf16String* empty = table.internAscii("");
    EXPECT_EQ(table.intern(nullptr, 0), empty);
    EXPECT_TRUE(empty->isEmpty());
}

TEST(AtomTableTest, RemovedAtomLeavesTheCache)
{
    AtomTable table;
    Utf16String* text = const_cast<Utf16String*>(table.internAscii("#text"));
    ASSERT_TRUE(table.remove(text));
    EXPECT_EQ(table.lookup(unitsOf("#text")), nullptr);
    const Utf16String* again = table.internAscii("#text");
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(table.lookup(unitsOf("#text")), again);
    delete text;
}

#include "kiln/base/CompositIFilter.h"
#include "kiln/base/Conveyer.h"
#include "kiln/base/StringIFlow.h"
#include "kiln/base/StringOFlow.h"
#include "kiln/base/TIFilter.h"

#include "tests/kiln/base/ExpectIOException.h"

#include <string>

using namespace KILN;

namespace {

// Test filters whose effects do not commute: (x + 1) * 2 differs from x * 2 + 1.
class AddOne : public TIFilter<unsigned short> {
public:
    uint16_t read16() override { return static_cast<uint16_t>(TIFilter::read16() + 1); }
};

class Double : public TIFilter<unsigned short> {
public:
    uint16_t read16() override { return static_cast<uint16_t>(TIFilter::read16() * 2); }
};

// Counts its deletions, to check that the composite owns its filters.
class Counted : public IFilter {
public:
    explicit Counted(int& deleted) : m_deleted(deleted) {}
    ~Counted() override { ++m_deleted; }

private:
    int& m_deleted;
};

} // namespace

TEST(CompositIFilterTest, EmptyChainCopiesItsSource)
{
    CompositIFilter chain;
    EXPECT_EQ(chain.widths(), 7u);
    EXPECT_EQ(chain.inputWidths(), 7u);
    EXPECT_IO_EXCEPTION(chain.read8(), IOException::NoSource, "kiln/base/CompositIFilter");
    const char text[] = "copy me";
    StringIFlow<char> input(text, 7);
    chain.attach(&input);
    TString<char> out;
    StringOFlow<char> output(&out);
    convey(&chain, &output);
    EXPECT_EQ(std::string(out.data(), out.length()), "copy me");
}

TEST(CompositIFilterTest, FirstAddedFilterReadsTheSource)
{
    const unsigned short units[] = {5};
    StringIFlow<unsigned short> input(units, 1);
    CompositIFilter chain;
    chain.add(new AddOne);
    chain.add(new Double);
    chain.attach(&input);
    EXPECT_EQ(chain.read16(), 12); // (5 + 1) * 2
    EXPECT_TRUE(chain.reset());
    EXPECT_EQ(chain.read16(), 12);
    EXPECT_IO_EXCEPTION(chain.read16(), IOException::EndOfInput, "kiln/base/StringIFlow");

    // Attached before the filters are added: the same order.
    CompositIFilter early;
    early.attach(&input);
    early.add(new Double);
    early.add(new AddOne);
    input.reset();
    EXPECT_EQ(early.read16(), 11); // 5 * 2 + 1
}

TEST(CompositIFilterTest, WidthsComeFromBothEndsAndFiltersAreOwned)
{
    int deleted = 0;
    {
        CompositIFilter chain;
        chain.add(new Counted(deleted));
        chain.add(new TIFilter<unsigned int>(Flow::Width16));
        EXPECT_EQ(chain.widths(), 4u);
        EXPECT_EQ(chain.inputWidths(), 7u);
        chain.add(new Counted(deleted));
        EXPECT_EQ(chain.widths(), 7u);
    }
    EXPECT_EQ(deleted, 2);
}

TEST(CompositIFilterTest, CloseDetachesTheChainFromItsSource)
{
    const unsigned short units[] = {1, 2};
    StringIFlow<unsigned short> input(units, 2);
    CompositIFilter chain;
    chain.add(new AddOne);
    chain.attach(&input);
    EXPECT_EQ(chain.read16(), 2);
    EXPECT_TRUE(chain.close());
    EXPECT_IO_EXCEPTION(chain.read16(), IOException::NoSource, "kiln/base/IFilter");
}

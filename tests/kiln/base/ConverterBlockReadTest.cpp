// Block reads of the converters and of the registry's chains answer the same
// units, and fail at the same places, as reads of one unit at a time, however
// the blocks are cut: on random and malformed input, with a source that fails
// in the middle, interleaved with unit reads, and after a reset. Reads that
// tell the end by a short block (readSome) end where the others raise it.

#include "FailingIFlow.h"

#include "kiln/base/CompositIFilter.h"
#include "kiln/base/ConverterTable.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Exception.h"
#include "kiln/base/IFilter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace KILN;
using KILN::test::FailingIFlow;

namespace {

// What a read answered: a unit, or the code of a failure (above any unit).
using Events = std::vector<uint64_t>;
constexpr uint64_t Failure = uint64_t{1} << 40;

const uint32_t BlockSizes[] = {1, 2, 3, 4095, 4096, 4097};

// How the reads are cut: every read a block of one of these sizes (random
// among them when there are several), or unit reads mixed in.
struct Cutting {
    std::vector<uint32_t> sizes;
    bool mixUnitReads = false;
    bool toEnd = false; // block reads with readSome
};

// Random input of units of type T, rich in what the decoders treat
// specially: byte-order marks, escape sequences, UTF-8 and UTF-7 fragments,
// surrogates, values beyond the Unicode range.
template <class T>
std::vector<T> randomUnits(std::mt19937& random, size_t count)
{
    std::vector<T> units;
    units.reserve(count + 8);
    auto pick = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };
    if (pick(2)) {
        if constexpr (sizeof(T) == 1)
            units = {T(0xEF), T(0xBB), T(0xBF)};
        else
            units.push_back(static_cast<T>(pick(2) ? 0xFEFF : sizeof(T) == 2 ? 0xFFFE : 0xFFFE0000));
    }
    while (units.size() < count) {
        const uint32_t kind = pick(10);
        if constexpr (sizeof(T) == 1) {
            static const char* const fragments[] = {"\x1B$B", "\x1B(B", "\x1B(J", "\x1B$@", "+AGE-", "+", "-", "\r\n",
                                                    "\xE3\x81\x82", "\xF0\x9F\x98\x80", "\xC0\xAF", "\xED\xA0\x80", "\x82\xA0", "\x8E\xB1"};
            if (kind < 4) {
                units.push_back(static_cast<T>(random()));
            } else if (kind < 7) {
                units.push_back(static_cast<T>(0x20 + pick(0x5F)));
            } else {
                for (const char* f = fragments[pick(std::size(fragments))]; *f; ++f)
                    units.push_back(static_cast<T>(*f));
            }
        } else if constexpr (sizeof(T) == 2) {
            static const uint32_t ranges[][2] = {{0, 0x10000}, {0x20, 0x7F}, {0x3000, 0xA000}, {0xD800, 0xE000}, {0xFEFF, 0xFF00}};
            const auto& range = ranges[kind < 4 ? 0 : kind - 4 < 5 ? kind - 4 : 2];
            units.push_back(static_cast<T>(range[0] + pick(range[1] - range[0])));
        } else {
            static const uint32_t ranges[][2] = {{0, 0x110000}, {0x20, 0x7F}, {0x3000, 0xA000}, {0xD800, 0xE000}, {0x10000, 0x20000}, {0x110000, 0xFFFFFFFF}};
            const auto& range = ranges[kind < 4 ? 0 : kind - 4];
            units.push_back(static_cast<T>(range[0] + pick(range[1] - range[0])));
        }
    }
    units.resize(count);
    return units;
}

// Reads flow to its end as units of type Out, one at a time or in blocks cut
// as cutting says, and answers what the reads answered. A failure other than
// the end of input is recorded and reading goes on.
template <class Out>
Events readAll(IFlow& flow, const Cutting& cutting, std::mt19937& random)
{
    Events events;
    std::vector<Out> block;
    for (int failures = 0; failures < 4;) {
        const uint32_t size = cutting.sizes.empty() ? 1 : cutting.sizes[random() % cutting.sizes.size()];
        const bool unitRead = cutting.sizes.empty() || (cutting.mixUnitReads && random() % 2);
        uint32_t got = 0;
        block.resize(size);
        try {
            if (unitRead) {
                block[0] = flow.readUnit<Out>();
                got = 1;
            } else if (cutting.toEnd) {
                flow.readSome(size, block.data(), got);
                EXPECT_LE(got, size);
                if (got < size) {
                    // The end, told by the short block, recorded as the raised end is.
                    events.insert(events.end(), block.begin(), block.begin() + got);
                    events.push_back(Failure | IOException::EndOfInput);
                    break;
                }
            } else {
                flow.readBlock(size, block.data(), got);
                EXPECT_EQ(got, size) << "a block read that raised nothing filled its block";
            }
        } catch (const IOException& e) {
            EXPECT_LE(got, size);
            events.insert(events.end(), block.begin(), block.begin() + got);
            events.push_back(Failure | static_cast<uint32_t>(e.code()));
            if (e.code() == IOException::EndOfInput)
                break;
            ++failures;
            continue;
        }
        events.insert(events.end(), block.begin(), block.begin() + got);
    }
    return events;
}

// A filter and the random input it reads, with the unit reads' answers as the reference.
class BlockReadCheck {
public:
    BlockReadCheck(IFilter& filter, uint32_t seed, size_t inputUnits) : m_filter(filter), m_random(seed), m_inputUnits(inputUnits) {}

    // Every way of cutting the reads answers what unit reads answer, with and
    // without a failure of the source at a random place.
    void check(const std::string& name)
    {
        for (const bool failing : {false, true}) {
            SCOPED_TRACE(name + (failing ? ", source fails once" : ""));
            const size_t failAt = failing ? m_random() % (m_inputUnits + 1) : FailingIFlow<char>::Never;
            withInput([&](const auto& units) { checkCuttings(units, failAt); });
        }
    }

private:
    // Calls f with random input of the filter's input width.
    template <class F>
    void withInput(F&& f)
    {
        const uint32_t in = m_filter.inputWidths();
        if (in & Flow::Width8)
            f(randomUnits<char>(m_random, m_inputUnits));
        else if (in & Flow::Width16)
            f(randomUnits<uint16_t>(m_random, m_inputUnits));
        else
            f(randomUnits<uint32_t>(m_random, m_inputUnits));
    }

    template <class In>
    void checkCuttings(const std::vector<In>& units, size_t failAt)
    {
        const uint32_t out = m_filter.widths();
        if (out & Flow::Width8)
            checkCuttings<In, uint8_t>(units, failAt);
        else if (out & Flow::Width16)
            checkCuttings<In, uint16_t>(units, failAt);
        else
            checkCuttings<In, uint32_t>(units, failAt);
    }

    template <class In, class Out>
    void checkCuttings(const std::vector<In>& units, size_t failAt)
    {
        FailingIFlow<In> source(units, failAt);
        auto read = [&](const Cutting& cutting) {
            m_filter.attach(&source);
            m_filter.reset();
            return readAll<Out>(m_filter, cutting, m_random);
        };
        const Events reference = read({});
        ASSERT_FALSE(reference.empty());
        ASSERT_EQ(reference.back(), Failure | IOException::EndOfInput);
        for (const uint32_t size : BlockSizes)
            EXPECT_EQ(read({{size}}), reference) << "blocks of " << size;
        const Cutting random{std::vector<uint32_t>(std::begin(BlockSizes), std::end(BlockSizes))};
        EXPECT_EQ(read(random), reference) << "blocks of random sizes";
        EXPECT_EQ(read({random.sizes, true}), reference) << "blocks and units mixed";
        for (const uint32_t size : BlockSizes)
            EXPECT_EQ(read({{size}, false, true}), reference) << "readSome blocks of " << size;
        EXPECT_EQ(read({random.sizes, true, true}), reference) << "readSome blocks and units mixed";

        // A reset drops what block reads took ahead from the source.
        m_filter.attach(&source);
        m_filter.reset();
        std::vector<Out> some(3);
        uint32_t got = 0;
        try {
            m_filter.readBlock(3, some.data(), got);
        } catch (const IOException&) {
        }
        m_filter.reset();
        EXPECT_EQ(readAll<Out>(m_filter, random, m_random), reference) << "after a reset";
        m_filter.attach(nullptr);
    }

    IFilter& m_filter;
    std::mt19937 m_random;
    size_t m_inputUnits;
};

class ConverterBlockReadTest : public ::testing::TestWithParam<int32_t> {};

TEST_P(ConverterBlockReadTest, BlocksAnswerWhatUnitsAnswer)
{
    const ConverterTableEntry& entry = converterTable[GetParam()];
    const std::unique_ptr<IFilter> converter(entry.create());
    for (uint32_t seed = 1; seed <= 3; ++seed)
        BlockReadCheck(*converter, seed * 7919 + static_cast<uint32_t>(GetParam()), 6000)
            .check("converter " + std::to_string(entry.from) + " -> " + std::to_string(entry.to) + ", seed " + std::to_string(seed));
}

// The end of a short input is where a converter finishes what it holds (a
// byte held back from a malformed sequence, an open shift state), which every
// way of reading must reach alike.
TEST_P(ConverterBlockReadTest, ShortInputsEndAsUnitReadsEnd)
{
    const ConverterTableEntry& entry = converterTable[GetParam()];
    const std::unique_ptr<IFilter> converter(entry.create());
    for (uint32_t seed = 1; seed <= 60; ++seed)
        BlockReadCheck(*converter, seed * 104729 + static_cast<uint32_t>(GetParam()), seed % 7)
            .check("converter " + std::to_string(entry.from) + " -> " + std::to_string(entry.to) + ", seed " + std::to_string(seed));
}

INSTANTIATE_TEST_SUITE_P(EveryConverter, ConverterBlockReadTest, ::testing::Range(0, ConverterTableEntry::Count),
                         [](const ::testing::TestParamInfo<int32_t>& param) {
                             const ConverterTableEntry& entry = converterTable[param.param];
                             return "c" + std::to_string(param.param) + "_" + std::to_string(entry.from) + "_to_" +
                                    std::to_string(entry.to);
                         });

class ChainBlockReadTest : public ::testing::Test {
protected:
    void SetUp() override { EncodingRegistry::lifeCycle(true); }
    void TearDown() override { EncodingRegistry::lifeCycle(false); }
};

TEST_F(ChainBlockReadTest, EveryChainsBlocksAnswerWhatUnitsAnswer)
{
    int chains = 0;
    for (int32_t from = 1; from < 40; ++from) {
        for (int32_t to = 1; to < 40; ++to) {
            const std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(from, to));
            if (!chain)
                continue;
            ++chains;
            BlockReadCheck(*chain, static_cast<uint32_t>(from * 64 + to), 700)
                .check("chain " + std::to_string(from) + " -> " + std::to_string(to));
        }
    }
    EXPECT_GT(chains, 1000);
}

} // namespace

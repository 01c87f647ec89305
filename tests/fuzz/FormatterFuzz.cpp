// libFuzzer target of the formatter: a random format with arguments of random
// but safe types (numbers, strings that outlive the pass, count targets) ends
// in text or a FmtException, never in a crash, a hang or undefined behaviour.
//
// Input layout: the first byte is the number of arguments (up to 15), then one
// byte per argument selects its type and value; the rest is the format.

#include "kiln/base/Exception.h"
#include "kiln/base/Formatter.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace KILN;

namespace {

const TString<char> stringArgument("text");
int32_t countTargets[16];

void addArgument(Formatter<char>& formatter, uint8_t selector, int index)
{
    // The high nibble repeated over the word: zero, small, huge and negative values.
    const auto value = static_cast<int32_t>((selector & 0xF0u) * 0x1010101u);
    switch (selector % 13) {
    case 0: formatter.addInt(value); break;
    case 1: formatter.addUnsignedInt(static_cast<uint32_t>(value)); break;
    case 2: formatter.addLong(static_cast<int64_t>(value) * (int64_t{1} << 31)); break;
    case 3: formatter.addUnsignedLong(static_cast<uint64_t>(value) << 33); break;
    case 4: formatter.addDouble(value * 1e300); break;
    case 5: formatter.addFloat(static_cast<float>(value) / 7); break;
    case 6: formatter.addString("zero-terminated"); break;
    case 7: formatter.addString(stringArgument); break;
    case 8: formatter.addPointer(&stringArgument); break;
    case 9: formatter.addCountTarget(&countTargets[index]); break;
    case 10: formatter.addShort(static_cast<short>(value)); break;
    case 11: formatter.addSignedChar(static_cast<signed char>(value)); break;
    default: formatter.addUnsignedChar(static_cast<unsigned char>(selector)); break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t count = data[0] % 16;
    if (size < 1 + count)
        return 0;
    Formatter<char> formatter;
    for (size_t i = 0; i < count; ++i)
        addArgument(formatter, data[1 + i], static_cast<int>(i));
    formatter.setFormat(reinterpret_cast<const char*>(data + 1 + count), static_cast<uint32_t>(size - 1 - count));
    try {
        const std::unique_ptr<TString<char>> text(formatter.format(true));
    } catch (const FmtException&) {
    }
    return 0;
}

// libFuzzer target of the converter chains: random bytes through the chain
// between a random pair of encodings end in output or an IOException, never
// in a crash, a hang or undefined behaviour. Between Unicode forms, text read
// into UTF-16 and written back survives a second round unchanged: the forms
// lose nothing on the way (characters above U+FFFF included).
//
// Input layout: the first two bytes select the source and target encodings
// (1 to 39); the rest is the text, cut to whole units of the source.

#include "kiln/base/Exception.h"

#include "tests/kiln/base/EncodingTestSupport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace KILN;

namespace {

constexpr int32_t Encodings = 39;

// Bytes per unit of each encoding 1 to 39.
uint32_t unitBytes(int32_t id)
{
    static const uint8_t bytes[Encodings + 1] = {0, 1, 2, 2, 4, 4, 1, 1, 1, 1, 2, 2, 4, 4, 2, 2, 2, 2, 4, 4, 4,
                                                 4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    return bytes[id];
}

// The Unicode forms but UCS-2, which cannot carry every character.
bool keepsEveryCharacter(int32_t id)
{
    return id >= 4 && id <= 20;
}

std::string convert(int32_t from, int32_t to, const std::string& bytes)
{
    return test::ChainRunner(from, to).run(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = EncodingRegistry::lifeCycle(true);
    (void)started;
    if (size < 2)
        return 0;
    const int32_t from = 1 + data[0] % Encodings;
    const int32_t to = 1 + data[1] % Encodings;
    std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    text.resize(text.size() - text.size() % unitBytes(from));
    try {
        convert(from, to, text);
        if (keepsEveryCharacter(from) && from != EncodingRegistry::Utf16N) {
            const std::string once = convert(from, EncodingRegistry::Utf16N, text);
            const std::string twice = convert(from, EncodingRegistry::Utf16N,
                                              convert(EncodingRegistry::Utf16N, from, once));
            if (once != twice)
                std::abort();
        }
    } catch (const IOException&) {
    }
    return 0;
}

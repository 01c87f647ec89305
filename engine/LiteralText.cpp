#include "engine/LiteralText.h"

#include "engine/WordDivision.h"

#include <cstring>

using KILN::TString;
using KILN::TStringPtr;

namespace {

constexpr char Bar[] = "\xEF\xBD\x9C";     // ｜
constexpr char Escape[] = "\xEF\xBC\xBC";  // ＼
constexpr uint32_t WideLength = 3;

// The length of the character at text[i] when it needs an escape, else 0.
uint32_t literalAt(const EngineContext& context, const char* text, uint32_t i, uint32_t length)
{
    if (text[i] == '_' || text[i] == '~')
        return 1;
    if (!context.ruby || text[i] != Bar[0] || length - i < WideLength)
        return 0;
    const char* at = text + i;
    return std::memcmp(at, Bar, WideLength) == 0 || std::memcmp(at, Escape, WideLength) == 0 ? WideLength : 0;
}

void appendEscaped(const char* character, uint32_t size, TString<char>& output)
{
    if (size == 1)
        output.append(*character);
    else
        output.append(Escape, WideLength);
    output.append(character, size);
}

// Appends the text with its characters that need an escape escaped, and
// hands each stretch between them to plain(from, to), which appends it.
template <class Plain>
void splitAtLiterals(const EngineContext& context, const char* text, uint32_t length, TString<char>& output,
                     Plain plain)
{
    uint32_t from = 0;
    for (uint32_t i = 0; i < length;) {
        const uint32_t size = literalAt(context, text, i, length);
        if (size == 0) {
            ++i;
            continue;
        }
        if (i > from)
            plain(from, i);
        appendEscaped(text + i, size, output);
        i += size;
        from = i;
    }
    if (length > from)
        plain(from, length);
}

} // namespace

void divideLiteralText(const EngineContext& context, const TStringPtr<char>& input, TString<char>& output)
{
    const char* text = input.data();
    TString<char> piece;
    TString<char> divided;
    splitAtLiterals(context, text, input.length(), output,
                    [&](uint32_t from, uint32_t to) {
                        piece.assign(text + from, to - from);
                        // The tables act on all of the buffer they are given.
                        if (output.isEmpty()) {
                            divideText(context, piece, output);
                            return;
                        }
                        divided.clear();
                        divideText(context, piece, divided);
                        output.append(divided);
                    });
}

void escapeLiteralText(const EngineContext& context, const TStringPtr<char>& input, TString<char>& output)
{
    const char* text = input.data();
    splitAtLiterals(context, text, input.length(), output,
                    [&](uint32_t from, uint32_t to) { output.append(text + from, to - from); });
}

// tokenizeRuby: one pass over the text of a text node.
//
// A single ｜ opens a base; the base becomes a token only when 《 or 〈 follows
// it, and its reading when the matching closing bracket does. Until a base
// token is emitted, the text since the end of the last token (the ｜ included)
// is a pending plain run: a ｜ that no bracket pair follows stays plain text,
// so every character of the text lands in exactly one token. Inside a
// reading, a single ｜ ends the reading and opens the next base of the group.
// A ＼ in front of one of ｜《》〈〉＼ makes that character plain text: the
// pair acts as no notation and stands for the character alone in its token.

#include "model/MarkedReferences.h"
#include "model/RubySyntax.h"

#include <cstdint>
#include <vector>

namespace {

constexpr unsigned short Bar = 0xFF5C;           // ｜
constexpr unsigned short ReadingOpen = 0x300A;   // 《
constexpr unsigned short ReadingClose = 0x300B;  // 》
constexpr unsigned short AngleOpen = 0x3008;     // 〈
constexpr unsigned short AngleClose = 0x3009;    // 〉
constexpr unsigned short Escape = 0xFF3C;        // ＼
constexpr uint32_t Unset = UINT32_MAX;
constexpr int32_t NoToken = -1;

bool isEscapable(unsigned short unit)
{
    return unit == Bar || unit == ReadingOpen || unit == ReadingClose || unit == AngleOpen || unit == AngleClose
        || unit == Escape;
}

class RubyTokenizer {
public:
    RubyTokenizer(const KILN::Utf16String& text, std::vector<RubySyntaxToken>& tokens)
        : m_text(text), m_units(text.data()), m_length(text.length()), m_tokens(tokens)
    {
    }

    void run()
    {
        MarkedReferences references(m_text);
        uint32_t p = 0;
        while (p < m_length) {
            const uint32_t after = references.skip(p);
            if (after != p) {
                p = after;
                continue;
            }
            if (m_units[p] == Escape && p + 1 < m_length && isEscapable(m_units[p + 1])) {
                m_escapes.push_back(p);
                p += 2;
                continue;
            }
            switch (m_units[p]) {
            case AngleOpen: openReading(p, true); break;
            case ReadingOpen: openReading(p, false); break;
            case AngleClose: closeReading(p, m_angleStart, RubySyntaxToken::AngleLast); break;
            case ReadingClose: closeReading(p, m_readingStart, RubySyntaxToken::DoubleAngleLast); break;
            case Bar:
                if (p + 1 < m_length && m_units[p + 1] == Bar) {
                    p += 2;
                    continue;
                }
                bar(p);
                break;
            default: break;
            }
            ++p;
        }
        if (m_plainStart == Unset && m_barAt != Unset && !m_baseEmitted)
            m_plainStart = m_barAt;
        emitPlainUpTo(m_length);
    }

private:
    // Tokens are emitted in text order, so the escapes in [from, to) are
    // the next ones recorded.
    void emit(int32_t kind, uint32_t from, uint32_t to)
    {
        const uint32_t start = from;
        while (m_nextEscape < m_escapes.size() && m_escapes[m_nextEscape] < from)
            ++m_nextEscape;
        KILN::Utf16String text;
        for (; m_nextEscape < m_escapes.size() && m_escapes[m_nextEscape] < to; ++m_nextEscape) {
            text.append(m_units + from, m_escapes[m_nextEscape] - from);
            from = m_escapes[m_nextEscape] + 1;
        }
        text.append(m_units + from, to - from);
        m_tokens.push_back(RubySyntaxToken{kind, text, start});
        m_last = kind;
    }

    void emitPlainUpTo(uint32_t end)
    {
        if (m_plainStart != Unset && end > m_plainStart)
            emit(RubySyntaxToken::Plain, m_plainStart, end);
        m_plainStart = Unset;
    }

    void openReading(uint32_t p, bool angle)
    {
        if (m_barAt == Unset)
            return;
        emitPlainUpTo(m_barAt);
        emit(RubySyntaxToken::Base, m_barAt + 1, p);
        m_baseEmitted = true;
        // One reading is open at a time: the other bracket's start is cleared.
        m_angleStart = angle ? p + 1 : Unset;
        m_readingStart = angle ? Unset : p + 1;
    }

    void closeReading(uint32_t p, uint32_t start, int32_t kind)
    {
        if (start == Unset)
            return;
        emit(kind, start, p);
        m_barAt = m_angleStart = m_readingStart = Unset;
        m_plainStart = p + 1;
    }

    void bar(uint32_t p)
    {
        if (m_last == RubySyntaxToken::Base) {
            // Ends the open reading; the group goes on with the next base.
            if (m_angleStart != Unset)
                emit(RubySyntaxToken::AngleMore, m_angleStart, p);
            else
                emit(RubySyntaxToken::DoubleAngleMore, m_readingStart, p);
        } else if (m_plainStart == Unset) {
            // A base that no bracket opened stays in the plain run, its ｜ too.
            m_plainStart = m_barAt != Unset && !m_baseEmitted ? m_barAt : p;
        }
        m_barAt = p;
        m_baseEmitted = false;
        m_angleStart = m_readingStart = Unset;
    }

    const KILN::Utf16String& m_text;
    const unsigned short* m_units;
    uint32_t m_length;
    std::vector<RubySyntaxToken>& m_tokens;
    uint32_t m_plainStart = 0;
    uint32_t m_barAt = Unset;
    bool m_baseEmitted = false;
    uint32_t m_angleStart = Unset;
    uint32_t m_readingStart = Unset;
    int32_t m_last = NoToken;
    // Where each escaping ＼ stands, in text order.
    std::vector<uint32_t> m_escapes;
    size_t m_nextEscape = 0;
};

} // namespace

void tokenizeRuby(const KILN::Utf16String& text, std::vector<RubySyntaxToken>& tokens)
{
    RubyTokenizer(text, tokens).run();
}

#include "kiln/base/JaDetector.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Exception.h"
#include "kiln/base/IFlow.h"

#include <array>

// The scan decides on the first byte that only one of the candidate encodings
// allows, reading as little as it can; it runs to the end of the input only
// for text that stays ambiguous (ASCII, EUC-JP/Shift_JIS look-alikes).

namespace KILN {

namespace {

// Byte classes: one flag set per byte value.
enum : uint8_t {
    EucLead = 0x01,
    EucTrail = 0x02,  // A1-FE
    A1ToED = 0x04,
    A1ToFE = 0x08,
    SjisLead = 0x10,
    SjisTrail = 0x20,
    A1ToDF = 0x40,    // half-width katakana in Shift_JIS
};

constexpr std::array<uint8_t, 256> makeClasses()
{
    struct Range {
        int first, last;
        uint8_t flags;
    };
    constexpr uint8_t Euc = EucLead | EucTrail;
    constexpr uint8_t Sjis = SjisLead | SjisTrail;
    constexpr Range ranges[] = {
        {0x40, 0x7E, SjisTrail},
        {0x80, 0x80, SjisTrail},
        {0x81, 0x9F, Sjis},
        {0xA0, 0xA0, SjisTrail},
        {0xA1, 0xDF, Euc | A1ToED | A1ToFE | SjisTrail | A1ToDF},
        {0xE0, 0xED, Euc | A1ToED | A1ToFE | Sjis},
        {0xEE, 0xEF, Euc | A1ToFE | Sjis},
        {0xF0, 0xFC, Euc | A1ToFE | SjisTrail},
        {0xFD, 0xFE, EucTrail | A1ToFE},
    };
    std::array<uint8_t, 256> classes{};
    for (const Range& r : ranges) {
        for (int b = r.first; b <= r.last; ++b)
            classes[b] = r.flags;
    }
    return classes;
}

constexpr std::array<uint8_t, 256> classes = makeClasses();

bool has(uint8_t byte, uint8_t flag) { return (classes[byte] & flag) != 0; }

// Reads the bytes of a flow and follows whether they are well-formed UTF-8
// so far (no overlong forms, surrogates or values above U+10FFFF).
class JaByteReader {
public:
    explicit JaByteReader(IFlow& source) : m_source(source) {}

    uint8_t read()
    {
        uint8_t b;
        try {
            b = m_source.read8();
        } catch (const IOException& e) {
            m_atEnd = e.code() == IOException::EndOfInput;
            throw;
        }
        follow(b);
        return b;
    }

    bool isUtf8() const { return m_utf8; }
    // True once the end of input was read, outside a multibyte character.
    bool atEnd() const { return m_atEnd && m_pending == 0; }
    bool hasMultibyte() const { return m_multibyte; }

private:
    void follow(uint8_t b)
    {
        if (m_pending > 0) {
            m_utf8 = m_utf8 && b >= m_low && b <= m_high;
            m_low = 0x80;
            m_high = 0xBF;
            --m_pending;
            return;
        }
        if (b < 0x80)
            return;
        m_multibyte = true;
        m_low = 0x80;
        m_high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            m_pending = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            m_pending = 2;
            if (b == 0xE0)
                m_low = 0xA0;
            else if (b == 0xED)
                m_high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            m_pending = 3;
            if (b == 0xF0)
                m_low = 0x90;
            else if (b == 0xF4)
                m_high = 0x8F;
        } else {
            m_utf8 = false;
        }
    }

    IFlow& m_source;
    bool m_utf8 = true;
    bool m_atEnd = false;
    bool m_multibyte = false;
    int m_pending = 0;  // continuation bytes still expected
    uint8_t m_low = 0x80;
    uint8_t m_high = 0xBF;
};

int32_t scan(JaByteReader& source)
{
    uint8_t c = source.read();
    // A byte-order mark; the byte that breaks a begun mark is scanned below.
    if (c == 0xFF) {
        c = source.read();
        if (c == 0xFE)
            return EncodingRegistry::Utf16Le;
    } else if (c == 0xFE) {
        c = source.read();
        if (c == 0xFF)
            return EncodingRegistry::Utf16Be;
    } else if (c == 0xEF) {
        c = source.read();
        if (c == 0xBB) {
            c = source.read();
            if (c == 0xBF)
                return EncodingRegistry::Utf8;
        }
    }

    for (;;) {
        if (c == 0x1B) {
            c = source.read();
            if (c == '$') {
                c = source.read();
                if (c == 'B' || c == '@')
                    return EncodingRegistry::Iso2022Jp;
            }
            // Not a JIS X 0208 designation: the last byte read is scanned on.
        }
        if (c == 0x8E) {
            // EUC-JP single shift 2 before a katakana byte, or a Shift_JIS pair.
            const uint8_t c2 = source.read();
            if (has(c2, SjisTrail) && !has(c2, A1ToDF))
                return EncodingRegistry::ShiftJis;
        } else if (c == 0x8F) {
            // EUC-JP single shift 3 before two bytes, or a Shift_JIS pair.
            const uint8_t c2 = source.read();
            if (has(c2, SjisTrail) && !has(c2, A1ToED))
                return EncodingRegistry::ShiftJis;
            const uint8_t c3 = source.read();
            if (!has(c3, A1ToFE))
                return EncodingRegistry::ShiftJis;
            if (!has(c3, SjisLead))
                return EncodingRegistry::EucJp;
            while (source.read() > 0x40) {
            }
        } else if (has(c, SjisLead)) {
            if (!has(c, EucLead))
                return EncodingRegistry::ShiftJis;  // 81-9F
            // E0-EF lead both encodings: the trail byte may tell.
            const uint8_t c2 = source.read();
            if (has(c2, SjisTrail)) {
                if (!has(c2, EucTrail))
                    return EncodingRegistry::ShiftJis;
            } else if (has(c2, EucTrail)) {
                return EncodingRegistry::EucJp;  // FD-FE
            }
        } else if (has(c, EucLead)) {
            return EncodingRegistry::EucJp;  // A1-DF outside a Shift_JIS pair, F0-FC
        }
        c = source.read();
    }
}

} // namespace

int32_t JaDetector::detect(IFlow& source)
{
    JaByteReader reader(source);
    int32_t answer = 0;
    try {
        answer = scan(reader);
    } catch (const IOException&) {
        // End of input (or any failure of the source) before a decision.
    }
    if (answer != 0 && answer != EncodingRegistry::EucJp && answer != EncodingRegistry::ShiftJis)
        return answer;
    // UTF-8 Japanese looks like Shift_JIS or EUC-JP to the scan: text that
    // is valid UTF-8 to its end, with at least one multibyte character, is
    // UTF-8.
    try {
        while (reader.isUtf8())
            reader.read();
    } catch (const IOException&) {
    }
    return reader.isUtf8() && reader.atEnd() && reader.hasMultibyte() ? EncodingRegistry::Utf8 : answer;
}

} // namespace KILN

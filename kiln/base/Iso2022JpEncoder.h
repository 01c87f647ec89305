#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Base of the converters into ISO-2022-JP from source units of type In. The
// subclass names each next character with its character set; the base
// writes the escape sequence when the set changes (ESC ( B for ASCII,
// ESC ( J for JIS X 0201 Roman, ESC $ B for JIS X 0208), starting in ASCII,
// and returns to ASCII before it reports the end of input.
template <class In>
class Iso2022JpEncoder : public Converter<Iso2022JpEncoder<In>, char, In> {
protected:
    enum Set : uint32_t { Ascii = 0, Roman = 1, Jis0208 = 2 };

    static constexpr uint32_t character(Set set, uint32_t code) { return (set << 16) | code; }

    // The next character that ISO-2022-JP can carry, as character(set, code):
    // ASCII and Roman codes are bytes 00-7F, JIS X 0208 codes 2121-7E7E.
    virtual uint32_t nextCharacter() = 0;

private:
    friend class Converter<Iso2022JpEncoder<In>, char, In>;

    char convert()
    {
        if (this->m_fresh)
            m_set = Ascii;
        uint32_t next;
        try {
            next = nextCharacter();
        } catch (const IOException& e) {
            if (e.code() != IOException::EndOfInput || m_set == Ascii)
                throw;
            m_set = Ascii;
            return this->answer('\x1B', '(', 'B');
        }
        const Set set = static_cast<Set>(next >> 16);
        const uint32_t code = next & 0xFFFF;
        static constexpr char finals[] = {'B', 'J', 'B'};
        char out[5];
        uint32_t count = 0;
        if (set != m_set) {
            out[count++] = '\x1B';
            out[count++] = set == Jis0208 ? '$' : '(';
            out[count++] = finals[set];
            m_set = set;
        }
        if (set == Jis0208)
            out[count++] = static_cast<char>(code >> 8);
        out[count++] = static_cast<char>(code);
        return this->answer(out, count);
    }

    Set m_set = Ascii;
};

} // namespace KILN

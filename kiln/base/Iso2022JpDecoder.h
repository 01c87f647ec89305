#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Base of the converters from ISO-2022-JP to Shift_JIS and EUC-JP. It follows
// the escape sequences ESC ( B (ASCII), ESC ( J (JIS X 0201 Roman), ESC $ @
// and ESC $ B (JIS X 0208), ESC ( I and SO/SI (half-width katakana), starting
// in ASCII. Control bytes and space pass in every set; other escape sequences
// and bytes with the top bit set are dropped; the subclass writes JIS X 0208
// codes and katakana in its own encoding.
class Iso2022JpDecoder : public Converter<Iso2022JpDecoder, char, uint8_t> {
protected:
    // Answers the first byte of a JIS X 0208 code (2121-7E7E) and pushes back
    // the rest.
    virtual char writeJis0208(uint32_t jis) = 0;
    // Answers the first byte of a half-width katakana (A1-DF) and pushes back
    // the rest.
    virtual char writeKana(uint32_t kana) = 0;

private:
    friend Converter;

    enum Set { Ascii, Jis0208, Kana };

    char convert();
    // Reads the rest of an escape sequence and switches the set it names.
    void escape();

    Set m_set = Ascii;
    // The set before SO, restored by SI.
    Set m_shiftedFrom = Ascii;
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<Iso2022JpDecoder, char, uint8_t>;

} // namespace KILN

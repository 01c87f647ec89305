#include "kiln/base/CenDictionary.h"

namespace KILN {

const CenDictionaryEntry CenDictionary::names[] = {
    {1, "us-ascii"}, {1, "iso-ir-6"}, {1, "ANSI_X3.4-1968"}, {1, "ANSI_X3.4-1986"}, {1, "ISO_646.irv:1991"}, {1, "ISO646-US"}, {1, "us"}, {1, "IBM367"}, {1, "cp367"}, {1, "csASCII"}, {1, "ASCII"},
    {2, "ucs2-le"}, {2, "ucs2"}, {2, "ISO-10646-UCS-2"}, {2, "UCS-2"}, {2, "csUnicode"}, {2, "UCS-2LE"}, {2, "UNICODELITTLE"},
    {3, "ucs2-be"}, {3, "UCS-2BE"}, {3, "UNICODEBIG"},
    {4, "ucs4-le"}, {4, "ucs4"}, {4, "ISO-10646-UCS-4"}, {4, "UCS-4"}, {4, "CSUCS4"}, {4, "UCS-4LE"},
    {5, "ucs4-be"}, {5, "UCS-4BE"},
    {6, "utf-7"}, {6, "utf7"}, {6, "unicode-1-1-utf-7"}, {6, "CSUNICODE11UTF7"}, {6, "csUTF7"},
    {7, "utf-8"}, {7, "utf8"}, {7, "csUTF8"},
    {8, "utf-8n"}, {8, "utf8n"},
    {9, "utf-16"}, {9, "csUTF16"},
    {10, "utf-16n"},
    {11, "utf-32"}, {11, "csUTF32"},
    {12, "utf-32n"},
    {13, "utf-16be"}, {13, "csUTF16BE"},
    {14, "utf-16le"}, {14, "csUTF16LE"},
    {15, "utf-16be+bom"},
    {16, "utf-16le+bom"},
    {17, "utf-32be"}, {17, "csUTF32BE"},
    {18, "utf-32le"}, {18, "csUTF32LE"},
    {19, "utf-32be+bom"},
    {20, "utf-32le+bom"},
    {21, "iso-2022-jp"}, {21, "csISO2022JP"},
    {22, "euc-jp"}, {22, "x-euc-jp"}, {22, "ujis"}, {22, "eucJP"}, {22, "EXTENDED_UNIX_CODE_PACKED_FORMAT_FOR_JAPANESE"}, {22, "csEUCPkdFmtJapanese"},
    {23, "Shift_JIS"}, {23, "sjis"}, {23, "MS_Kanji"}, {23, "csShiftJIS"}, {23, "x-sjis"},
    {24, "iso-8859-1"}, {24, "iso-ir-100"}, {24, "ISO_8859-1"}, {24, "latin1"}, {24, "l1"}, {24, "IBM819"}, {24, "CP819"}, {24, "csISOLatin1"}, {24, "ISO8859-1"}, {24, "ISO_8859-1:1987"},
    {25, "iso-8859-2"}, {25, "iso-ir-101"}, {25, "ISO_8859-2"}, {25, "latin2"}, {25, "l2"}, {25, "csISOLatin2"}, {25, "ISO8859-2"}, {25, "ISO_8859-2:1987"},
    {26, "iso-8859-3"}, {26, "iso-ir-109"}, {26, "ISO_8859-3"}, {26, "latin3"}, {26, "l3"}, {26, "csISOLatin3"}, {26, "ISO8859-3"}, {26, "ISO_8859-3:1988"},
    {27, "iso-8859-4"}, {27, "iso-ir-110"}, {27, "ISO_8859-4"}, {27, "latin4"}, {27, "l4"}, {27, "csISOLatin4"}, {27, "ISO8859-4"}, {27, "ISO_8859-4:1988"},
    {28, "iso-8859-5"}, {28, "iso-ir-144"}, {28, "ISO_8859-5"}, {28, "cyrillic"}, {28, "csISOLatinCyrillic"}, {28, "ISO8859-5"}, {28, "ISO_8859-5:1988"},
    {29, "iso-8859-6"}, {29, "iso-ir-127"}, {29, "ISO_8859-6"}, {29, "ECMA-114"}, {29, "ASMO-708"}, {29, "arabic"}, {29, "csISOLatinArabic"}, {29, "ISO8859-6"}, {29, "ISO_8859-6:1987"},
    {30, "iso-8859-7"}, {30, "iso-ir-126"}, {30, "ISO_8859-7"}, {30, "ELOT_928"}, {30, "ECMA-118"}, {30, "greek"}, {30, "greek8"}, {30, "csISOLatinGreek"}, {30, "ISO8859-7"}, {30, "ISO_8859-7:1987"},
    {31, "iso-8859-8"}, {31, "iso-ir-138"}, {31, "ISO_8859-8"}, {31, "hebrew"}, {31, "csISOLatinHebrew"}, {31, "ISO8859-8"}, {31, "ISO_8859-8:1988"},
    {32, "iso-8859-9"}, {32, "iso-ir-148"}, {32, "ISO_8859-9"}, {32, "latin5"}, {32, "l5"}, {32, "csISOLatin5"}, {32, "ISO8859-9"}, {32, "ISO_8859-9:1989"},
    {33, "iso-8859-10"}, {33, "iso-ir-157"}, {33, "ISO_8859-10"}, {33, "csISOLatin6"}, {33, "l6"}, {33, "latin6"}, {33, "ISO8859-10"}, {33, "ISO_8859-10:1992"},
    {34, "iso-8859-13"}, {34, "csISO885913"}, {34, "ISO-IR-179"}, {34, "ISO8859-13"}, {34, "ISO_8859-13"}, {34, "l7"}, {34, "latin7"},
    {35, "iso-8859-14"}, {35, "iso-ir-199"}, {35, "ISO_8859-14:1998"}, {35, "ISO_8859-14"}, {35, "latin8"}, {35, "iso-celtic"}, {35, "l8"}, {35, "csISO885914"},
    {36, "iso-8859-15"}, {36, "ISO_8859-15"}, {36, "Latin-9"}, {36, "csISO885915"}, {36, "ISO-IR-203"}, {36, "ISO8859-15"}, {36, "ISO_8859-15:1998"},
    {37, "cp932"}, {37, "SJIS-open"}, {37, "SJIS-win"}, {37, "MS932"}, {37, "Windows-31J"},
    {38, "EUC-JP-MS"}, {38, "eucJP-MS"}, {38, "eucJP-open"}, {38, "eucJP-win"},
    {39, "windows-1252"}, {39, "cp1252"}, {39, "MS1252"}, {39, "cswindows1252"},
    {40, "ja-detector"}, {40, "ja-auto"},
    {41, "xml-detector"},
    {42, "html-detector"},
    {0, nullptr},
};

CenDictionary::CenDictionary()
{
    for (const CenDictionaryEntry* entry = names; entry->name; ++entry)
        add(const_cast<CenDictionaryEntry*>(entry));
}

int CenDictionary::compare(const char* a, const char* b) const
{
    auto fold = [](char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        return u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u;
    };
    for (;; ++a, ++b) {
        const int x = fold(*a);
        const int y = fold(*b);
        if (x != y || x == 0)
            return x - y;
    }
}

} // namespace KILN

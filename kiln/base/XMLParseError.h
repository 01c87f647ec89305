#pragma once

#include "kiln/base/TString.h"

#include <cstdint>

namespace KILN {

// A grammar error inside the XML parser: its code and the static message of
// that code, with an optional detail (such as an encoding name) for the
// report. The parse entry catches it and reports it. Not to be confused with
// XmlParseError, the encoding detector's reason for falling back.
class XMLParseError {
public:
    enum Code : int32_t {
        NAME = 101,
        NMTOKEN = 102,
        HEX_CHAR_REF = 103,
        DECIMAL_CHAR_REF = 104,
        CHAR_REF_SEMICOLON = 105,
        ENTITY_REF_SEMICOLON = 106,
        LT_IN_DOUBLE_QUOTED_VALUE = 107,
        LT_IN_SINGLE_QUOTED_VALUE = 108,
        ATT_VALUE_QUOTE = 109,
        PE_REF_SEMICOLON = 110,
        ENTITY_VALUE_QUOTE = 111,
        TOP_ELEMENT = 112,
        VERSION_MISSING = 113,
        DECL_CLOSE = 114,
        VERSION_APOSTROPHE = 115,
        VERSION_QUOTE = 116,
        VERSION_SYNTAX = 117,
        VERSION_END_OF_INPUT = 118,
        VERSION_NUMBER = 119,
        EQUALS = 120,
        SPACE = 121,
        ENCODING_APOSTROPHE = 122,
        ENCODING_QUOTE = 123,
        ENCODING_SYNTAX = 124,
        ENCODING_END_OF_INPUT = 125,
        ENCODING_NAME = 126,
        STANDALONE_APOSTROPHE_VALUE = 127,
        STANDALONE_APOSTROPHE = 128,
        STANDALONE_QUOTE_VALUE = 129,
        STANDALONE_QUOTE = 130,
        STANDALONE_SYNTAX = 131,
        COMMENT_END = 132,
        PI_END = 133,
        SUBSET_END = 134,
        DOCTYPE_END = 135,
        SYSTEM_LITERAL_QUOTE = 136,
        SYSTEM_LITERAL_APOSTROPHE = 137,
        SYSTEM_LITERAL = 138,
        PUBID_AFTER_QUOTE = 139,
        PUBID_QUOTE = 140,
        PUBID_AFTER_APOSTROPHE = 141,
        PUBID_APOSTROPHE = 142,
        PUBID_LITERAL = 143,
        MIXED_CLOSE = 144,
        MIXED_CLOSE_STAR = 145,
        PCDATA_CLOSE = 146,
        CHILDREN_CLOSE = 147,
        ELEMENT_DECL_END = 148,
        GROUP_CLOSE = 149,
        ATTLIST_ELEMENT = 150,
        NOTATION_TYPE_OPEN = 151,
        NOTATION_TYPE_CLOSE = 152,
        ENUMERATION_CLOSE = 153,
        ENTITY_DECL_END = 154,
        NOTATION_SYNTAX = 155,
        NOTATION_DECL_END = 156,
        DUPLICATE_ATTRIBUTE = 157,
        END_TAG_CLOSE = 158,
        CDATA_END = 159,
        CHAR_REF_RANGE = 160,
        ENTITY_DEPTH = 161,
        ENTITY_SIZE = 162,
        ELEMENT_DEPTH = 163,
        UNKNOWN_ENCODING = 164,
        RECURSIVE_ENTITY = 165,
        GROUP_DEPTH = 166,
        UNDEFINED_ENTITY = 167,
        UNDEFINED_PARAMETER_ENTITY = 168,
        ELEMENT_PREFIX = 169,
        EMPTY_ELEMENT_PREFIX = 170,
        END_OF_SOURCE = 171,
        ATTRIBUTE_PREFIX = 173,
        INVALID_UTF8 = 174,
        NOT_A_CHARACTER = 175,
        UNMAPPED_SHIFT_JIS = 176,
    };

    explicit XMLParseError(int32_t code);
    XMLParseError(int32_t code, const TString<char>& detail);

    int32_t code() const { return m_code; }
    const char* message() const { return m_message; }
    // Empty unless the error names something (such as an encoding).
    const TString<char>& detail() const { return m_detail; }
    // The line "ERROR:%d: %s\n" of the report, the detail after the message.
    TString<char> report() const;

    // The message of a code; an empty text for a code without one.
    static const char* messageOf(int32_t code);

private:
    const char* m_message;
    int32_t m_code;
    TString<char> m_detail;
};

} // namespace KILN

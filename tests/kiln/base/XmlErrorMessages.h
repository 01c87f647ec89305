#pragma once

// The XML parser's error messages as users and scripts see them, written out
// here rather than read from the parser's own table, so that a changed text
// fails a test. Codes 160 to 166 and 174 to 176 are the parser's own limits and checks.

#include <cstdint>

namespace XmlTest {

struct GoldenMessage {
    int32_t code;
    const char* text;
};

inline constexpr GoldenMessage goldenMessages[] = {
    {101, "can't get NameTop."},
    {102, "can't get Nmtoken."},
    {103, "CharRef syntax error"},
    {104, "CharRef syntax error"},
    {105, "can't find the CharRef end semicolon."},
    {106, "can't find the EntityRef end semicolon."},
    {107, "can't put '<' in the AttValue."},
    {108, "can't put '<' in the AttValue."},
    {109, "can't find attvalue starting ' or \""},
    {110, "can't find PEReference end ';'."},
    {111, "can't find attvalue starting ' or \""},
    {112, "can't find the top element."},
    {113, "can't find 'version' between '<?xml' and '?>'."},
    {114, "can't find '?>'."},
    {115, "can't find \"'\"."},
    {116, "can't find '\"'."},
    {117, "version number specification syntax error."},
    {118, "unexpected end of input."},
    {119, "can't find version number string."},
    {120, "can't find '='."},
    {121, "can't find space."},
    {122, "can't find \"'\"."},
    {123, "can't find '\"'."},
    {124, "encoding specification syntax error."},
    {125, "unexpected end of input."},
    {126, "can't find encoding string."},
    {127, "standalone should be 'yes' or 'no'."},
    {128, "can't find \"'\"."},
    {129, "standalone should be 'yes' or 'no'."},
    {130, "can't find '\"'."},
    {131, "standalone specification syntax error."},
    {132, "can't find comment end."},
    {133, "can't find the end of PI."},
    {134, "can't find ]"},
    {135, "can't find '>' of the DOCTYPE end."},
    {136, "can't find system literal colose \""},
    {137, "can't find system literal colose '"},
    {138, "can't find system literal"},
    {139, "can't find pubid literal after \"."},
    {140, "can't find publid literal close \""},
    {141, "can't find pubid literal after '."},
    {142, "can't find publid literal colose '"},
    {143, "can't find pubid literal"},
    {144, "ELEMENT definition syntax error. can't find close brace ')'."},
    {145, "ELEMENT definition syntax error. can't find close brace ')*'."},
    {146, "ELEMENT definition syntax error."},
    {147, "can't find close brace."},
    {148, "can't find element definition close '>'."},
    {149, "can't find close brace."},
    {150, "Corresponding ELEMENT isn't defined."},
    {151, "can't find '(' in the notation definition"},
    {152, "can't find ')' in the NotationType definition"},
    {153, "can't find ')' in the Enumeration definition"},
    {154, "can't find a close '>' of entity definition."},
    {155, "notation definition syntax error."},
    {156, "can't find a close '>' of entity definition."},
    {157, "attribute is duplicated."},
    {158, "can't find end tag close '>'."},
    {159, "can't find CDSect end ']]>'."},
    {160, "character reference out of range (0 or above U+10FFFF, or a surrogate)."},
    {161, "entity references nested too deeply."},
    {162, "entity expansion exceeds the size limit."},
    {163, "elements nested too deeply."},
    {164, "the declared encoding is not supported:"},
    {165, "recursive entity reference."},
    {166, "content model groups nested too deeply."},
    {167, "can't find Entity definition."},
    {168, "can't find Parameter Entity definition."},
    {169, "undefined namespace prefix is used."},
    {170, "undefined namespace prefix is used."},
    {171, "invalid end of source."},
    {173, "undefined namespace prefix is used."},
    {174, "invalid UTF-8 byte sequence at"},
    {175, "a character XML does not allow at"},
    {176, "a byte pair neither Shift_JIS nor code page 932 maps at"},
};

// The golden text of a code; empty for a code without one.
inline const char* goldenMessage(int32_t code)
{
    for (const GoldenMessage& message : goldenMessages) {
        if (message.code == code)
            return message.text;
    }
    return "";
}

} // namespace XmlTest

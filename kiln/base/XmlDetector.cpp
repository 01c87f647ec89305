#include "kiln/base/XmlDetector.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Exception.h"
#include "kiln/base/IFlow.h"

// Detection in two steps: the first four bytes either decide alone (a
// byte-order mark, the UCS-4 layouts of "<") or fix how the
// declaration's characters are laid out; then the declaration is read
// character by character up to its encoding name. Characters are ASCII here,
// so the pushback store holds one byte per character whatever the layout.

namespace KILN {

namespace {


bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isVersionChar(char c) { return isLetter(c) || isDigit(c) || c == '_' || c == '.' || c == ':' || c == '-'; }
bool isEncodingChar(char c) { return isLetter(c) || isDigit(c) || c == '.' || c == '_' || c == '-'; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

const char* XmlParseError::messageOf(int32_t code)
{
    switch (code) {
    case NoVersion:
        return "can't find 'version' between '<?xml' and '?>'.";
    case BadVersionInApostrophes:
    case BadVersionInQuotes:
        return "version number pase error";
    case NoClosingApostropheAfterVersion:
    case NoClosingApostropheAfterEncoding:
        return "can't find \"'\".";
    case NoClosingQuoteAfterVersion:
    case NoClosingQuoteAfterEncoding:
        return "can't find '\"'.";
    case NoQuoteBeforeVersion:
        return "version number specification syntax error.";
    case NoSpace:
        return "can't find space.";
    case BadEncodingInApostrophes:
    case BadEncodingInQuotes:
        return "encoding name parse error";
    case NoQuoteBeforeEncoding:
        return "encoding specification syntax error.";
    case NoEquals:
        return "can't find '='.";
    default:
        return "";
    }
}

void XmlDetector::reset()
{
    m_mode = Bytes;
    m_pushbackCount = 0;
    m_source = nullptr;
    m_encodingName.clear();
    m_error = XmlParseError();
}

int32_t XmlDetector::detect(IFlow& source)
{
    reset();
    m_source = &source;
    int32_t answer = 0;
    try {
        answer = readSignature();
        if (answer == 0)
            parseDeclaration();
    } catch (const XmlParseError& e) {
        m_error = e;
    } catch (const IOException&) {
        // A short or failing input: nothing more to learn from it.
    }
    m_source = nullptr;
    if (answer != 0)
        return answer;
    if (m_mode == Bytes && m_encodingName.length() != 0) {
        const int32_t named = EncodingRegistry::idOf(m_encodingName.zeroTerminated());
        if (named != 0)
            return named;
    }
    // The declaration of a 16-bit layout can only mean UTF-16 in that byte
    // order, whatever name it gives.
    switch (m_mode) {
    case Utf16BeNoMark:
        return EncodingRegistry::Utf16Be;
    case Utf16LeNoMark:
        return EncodingRegistry::Utf16Le;
    default:
        return EncodingRegistry::Utf8;
    }
}

int32_t XmlDetector::readSignature()
{
    uint8_t b[4];
    for (uint8_t& byte : b)
        byte = m_source->read8();
    const auto is = [&b](uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
        return b[0] == b0 && b[1] == b1 && b[2] == b2 && b[3] == b3;
    };
    if (is(0x00, 0x00, 0xFE, 0xFF) || is(0x00, 0x00, 0x00, 0x3C))
        return EncodingRegistry::Ucs4Be;
    if (is(0x3C, 0x00, 0x00, 0x00) || is(0xFF, 0xFE, 0x00, 0x00))
        return EncodingRegistry::Ucs4;
    // A UTF-16 mark decides whatever follows it: a document without a
    // declaration may begin with white space.
    if (b[0] == 0xFE && b[1] == 0xFF)
        return EncodingRegistry::Utf16Be;
    if (b[0] == 0xFF && b[1] == 0xFE)
        return EncodingRegistry::Utf16Le;
    if (b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        return EncodingRegistry::Utf8;
    // The declaration parse reads these bytes again, as characters.
    if (is(0x00, 0x3C, 0x00, 0x3F)) {
        m_mode = Utf16BeNoMark;
        pushBack(static_cast<char>(b[3]));
        pushBack(static_cast<char>(b[1]));
    } else if (is(0x3C, 0x00, 0x3F, 0x00)) {
        m_mode = Utf16LeNoMark;
        pushBack(static_cast<char>(b[2]));
        pushBack(static_cast<char>(b[0]));
    } else {
        for (int i = 3; i >= 0; --i)
            pushBack(static_cast<char>(b[i]));
    }
    return 0;
}

void XmlDetector::parseDeclaration()
{
    if (!match("<?xml"))
        return;
    if (!skipSpace())
        throw XmlParseError(XmlParseError::NoSpace);
    if (!match("version"))
        throw XmlParseError(XmlParseError::NoVersion);
    TString<char> version;
    readValue(version, isVersionChar, isVersionChar,
              {XmlParseError::NoQuoteBeforeVersion, XmlParseError::BadVersionInApostrophes,
               XmlParseError::NoClosingApostropheAfterVersion, XmlParseError::BadVersionInQuotes,
               XmlParseError::NoClosingQuoteAfterVersion});
    if (!skipSpace() || !match("encoding"))
        return;
    TString<char> name;
    readValue(name, isLetter, isEncodingChar,
              {XmlParseError::NoQuoteBeforeEncoding, XmlParseError::BadEncodingInApostrophes,
               XmlParseError::NoClosingApostropheAfterEncoding, XmlParseError::BadEncodingInQuotes,
               XmlParseError::NoClosingQuoteAfterEncoding});
    m_encodingName = name;
}

void XmlDetector::readValue(TString<char>& value, bool (*first)(char), bool (*rest)(char),
                            const ValueErrors& errors)
{
    skipSpace();
    if (!match("="))
        throw XmlParseError(XmlParseError::NoEquals);
    skipSpace();
    const char quote = next();
    if (quote != '\'' && quote != '"')
        throw XmlParseError(errors.noQuote);
    const bool apostrophes = quote == '\'';
    char c = next();
    if (!first(c))
        throw XmlParseError(apostrophes ? errors.badInApostrophes : errors.badInQuotes);
    while (rest(c)) {
        value.append(c);
        c = next();
    }
    if (c != quote)
        throw XmlParseError(apostrophes ? errors.noClosingApostrophe : errors.noClosingQuote);
}

char XmlDetector::next()
{
    if (m_pushbackCount > 0)
        return m_pushback[--m_pushbackCount];
    switch (m_mode) {
    case Utf16BeNoMark:
        m_source->read8();
        return static_cast<char>(m_source->read8());
    case Utf16LeNoMark: {
        const char c = static_cast<char>(m_source->read8());
        m_source->read8();
        return c;
    }
    default:
        return static_cast<char>(m_source->read8());
    }
}

void XmlDetector::pushBack(char c)
{
    // Keywords are shorter than the store, and every character pushed back
    // was taken from it or read just before.
    if (m_pushbackCount < PushbackCapacity)
        m_pushback[m_pushbackCount++] = c;
}

bool XmlDetector::match(const char* keyword)
{
    char taken[PushbackCapacity];
    uint32_t n = 0;
    for (; keyword[n] != 0; ++n) {
        taken[n] = next();
        if (taken[n] != keyword[n]) {
            for (uint32_t i = n + 1; i-- > 0;)
                pushBack(taken[i]);
            return false;
        }
    }
    return true;
}

bool XmlDetector::skipSpace()
{
    bool skipped = false;
    for (char c = next();; c = next()) {
        if (!isSpace(c)) {
            pushBack(c);
            return skipped;
        }
        skipped = true;
    }
}

} // namespace KILN

#pragma once

#include "kiln/base/Detector.h"
#include "kiln/base/TString.h"

namespace KILN {

// Why XmlDetector could not read an XML declaration: a code and its static
// message. Raised and caught inside XmlDetector; the detector keeps the last
// one for callers that want to know why it fell back. Not to be confused
// with XMLParseError, the parser's grammar error.
class XmlParseError {
public:
    enum Code : int32_t {
        None = 0,
        NoVersion = 10,
        BadVersionInApostrophes = 20,
        NoClosingApostropheAfterVersion = 30,
        BadVersionInQuotes = 40,
        NoClosingQuoteAfterVersion = 50,
        NoQuoteBeforeVersion = 60,
        NoSpace = 70,
        BadEncodingInApostrophes = 80,
        NoClosingApostropheAfterEncoding = 90,
        BadEncodingInQuotes = 100,
        NoClosingQuoteAfterEncoding = 110,
        NoQuoteBeforeEncoding = 120,
        NoEquals = 130,
    };

    // An unknown code has an empty message.
    explicit XmlParseError(int32_t code = None) : m_code(code), m_message(messageOf(code)) {}

    int32_t code() const { return m_code; }
    const char* message() const { return m_message; }

    static const char* messageOf(int32_t code);

private:
    int32_t m_code;
    const char* m_message;
};

// Finds the encoding of an XML document from its first bytes (a byte-order
// mark or the byte layout of "<?") and from the encoding named in its XML
// declaration; falls back to UTF-8 or UTF-16 by the byte layout.
class XmlDetector : public Detector {
public:
    // How the declaration's characters are laid out in bytes.
    enum Mode : int32_t {
        Bytes = 1,          // one byte a character (the default)
        Utf16BeNoMark = 2,  // 00 xx pairs
        Utf16LeNoMark = 3,  // xx 00 pairs
    };

    int32_t detect(IFlow& source) override;
    void reset() override;

    Mode mode() const { return m_mode; }
    // The encoding named by the declaration of the last detection; empty when
    // there was none.
    const TString<char>& encodingName() const { return m_encodingName; }
    // Why the declaration of the last detection could not be read; code 0
    // when it was read or absent.
    const XmlParseError& error() const { return m_error; }

private:
    int32_t readSignature();
    void parseDeclaration();
    // The errors of one quoted value of the declaration.
    struct ValueErrors {
        int32_t noQuote;
        int32_t badInApostrophes;
        int32_t noClosingApostrophe;
        int32_t badInQuotes;
        int32_t noClosingQuote;
    };
    // Reads '=' and a quoted value of characters allowed by first and rest.
    void readValue(TString<char>& value, bool (*first)(char), bool (*rest)(char),
                   const ValueErrors& errors);
    char next();
    void pushBack(char c);
    bool match(const char* keyword);
    bool skipSpace();

    static constexpr uint32_t PushbackCapacity = 16;

    Mode m_mode = Bytes;
    char m_pushback[PushbackCapacity] = {};
    uint32_t m_pushbackCount = 0;
    IFlow* m_source = nullptr;
    TString<char> m_encodingName;
    XmlParseError m_error;
};

} // namespace KILN

#include "kiln/base/HtmlDetector.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Exception.h"
#include "kiln/base/IFlow.h"
#include "kiln/base/TString.h"

#include <cstring>

// A forgiving scan, not a parser: it steps over PIs, comments and references,
// notes where the html and head elements open and close, and looks inside
// start tags for the two attribute spellings that matter. Names and keywords
// are compared with ASCII letters folded to upper case.

namespace KILN {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// True when text begins with token (upper case), ignoring the case of text.
bool startsWith(const char* text, const char* token)
{
    for (; *token != 0; ++text, ++token) {
        if (upper(*text) != *token)
            return false;
    }
    return true;
}

// Just after the next occurrence of token, or the end of text.
const char* skipPast(const char* text, const char* token)
{
    const char* found = std::strstr(text, token);
    return found ? found + std::strlen(token) : text + std::strlen(text);
}

// The encoding of a content value "text/html; charset=NAME" (NAME cut before
// a '('), 0 when the name is unknown, -1 when the value has another form.
int32_t charsetOf(const char* value, const char* end)
{
    if (!startsWith(value, "TEXT/HTML;"))
        return -1;
    value += std::strlen("TEXT/HTML;");
    while (*value == ' ')
        ++value;
    if (!startsWith(value, "CHARSET="))
        return -1;
    value += std::strlen("CHARSET=");
    const char* paren = static_cast<const char*>(std::memchr(value, '(', end - value));
    TString<char> name(value, static_cast<uint32_t>((paren ? paren : end) - value));
    return EncodingRegistry::idOf(name.zeroTerminated());
}

struct StartTag {
    const char* name = nullptr;
    bool empty = false;
    bool httpEquiv = false;
    const char* content = nullptr;  // the content value, up to contentEnd
    const char* contentEnd = nullptr;
};

// Reads a start tag from just after its '<'; answers the position after it.
const char* readStartTag(const char* p, StartTag& tag)
{
    constexpr const char* HttpEquiv = "HTTP-EQUIV=\"CONTENT-TYPE\"";
    constexpr const char* Content = "CONTENT=\"";
    tag.name = p;
    while (*p != 0 && *p != ' ' && *p != '\r' && *p != '\n' && *p != '>' && !startsWith(p, "/>"))
        ++p;
    while (*p != 0) {
        if (startsWith(p, "/>")) {
            tag.empty = true;
            return p + 2;
        }
        if (*p == '>')
            return p + 1;
        if (startsWith(p, HttpEquiv)) {
            tag.httpEquiv = true;
            p += std::strlen(HttpEquiv);
        } else if (startsWith(p, Content)) {
            tag.content = p + std::strlen(Content);
            const char* quote = std::strchr(tag.content, '"');
            tag.contentEnd = quote ? quote : tag.content + std::strlen(tag.content);
            p = quote ? quote + 1 : tag.contentEnd;
        } else {
            ++p;
        }
    }
    return p;
}

} // namespace

int32_t HtmlDetector::scan(const char* p)
{
    bool inHtml = false;
    bool inHead = false;
    int32_t answer = 0;
    while (*p != 0) {
        if (startsWith(p, "<?")) {
            p = skipPast(p + 2, "?>");
        } else if (startsWith(p, "<!--")) {
            p = skipPast(p + 4, "-->");
        } else if (startsWith(p, "</")) {
            p += 2;
            if (startsWith(p, "HTML"))
                inHtml = false;
            else if (startsWith(p, "HEAD"))
                inHead = false;
            p = skipPast(p, ">");
        } else if (*p == '<') {
            StartTag tag;
            p = readStartTag(p + 1, tag);
            if (startsWith(tag.name, "HTML")) {
                inHtml = inHtml || !tag.empty;
            } else if (startsWith(tag.name, "HEAD")) {
                inHead = inHead || !tag.empty;
            } else if (startsWith(tag.name, "META") && inHtml && inHead && tag.httpEquiv && tag.content) {
                const int32_t id = charsetOf(tag.content, tag.contentEnd);
                if (id >= 0)
                    answer = id;
            }
        } else if (*p == '&') {
            p = skipPast(p + 1, ";");
        } else {
            ++p;
        }
    }
    return answer;
}

int32_t HtmlDetector::detect(IFlow& source)
{
    if (!source.carriesWidth(Flow::Width8))
        return 0;
    TString<char> text;
    char block[4096];
    for (;;) {
        uint32_t got = 0;
        try {
            source.readSome8(sizeof block, reinterpret_cast<uint8_t*>(block), got);
        } catch (const IOException&) {
            return 0;
        }
        text.append(block, got);
        if (got < sizeof block)
            break;
    }
    return scan(text.zeroTerminated());
}

} // namespace KILN

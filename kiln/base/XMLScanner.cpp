#include "kiln/base/XMLScanner.h"

#include "kiln/base/Comment.h"
#include "kiln/base/Document.h"
#include "kiln/base/DocumentType.h"
#include "kiln/base/Entity.h"
#include "kiln/base/ProcessingInstruction.h"
#include "kiln/base/Utf.h"
#include "kiln/base/XMLCharClass.h"

#include <cstring>

namespace KILN {

namespace {

constexpr unsigned short MarkOpen = 0x0001;
constexpr unsigned short MarkClose = 0x0002;

bool isHexDigit(int unit)
{
    return (unit >= '0' && unit <= '9') || (unit >= 'a' && unit <= 'f') || (unit >= 'A' && unit <= 'F');
}

int hexValue(int unit)
{
    return unit <= '9' ? unit - '0' : (unit | 0x20) - 'a' + 10;
}

bool isPubidChar(int unit, int quote)
{
    if ((unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z') || (unit >= '0' && unit <= '9'))
        return true;
    if (unit == '\'')
        return quote == '"';
    return unit > 0 && unit < 0x80 && std::strchr(" \r\n-()+,./:=?;!*#@$_%", unit) != nullptr;
}

// The predefined entities and their characters.
int predefinedCharacter(const Utf16String& name)
{
    static const struct {
        const char* name;
        char character;
    } predefined[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
    for (const auto& entity : predefined) {
        if (name.length() == std::strlen(entity.name)) {
            bool same = true;
            for (uint32_t i = 0; i < name.length(); ++i)
                same = same && name[i] == static_cast<unsigned char>(entity.name[i]);
            if (same)
                return entity.character;
        }
    }
    return 0;
}

} // namespace

XMLScanner::XMLScanner(XMLParserSrc& src, Document* document, uint32_t flags)
    : m_src(src), m_document(document), m_flags(flags)
{
}

DocumentType* XMLScanner::doctype() const
{
    return m_document->getDoctype();
}

void XMLScanner::expect(const char* literal, int32_t code)
{
    if (!accept(literal))
        fail(code);
}

bool XMLScanner::accept(const char* literal)
{
    if (!m_src.match(literal))
        return false;
    m_src.consume(static_cast<uint32_t>(std::strlen(literal)));
    return true;
}

bool XMLScanner::atSpace() const
{
    const int unit = m_src.peek();
    return unit >= 0 && XMLCharClass::isSpace(static_cast<unsigned short>(unit));
}

bool XMLScanner::skipSpace()
{
    bool skipped = false;
    while (atSpace()) {
        m_src.consume();
        skipped = true;
    }
    return skipped;
}

bool XMLScanner::readName(Utf16String& out)
{
    out.clear();
    const int first = m_src.peek();
    if (first < 0 || !XMLCharClass::isNameStart(static_cast<unsigned short>(first)))
        return false;
    uint32_t length = 1;
    for (int unit; (unit = m_src.peek(length)) >= 0 && XMLCharClass::isNameChar(static_cast<unsigned short>(unit));)
        ++length;
    for (uint32_t i = 0; i < length; ++i)
        out.append(static_cast<unsigned short>(m_src.peek(i)));
    m_src.consume(length);
    return true;
}

int XMLScanner::openQuote(int32_t code)
{
    const int quote = m_src.peek();
    if (quote != '"' && quote != '\'')
        fail(code);
    m_src.consume();
    return quote;
}

void XMLScanner::requireNmtoken(Utf16String& out)
{
    out.clear();
    for (int unit; (unit = m_src.peek()) >= 0 && XMLCharClass::isNameChar(static_cast<unsigned short>(unit));) {
        out.append(static_cast<unsigned short>(unit));
        m_src.consume();
    }
    if (out.isEmpty())
        fail(XMLParseError::NMTOKEN);
}

void XMLScanner::readSystemLiteral(Utf16String& out)
{
    out.clear();
    const int quote = openQuote(XMLParseError::SYSTEM_LITERAL);
    m_src.copyUntil(out, [quote](unsigned short unit) { return unit == quote; });
    if (m_src.peek() != quote)
        fail(quote == '"' ? XMLParseError::SYSTEM_LITERAL_QUOTE : XMLParseError::SYSTEM_LITERAL_APOSTROPHE);
    m_src.consume();
}

void XMLScanner::readPubidLiteral(Utf16String& out)
{
    out.clear();
    const int quote = openQuote(XMLParseError::PUBID_LITERAL);
    for (int unit; (unit = m_src.peek()) >= 0 && isPubidChar(unit, quote);) {
        out.append(static_cast<unsigned short>(unit));
        m_src.consume();
    }
    if (out.isEmpty())
        fail(quote == '"' ? XMLParseError::PUBID_AFTER_QUOTE : XMLParseError::PUBID_AFTER_APOSTROPHE);
    if (m_src.peek() != quote)
        fail(quote == '"' ? XMLParseError::PUBID_QUOTE : XMLParseError::PUBID_APOSTROPHE);
    m_src.consume();
}

void XMLScanner::readAttValue(Utf16String& out)
{
    out.clear();
    const int quote = openQuote(XMLParseError::ATT_VALUE_QUOTE);
    const uint32_t depth = m_src.entityDepth();
    const bool ltAllowed = hasFlag(ltInAttributeValues);
    for (;;) {
        m_src.copyUntil(out, [quote, ltAllowed](unsigned short unit) {
            return unit == quote || unit == '&' || (unit == '<' && !ltAllowed);
        });
        const int unit = m_src.peek();
        if (unit < 0)
            fail(XMLParseError::END_OF_SOURCE);
        const bool replaced = m_src.entityDepth() > depth;
        m_src.consume();
        if (unit == quote) {
            if (!replaced)
                return;
            // A quote from an entity's replacement text is data.
            out.append(static_cast<unsigned short>(quote));
            continue;
        }
        if (unit == '<')
            fail(quote == '"' ? XMLParseError::LT_IN_DOUBLE_QUOTED_VALUE : XMLParseError::LT_IN_SINGLE_QUOTED_VALUE);
        readReference(out);
    }
}

void XMLScanner::readReference(Utf16String& out)
{
    if (hasFlag(keepReferences))
        out.append('&');
    if (m_src.peek() == '#') {
        m_src.consume();
        readCharReference(out);
    } else {
        readEntityReference(out);
    }
}

void XMLScanner::readCharReference(Utf16String& out)
{
    const bool keep = hasFlag(keepReferences);
    const bool mark = hasFlag(markReferences);
    if (mark)
        out.append(MarkOpen);
    if (keep || mark)
        out.append('#');
    const bool hex = m_src.peek() == 'x';
    if (hex) {
        m_src.consume();
        if (keep || mark)
            out.append('x');
    }
    // The value saturates past the last code point, so that no count of
    // digits can wrap it back into range.
    uint32_t value = 0;
    uint32_t digits = 0;
    for (int unit; (unit = m_src.peek()) >= 0 && (hex ? isHexDigit(unit) : (unit >= '0' && unit <= '9'));) {
        value = value * (hex ? 16 : 10) + static_cast<uint32_t>(hex ? hexValue(unit) : unit - '0');
        if (value > 0x10FFFF)
            value = 0x110000;
        if (keep || mark)
            out.append(static_cast<unsigned short>(unit));
        m_src.consume();
        ++digits;
    }
    if (digits == 0)
        fail(hex ? XMLParseError::HEX_CHAR_REF : XMLParseError::DECIMAL_CHAR_REF);
    // A reference, too, must name a character XML allows.
    const bool control = value < 0x20 && value != 0x9 && value != 0xA && value != 0xD;
    if (control || value == 0xFFFE || value == 0xFFFF || !utf::isScalarValue(value))
        fail(XMLParseError::CHAR_REF_RANGE);
    if (!keep && !mark) {
        if (value < 0x10000) {
            out.append(static_cast<unsigned short>(value));
        } else {
            out.append(utf::highSurrogateOf(value));
            out.append(utf::lowSurrogateOf(value));
        }
    }
    if (m_src.peek() != ';')
        fail(XMLParseError::CHAR_REF_SEMICOLON);
    m_src.consume();
    if (keep)
        out.append(';');
    else if (mark)
        out.append(MarkClose);
}

void XMLScanner::readEntityReference(Utf16String& out)
{
    Utf16String name;
    requireName(name);
    if (hasFlag(keepReferences)) {
        out.append(name);
        expect(";", XMLParseError::ENTITY_REF_SEMICOLON);
        out.append(';');
        return;
    }
    const bool mark = hasFlag(markReferences);
    const Entity* entity = static_cast<const Entity*>(doctype()->entities().getNamedItem(name));
    const int predefined = entity ? 0 : predefinedCharacter(name);
    if (!entity && !predefined && !hasFlag(tolerateUndefinedEntities))
        fail(XMLParseError::UNDEFINED_ENTITY);
    const bool marked = mark && (entity || !predefined || !hasFlag(expandPredefinedWhenMarking));
    expect(";", XMLParseError::ENTITY_REF_SEMICOLON);
    if (marked) {
        out.append(MarkOpen);
        out.append(name);
        out.append(MarkClose);
    } else if (entity) {
        pushReplacementText(*entity);
    } else if (predefined) {
        out.append(static_cast<unsigned short>(predefined));
    }
}

void XMLScanner::pushReplacementText(const Entity& entity)
{
    // The text of the entity being declared is still growing: reading it
    // while it is appended to would read freed memory, and the reference is
    // recursive anyway.
    if (&entity == m_declaring)
        fail(XMLParseError::RECURSIVE_ENTITY);
    if (m_src.entityDepth() >= MaxEntityDepth)
        fail(XMLParseError::ENTITY_DEPTH);
    const Utf16String& text = entity.getReplacementText();
    m_expandedUnits += text.length();
    if (m_expandedUnits > MaxExpandedUnits)
        fail(XMLParseError::ENTITY_SIZE);
    m_src.push(new XMLParserSrcUnit("ENTITY", text.data(), text.length()));
}

ProcessingInstruction* XMLScanner::readPI()
{
    Utf16String target;
    requireName(target);
    Utf16String data;
    if (skipSpace()) {
        while (!m_src.match("?>")) {
            if (m_src.atEnd())
                fail(XMLParseError::PI_END);
            m_src.copyUntil(data, [](unsigned short unit) { return unit == '?'; });
            if (!m_src.match("?>") && !m_src.atEnd()) {
                data.append('?');
                m_src.consume();
            }
        }
    }
    expect("?>", XMLParseError::PI_END);
    return new ProcessingInstruction(m_document, target, data);
}

Comment* XMLScanner::readComment()
{
    Utf16String text;
    while (!m_src.match("--")) {
        if (m_src.atEnd())
            fail(XMLParseError::COMMENT_END);
        m_src.copyUntil(text, [](unsigned short unit) { return unit == '-'; });
        if (!m_src.match("--") && !m_src.atEnd()) {
            text.append('-');
            m_src.consume();
        }
    }
    expect("-->", XMLParseError::COMMENT_END);
    return new Comment(m_document, &text);
}

} // namespace KILN

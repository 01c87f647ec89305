#include "kiln/base/DtdParser.h"

#include "kiln/base/Comment.h"
#include "kiln/base/Document.h"
#include "kiln/base/DocumentType.h"
#include "kiln/base/DtdAttlist.h"
#include "kiln/base/DtdElement.h"
#include "kiln/base/DtdPEntity.h"
#include "kiln/base/Entity.h"
#include "kiln/base/Notation.h"
#include "kiln/base/ProcessingInstruction.h"
#include "kiln/base/Text.h"
#include "kiln/base/XMLCharClass.h"
#include "kiln/base/XMLScanner.h"

#include <memory>

namespace KILN {

DtdParser::DtdParser(XMLScanner& scanner)
    : m_scanner(scanner), m_type(scanner.doctype())
{
}

void DtdParser::parseInternalSubset()
{
    XMLScanner& s = m_scanner;
    for (;;) {
        if (s.accept("%")) {
            parseParameterReference();
        } else if (s.atSpace()) {
            Utf16String space;
            s.src().copyUntil(space, [](unsigned short unit) { return !XMLCharClass::isSpace(unit); });
            m_type->appendDeclaration(m_type->appendChild(new Text(s.document(), &space)));
        } else if (s.accept("<!ELEMENT")) {
            parseElementDecl();
        } else if (s.accept("<!ATTLIST")) {
            parseAttlistDecl();
        } else if (s.accept("<!ENTITY")) {
            parseEntityDecl();
        } else if (s.accept("<!NOTATION")) {
            parseNotationDecl();
        } else if (s.accept("<?")) {
            m_type->appendDeclaration(m_type->appendChild(s.readPI()));
        } else if (s.accept("<!--")) {
            m_type->appendDeclaration(m_type->appendChild(s.readComment()));
        } else {
            return;
        }
    }
}

void DtdParser::parseParameterReference()
{
    Utf16String name;
    m_scanner.requireName(name);
    m_scanner.expect(";", XMLParseError::PE_REF_SEMICOLON);
    if (!m_type->parameterEntities().getNamedItem(name))
        XMLScanner::fail(XMLParseError::UNDEFINED_PARAMETER_ENTITY);
}

template <class Declaration>
Declaration* DtdParser::declare(NamedNodeMap& map)
{
    Utf16String name;
    m_scanner.requireName(name);
    Declaration* declaration = new Declaration(m_scanner.document(), name);
    m_type->registerDeclaration(map, declaration);
    m_scanner.requireSpace();
    return declaration;
}

void DtdParser::parseElementDecl()
{
    XMLScanner& s = m_scanner;
    s.requireSpace();
    DtdElement* element = declare<DtdElement>(m_type->elements());
    DtdECUnit& model = element->contentModel();
    if (s.accept("EMPTY")) {
        model.setKind(DtdECUnit::EMPTY);
    } else if (s.accept("ANY")) {
        model.setKind(DtdECUnit::ANY);
    } else if (s.accept("(")) {
        s.skipSpace();
        if (s.accept("#PCDATA")) {
            parseMixed(model);
        } else {
            model.setKind(DtdECUnit::SEQUENCE);
            parseGroup(model, XMLParseError::CHILDREN_CLOSE, 1);
        }
    }
    s.skipSpace();
    s.expect(">", XMLParseError::ELEMENT_DECL_END);
}

void DtdParser::parseMixed(DtdECUnit& model)
{
    XMLScanner& s = m_scanner;
    Document* document = s.document();
    model.appendChild(new DtdECUnit(document, DtdECUnit::PCDATA));
    s.skipSpace();
    if (s.src().peek() != '|') {
        model.setKind(DtdECUnit::PCDATA_GROUP);
        s.expect(")", XMLParseError::PCDATA_CLOSE);
        return;
    }
    model.setKind(DtdECUnit::MIXED);
    Utf16String name;
    while (s.accept("|")) {
        s.skipSpace();
        s.requireName(name);
        DtdECUnit* unit = new DtdECUnit(document, DtdECUnit::NAME);
        model.appendChild(unit);
        unit->setName(name);
        s.skipSpace();
    }
    s.expect(")", XMLParseError::MIXED_CLOSE);
    s.expect("*", XMLParseError::MIXED_CLOSE_STAR);
}

void DtdParser::parseGroup(DtdECUnit& group, int32_t closeCode, uint32_t depth)
{
    XMLScanner& s = m_scanner;
    if (depth > MaxGroupDepth)
        XMLScanner::fail(XMLParseError::GROUP_DEPTH);
    group.appendChild(parseParticle(depth));
    s.skipSpace();
    const char* separator = ",";
    if (s.src().peek() == '|') {
        group.setKind(DtdECUnit::CHOICE);
        separator = "|";
    }
    while (s.accept(separator)) {
        s.skipSpace();
        group.appendChild(parseParticle(depth));
        s.skipSpace();
    }
    s.expect(")", closeCode);
    parseOccurrence(group);
}

DtdECUnit* DtdParser::parseParticle(uint32_t depth)
{
    XMLScanner& s = m_scanner;
    if (s.accept("(")) {
        std::unique_ptr<DtdECUnit> group(new DtdECUnit(s.document(), DtdECUnit::SEQUENCE));
        s.skipSpace();
        parseGroup(*group, XMLParseError::GROUP_CLOSE, depth + 1);
        return group.release();
    }
    Utf16String name;
    s.requireName(name);
    DtdECUnit* unit = new DtdECUnit(s.document(), DtdECUnit::NAME);
    unit->setName(name);
    parseOccurrence(*unit);
    return unit;
}

void DtdParser::parseOccurrence(DtdECUnit& unit)
{
    XMLScanner& s = m_scanner;
    if (s.accept("?"))
        unit.setKind(unit.getKind() | DtdECUnit::OPTIONAL);
    else if (s.accept("+"))
        unit.setKind(unit.getKind() | DtdECUnit::ONE_OR_MORE);
    else if (s.accept("*"))
        unit.setKind(unit.getKind() | DtdECUnit::ZERO_OR_MORE);
}

void DtdParser::parseAttlistDecl()
{
    XMLScanner& s = m_scanner;
    s.requireSpace();
    Utf16String name;
    s.requireName(name);
    DtdElement* element = static_cast<DtdElement*>(m_type->elements().getNamedItem(name));
    // Without a declared element the definitions are parsed into a holder
    // that nothing else sees and that goes with this declaration.
    std::unique_ptr<DtdElement> holder;
    if (!element) {
        if (!s.hasFlag(XMLScanner::attlistWithoutElement))
            XMLScanner::fail(XMLParseError::ATTLIST_ELEMENT);
        holder.reset(new DtdElement(s.document(), name));
        element = holder.get();
    }
    bool first = true;
    for (;;) {
        s.skipSpace();
        if (s.accept(">")) {
            if (!first)
                static_cast<DtdAttlist*>(element->getLastChild())->setLastOfList(1);
            return;
        }
        parseAttDef(*element, first, !holder);
        first = false;
    }
}

void DtdParser::parseAttDef(DtdElement& element, bool first, bool recorded)
{
    XMLScanner& s = m_scanner;
    Utf16String text;
    s.requireName(text);
    DtdAttlist* definition = new DtdAttlist(s.document(), text);
    element.appendChild(definition);
    if (recorded)
        m_type->appendDeclaration(definition);
    definition->setFirstOfList(first ? 1 : 0);
    s.requireSpace();
    static const struct {
        const char* keyword;
        DtdAttlist::AttType type;
    } types[] = {
        {"CDATA", DtdAttlist::CDATA},       {"IDREFS", DtdAttlist::IDREFS},     {"IDREF", DtdAttlist::IDREF},
        {"ID", DtdAttlist::ID},             {"ENTITIES", DtdAttlist::ENTITIES}, {"ENTITY", DtdAttlist::ENTITY},
        {"NMTOKENS", DtdAttlist::NMTOKENS}, {"NMTOKEN", DtdAttlist::NMTOKEN},   {"NOTATION", DtdAttlist::NOTATION},
    };
    for (const auto& type : types) {
        if (s.accept(type.keyword)) {
            definition->setAttType(type.type);
            break;
        }
    }
    if (definition->getAttType() == DtdAttlist::NOTATION) {
        s.requireSpace();
        s.expect("(", XMLParseError::NOTATION_TYPE_OPEN);
        parseValueList(*definition, false, XMLParseError::NOTATION_TYPE_CLOSE);
    } else if (definition->getAttType() == DtdAttlist::NO_TYPE && s.accept("(")) {
        definition->setAttType(DtdAttlist::ENUMERATION);
        parseValueList(*definition, true, XMLParseError::ENUMERATION_CLOSE);
    }
    s.requireSpace();
    if (s.accept("#REQUIRED")) {
        definition->setDefaultKind(DtdAttlist::REQUIRED);
    } else if (s.accept("#IMPLIED")) {
        definition->setDefaultKind(DtdAttlist::IMPLIED);
    } else {
        definition->setDefaultKind(DtdAttlist::VALUE);
        if (s.accept("#FIXED")) {
            definition->setDefaultKind(DtdAttlist::FIXED);
            s.requireSpace();
        }
        s.readAttValue(text);
        definition->setDefaultValue(text);
    }
}

void DtdParser::parseValueList(DtdAttlist& definition, bool tokens, int32_t closeCode)
{
    XMLScanner& s = m_scanner;
    Utf16String value;
    do {
        s.skipSpace();
        if (tokens)
            s.requireNmtoken(value);
        else
            s.requireName(value);
        definition.appendEnumeration(value);
        s.skipSpace();
    } while (s.accept("|"));
    s.expect(")", closeCode);
}

void DtdParser::parseEntityDecl()
{
    XMLScanner& s = m_scanner;
    s.requireSpace();
    if (s.accept("%")) {
        s.requireSpace();
        DtdPEntity* entity = declare<DtdPEntity>(m_type->parameterEntities());
        if (!parseExternalId(*entity, true))
            parseEntityValue(entity->mutableValue());
    } else {
        Entity* entity = declare<Entity>(m_type->entities());
        if (parseExternalId(*entity, true)) {
            s.skipSpace();
            if (s.accept("NDATA")) {
                s.requireSpace();
                Utf16String name;
                s.requireName(name);
                entity->setNotationName(name);
            }
        } else {
            s.setEntityBeingDeclared(entity);
            parseEntityValue(entity->replacementText());
            s.setEntityBeingDeclared(nullptr);
        }
    }
    s.skipSpace();
    s.expect(">", XMLParseError::ENTITY_DECL_END);
}

void DtdParser::parseEntityValue(Utf16String& out)
{
    XMLScanner& s = m_scanner;
    XMLParserSrc& src = s.src();
    const int quote = s.openQuote(XMLParseError::ENTITY_VALUE_QUOTE);
    const uint32_t depth = src.entityDepth();
    for (;;) {
        src.copyUntil(out, [quote](unsigned short unit) { return unit == quote || unit == '%' || unit == '&'; });
        const int unit = src.peek();
        if (unit < 0)
            XMLScanner::fail(XMLParseError::END_OF_SOURCE);
        const bool replaced = src.entityDepth() > depth;
        src.consume();
        if (unit == quote) {
            if (!replaced)
                return;
            // A quote from an entity's replacement text is data.
            out.append(static_cast<unsigned short>(quote));
        } else if (unit == '%') {
            parseParameterReference();
        } else {
            s.readReference(out);
        }
    }
}

bool DtdParser::parseExternalId(External& node, bool systemRequired)
{
    XMLScanner& s = m_scanner;
    Utf16String literal;
    if (s.accept("SYSTEM")) {
        s.requireSpace();
        s.readSystemLiteral(literal);
        node.setSystemId(&literal);
        return true;
    }
    if (!s.accept("PUBLIC"))
        return false;
    s.requireSpace();
    s.readPubidLiteral(literal);
    node.setPublicId(&literal);
    if (systemRequired) {
        s.requireSpace();
    } else {
        s.skipSpace();
        if (s.src().peek() != '"' && s.src().peek() != '\'')
            return true;
    }
    s.readSystemLiteral(literal);
    node.setSystemId(&literal);
    return true;
}

void DtdParser::parseNotationDecl()
{
    XMLScanner& s = m_scanner;
    s.requireSpace();
    Notation* notation = declare<Notation>(m_type->notations());
    if (!parseExternalId(*notation, false))
        XMLScanner::fail(XMLParseError::NOTATION_SYNTAX);
    s.skipSpace();
    s.expect(">", XMLParseError::NOTATION_DECL_END);
}

} // namespace KILN

#pragma once

#include <cstdint>

namespace KILN {

class DocumentType;
class DtdAttlist;
class DtdECUnit;
class DtdElement;
class External;
class NamedNodeMap;
class Utf16String;
class XMLScanner;

// The grammar of a DOCTYPE's internal subset: element, attribute-list,
// entity and notation declarations, parameter-entity references (checked and
// dropped), whitespace, comments and processing instructions, all recorded
// in the document's DocumentType in source order.
class DtdParser {
public:
    // Content-model groups nested deeper than this are refused: each level
    // costs parser and destructor stack.
    static constexpr uint32_t MaxGroupDepth = 1000;

    explicit DtdParser(XMLScanner& scanner);

    // After '[': declarations up to (not including) the closing ']'.
    void parseInternalSubset();

private:
    void parseParameterReference();
    // Name: a new declaration of that name, registered in map; then the
    // whitespace that must follow it.
    template <class Declaration>
    Declaration* declare(NamedNodeMap& map);
    void parseElementDecl();
    void parseMixed(DtdECUnit& model);
    // After '(': the rest of a sequence or choice group, its ')' (closeCode)
    // and its occurrence character.
    void parseGroup(DtdECUnit& group, int32_t closeCode, uint32_t depth);
    DtdECUnit* parseParticle(uint32_t depth);
    void parseOccurrence(DtdECUnit& unit);
    void parseAttlistDecl();
    void parseAttDef(DtdElement& element, bool first, bool recorded);
    // After '(': Names (or Nmtokens) separated by '|', and the ')'.
    void parseValueList(DtdAttlist& definition, bool tokens, int32_t closeCode);
    void parseEntityDecl();
    void parseEntityValue(Utf16String& out);
    // SYSTEM or PUBLIC with their literals; false when neither keyword is
    // next. The system literal after a public one is optional for notations.
    bool parseExternalId(External& node, bool systemRequired);
    void parseNotationDecl();

    XMLScanner& m_scanner;
    DocumentType* m_type;
};

} // namespace KILN

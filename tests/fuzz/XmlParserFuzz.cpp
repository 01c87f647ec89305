// libFuzzer target of the XML parser: every input must end in a document or
// an XMLParseError, never in a crash, a hang, a leak or undefined behaviour.
//
// Input layout: the first byte selects the parse flags (its bits are spread
// over the flag word); the rest is the text, one byte per UTF-16 unit, except
// that 0xFF followed by two bytes is one unit of any value (little-endian), so
// that the dictionary stays ASCII while every unit remains reachable.

#include "kiln/base/ConstNodeIterator.h"
#include "kiln/base/DOMImplementation.h"
#include "kiln/base/Document.h"
#include "kiln/base/Node.h"
#include "kiln/base/XMLParser.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

using namespace KILN;

namespace {

uint32_t flagsOf(uint8_t selector)
{
    static const uint32_t bits[] = {
        XMLScanner::noNamespaces,     XMLScanner::tolerateUndefinedEntities,   XMLScanner::keepReferences,
        XMLScanner::markReferences,   XMLScanner::expandPredefinedWhenMarking, XMLScanner::ltInAttributeValues,
        XMLScanner::rememberEndTagForm, XMLScanner::attlistWithoutElement,
    };
    uint32_t flags = 0;
    for (int i = 0; i < 8; ++i) {
        if (selector & (1u << i))
            flags |= bits[i];
    }
    return flags;
}

std::vector<unsigned short> unitsOf(const uint8_t* data, size_t size)
{
    std::vector<unsigned short> units;
    units.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            units.push_back(static_cast<unsigned short>(data[i + 1] | data[i + 2] << 8));
            i += 2;
        } else {
            units.push_back(data[i]);
        }
    }
    return units;
}

// Reads every node and name the way the conversion model and the
// serializer do, and copies the tree.
void exercise(const Document& document)
{
    ConstNodeIterator it(&document);
    size_t units = 0;
    while (it.hasNext()) {
        const Node* node = it.next();
        units += node->getNodeName() ? node->getNodeName()->length() : 0;
        units += node->getNodeValue()->length();
    }
    if (const Node* root = document.getLastChild()) {
        std::unique_ptr<Node> copy(root->cloneNode(true));
        (void)copy;
    }
    (void)units;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint32_t flags = flagsOf(data[0]);
    const std::vector<unsigned short> units = unitsOf(data + 1, size - 1);
    XMLParserSrc src;
    src.push(new XMLParserSrcUnit("unknown", units.data(), static_cast<uint32_t>(units.size())));
    DOMImplementation implementation;
    try {
        XMLParser parser(src, &implementation, flags);
        std::unique_ptr<Document> document(parser.parse());
        exercise(*document);
    } catch (const XMLParseError&) {
    }
    return 0;
}

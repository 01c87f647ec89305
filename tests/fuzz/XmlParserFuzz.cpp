// libFuzzer target of the XML parser: every input must end in a document or
// an XMLParseError, never in a crash, a hang, a leak or undefined behaviour;
// a document is then walked, copied and written back by the serializer.
//
// Input layout: the first byte selects the parse flags (its bits are spread
// over the flag word), the second the mode; the rest is the document. In text
// mode (bit 0 of the mode clear) each byte is one UTF-16 unit, except that
// 0xFF followed by two bytes is one unit of any value (little-endian), so that
// the dictionary stays ASCII while every unit remains reachable. In byte mode
// the rest goes through the reader's detection and decoding as a file would.
// Bit 1 of the mode selects the serializer's entity mode.

#include "kiln/base/ConstNodeIterator.h"
#include "kiln/base/DOMImplementation.h"
#include "kiln/base/Document.h"
#include "kiln/base/MemOFlow.h"
#include "kiln/base/Node.h"
#include "kiln/base/XMLOutputter.h"
#include "kiln/base/XMLParser.h"
#include "kiln/base/XMLReader.h"

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

void serialize(const Document& document, bool entityMode)
{
    MemOFlow flow;
    XMLOutputter outputter(flow, entityMode ? XMLOutputter::entityMode : 0);
    document.output(outputter);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint32_t flags = flagsOf(data[0]);
    const uint8_t mode = data[1];
    const std::vector<unsigned short> units = unitsOf(data + 2, size - 2);
    XMLParserSrc src;
    DOMImplementation implementation;
    try {
        if (mode & 1) {
            XMLReader reader(nullptr);
            XMLParserSrcUnit* unit = reader.decode(data + 2, static_cast<uint32_t>(size - 2));
            if (!unit)
                return 0;
            src.push(unit);
        } else {
            src.push(new XMLParserSrcUnit("unknown", units.data(), static_cast<uint32_t>(units.size())));
        }
        XMLParser parser(src, &implementation, flags);
        std::unique_ptr<Document> document(parser.parse());
        exercise(*document);
        serialize(*document, (mode & 2) != 0);
    } catch (const XMLParseError&) {
    }
    return 0;
}

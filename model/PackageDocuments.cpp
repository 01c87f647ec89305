#include "model/PackageDocuments.h"

#include "model/Diagnostic.h"
#include "model/DocumentFile.h"
#include "model/XmlLookup.h"
#include "model/ZephraModelError.h"

#include <string>
#include <unordered_map>

using KILN::Element;
using KILN::Node;
using KILN::PathString;
using KILN::Utf16String;

namespace {

const char16_t* const OpfNamespace = u"http://www.idpf.org/2007/opf";

bool isElementNamed(const Node& node, const char16_t* name)
{
    return node.getNodeType() == Node::ELEMENT_NODE && *node.getNodeName() == units(name);
}

Element* packageChild(const Element& package, const char16_t* localName)
{
    return package.getFirstChildElementNS(Utf16String(units(localName)), Utf16String(units(OpfNamespace)));
}

// The manifest's first "item" element for every id, so that a long spine
// costs one pass over the manifest, not one per itemref. A missing id reads
// as the empty one.
class ManifestIndex {
public:
    explicit ManifestIndex(const Element& manifest)
    {
        for (const Node* child = manifest.getFirstChild(); child; child = child->getNextSibling()) {
            if (!isElementNamed(*child, u"item"))
                continue;
            const auto& item = static_cast<const Element&>(*child);
            m_items.try_emplace(key(attributeValue(item, u"id")), &item);
        }
    }

    // The item of that id when it has an href and a media type, else null.
    const Element* find(const Utf16String* id) const
    {
        const auto found = m_items.find(key(id));
        if (found == m_items.end())
            return nullptr;
        const Element* item = found->second;
        return attributeValue(*item, u"href") && attributeValue(*item, u"media-type") ? item : nullptr;
    }

private:
    static std::u16string key(const Utf16String* value)
    {
        return value ? std::u16string(reinterpret_cast<const char16_t*>(value->data()), value->length())
                     : std::u16string();
    }

    std::unordered_map<std::u16string, const Element*> m_items;
};

} // namespace

PathString loadPackage(const PathString& opfPath, const PathString& workDirectory, PackageDocuments& package)
{
    package = PackageDocuments();
    if (!isRegularFile(opfPath))
        raiseModelError(9, "Can't open the opf file.");
    KILN::XMLParseReport report;
    package.document = readDocument(opfPath, PackageParseFlags, report);
    if (!package.document)
        raiseModelError({xmlDiagnostic(nameInBook(workDirectory, opfPath), report).text()}, 10,
                        "Opf file XML parse error.");
    package.package = firstChildElement(*package.document);
    if (!package.package || !(*package.package->getNodeName() == units(u"package")))
        raiseModelError(11, "Opf file XML schema error.");
    package.metadata = packageChild(*package.package, u"metadata");
    package.manifest = packageChild(*package.package, u"manifest");
    package.spine = packageChild(*package.package, u"spine");
    if (!package.metadata || !package.manifest || !package.spine)
        raiseModelError(11, "Opf file XML schema error.");
    for (const Node* child = package.manifest->getFirstChild(); child; child = child->getNextSibling()) {
        if (!isElementNamed(*child, u"item"))
            continue;
        const auto& item = static_cast<const Element&>(*child);
        const Utf16String* href = attributeValue(item, u"href");
        if (!href || !attributeEquals(item, u"properties", u"nav")
            || !attributeEquals(item, u"media-type", u"application/xhtml+xml"))
            continue;
        PathString navigation(opfPath);
        navigation.toParent();
        navigation.join(*href);
        // A navigation document outside the unpacked book is never read or written.
        if (!staysInside(workDirectory, navigation))
            break;
        return navigation;
    }
    raiseModelError(17, "Can't get the NAV path.");
}

void spineList(const PackageDocuments& package, std::vector<LinkPair>& pairs)
{
    const ManifestIndex manifest(*package.manifest);
    for (const Node* child = package.spine->getFirstChild(); child; child = child->getNextSibling()) {
        if (!isElementNamed(*child, u"itemref"))
            continue;
        const Element* item = manifest.find(attributeValue(static_cast<const Element&>(*child), u"idref"));
        if (!item)
            continue;
        LinkPair pair;
        pair.href = toUtf8(*attributeValue(*item, u"href"));
        if (const Utf16String* overlayId = attributeValue(*item, u"media-overlay")) {
            if (const Element* overlay = manifest.find(overlayId))
                pair.overlay = toUtf8(*attributeValue(*overlay, u"href"));
        }
        pairs.push_back(std::move(pair));
    }
}

void setPageProgression(PackageDocuments& package, bool rightToLeft)
{
    package.spine->setAttribute(units(u"page-progression-direction"), units(rightToLeft ? u"rtl" : u"ltr"));
}

bool writeOpf(const PathString& opfPath, PackageDocuments& package)
{
    return writeDocument(opfPath, *package.document) == WriteResult::Done;
}

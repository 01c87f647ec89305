#include "model/PackageDocuments.h"

#include "model/Diagnostic.h"
#include "model/DocumentFile.h"
#include "model/Href.h"
#include "model/XmlLookup.h"
#include "model/ZephraModelError.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

using KILN::Element;
using KILN::Node;
using KILN::PathString;
using KILN::Utf16String;

namespace {

const char16_t* const OpfNamespace = u"http://www.idpf.org/2007/opf";

// Package elements are found by namespace and local name, so that a
// package written with a prefix (<opf:package xmlns:opf="...">) is read too.
bool isPackageElement(const Node& node, const char16_t* localName)
{
    return isElementNS(node, OpfNamespace, localName);
}

// True for the media type of XHTML content documents. Media types are
// compared without case, and parameters (";charset=...") do not count.
bool isXhtmlMediaType(const Utf16String* mediaType)
{
    if (!mediaType)
        return false;
    std::u16string_view text(reinterpret_cast<const char16_t*>(mediaType->data()), mediaType->length());
    text = text.substr(0, text.find(u';'));
    const auto space = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    const std::u16string_view xhtml = u"application/xhtml+xml";
    if (text.size() != xhtml.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i] >= u'A' && text[i] <= u'Z' ? char16_t(text[i] + 32) : text[i];
        if (c != xhtml[i])
            return false;
    }
    return true;
}

// The manifest's first "item" element for every id, so that a long spine
// costs one pass over the manifest, not one per itemref. A missing id reads
// as the empty one.
class ManifestIndex {
public:
    explicit ManifestIndex(const Element& manifest)
    {
        for (const Node* child = manifest.getFirstChild(); child; child = child->getNextSibling()) {
            if (!isPackageElement(*child, u"item"))
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

    // The XHTML content document a spine item stands for: the item itself,
    // else the first XHTML item of its fallback chain; null when there is
    // none. Images, SVG and foreign resources are no documents to convert.
    const Element* contentDocument(const Element* item) const
    {
        std::unordered_set<const Element*> seen;
        while (item && seen.insert(item).second) {
            if (isXhtmlMediaType(attributeValue(*item, u"media-type")))
                return item;
            const Utf16String* fallback = attributeValue(*item, u"fallback");
            item = fallback ? find(fallback) : nullptr;
        }
        return nullptr;
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
    KILN::XMLParseReport report;
    const ReadResult read = readDocument(opfPath, PackageParseFlags, report, package.document);
    if (read == ReadResult::NoRegularFile)
        raiseModelError(9, "Can't open the opf file.");
    if (read == ReadResult::NotParsed)
        raiseModelError({xmlDiagnostic(nameInBook(workDirectory, opfPath), report).text()}, 10,
                        "Opf file XML parse error.");
    package.package = firstChildElement(*package.document);
    if (!package.package || !isPackageElement(*package.package, u"package"))
        raiseModelError(11, "Opf file XML schema error.");
    package.metadata = firstChildElementNS(*package.package, OpfNamespace, u"metadata");
    package.manifest = firstChildElementNS(*package.package, OpfNamespace, u"manifest");
    package.spine = firstChildElementNS(*package.package, OpfNamespace, u"spine");
    if (!package.metadata || !package.manifest || !package.spine)
        raiseModelError(11, "Opf file XML schema error.");
    for (const Node* child = package.manifest->getFirstChild(); child; child = child->getNextSibling()) {
        if (!isPackageElement(*child, u"item"))
            continue;
        const auto& item = static_cast<const Element&>(*child);
        const Utf16String* href = attributeValue(item, u"href");
        if (!href || !hasToken(attributeValue(item, u"properties"), u"nav")
            || !isXhtmlMediaType(attributeValue(item, u"media-type")))
            continue;
        PathString opfDirectory(opfPath);
        opfDirectory.toParent();
        const PathString navigation = hrefPath(opfDirectory, toUtf8(*href));
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
        if (!isPackageElement(*child, u"itemref"))
            continue;
        const Element* item =
            manifest.contentDocument(manifest.find(attributeValue(static_cast<const Element&>(*child), u"idref")));
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
    return writeDocument(opfPath, *package.document, WritePlace::WorkFolder) == WriteResult::Done;
}

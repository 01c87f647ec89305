#include "model/DocumentFile.h"
#include "model/Href.h"
#include "model/PackageDocuments.h"
#include "model/XmlLookup.h"

#include "kiln/file/Directory.h"

#include <memory>
#include <vector>

using KILN::PathString;

namespace {

const char16_t* const ContainerNamespace = u"urn:oasis:names:tc:opendocument:xmlns:container";

// The first directory named "META-INF" below directory, depth first in
// listing order: a name is tested when its parent's listing reaches it, and a
// subtree without one does not end the search. A stack instead of recursion,
// so that deeply nested folders cannot exhaust the call stack.
bool findMetaInf(const PathString& directory, PathString& found)
{
    const KILN::Utf16String metaInf(units(u"META-INF"));
    std::vector<PathString> pending{directory};
    KILN::ArrayList<PathString> names;
    while (!pending.empty()) {
        const PathString current = std::move(pending.back());
        pending.pop_back();
        int32_t code = 0;
        const bool listed = KILN::Directory::listSubdirectories(current, names, code);
        std::vector<std::unique_ptr<PathString>> owned;
        for (uint32_t i = 0; i < names.count(); ++i)
            owned.emplace_back(names.atIndex(i));
        if (!listed)
            continue;
        for (const auto& name : owned) {
            if (*name == metaInf) {
                found = current;
                found.join(*name);
                return true;
            }
        }
        // Pushed in reverse, so the first name's subtree is searched first.
        for (auto name = owned.rbegin(); name != owned.rend(); ++name) {
            PathString child(current);
            child.join(**name);
            pending.push_back(std::move(child));
        }
    }
    return false;
}

} // namespace

bool locateOpf(const PathString& workDirectory, PathString& opfPath)
{
    PathString metaInf;
    if (!findMetaInf(workDirectory, metaInf))
        return false;
    PathString containerPath(metaInf);
    containerPath.join(KILN::Utf16String(units(u"container.xml")));
    const std::unique_ptr<KILN::Document> container = readDocument(containerPath, PackageParseFlags);
    if (!container)
        return false;
    const KILN::Element* root = firstChildElement(*container);
    if (!root || !isElementNS(*root, ContainerNamespace, u"container"))
        return false;
    const KILN::Element* rootfiles = firstChildElementNS(*root, ContainerNamespace, u"rootfiles");
    if (!rootfiles)
        return false;
    for (const KILN::Node* child = rootfiles->getFirstChild(); child; child = child->getNextSibling()) {
        if (!isElementNS(*child, ContainerNamespace, u"rootfile"))
            continue;
        const auto& rootfile = static_cast<const KILN::Element&>(*child);
        if (!attributeEquals(rootfile, u"media-type", u"application/oebps-package+xml"))
            continue;
        const KILN::Utf16String* fullPath = attributeValue(rootfile, u"full-path");
        PathString packageRoot = metaInf;
        packageRoot.toParent();
        opfPath = hrefPath(packageRoot, fullPath ? toUtf8(*fullPath) : KILN::Utf8String());
        // The package document must lie inside the unpacked book.
        return staysInside(workDirectory, opfPath);
    }
    return false;
}

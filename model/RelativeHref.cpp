// relativeHref: the link from the navigation document to a content document.

#include "model/PageBreaks.h"

#include <algorithm>
#include <vector>

using KILN::PathString;

namespace {

constexpr unsigned short Separator = PathString::Separator;
constexpr unsigned short Up[] = {'.', '.', '/'};

struct Span {
    const unsigned short* begin;
    const unsigned short* end;

    uint32_t length() const { return static_cast<uint32_t>(end - begin); }
    bool operator==(const Span& other) const { return std::equal(begin, end, other.begin, other.end); }
};

// A path split into the components of its folder and its file name. A path
// without separator is a file name in no folder; a root path has one empty
// component.
struct SplitPath {
    explicit SplitPath(const PathString& path)
    {
        const unsigned short* const first = path.data();
        const unsigned short* const last = path.dataEnd();
        const unsigned short* cut = last;
        while (cut != first && cut[-1] != Separator)
            --cut;
        name = {cut, last};
        if (cut == first)
            return;
        const unsigned short* start = first;
        for (const unsigned short* p = first; p != cut; ++p) {
            if (*p == Separator) {
                folder.push_back({start, p});
                start = p + 1;
            }
        }
    }

    std::vector<Span> folder;
    Span name;
};

} // namespace

PathString relativeHref(const PathString& navigationPath, const PathString& contentPath)
{
    const SplitPath from(navigationPath);
    const SplitPath to(contentPath);
    size_t shared = 0;
    while (shared < from.folder.size() && shared < to.folder.size() && from.folder[shared] == to.folder[shared])
        ++shared;
    PathString link;
    for (size_t i = shared; i < from.folder.size(); ++i)
        link.append(Up, 3);
    for (size_t i = shared; i < to.folder.size(); ++i) {
        link.append(to.folder[i].begin, to.folder[i].length());
        link.append(Separator);
    }
    link.append(to.name.begin, to.name.length());
    return link;
}

#include "model/PackageDocuments.h"

#include <string_view>
#include <vector>

namespace {

using Units = std::u16string_view;

// The components of path with "." and empty ones dropped and each ".."
// taking away the component before it; false when a ".." of a relative path
// has nothing left to take away (it climbs above the path's start). Climbing
// above the root of an absolute path stays at the root.
bool resolve(const KILN::TStringPtr<unsigned short>& path, std::vector<Units>& components)
{
    const Units text(reinterpret_cast<const char16_t*>(path.data()), path.length());
    const bool absolute = !text.empty() && text.front() == KILN::PathString::Separator;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(char16_t(KILN::PathString::Separator), start);
        if (end == Units::npos)
            end = text.size();
        const Units part = text.substr(start, end - start);
        const bool dot = part.size() == 1 && part[0] == u'.';
        const bool dotDot = part.size() == 2 && part[0] == u'.' && part[1] == u'.';
        if (dotDot) {
            if (!components.empty())
                components.pop_back();
            else if (!absolute)
                return false;
        } else if (!part.empty() && !dot) {
            components.push_back(part);
        }
        start = end + 1;
    }
    return true;
}

} // namespace

bool staysInside(const KILN::PathString& root, const KILN::PathString& path)
{
    std::vector<Units> rootParts;
    std::vector<Units> pathParts;
    if (!resolve(root, rootParts) || !resolve(path, pathParts) || pathParts.size() <= rootParts.size())
        return false;
    const bool rootAbsolute = !root.isEmpty() && root[0] == KILN::PathString::Separator;
    const bool pathAbsolute = !path.isEmpty() && path[0] == KILN::PathString::Separator;
    if (rootAbsolute != pathAbsolute)
        return false;
    for (size_t i = 0; i < rootParts.size(); ++i) {
        if (rootParts[i] != pathParts[i])
            return false;
    }
    return true;
}

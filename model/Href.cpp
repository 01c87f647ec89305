#include "model/Href.h"

#include "model/DocumentFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using KILN::PathString;
using KILN::Utf8String;

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool exists(const PathString& path)
{
    const std::string native = Utf8String(static_cast<const KILN::Utf16String&>(path)).zeroTerminated();
    struct stat status;
    return lstat(native.c_str(), &status) == 0;
}

PathString joined(const PathString& directory, const Utf8String& relative)
{
    PathString path = directory;
    PathString tail;
    tail.assignUtf8(Utf8String(relative).zeroTerminated());
    path.join(tail);
    return path;
}


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

Utf8String percentDecoded(const Utf8String& href)
{
    Utf8String decoded;
    const char* data = href.data();
    uint32_t length = href.length();
    if (const void* hash = std::memchr(data, '#', length))
        length = static_cast<uint32_t>(static_cast<const char*>(hash) - data);
    for (uint32_t i = 0; i < length; ++i) {
        int high;
        int low;
        if (data[i] == '%' && i + 2 < length && (high = hexValue(data[i + 1])) >= 0
            && (low = hexValue(data[i + 2])) >= 0) {
            decoded.append(static_cast<char>(high << 4 | low));
            i += 2;
        } else {
            decoded.append(data[i]);
        }
    }
    return decoded;
}

Utf8String hrefEncoded(const Utf8String& path)
{
    static const char Hex[] = "0123456789ABCDEF";
    Utf8String encoded;
    for (uint32_t i = 0; i < path.length(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path.data()[i]);
        if (c <= 0x20 || c == 0x7F || std::strchr("%#?\"<>\\^`{|}", c)) {
            encoded.append('%');
            encoded.append(Hex[c >> 4]);
            encoded.append(Hex[c & 0xF]);
        } else {
            encoded.append(static_cast<char>(c));
        }
    }
    return encoded;
}

PathString hrefPath(const PathString& directory, const Utf8String& href)
{
    PathString path = joined(directory, percentDecoded(href));
    if (!exists(path)) {
        PathString asWritten = joined(directory, href);
        if (exists(asWritten))
            return asWritten;
    }
    return path;
}
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

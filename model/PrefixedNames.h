#pragma once

#include "kiln/base/Node.h"
#include "kiln/base/Utf16String.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The names of the elements a conversion inserts into an element, written
// with that element's prefix so that they land in its namespace: "ruby" in a
// "p", "h:ruby" in an "h:p" of a document that binds XHTML to "h".
class PrefixedNames {
public:
    explicit PrefixedNames(std::initializer_list<std::u16string_view> localNames);

    // Takes the prefix of parent's name for the names that follow.
    void into(const KILN::Node& parent);

    // The i-th local name of the constructor, with the prefix taken last.
    const KILN::Utf16String& operator[](size_t i) const { return m_names[i]; }

private:
    std::vector<std::u16string_view> m_localNames;
    std::vector<KILN::Utf16String> m_names;
    std::u16string m_prefix;
};

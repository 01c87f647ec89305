#include "model/PrefixedNames.h"

#include "model/NamespaceScope.h"

namespace {

KILN::Utf16String qualifiedName(std::u16string_view prefix, std::u16string_view localName)
{
    std::u16string name(prefix);
    if (!name.empty())
        name += u':';
    name += localName;
    return KILN::Utf16String(reinterpret_cast<const unsigned short*>(name.data()), static_cast<uint32_t>(name.size()));
}

} // namespace

PrefixedNames::PrefixedNames(std::initializer_list<std::u16string_view> localNames) : m_localNames(localNames)
{
    for (const std::u16string_view name : m_localNames)
        m_names.push_back(qualifiedName({}, name));
}

void PrefixedNames::into(const KILN::Node& parent)
{
    const std::u16string_view prefix = prefixOf(*parent.getNodeName());
    // Nearly always the prefix of the last parent: nothing to make.
    if (prefix == m_prefix)
        return;
    m_prefix = prefix;
    for (size_t i = 0; i < m_names.size(); ++i)
        m_names[i] = qualifiedName(m_prefix, m_localNames[i]);
}

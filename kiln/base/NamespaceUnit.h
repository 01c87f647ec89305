#pragma once

#include <cstdint>

namespace KILN {

class Element;
class Utf16String;

// A namespace binding in scope during a parse: prefix (empty for a default
// declaration) to URI, both atoms of the document, and the element whose
// start tag declared it (null for the built-in bindings).
struct NamespaceUnit {
    const Utf16String* prefix;
    const Utf16String* uri;
    Element* element;
    // 1 when this binding or an older one still in scope is a default one.
    uint8_t defaultInScope;
    // The binding of the same prefix that this one hides, or null.
    const NamespaceUnit* shadowed;
};

} // namespace KILN

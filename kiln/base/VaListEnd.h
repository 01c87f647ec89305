#pragma once

#include <cstdarg>

namespace KILN {

// Ends a started va_list when the variadic call leaves, also when the
// formatter throws on the way out.
class VaListEnd {
public:
    explicit VaListEnd(va_list& args) : m_args(args) {}
    VaListEnd(const VaListEnd&) = delete;
    VaListEnd& operator=(const VaListEnd&) = delete;
    ~VaListEnd() { va_end(m_args); }

private:
    va_list& m_args;
};

} // namespace KILN

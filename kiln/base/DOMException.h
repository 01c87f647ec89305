#pragma once

#include <cstdint>

namespace KILN {

// Raised by the DOM when an operation is refused; the only code raised is 8,
// for a child-list operation given a null node.
class DOMException {
public:
    enum Code : uint16_t { NOT_FOUND_ERR = 8 };

    explicit DOMException(uint16_t code) : m_code(code) {}

    uint16_t code() const { return m_code; }

private:
    uint16_t m_code;
};

} // namespace KILN

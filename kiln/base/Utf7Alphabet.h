#pragma once

#include <cstdint>

namespace KILN {

// The character classes of UTF-7: the base64 alphabet and the characters
// written directly.
struct Utf7Alphabet {
    static constexpr char Base64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

    // Value of a base64 byte, or -1.
    static int32_t base64Value(uint32_t b)
    {
        if (b >= 'A' && b <= 'Z')
            return static_cast<int32_t>(b - 'A');
        if (b >= 'a' && b <= 'z')
            return static_cast<int32_t>(b - 'a' + 26);
        if (b >= '0' && b <= '9')
            return static_cast<int32_t>(b - '0' + 52);
        if (b == '+')
            return 62;
        if (b == '/')
            return 63;
        return -1;
    }

    // True for the characters written without base64 (set D, space, tab, CR, LF).
    static bool isDirect(uint32_t unit)
    {
        if ((unit >= 'A' && unit <= 'Z') || (unit >= 'a' && unit <= 'z') || (unit >= '0' && unit <= '9'))
            return true;
        switch (unit) {
        case '\'': case '(': case ')': case ',': case '-': case '.': case '/': case ':': case '?':
        case ' ': case '\t': case '\r': case '\n':
            return true;
        default:
            return false;
        }
    }
};

} // namespace KILN

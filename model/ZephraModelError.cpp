#include "model/ZephraModelError.h"

#include <cstring>

void raiseModelError(int32_t number, const char* message, const char* first, const char* second,
                     std::source_location where)
{
    raiseModelError({}, number, message, first, second, where);
}

void raiseModelError(std::vector<std::string> diagnostics, int32_t number, const char* message, const char* first,
                     const char* second, std::source_location where)
{
    // Plain substitution: a path may hold '%' itself, so the message is not
    // handed to a formatter.
    KILN::Utf8String text;
    const char* fills[] = {first, second};
    int fill = 0;
    for (const char* p = message; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == 's' && fill < 2) {
            const char* value = fills[fill++];
            if (value)
                text.append(value, static_cast<uint32_t>(std::strlen(value)));
            ++p;
        } else {
            text.append(*p);
        }
    }
    ZephraModelError error(number, text, static_cast<int32_t>(where.line()));
    error.setDiagnostics(std::move(diagnostics));
    throw error;
}

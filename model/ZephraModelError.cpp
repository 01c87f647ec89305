#include "model/ZephraModelError.h"

#include "model/PrintableText.h"

#include <string>

void raiseModelError(int32_t number, const char* message, const char* first, const char* second,
                     const char* third, std::source_location where)
{
    raiseModelError({}, number, message, first, second, third, where);
}

void raiseModelError(std::vector<std::string> diagnostics, int32_t number, const char* message, const char* first,
                     const char* second, const char* third, std::source_location where)
{
    // Plain substitution: a path may hold '%' itself, so the message is not
    // handed to a formatter. The fills quote the book (names, hrefs, text)
    // and are printed on terminals: their control characters are escaped.
    KILN::Utf8String text;
    const char* fills[] = {first, second, third};
    int fill = 0;
    for (const char* p = message; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == 's' && fill < 3) {
            const char* value = fills[fill++];
            if (value) {
                const std::string shown = printableText(value);
                text.append(shown.data(), static_cast<uint32_t>(shown.size()));
            }
            ++p;
        } else {
            text.append(*p);
        }
    }
    ZephraModelError error(number, text, static_cast<int32_t>(where.line()));
    error.setDiagnostics(std::move(diagnostics));
    throw error;
}

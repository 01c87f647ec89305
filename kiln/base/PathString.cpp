#include "kiln/base/PathString.h"

namespace KILN {

namespace {

bool startsWith(const unsigned short* units, uint32_t length, const char* prefix, uint32_t prefixLength)
{
    if (length < prefixLength)
        return false;
    for (uint32_t i = 0; i < prefixLength; ++i) {
        if (units[i] != static_cast<unsigned char>(prefix[i]))
            return false;
    }
    return true;
}

} // namespace

uint32_t PathString::lastSeparator() const
{
    for (uint32_t i = length(); i > 0; --i) {
        if (data()[i - 1] == Separator)
            return i - 1;
    }
    return length();
}

PathString& PathString::join(const TStringPtr<unsigned short>& relative)
{
    // A private copy: the relative path may be a view of this path.
    const Utf16String copy(relative);
    const unsigned short* rest = copy.data();
    uint32_t restLength = copy.length();
    const char climb[] = {'.', '.', static_cast<char>(Separator)};
    const char stay[] = {'.', static_cast<char>(Separator)};

    if (endsWithSeparator() && length() > 1)
        erase(length() - 1, 1);
    for (;;) {
        if (restLength > 2 && startsWith(rest, restLength, climb, 3) && !isEmpty()) {
            rest += 3;
            restLength -= 3;
            const uint32_t separator = lastSeparator();
            if (separator == length())
                clear();
            else if (separator == 0)
                erase(1, length() - 1);  // the root has no parent
            else
                erase(separator, length() - separator);
        } else if (restLength > 1 && startsWith(rest, restLength, stay, 2)) {
            rest += 2;
            restLength -= 2;
        } else {
            break;
        }
    }
    if (!isEmpty() && restLength > 0) {
        if (endsWithSeparator())
            erase(length() - 1, 1);
        append(Separator);
    }
    if (restLength > 0 && rest[0] == Separator) {
        ++rest;
        --restLength;
    }
    append(rest, restLength);
    return *this;
}

PathString& PathString::toParent()
{
    const uint32_t separator = lastSeparator();
    if (separator == 0)
        erase(1, length() - 1);  // the parent of "/a" is the root
    else if (separator < length())
        erase(separator, length() - separator);
    return *this;
}

Utf16String PathString::extension() const
{
    const uint32_t separator = lastSeparator();
    const uint32_t start = separator == length() ? 0 : separator + 1;
    for (uint32_t i = length(); i > start; --i) {
        if (data()[i - 1] == '.')
            return Utf16String(data() + i, length() - i);
    }
    return Utf16String(data(), 0);
}

void PathString::assignUtf8(const char* utf8)
{
    *this = Utf16String(utf8);
}

void PathString::appendUtf8(const char* utf8)
{
    append(Utf16String(utf8));
}

} // namespace KILN

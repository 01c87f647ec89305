#pragma once

#include "kiln/base/Utf16String.h"

namespace KILN {

// A UTF-16 string that names a file or directory, with the native separator
// '/'. The path operations keep a leading root separator: the parent of "/a"
// is "/", and climbing out of "/" with "../" stays at "/".
class PathString : public Utf16String {
public:
    static constexpr unsigned short Separator = '/';

    using Utf16String::Utf16String;
    using Utf16String::operator=;
    PathString() = default;

    // Appends a relative path to this directory path. Leading "../" steps each
    // remove this path's last component, leading "./" steps are dropped, and
    // one separator joins the two parts.
    PathString& join(const TStringPtr<unsigned short>& relative);
    // Erases from the last separator to the end; a path without separator is
    // left unchanged.
    PathString& toParent();
    // The text after the last '.' of the last component; empty when that
    // component has no '.'.
    Utf16String extension() const;

    // Replaces the text with zero-terminated UTF-8 text (an optional leading
    // byte-order mark is dropped).
    void assignUtf8(const char* utf8);
    // Appends zero-terminated UTF-8 text.
    void appendUtf8(const char* utf8);

private:
    // Index of the last separator; length() when there is none.
    uint32_t lastSeparator() const;
    bool endsWithSeparator() const { return length() > 0 && data()[length() - 1] == Separator; }
};

} // namespace KILN

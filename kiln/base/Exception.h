#pragma once

#include "kiln/base/Object.h"

#include <cstdint>

namespace KILN {

// Base of the library's exceptions: the throwing module (a library path
// without extension, such as "kiln/base/IFilter") and the line of the throw.
class Exception : public Object {
public:
    Exception(const char* sourceFile, int32_t line) : m_sourceFile(sourceFile), m_line(line) {}

    const char* sourceFile() const { return m_sourceFile; }
    int32_t line() const { return m_line; }

private:
    const char* m_sourceFile;
    int32_t m_line;
};

// A stream failure; see IOException::Code for the meaning of the codes.
class IOException : public Exception {
public:
    enum Code : int32_t {
        EndOfInput = 1,
        ShortWrite = 2,
        NotOpen = 3,
        WidthNotCarried = 5,
        NoSource = 6,
        NoTarget = 7,
        FileError = 8,
        NoCommonWidth = 9,
        InvalidArgument = 10,
    };

    IOException(const char* sourceFile, int32_t line, int32_t code)
        : Exception(sourceFile, line), m_code(code) {}

    int32_t code() const { return m_code; }

private:
    int32_t m_code;
};

// A failure of the printf-like formatter.
class FmtException : public Exception {
public:
    enum Code : int32_t {
        MissingArgument = 0,  // no argument at the position a directive needs
        WrongType = 1,        // the argument there has a type the directive does not accept
        BadConversion = 4,    // the conversion character is not one the formatter knows
        TooWide = 5,          // a width or numeric precision beyond MaxPadding
    };

    FmtException(const char* sourceFile, int32_t line, int32_t code)
        : Exception(sourceFile, line), m_code(code) {}

    int32_t code() const { return m_code; }

private:
    int32_t m_code;
};

} // namespace KILN

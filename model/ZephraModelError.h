#pragma once

#include "kiln/base/Utf8String.h"

#include <cstdint>
#include <source_location>
#include <string>
#include <vector>

// The one failure of the conversion model: a number from 1 to 28 that the
// front ends print or show with its UTF-8 message, the module name and the
// source line of the raise. Thrown by value, caught by reference, copied
// unchanged on rethrow.
class ZephraModelError {
public:
    ZephraModelError(int32_t number, const KILN::Utf8String& message, int32_t line)
        : m_number(number), m_message(message), m_line(line) {}

    int32_t number() const { return m_number; }
    const KILN::Utf8String& message() const { return m_message; }
    // The message, zero-terminated, for printing.
    const char* text() const { return m_message.zeroTerminated(); }
    const char* file() const { return "ZephraModel"; }
    int32_t line() const { return m_line; }
    // The problems found in the book that explain the failure, one line
    // each ("document:LINE:COLUMN: error: ..."), shown before the error.
    const std::vector<std::string>& diagnostics() const { return m_diagnostics; }
    void setDiagnostics(std::vector<std::string> diagnostics) { m_diagnostics = std::move(diagnostics); }

private:
    int32_t m_number;
    mutable KILN::Utf8String m_message;
    int32_t m_line;
    std::vector<std::string> m_diagnostics;
};

// Throws error number with message, whose "%s" places are filled in order
// with the zero-terminated UTF-8 texts first, second and third, their
// control characters and malformed bytes escaped (printableText).
[[noreturn]] void raiseModelError(int32_t number, const char* message, const char* first = nullptr,
                                  const char* second = nullptr, const char* third = nullptr,
                                  std::source_location where = std::source_location::current());
// The same, with the lines of the problems behind it.
[[noreturn]] void raiseModelError(std::vector<std::string> diagnostics, int32_t number, const char* message,
                                  const char* first = nullptr, const char* second = nullptr,
                                  const char* third = nullptr, std::source_location where = std::source_location::current());

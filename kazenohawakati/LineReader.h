#pragma once

#include "kiln/base/IFlow.h"
#include "kiln/base/TString.h"

#include <cstdint>
#include <memory>
#include <stdexcept>

// A line of the input longer than LineReader reads.
class LineTooLong : public std::runtime_error {
public:
    LineTooLong() : std::runtime_error("line too long") {}
};

// Reads the lines of a byte flow a block at a time: the tool's input is
// UTF-8, which needs no conversion, so each line is cut out of the block
// with one search instead of being read unit by unit.
class LineReader {
public:
    static constexpr uint32_t BlockBytes = 1 << 16;
    // The longest line read (some 85 million Japanese characters). An input
    // without line ends, such as a device that never ends, is refused when
    // it passes this instead of when memory runs out, which takes a long
    // time and may take the whole machine's memory first.
    static constexpr uint32_t MaxLineBytes = 256u << 20;

    explicit LineReader(KILN::IFlow& source);

    // Makes line hold the next line, its line feed included; the last line
    // may lack one. False, with line empty, at the end of input. A failing
    // read raises the flow's IOException; a line longer than MaxLineBytes
    // raises LineTooLong.
    bool readLine(KILN::TString<char>& line);

private:
    // Reads the next block; false when the input has ended.
    bool fill();

    KILN::IFlow& m_source;
    std::unique_ptr<char[]> m_block;
    uint32_t m_next = 0;
    uint32_t m_filled = 0;
    bool m_ended = false;
};

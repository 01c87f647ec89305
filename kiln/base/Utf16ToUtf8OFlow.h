#pragma once

#include "kiln/base/OFlow.h"

#include <memory>

namespace KILN {

// An output flow of UTF-16 units (in machine order) that encodes them as
// UTF-8 as they come and writes the bytes to another flow through a bounded
// buffer, so that text of any size is written in constant memory. A surrogate
// pair becomes one four-byte sequence, also when two writes split it; a lone
// surrogate becomes U+FFFD. It carries 16-bit units only (other widths raise
// code 5). A failure of the target passes through and closes this flow, so
// that nothing is written after a gap; the target is not owned.
class Utf16ToUtf8OFlow : public OFlow {
public:
    // target carries bytes; with byteOrderMark the output starts with EF BB BF.
    Utf16ToUtf8OFlow(OFlow& target, bool byteOrderMark);
    Utf16ToUtf8OFlow(const Utf16ToUtf8OFlow&) = delete;
    Utf16ToUtf8OFlow& operator=(const Utf16ToUtf8OFlow&) = delete;
    // Writes nothing more: call close to finish the output.
    ~Utf16ToUtf8OFlow() override;

    // Writes the buffered bytes to the target and flushes it; a high surrogate
    // at the end of the units so far is held for its low half.
    void flush() override;
    // Finishes the output: a held high surrogate becomes U+FFFD, the rest is
    // written and the target flushed (not closed). False when already closed.
    bool close() override;

    void write8(uint8_t unit) override;
    void write16(uint16_t unit) override;
    void write32(uint32_t unit) override;
    void writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written) override;

private:
    // Writes the buffered bytes to the target; closes this flow when it fails.
    void drain();
    // Encodes a held high surrogate, with the low half that follows it or as U+FFFD.
    void releaseHeld(const uint16_t* next);

    OFlow& m_target;
    std::unique_ptr<uint8_t[]> m_buffer;
    uint32_t m_used = 0;
    uint16_t m_held = 0;  // a high surrogate waiting for its low half; 0 when none
};

} // namespace KILN

#pragma once

#include "model/ProgressObserver.h"

#include <cstdio>

// Shows how far a conversion has come on one line of a terminal, which it
// clears when the documents are done. Shows nothing when the stream is not a
// terminal, so that scripts and logs see only the program's own output.
class ProgressLine : public ProgressObserver {
public:
    explicit ProgressLine(std::FILE* stream);
    ~ProgressLine() override;

    void documentStarted(uint32_t number, uint32_t count) override;
    void documentsDone() override;

private:
    std::FILE* m_stream;
    bool m_terminal;
    bool m_shown = false;
};

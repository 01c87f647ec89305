#pragma once

#include <cstdint>

// Told by the model as it works through the content documents of a book, so
// that a front end can show how far a long conversion has come.
class ProgressObserver {
public:
    virtual ~ProgressObserver() = default;
    // Content document number (1-based) of count is about to be converted.
    virtual void documentStarted(uint32_t number, uint32_t count) = 0;
    // The last document is done; the archive is being packed.
    virtual void documentsDone() = 0;
};

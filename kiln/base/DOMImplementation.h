#pragma once

namespace KILN {

class Utf16String;

// The factory object that documents are made with. A parse makes its own for
// its duration; one process-wide instance, with one process-wide empty string,
// lives between library start-up and shut-down and is only read meanwhile, so
// threads may share it.
class DOMImplementation {
public:
    DOMImplementation() = default;
    DOMImplementation(const DOMImplementation&) = delete;
    DOMImplementation& operator=(const DOMImplementation&) = delete;
    virtual ~DOMImplementation() = default;

    // The library life-cycle callback: makes the process-wide instance and
    // empty string on start-up (true) and destroys them on shut-down (false).
    static bool lifeCycle(bool startUp);
    // Null outside the library's life time.
    static DOMImplementation* instance();
    static const Utf16String* emptyString();
};

} // namespace KILN

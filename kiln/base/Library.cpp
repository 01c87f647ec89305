#include "kiln/base/Library.h"

#include <stdexcept>

namespace KILN {

namespace {

constinit LibraryCallback table[LibrarySlot::Count] = {};
constinit bool started = false;
constinit bool stopped = false;

// Calls every callback in slot order until one answers false.
bool runAll(bool startUp)
{
    for (LibraryCallback callback : table) {
        if (callback && !callback(startUp))
            return false;
    }
    return true;
}

} // namespace

LibraryRegistration::LibraryRegistration(uint32_t slot, LibraryCallback callback) : m_slot(slot)
{
    if (slot >= LibrarySlot::Count || !callback || table[slot])
        throw std::logic_error("library life-cycle slot out of range or taken");
    table[slot] = callback;
}

LibraryRegistration::~LibraryRegistration()
{
    table[m_slot] = nullptr;
}

bool startLibrary()
{
    if (started && !stopped)
        return true;
    if (!runAll(true))
        return false;
    started = true;
    stopped = false;
    return true;
}

bool stopLibrary()
{
    if (!started || stopped)
        return false;
    if (!runAll(false))
        return false;
    stopped = true;
    return true;
}

bool isLibraryStarted() { return started; }
bool isLibraryStopped() { return stopped; }

} // namespace KILN

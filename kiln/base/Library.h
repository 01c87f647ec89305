#pragma once

#include <cstdint>

namespace KILN {

// The process-wide start-up and shut-down table of the class library: seven
// slots, each holding at most one callback (true: start up, false: shut
// down; the answer says whether that worked), and the flags started and
// stopped. startLibrary and stopLibrary run the callbacks in slot order.
//
// A module registers its callback from its own source file with a
// namespace-scope LibraryRegistration object in the slot reserved for it
// below. The table is constant-initialised, so it is ready before any
// registration object is constructed, whatever the order in which the
// translation units are initialised; the order of the calls is the slot
// order, never the order of registration. From a static library the linker
// takes only the object files that the program references, so a module
// registers exactly when the program uses it: a program that never touches
// the encoding registry does not start it either.
//
// A start-up callback may be called again after a later slot failed (the
// next startLibrary retries the whole table), so it must keep what an
// earlier call made instead of making it twice.
namespace LibrarySlot {
constexpr uint32_t DefaultWriters = 0;   // the default text writers and the null output flow
constexpr uint32_t EncodingRegistries = 1; // encoding names and converter chains
constexpr uint32_t Network = 2;          // the network start-up (nothing registers it)
constexpr uint32_t DOMImplementation = 3; // the XML subsystem's DOMImplementation
constexpr uint32_t Count = 7;
} // namespace LibrarySlot

using LibraryCallback = bool (*)(bool startUp);

// Puts a callback in a slot for the lifetime of the object. A slot that is
// out of range or already holds another callback raises std::logic_error.
class LibraryRegistration {
public:
    LibraryRegistration(uint32_t slot, LibraryCallback callback);
    ~LibraryRegistration();
    LibraryRegistration(const LibraryRegistration&) = delete;
    LibraryRegistration& operator=(const LibraryRegistration&) = delete;

private:
    uint32_t m_slot;
};

// Unless the library runs already, calls every callback with true in slot
// order and stops at the first that answers false; the library counts as
// started when all answered true. Answers whether it runs.
bool startLibrary();
// If the library runs, calls every callback with false in slot order and
// stops at the first that answers false; the library counts as stopped (and
// may be started again) when all answered true. Answers whether it stopped.
bool stopLibrary();
bool isLibraryStarted();
bool isLibraryStopped();

} // namespace KILN

#pragma once

#include <csignal>
#include <string>

namespace KILN {

// Removes what a run left half made when SIGINT, SIGTERM or SIGHUP ends it:
// the files and folders registered here, then the signal is raised again with
// its default action, so the exit status stays 128+signal. The registry is a
// fixed set of slots the handler reads without locks; a name is registered
// after the run has created it (inside a Pause, so no signal falls between)
// and released before it is renamed or removed. Nothing is handled until
// install; registering without it is harmless. Any thread may register and
// release names at once; the handler may run on any thread that does not
// block the signals (the worker threads of a conversion do).
class InterruptCleanup {
public:
    // Sets the handlers for the three signals.
    static void install();

    // Registers a file to unlink or a folder to remove with all it holds. A
    // name too long for a slot, or one past the last free slot, is not
    // registered and so not cleaned on a signal.
    static void addFile(const std::string& nativePath);
    static void addFolder(const std::string& nativePath);
    // Forgets a registered name; an unregistered one is ignored.
    static void release(const std::string& nativePath);

    // Holds the three signals back for its lifetime, so that creating a name
    // and registering it (or renaming it and releasing it) happen as one step.
    class Pause {
    public:
        Pause();
        ~Pause();
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        sigset_t m_saved;  // the mask to restore
    };
};

} // namespace KILN

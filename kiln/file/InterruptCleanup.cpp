#include "kiln/file/InterruptCleanup.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace KILN {

namespace {

// A slot's path is written only in Writing, by the thread that registers it,
// and read only in Busy, by the thread that holds the slot so (a release
// comparing it, or the handler cleaning it); every change goes through the
// atomic state, so that threads that register and release at once, and the
// handler, never see a path half written.
enum State : int { Free, Writing, File, Folder, Busy };

constexpr int Slots = 16;
// Bounds the descents of one folder removal, so that a folder whose contents
// cannot be removed does not keep the handler going down into it for ever.
constexpr int MaxDescents = 1 << 20;
// How long the handler waits for a slot another thread holds.
constexpr long HandlerPatience = 1L << 22;
// Bounds the passes over a folder that keeps being written into.
constexpr int FolderPasses = 64;

struct Slot {
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};

Slot slots[Slots];

static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the slots without locks");

const int Handled[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t handledSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : Handled)
        sigaddset(&set, signal);
    return set;
}

// Holds the slot Busy and answers its state before, or Free when it held no
// name; waits while another thread holds it, at most patience turns.
int hold(Slot& slot, long patience = -1)
{
    while (true) {
        int state = slot.state.load(std::memory_order_acquire);
        if (state == Busy && patience-- != 0)
            continue;
        if (state != File && state != Folder)
            return Free;
        if (slot.state.compare_exchange_weak(state, Busy, std::memory_order_acquire))
            return state;
    }
}

void add(const std::string& nativePath, State kind)
{
    if (nativePath.empty() || nativePath.size() >= PATH_MAX || nativePath.find('\0') != std::string::npos)
        return;
    for (int i = 0; i < Slots; ++i) {
        int expected = Free;
        if (slots[i].state.compare_exchange_strong(expected, Writing)) {
            std::memcpy(slots[i].path, nativePath.c_str(), nativePath.size() + 1);
            slots[i].state.store(kind, std::memory_order_release);
            return;
        }
    }
}

// The entry layout getdents64 fills in.
struct LinuxDirent {
    uint64_t inode;
    int64_t offset;
    unsigned short length;
    unsigned char type;
    char name[1];
};

// Removes what the open folder fd holds that can be removed, descending into
// the first subfolder that is not empty: answers that subfolder's descriptor
// (fd closed), or -1 when nothing is left to descend into (fd left open).
// Only async-signal-safe calls: the folder is read with getdents64 and no
// link is followed.
int clearLevel(int fd)
{
    alignas(8) char buffer[4096];
    bool removed = true;
    while (removed) {
        // Entries removed during a pass may make the listing skip others:
        // a pass that removed anything is followed by another.
        removed = false;
        if (lseek(fd, 0, SEEK_SET) != 0)
            return -1;
        long count;
        while ((count = syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0) {
            for (long at = 0; at < count;) {
                const LinuxDirent* entry = reinterpret_cast<const LinuxDirent*>(buffer + at);
                at += entry->length;
                const char* name = entry->name;
                if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                    continue;
                if (unlinkat(fd, name, 0) == 0 || unlinkat(fd, name, AT_REMOVEDIR) == 0) {
                    removed = true;
                    continue;
                }
                if (errno != ENOTEMPTY && errno != EEXIST)
                    continue;
                const int sub = openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (sub >= 0) {
                    close(fd);
                    return sub;
                }
            }
        }
    }
    return -1;
}

// Removes what the folder holds with one descriptor open at a time: down by
// name, back up through "..".
void clearFolder(const char* path)
{
    int fd = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    int depth = 0;
    for (int descents = 0; fd >= 0 && descents < MaxDescents;) {
        const int sub = clearLevel(fd);
        if (sub >= 0) {
            fd = sub;
            ++depth;
            ++descents;
            continue;
        }
        if (depth == 0)
            break;
        const int parent = openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        close(fd);
        fd = parent;
        --depth;
    }
    if (fd >= 0)
        close(fd);
}

// Removes the folder and everything below it. Other threads of the run may
// still be writing into it while the handler runs: a file they made after
// it was cleared is taken in another pass.
void removeFolder(const char* path)
{
    for (int pass = 0; pass < FolderPasses; ++pass) {
        clearFolder(path);
        if (rmdir(path) == 0 || errno != ENOTEMPTY)
            return;
    }
}

void onSignal(int signal)
{
    const int saved = errno;
    // A slot is held Busy for as long as a release compares its name; when
    // the release is the one this handler interrupted, it never ends, so the
    // wait is bounded.
    for (Slot& slot : slots) {
        const int state = hold(slot, HandlerPatience);
        if (state == File)
            unlink(slot.path);
        else if (state == Folder)
            removeFolder(slot.path);
        if (state != Free)
            slot.state.store(Free, std::memory_order_release);
    }
    errno = saved;
    // The handler was reset to the default action on entry; the signal stays
    // blocked until the handler returns, and then ends the process.
    raise(signal);
}

} // namespace

void InterruptCleanup::install()
{
    struct sigaction action = {};
    action.sa_handler = onSignal;
    action.sa_mask = handledSet();
    action.sa_flags = SA_RESETHAND;
    for (int signal : Handled) {
        struct sigaction previous;
        // A signal ignored by whoever started us stays ignored (nohup).
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
            sigaction(signal, &action, nullptr);
    }
}

void InterruptCleanup::addFile(const std::string& nativePath)
{
    add(nativePath, File);
}

void InterruptCleanup::addFolder(const std::string& nativePath)
{
    add(nativePath, Folder);
}

void InterruptCleanup::release(const std::string& nativePath)
{
    for (Slot& slot : slots) {
        const int state = hold(slot);
        if (state == Free)
            continue;
        const bool named = nativePath == slot.path;
        slot.state.store(named ? Free : state, std::memory_order_release);
        if (named)
            return;
    }
}

InterruptCleanup::Pause::Pause()
{
    const sigset_t set = handledSet();
    pthread_sigmask(SIG_BLOCK, &set, &m_saved);
}

InterruptCleanup::Pause::~Pause()
{
    pthread_sigmask(SIG_SETMASK, &m_saved, nullptr);
}

} // namespace KILN

#include "model/WorkDirectory.h"

#include "kiln/base/Utf8String.h"
#include "kiln/file/Directory.h"
#include "kiln/file/InterruptCleanup.h"
#include "kiln/file/NativePath.h"
#include "model/ZephraModelError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include <sys/stat.h>

namespace {

constexpr int Candidates = 10000;

// The temporary folder as a native name without a trailing separator:
// $TMPDIR when it names an existing folder, else /tmp. A missing one is not
// made: nothing above the working folder is ours to create.
std::string temporaryFolder()
{
    const char* named = std::getenv("TMPDIR");
    struct stat st;
    std::string folder = named && *named && stat(named, &st) == 0 && S_ISDIR(st.st_mode) ? named : "/tmp";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// The canonical name of the deepest existing folder on the way to path (path
// itself when it exists); empty when none resolves.
std::string deepestExisting(std::string path)
{
    char resolved[PATH_MAX];
    for (;;) {
        if (realpath(path.c_str(), resolved))
            return resolved;
        const size_t slash = path.find_last_of('/');
        if (slash == std::string::npos)
            path = ".";
        else if (slash == 0)
            path = "/";
        else
            path.resize(slash);
        if (path == "." && !realpath(".", resolved))
            return std::string();
    }
}

} // namespace

KILN::PathString createWorkDirectory()
{
    const std::string folder = temporaryFolder();
    KILN::PathString folderPath;
    folderPath.assignUtf8(folder.c_str());
    // A name that does not survive decoding (not UTF-8) would lead elsewhere.
    std::string check;
    if (!KILN::toNativePath(folderPath, check) || check != folder)
        raiseModelError(1, "Can't create temporary directory.");

    const std::string prefix = folder == "/" ? "/zef." : folder + "/zef.";
    for (int i = 0; i < Candidates; ++i) {
        const std::string candidate = prefix + std::to_string(i);
        KILN::InterruptCleanup::Pause pause;
        if (mkdir(candidate.c_str(), 0700) == 0) {
            KILN::InterruptCleanup::addFolder(candidate);
            KILN::PathString directory;
            directory.assignUtf8(candidate.c_str());
            return directory;
        }
        // Only a taken name is worth passing over; any other failure would
        // repeat for every candidate.
        if (errno != EEXIST)
            break;
    }
    raiseModelError(1, "Can't create temporary directory.");
}

void removeWorkDirectory(const KILN::PathString& directory)
{
    int32_t code;
    const bool removed = KILN::Directory::removeTree(directory, code);
    std::string native;
    if (KILN::toNativePath(directory, native))
        KILN::InterruptCleanup::release(native);
    if (!removed) {
        KILN::Utf8String name(directory);
        raiseModelError(2, "Can't remove temporary directory. %s", name.zeroTerminated());
    }
}

bool holdsPath(const KILN::PathString& directory, const KILN::PathString& path)
{
    std::string folder;
    std::string native;
    if (!KILN::toNativePath(directory, folder) || !KILN::toNativePath(path, native))
        return false;
    folder = deepestExisting(folder);
    native = deepestExisting(native);
    return !folder.empty() && native.compare(0, folder.size(), folder) == 0
        && (native.size() == folder.size() || native[folder.size()] == '/');
}

#include "model/WorkDirectory.h"

#include "kiln/base/Utf8String.h"
#include "kiln/file/Directory.h"
#include "kiln/file/NativePath.h"
#include "model/ZephraModelError.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <sys/stat.h>

namespace {

constexpr int Candidates = 10000;

// The temporary folder as a native name without a trailing separator.
std::string temporaryFolder()
{
    const char* named = std::getenv("TMPDIR");
    std::string folder = named && *named ? named : "/tmp";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
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
    int32_t ignored;
    KILN::Directory::create(folderPath, ignored);  // a failure shows in mkdir below

    const std::string prefix = folder == "/" ? "/zef." : folder + "/zef.";
    for (int i = 0; i < Candidates; ++i) {
        const std::string candidate = prefix + std::to_string(i);
        if (mkdir(candidate.c_str(), 0700) == 0) {
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
    if (!KILN::Directory::removeTree(directory, code)) {
        KILN::Utf8String name(directory);
        raiseModelError(2, "Can't remove temporary directory. %s", name.zeroTerminated());
    }
}

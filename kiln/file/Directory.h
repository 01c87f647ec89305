#pragma once

#include "kiln/base/ArrayList.h"
#include "kiln/base/PathString.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KILN {

// Creating, listing and removing directories on the native file system.
// The operations never throw: each answers whether it succeeded and sets
// `code` (0 on success, a Code on failure). Paths are handed to the system as
// UTF-8; a path holding a zero unit or a lone surrogate names nothing.
class Directory {
public:
    enum Code : int32_t {
        Done = 0,
        Missing = 1,        // the path does not exist
        CannotList = 2,     // the directory cannot be enumerated
        NotADirectory = 6,  // the path names something other than a directory
        CannotRemove = 7,   // an entry or the directory itself cannot be removed
        CannotCreate = 9,   // a directory cannot be created
    };

    // Creates the directory and every missing directory above it. An
    // existing file in the way fails with CannotCreate.
    static bool create(const TStringPtr<unsigned short>& path, int32_t& code);
    // Clears the list (without deleting what it held) and fills it with new
    // heap strings naming the subdirectories of path: bare names sorted by
    // their bytes, without "." and "..", files and symbolic links skipped.
    // The caller deletes the strings.
    static bool listSubdirectories(const TStringPtr<unsigned short>& path, ArrayList<PathString>& list,
                                   int32_t& code);
    // Fills names with every entry of the folder at a native (UTF-8) path
    // except "." and "..", sorted by their bytes: a stable order. False when
    // the folder cannot be listed.
    static bool listNames(const std::string& nativePath, std::vector<std::string>& names);
    // Removes the directory and everything below it, depth first. A symbolic
    // link is removed as a link: what it points to is never touched. Entries
    // removed before a failure stay removed.
    static bool removeTree(const TStringPtr<unsigned short>& path, int32_t& code);
};

} // namespace KILN

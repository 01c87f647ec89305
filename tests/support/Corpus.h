#pragma once

#include <cstdlib>
#include <filesystem>

namespace zef::test {

// The path of a real book of the shared corpus, or an empty path when the
// corpus is absent (a user's clone has no shared folder): looked for in the
// folder ZEF_CORPUS_DIR names, beside the repository, and beside a folder of
// work trees.
inline std::filesystem::path corpusBook(const char* name)
{
    namespace fs = std::filesystem;
    const char* named = std::getenv("ZEF_CORPUS_DIR");
    const fs::path folders[] = {
        named ? fs::path(named) : fs::path(),
        fs::path(ZEF_SOURCE_DIR) / "../shared/corpus",
        fs::path(ZEF_SOURCE_DIR) / "../../shared/corpus",
    };
    for (const fs::path& folder : folders) {
        if (!folder.empty() && fs::exists(folder / name))
            return folder / name;
    }
    return {};
}

} // namespace zef::test

#pragma once

// Finds the books of the shared corpus for the tests that read real books.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace zef::test {

// The path of a real book of the shared corpus, or an empty path when the
// corpus is absent (a user's clone has no shared folder): looked for in the
// folder ZEF_CORPUS_DIR names, beside the repository, and beside a folder of
// work trees. With ZEF_REQUIRE_CORPUS=1 (set by CI, which always has the
// corpus) an absent book also fails the test, so that the test's skip can
// never hide it.
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
    const char* required = std::getenv("ZEF_REQUIRE_CORPUS");
    if (required && std::strcmp(required, "1") == 0)
        ADD_FAILURE() << "ZEF_REQUIRE_CORPUS=1, but the corpus has no " << name;
    return {};
}

} // namespace zef::test

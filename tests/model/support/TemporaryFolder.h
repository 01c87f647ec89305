#pragma once

#include "ScopedVariable.h"

#include <filesystem>

namespace zef::test {

// Points $TMPDIR at a folder of the test's own while it lives, so that the
// working folders of a run land there, and gives the variable back after.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::filesystem::path& folder) : m_variable("TMPDIR", made(folder).c_str()) {}

private:
    static std::string made(const std::filesystem::path& folder)
    {
        std::filesystem::create_directories(folder);
        return folder.string();
    }

    ScopedVariable m_variable;
};

} // namespace zef::test

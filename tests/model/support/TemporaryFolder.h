#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace zef::test {

// Points $TMPDIR at a folder of the test's own while it lives, so that the
// working folders of a run land there, and gives the variable back after.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::filesystem::path& folder)
    {
        if (const char* saved = std::getenv("TMPDIR"))
            m_saved = saved;
        std::filesystem::create_directories(folder);
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolder()
    {
        if (m_saved)
            setenv("TMPDIR", m_saved->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

private:
    std::optional<std::string> m_saved;
};

} // namespace zef::test

#pragma once

#include "kiln/base/PathString.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// Files of a book written and read by the model tests, in a folder of the
// test process's own.
namespace zef::test {

namespace fs = std::filesystem;

// A new empty folder below the process's scratch folder, which is removed
// when the process ends.
inline fs::path freshFolder(const std::string& name)
{
    struct Root {
        const fs::path path = fs::path(testing::TempDir()) / ("zef-model-" + std::to_string(getpid()));
        ~Root()
        {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    };
    static const Root root;
    const fs::path folder = root.path / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

inline void writeBytes(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline KILN::PathString pathString(const fs::path& path)
{
    KILN::PathString wide;
    wide.assignUtf8(path.string().c_str());
    return wide;
}

inline std::string utf8(const KILN::TStringPtr<char>& text)
{
    return std::string(text.data(), text.length());
}

} // namespace zef::test

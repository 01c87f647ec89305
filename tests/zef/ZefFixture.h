#pragma once

// A scratch folder for running the built converter as a black box: its own
// temporary folder (TMPDIR), which must be empty again after every run, and
// its own settings folder (ZEF_SYSCONFDIR) naming the build's MeCab
// configuration.

#include "tests/support/Program.h"
#include "tests/support/ZipArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace zef::test {

namespace fs = std::filesystem;

inline const char* const ZefProgram = ZEF_BINARY_DIR "/zef/zef";

// Every path below folder, relative to it; symbolic links are listed, not
// followed.
inline std::set<std::string> treeListing(const fs::path& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        names.insert(it->path().lexically_relative(folder).generic_string());
    return names;
}

inline void writeText(const fs::path& path, const std::string& content)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

class ZefFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zef_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        temporary = scratch / "tmp";
        settings = scratch / "etc";
        fs::create_directories(temporary);
        writeText(settings / "zef.conf", "InstDir=" ZEF_BINARY_DIR "/share/zef/\n");
    }

    void TearDown() override { fs::remove_all(scratch); }

    fs::path path(const std::string& name) const { return scratch / name; }

    // Runs zef; every run must leave the temporary folder empty, whether it
    // succeeded or not.
    ProgramResult zef(const std::vector<std::string>& arguments, std::vector<std::string> environment = {},
                      int timeoutSeconds = 120)
    {
        environment.insert(environment.begin(), {"TMPDIR=" + temporary.string(), "ZEF_SYSCONFDIR=" + settings.string()});
        ProgramRun run{arguments, "", "", environment, timeoutSeconds};
        ProgramResult result = runProgram(ZefProgram, run, scratch);
        const std::set<std::string> left = treeListing(temporary);
        EXPECT_TRUE(left.empty()) << "left in the temporary folder: " << *left.begin();
        return result;
    }

    fs::path scratch;
    fs::path temporary;
    fs::path settings;
};

// The status and the first line of standard error, for messages in failures.
inline std::string describe(const ProgramResult& result)
{
    return "status " + std::to_string(result.status) + (result.timedOut ? " (killed after its time limit)" : "")
         + ", stderr: " + result.err;
}

} // namespace zef::test

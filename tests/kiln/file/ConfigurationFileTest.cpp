#include "kiln/file/ConfigurationFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

TEST(ConfigurationFileTest, DeviceOrPipeIsNoConfigurationFile)
{
    // Regression: a mecabrc at /dev/zero grew MeCab's memory without bound,
    // one at a FIFO hung it.
    char pattern[] = "/tmp/configuration_test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path folder = pattern;
    const std::string file = folder / "mecabrc";
    std::ofstream(file) << "dicdir = /nowhere\n";
    EXPECT_TRUE(KILN::isConfigurationFile(file));
    fs::create_symlink(file, folder / "link");
    EXPECT_TRUE(KILN::isConfigurationFile(folder / "link")) << "a link to a file";

    EXPECT_FALSE(KILN::isConfigurationFile("/dev/zero"));
    fs::create_symlink("/dev/zero", folder / "zero");
    EXPECT_FALSE(KILN::isConfigurationFile(folder / "zero"));
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(KILN::isConfigurationFile(folder / "fifo"));
    EXPECT_FALSE(KILN::isConfigurationFile(folder)) << "a folder";
    EXPECT_FALSE(KILN::isConfigurationFile(folder / "missing"));

    fs::resize_file(file, KILN::MaxConfigurationBytes);
    EXPECT_TRUE(KILN::isConfigurationFile(file));
    fs::resize_file(file, KILN::MaxConfigurationBytes + 1);
    EXPECT_FALSE(KILN::isConfigurationFile(file)) << "too large";
    fs::remove_all(folder);
}

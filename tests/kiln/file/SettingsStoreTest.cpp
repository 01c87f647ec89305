#include "kiln/file/SettingsStore.h"
#include "kiln/file/InstallationFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

using KILN::SettingsStore;
namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Each test gets its own machine and user folders through the variables
// the store reads.
class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("zef-settings-" + std::to_string(getpid()) + "-"
                                              + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root / "machine");
        setenv("ZEF_SYSCONFDIR", (m_root / "machine").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_root / "user").c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("ZEF_SYSCONFDIR");
        unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(m_root);
    }
    fs::path m_root;
};

} // namespace

TEST_F(SettingsStoreTest, MachineValuesAreReadFromTheNamedFolder)
{
    std::ofstream(m_root / "machine/zef.conf") << "# comment without equals\r\nInstDir=/opt/zef/share/zef/\r\n"
                                               << "Odd=a=b\n";
    SettingsStore store;
    ASSERT_TRUE(store.openForQuery(SettingsStore::Machine));
    std::string value;
    ASSERT_TRUE(store.query("InstDir", value));
    EXPECT_EQ("/opt/zef/share/zef/", value);
    ASSERT_TRUE(store.query("Odd", value));
    EXPECT_EQ("a=b", value);  // the first '=' separates
    EXPECT_FALSE(store.query("Missing", value));
}

TEST_F(SettingsStoreTest, MissingFileOrFolderCannotBeQueried)
{
    SettingsStore store;
    EXPECT_FALSE(store.openForQuery(SettingsStore::Machine));
    fs::create_directories(m_root / "machine/zef.conf");
    EXPECT_FALSE(store.openForQuery(SettingsStore::Machine));
}

TEST_F(SettingsStoreTest, UserValuesAreSavedAndReadBack)
{
    {
        SettingsStore store;
        ASSERT_TRUE(store.openForSetting(SettingsStore::User));
        EXPECT_TRUE(store.setString("Mode", "1"));
        EXPECT_TRUE(store.setString("Path", "/home/u/本.epub"));
        EXPECT_FALSE(store.setString("Bad", "two\nlines"));
        EXPECT_FALSE(store.setString("a=b", "x"));
        ASSERT_TRUE(store.close());
    }
    EXPECT_EQ("Mode=1\nPath=/home/u/本.epub\n", slurp(m_root / "user/zef/settings.conf"));
    SettingsStore store;
    ASSERT_TRUE(store.openForSetting(SettingsStore::User));
    std::string value;
    ASSERT_TRUE(store.query("Path", value));
    EXPECT_EQ("/home/u/本.epub", value);
    EXPECT_TRUE(store.setString("Mode", "2"));
    ASSERT_TRUE(store.close());
    EXPECT_EQ("Mode=2\nPath=/home/u/本.epub\n", slurp(m_root / "user/zef/settings.conf"));
    // Nothing but the file itself is left in its folder.
    EXPECT_EQ(1, std::distance(fs::directory_iterator(m_root / "user/zef"), fs::directory_iterator()));
}

TEST_F(SettingsStoreTest, StoreOpenedForQueryWritesNothing)
{
    std::ofstream(m_root / "machine/zef.conf") << "InstDir=/x/\n";
    SettingsStore store;
    ASSERT_TRUE(store.openForQuery(SettingsStore::Machine));
    EXPECT_FALSE(store.setString("InstDir", "/y/"));
    EXPECT_TRUE(store.close());
    EXPECT_EQ("InstDir=/x/\n", slurp(m_root / "machine/zef.conf"));
}

TEST_F(SettingsStoreTest, InstallationFilesAreNamedByInstDirWithoutASeparatorAdded)
{
    std::string path;
    EXPECT_FALSE(KILN::installationFile("mecabrc", path));  // no machine file
    std::ofstream(m_root / "machine/zef.conf") << "Other=1\n";
    EXPECT_FALSE(KILN::installationFile("mecabrc", path));  // no InstDir in it
    std::ofstream(m_root / "machine/zef.conf") << "InstDir=/opt/zef/share/zef/\n";
    ASSERT_TRUE(KILN::installationFile("doc/help.pdf", path));
    EXPECT_EQ("/opt/zef/share/zef/doc/help.pdf", path);
    EXPECT_FALSE(KILN::existingInstallationFile("doc/help.pdf", path)) << "not there";
    std::ofstream(m_root / "machine/zef.conf") << "InstDir=" << (m_root / "machine").string() << "/\n";
    ASSERT_TRUE(KILN::existingInstallationFile("zef.conf", path));
    EXPECT_EQ((m_root / "machine/zef.conf").string(), path);
}

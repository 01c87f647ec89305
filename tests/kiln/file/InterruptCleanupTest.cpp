#include "kiln/file/InterruptCleanup.h"
#include "kiln/file/ReplacingFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class InterruptCleanupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/interrupt_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
    }
    void TearDown() override { fs::remove_all(scratch); }

    fs::path scratch;
};

// A signal used to leave the working folder and the temporary file beside
// the destination behind; the run must still end by the signal itself.
TEST_F(InterruptCleanupTest, SignalLeftWorkFolderAndTemporaryFile)
{
    const fs::path destination = scratch / "out.epub";
    std::ofstream(destination) << "old";
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const fs::path folder = scratch / "zef.0";
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            KILN::InterruptCleanup::install();
            fs::create_directories(folder / "a/b/c");
            fs::create_directories(folder / "empty");
            for (int i = 0; i < 600; ++i)  // more than one listing buffer
                std::ofstream(folder / "a" / ("entry-with-a-long-name-" + std::to_string(i))) << i;
            std::ofstream(folder / "a/b/c/deep") << "x";
            fs::create_symlink(scratch, folder / "a/link");  // removed as a link, never followed
            KILN::InterruptCleanup::addFolder(folder.string());
            KILN::ReplacingFile output(destination.string());
            if (!output.open())
                _exit(90);
            std::fputs("partial", output.stream());
            raise(signal);
            _exit(91);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << signal;
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_FALSE(fs::exists(folder)) << signal;
        int left = 0;
        for (const auto& entry : fs::directory_iterator(scratch))
            left += entry.path() != destination;
        EXPECT_EQ(left, 0) << "a temporary file stayed beside the destination";
        std::ifstream in(destination);
        std::string text;
        in >> text;
        EXPECT_EQ(text, "old");
    }
}

// A name the run released (committed or removed) is not the handler's to
// remove any more.
TEST_F(InterruptCleanupTest, ReleasedNamesStay)
{
    const fs::path kept = scratch / "kept";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        KILN::InterruptCleanup::install();
        KILN::ReplacingFile output(kept.string());
        if (!output.open() || std::fputs("new", output.stream()) < 0 || !output.commit())
            _exit(90);
        raise(SIGTERM);
        _exit(91);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_TRUE(fs::exists(kept));
}

// Workers write their documents while the thread that made them may take
// the signal: names registered and released on many threads at once must
// leave every slot free again, so that all of them still serve the handler.
TEST_F(InterruptCleanupTest, ThreadsRegisteringAtOnceLeaveEverySlotFree)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        KILN::InterruptCleanup::install();
        std::vector<std::thread> threads;
        std::atomic<bool> failed{false};
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&, t] {
                for (int i = 0; i < 500; ++i) {
                    KILN::ReplacingFile output((scratch / ("document-" + std::to_string(t))).string());
                    if (!output.open() || std::fputs("text", output.stream()) < 0 || !output.commit())
                        failed = true;
                }
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        if (failed)
            _exit(90);
        // Every one of the sixteen slots is needed now.
        for (int i = 0; i < 16; ++i) {
            const fs::path file = scratch / ("left-" + std::to_string(i));
            std::ofstream(file) << i;
            KILN::InterruptCleanup::addFile(file.string());
        }
        raise(SIGTERM);
        _exit(91);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    for (int i = 0; i < 16; ++i)
        EXPECT_FALSE(fs::exists(scratch / ("left-" + std::to_string(i)))) << i;
    for (int t = 0; t < 4; ++t)
        EXPECT_TRUE(fs::exists(scratch / ("document-" + std::to_string(t)))) << t;
}

} // namespace

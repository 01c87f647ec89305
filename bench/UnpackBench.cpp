// Measures unpacking a large book: the corpus novel (or the project's sample
// book when the corpus is absent) with its content documents repeated until
// they hold about 50 MB of text (or the megabytes given as the argument).
// Unpacks it in this process on the caller's thread alone (ZEF_THREADS=1)
// and with the worker threads the machine allows, and with `unzip -qo`; the
// three take turns, round after round, and the least wall-clock and CPU
// time (user and system, all threads) of each counts, with the CPU time of
// the thread that reads the archive and writes the files: what the worker
// threads take off it shows even when the machine is too busy to run them
// beside it.

#include "EnlargedBook.h"
#include "RunConditions.h"
#include "kiln/base/PathString.h"
#include "model/EpubUnpacker.h"
#include "model/WorkerCount.h"
#include "tests/support/Program.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int Rounds = 5;

// CPU seconds: of all threads, and of the one that reads and writes (for
// unzip both are its own).
struct CpuSeconds {
    double all = 1e300;
    double caller = 1e300;
};

struct Times {
    double wall = 1e300;
    CpuSeconds cpu;
};

// CPU seconds this process has used, of all threads or of the calling one.
double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A way of unpacking the book into a folder, answering the CPU seconds it
// took; negative when it failed.
struct Case {
    std::string label;
    std::function<CpuSeconds(const fs::path& folder)> unpack;
    Times best;
};

// Unpacks the book in this process with ZEF_THREADS set to threads.
CpuSeconds unpackHere(const fs::path& book, const fs::path& folder, const char* threads)
{
    setenv("ZEF_THREADS", threads, 1);
    KILN::PathString source;
    KILN::PathString target;
    source.assignUtf8(book.c_str());
    target.assignUtf8(folder.c_str());
    const CpuSeconds start{cpuSeconds(RUSAGE_SELF), cpuSeconds(RUSAGE_THREAD)};
    try {
        unpackEpub(source, target);
    } catch (...) {
        return {-1, -1};
    }
    return {cpuSeconds(RUSAGE_SELF) - start.all, cpuSeconds(RUSAGE_THREAD) - start.caller};
}

} // namespace

int main(int argc, char** argv)
{
    printRunConditions(firstLineOf(UNZIP_PROGRAM " -v"));
    const double targetMegabytes = argc > 1 ? std::atof(argv[1]) : 50;
    std::string text;
    const fs::path source = bench::sourceBook();
    const std::vector<zef::test::ZipEntry> entries =
        bench::enlargedBook(source, static_cast<size_t>(targetMegabytes * 1024 * 1024), text);
    char folderPattern[] = "/tmp/unpack_bench.XXXXXX";
    if (entries.empty() || !mkdtemp(folderPattern))
        return 1;
    const fs::path scratch = folderPattern;
    const fs::path book = scratch / "book.epub";
    zef::test::writeZip(book, entries);
    const std::string workers = std::to_string(workerCount());
    std::printf("book: %s, %zu entries, %.1f MB of text, %.1f MB packed; %s worker threads\n",
                source.filename().c_str(), entries.size(), static_cast<double>(text.size()) / (1024 * 1024),
                static_cast<double>(fs::file_size(book)) / (1024 * 1024), workers.c_str());
    std::fflush(stdout);

    std::vector<Case> cases = {
        {"unzip -qo", [&](const fs::path& folder) {
             const zef::test::ProgramRun run{{"-qo", book.string(), "-d", folder.string()}, "", "/dev/null", {}, 600};
             const zef::test::ProgramResult result = zef::test::runProgram(UNZIP_PROGRAM, run, scratch);
             const double cpu = result.status == 0 ? result.cpuSeconds : -1;
             return CpuSeconds{cpu, cpu};
         }, {}},
        {"one thread", [&](const fs::path& folder) { return unpackHere(book, folder, "1"); }, {}},
        {workers + " worker threads", [&](const fs::path& folder) { return unpackHere(book, folder, workers.c_str()); }, {}},
    };
    bool succeeded = true;
    for (int round = 0; round < Rounds && succeeded; ++round) {
        for (Case& c : cases) {
            // A new folder each time: files made where others were just
            // removed cost the file system more.
            const fs::path folder = scratch / ("unpacked" + std::to_string(round) + "-" + c.label.substr(0, 1));
            fs::create_directory(folder);
            const auto start = std::chrono::steady_clock::now();
            const CpuSeconds cpu = c.unpack(folder);
            const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
            succeeded = succeeded && cpu.all >= 0;
            c.best = {std::min(c.best.wall, wall.count()),
                      {std::min(c.best.cpu.all, cpu.all), std::min(c.best.cpu.caller, cpu.caller)}};
        }
    }
    fs::remove_all(scratch);
    if (!succeeded) {
        std::fprintf(stderr, "an unpacking failed\n");
        return 1;
    }
    std::printf("  %-20s %8s %8s %12s %12s %12s\n", "", "wall s", "cpu s", "caller cpu s", "wall/unzip",
                "cpu/unzip");
    for (const Case& c : cases)
        std::printf("  %-20s %8.3f %8.3f %12.3f %12.2f %12.2f\n", c.label.c_str(), c.best.wall, c.best.cpu.all,
                    c.best.cpu.caller, c.best.wall / cases[0].best.wall, c.best.cpu.all / cases[0].best.cpu.all);
    std::printf("load average at the end: %s\n", loadAverage().c_str());
    return 0;
}

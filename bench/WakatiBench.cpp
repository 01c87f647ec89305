// Measures the throughput of kazenohawakati (default options; with ruby, as
// the pre-process of zef divides; with ruby and particle division; with the
// standard rule) against `mecab -Owakati` on the same text of at least 20 MB:
// the body text of the corpus novel when it is present, and the project's
// sample text, repeated. Each program runs from a file to /dev/null; the
// programs take turns, round after round, so that a busy machine disturbs
// them alike, and the least CPU time (user and system) of each counts.
// Arguments name other kazenohawakati programs to measure instead, e.g. an
// earlier build beside the current one, each with every option set.

#include "BodyText.h"
#include "EpubEntries.h"
#include "RunConditions.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr size_t CorpusBytes = 20 * 1024 * 1024;
const char* const Novel = ZEF_CORPUS_DIR "/kusamakura.epub";

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The body text of every XHTML entry of the EPUB, in archive order.
std::string novelText(const char* path)
{
    std::string text;
    forEachXhtml(path, [&text](const std::string& xhtml) { text += bodyText(xhtml); });
    return text;
}

constexpr int Rounds = 5;

// Runs the program with its arguments, standard output to /dev/null, and
// answers the CPU seconds it took; negative when it could not run or failed.
double runProgram(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    int status = -1;
    struct rusage usage {};
    const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!spawned || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char** argv)
{
    printRunConditions(firstLineOf(MECAB_PROGRAM " -v"));
    std::vector<std::string> programs(argv + 1, argv + argc);
    if (programs.empty())
        programs.push_back(KAZENOHAWAKATI_PROGRAM);
    std::string unit = novelText(Novel) + readFile(ZEF_SOURCE_DIR "/doc/sample.txt");
    if (unit.empty()) {
        std::fprintf(stderr, "no text to measure\n");
        return 1;
    }
    char corpusPath[] = "/tmp/wakati_bench.XXXXXX";
    const int fd = mkstemp(corpusPath);
    if (fd < 0)
        return 1;
    size_t written = 0;
    while (written < CorpusBytes) {
        if (write(fd, unit.data(), unit.size()) != static_cast<ssize_t>(unit.size()))
            return 1;
        written += unit.size();
    }
    close(fd);
    const double megabytes = static_cast<double>(written) / (1024 * 1024);
    std::printf("text: %.1f MB (%s)\n", megabytes, unit.size() > 10000 ? "corpus novel and sample" : "sample");

    struct Case {
        std::vector<std::string> command;
        double seconds = 1e300;
    };
    std::vector<Case> cases = {{{MECAB_PROGRAM, "-d", MECAB_DICTIONARY, "-Owakati"}}};
    for (const std::string& program : programs) {
        for (const std::vector<std::string>& options :
             std::vector<std::vector<std::string>>{{}, {"-r"}, {"-r", "-j"}, {"-m-"}}) {
            cases.push_back({{program}});
            cases.back().command.insert(cases.back().command.end(), options.begin(), options.end());
        }
    }
    bool failed = false;
    for (int round = 0; round < Rounds && !failed; ++round) {
        for (Case& c : cases) {
            std::vector<std::string> command = c.command;
            command.push_back(corpusPath);
            const double seconds = runProgram(command);
            failed = failed || seconds < 0;
            c.seconds = seconds < c.seconds ? seconds : c.seconds;
        }
    }
    std::remove(corpusPath);
    if (failed) {
        std::fprintf(stderr, "a program failed\n");
        return 1;
    }
    const double mecab = cases[0].seconds;
    std::printf("CPU time, best of %d rounds:\n", Rounds);
    for (const Case& c : cases) {
        std::string name;
        for (const std::string& word : c.command)
            name += (name.empty() ? "" : " ") + word;
        std::printf("%6.2f s  %6.2f MB/s  ratio %.2f  %s\n", c.seconds, megabytes / c.seconds, mecab / c.seconds,
                    name.c_str());
    }
    return 0;
}

// Measures the throughput of kazenohawakati (default options; with ruby, as
// the pre-process of zef divides; with ruby and particle division; with the
// standard rule) against `mecab -Owakati` on the same text of at least 20 MB:
// the body text of the corpus novel when it is present, and the project's
// sample text, repeated. Each program runs three times from a file to
// /dev/null; the best time counts. An argument names another kazenohawakati
// to measure, e.g. an earlier build.

#include "BestTime.h"
#include "BodyText.h"
#include "RunConditions.h"

#include <unzip.h>

#include <fcntl.h>
#include <spawn.h>
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
    unzFile zip = unzOpen(path);
    if (!zip)
        return text;
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        char name[512];
        unz_file_info info;
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        const std::string entry(name);
        if (entry.size() < 6 || entry.compare(entry.size() - 6, 6, ".xhtml") != 0)
            continue;
        if (unzOpenCurrentFile(zip) != UNZ_OK)
            break;
        std::string xhtml(info.uncompressed_size, '\0');
        const int got = unzReadCurrentFile(zip, xhtml.data(), static_cast<unsigned>(xhtml.size()));
        unzCloseCurrentFile(zip);
        if (got > 0)
            text += bodyText(xhtml.substr(0, static_cast<size_t>(got)));
    }
    unzClose(zip);
    return text;
}

// Runs the program with its arguments, standard output to /dev/null; false
// when it could not run or failed.
bool runProgram(const std::vector<std::string>& command)
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
    const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return spawned && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The best time of three runs of the program; negative when a run failed.
double bestOfThree(const std::vector<std::string>& command)
{
    bool succeeded = true;
    const double seconds = bestSeconds([&] { succeeded = runProgram(command) && succeeded; });
    return succeeded ? seconds : -1;
}

} // namespace

int main(int argc, char** argv)
{
    printRunConditions(firstLineOf(MECAB_PROGRAM " -v"));
    const std::string program = argc > 1 ? argv[1] : KAZENOHAWAKATI_PROGRAM;
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
    std::printf("program: %s\n", program.c_str());

    struct Case {
        const char* name;
        std::vector<std::string> options;
        double seconds = 0;
    };
    Case cases[] = {
        {"kazenohawakati:       ", {}},
        {"kazenohawakati -r:    ", {"-r"}},
        {"kazenohawakati -r -j: ", {"-r", "-j"}},
        {"kazenohawakati -m-:   ", {"-m-"}},
    };
    const double mecab = bestOfThree({MECAB_PROGRAM, "-Owakati", corpusPath});
    bool failed = mecab <= 0;
    for (Case& c : cases) {
        std::vector<std::string> command = {program};
        command.insert(command.end(), c.options.begin(), c.options.end());
        command.push_back(corpusPath);
        c.seconds = bestOfThree(command);
        failed = failed || c.seconds <= 0;
    }
    std::remove(corpusPath);
    if (failed) {
        std::fprintf(stderr, "a program failed\n");
        return 1;
    }
    std::printf("mecab -Owakati:        %6.2f s  %6.2f MB/s\n", mecab, megabytes / mecab);
    for (const Case& c : cases)
        std::printf("%s%6.2f s  %6.2f MB/s  ratio %.2f\n", c.name, c.seconds, megabytes / c.seconds, mecab / c.seconds);
    return 0;
}

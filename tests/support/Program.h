#pragma once

// Runs a built program as a black box: arguments, standard input and
// environment in; exit status, standard output and standard error out. A run
// that outlives its time limit is killed and reported as such.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zef::test {

struct ProgramRun {
    std::vector<std::string> arguments;
    // Standard input.
    std::string input;
    // Where standard output goes; empty: captured into the result.
    std::string stdoutPath;
    // "NAME=value" sets a variable, a bare "NAME" removes it.
    std::vector<std::string> environment;
    int timeoutSeconds = 120;
};

// A signal sent once to a running program as soon as when answers true
// (polled while it runs); signal 0 for none.
struct Interruption {
    int signal = 0;
    std::function<bool()> when;
};

struct ProgramResult {
    // The exit status, or -1 when the program did not exit normally.
    int status = -1;
    // The signal that ended the program, or 0.
    int signal = 0;
    bool timedOut = false;
    std::string out;
    std::string err;
    // The most memory the program held at once (its resident set, in KiB).
    long peakKilobytes = 0;
    // The CPU time the program used, user and system, in seconds.
    double cpuSeconds = 0;
};

namespace detail {

inline std::string readAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<std::string> environmentWith(const std::vector<std::string>& changes)
{
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable)
        variables.push_back(*variable);
    for (const std::string& change : changes) {
        const std::string name = change.substr(0, change.find('='));
        std::erase_if(variables, [&](const std::string& v) { return v.compare(0, name.size() + 1, name + "=") == 0; });
        if (change.find('=') != std::string::npos)
            variables.push_back(change);
    }
    return variables;
}

inline std::vector<char*> pointers(std::vector<std::string>& words)
{
    std::vector<char*> list;
    for (std::string& word : words)
        list.push_back(word.data());
    list.push_back(nullptr);
    return list;
}

} // namespace detail

// Runs program; the captured streams pass through files in scratch, a folder
// of the caller's.
inline ProgramResult runProgram(const std::string& program, const ProgramRun& run,
                                const std::filesystem::path& scratch, const Interruption& interruption = Interruption())
{
    const std::string inPath = scratch / "program-stdin";
    const std::string errPath = scratch / "program-stderr";
    const std::string outPath = run.stdoutPath.empty() ? std::string(scratch / "program-stdout") : run.stdoutPath;
    std::ofstream(inPath, std::ios::binary) << run.input;
    std::vector<std::string> words = {program};
    words.insert(words.end(), run.arguments.begin(), run.arguments.end());
    std::vector<std::string> variables = detail::environmentWith(run.environment);
    std::vector<char*> argv = detail::pointers(words);
    std::vector<char*> envp = detail::pointers(variables);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ProgramResult result;
    pid_t pid;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(run.timeoutSeconds);
        int status = 0;
        pid_t answer;
        struct rusage usage {};
        bool interrupted = false;
        while ((answer = wait4(pid, &status, WNOHANG, &usage)) == 0 && std::chrono::steady_clock::now() < deadline) {
            if (interruption.signal && !interrupted && interruption.when()) {
                kill(pid, interruption.signal);
                interrupted = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (answer == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.timedOut = true;
        } else if (answer == pid && WIFEXITED(status)) {
            result.status = WEXITSTATUS(status);
        } else if (answer == pid && WIFSIGNALED(status)) {
            result.signal = WTERMSIG(status);
        }
        result.peakKilobytes = usage.ru_maxrss;
        const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
        result.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (run.stdoutPath.empty())
        result.out = detail::readAll(outPath);
    result.err = detail::readAll(errPath);
    std::filesystem::remove(inPath);
    std::filesystem::remove(errPath);
    if (run.stdoutPath.empty())
        std::filesystem::remove(outPath);
    return result;
}

} // namespace zef::test

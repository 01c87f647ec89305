#pragma once

// Prints what a reader needs to judge a benchmark's figures: the reference's
// version and the machine's cores and load as the run starts.

#include <cstdio>
#include <string>
#include <thread>

// The first line a shell command prints on either stream, or "unknown".
inline std::string firstLineOf(const std::string& command)
{
    std::string line;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        for (int c; (c = std::fgetc(pipe)) != EOF && c != '\n';)
            line += static_cast<char>(c);
        pclose(pipe);
    }
    return line.empty() ? "unknown" : line;
}

// The machine's load average over 1, 5 and 15 minutes, as /proc/loadavg
// gives it, or "unknown".
inline std::string loadAverage()
{
    double load[3] = {0, 0, 0};
    std::FILE* file = std::fopen("/proc/loadavg", "r");
    const bool read = file && std::fscanf(file, "%lf %lf %lf", &load[0], &load[1], &load[2]) == 3;
    if (file)
        std::fclose(file);
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %.2f %.2f", load[0], load[1], load[2]);
    return read ? text : "unknown";
}

// reference: a description of what the figures are compared with, e.g. the
// first line of its version output; empty for a benchmark without one.
inline void printRunConditions(const std::string& reference)
{
    if (!reference.empty())
        std::printf("reference: %s\n", reference.c_str());
    std::printf("machine: %u cores, load average %s (1, 5, 15 min)\n", std::thread::hardware_concurrency(),
                loadAverage().c_str());
    std::fflush(stdout);
}

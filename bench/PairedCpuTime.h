#pragma once

// The CPU time of two benchmark cases run alternately, best of several
// rounds: on a machine loaded by other work a paired run keeps their ratio.

#include <sys/resource.h>

#include <ctime>
#include <functional>

struct PairedSeconds {
    double first;
    double second;
};

// CPU seconds this process has used.
inline double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// CPU seconds the process's finished children have used, user and system.
inline double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs first and second alternately, rounds times each, and answers the
// least CPU time of each as measured by clock.
inline PairedSeconds pairedBest(const std::function<void()>& first, const std::function<void()>& second,
                                double (*clock)() = processCpuSeconds, int rounds = 5)
{
    PairedSeconds best{1e300, 1e300};
    auto time = [clock](const std::function<void()>& run, double& least) {
        const double start = clock();
        run();
        const double took = clock() - start;
        least = took < least ? took : least;
    };
    for (int i = 0; i < rounds; ++i) {
        time(first, best.first);
        time(second, best.second);
    }
    return best;
}

#pragma once

#include <chrono>
#include <functional>

// The best of three timed runs of a benchmark case, in seconds: the least
// disturbed by the rest of the machine.
inline double bestSeconds(const std::function<void()>& run)
{
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = took.count() < best ? took.count() : best;
    }
    return best;
}

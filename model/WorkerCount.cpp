#include "model/WorkerCount.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

constexpr unsigned MaxWorkers = 8;

} // namespace

unsigned workerCount()
{
    if (const char* requested = std::getenv("ZEF_THREADS")) {
        char* end = nullptr;
        const long value = std::strtol(requested, &end, 10);
        if (*requested && *end == '\0' && value >= 1 && value <= static_cast<long>(MaxWorkers))
            return static_cast<unsigned>(value);
    }
    return std::clamp(std::thread::hardware_concurrency(), 1u, MaxWorkers);
}

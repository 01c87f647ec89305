#include "model/WorkerCount.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

unsigned workerCount()
{
    if (const char* chosen = std::getenv("ZEF_THREADS")) {
        char* end = nullptr;
        const unsigned long number = std::strtoul(chosen, &end, 10);
        if (end != chosen && *end == '\0' && number >= 1 && chosen[0] != '-')
            return static_cast<unsigned>(std::min<unsigned long>(number, MaxWorkers));
    }
    return std::clamp(std::thread::hardware_concurrency(), 1u, MaxWorkers);
}

#pragma once

// How many threads work shared among the machine's cores may use: the
// cores, at most MaxWorkers; the environment variable ZEF_THREADS set to a
// number from 1 to MaxWorkers chooses instead (larger numbers count as
// MaxWorkers). 1 means the caller's thread alone.
constexpr unsigned MaxWorkers = 8;

unsigned workerCount();

#pragma once

// How many workers a conversion runs on: the machine's cores, at most 8, or
// the number (1 to 8) that the environment variable ZEF_THREADS gives; 1 on
// a single core. A value of ZEF_THREADS that is no such number is ignored.
unsigned workerCount();

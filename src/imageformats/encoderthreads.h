#pragma once

#include <atomic>

// Threads each codec with its own thread pool (x265, aom, libjxl, LibRaw) may start;
// 0 leaves the library's default (one per core). A conversion that runs
// several files at once sets it so that the files share the cores.
inline std::atomic_int codecThreadLimit{0};

inline void setCodecThreadCount(int threads)
{
    codecThreadLimit.store(threads > 0 ? threads : 0);
}

// A thread that encodes apart from any run (a predicted output) sets the share
// a run would give it, so that its codecs tile and write alike; -1: the run's.
inline thread_local int codecThreadsOfThisThread = -1;

inline int codecThreadCount()
{
    return codecThreadsOfThisThread >= 0 ? codecThreadsOfThisThread : codecThreadLimit.load();
}

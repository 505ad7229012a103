#pragma once

// Threads each codec with its own thread pool (x265, aom, libjxl, LibRaw) may
// start from the calling thread; 0 leaves the library's default (one per
// core). A conversion that runs several files at once sets it on each of its
// job threads, so that the files share the cores, and a thread that encodes
// apart from any run (a predicted output) sets the share a run would give it,
// so that its codecs tile and write alike; nothing process-wide changes.
inline thread_local int codecThreadsOfThisThread = 0;

inline void setCodecThreadCount(int threads)
{
    codecThreadsOfThisThread = threads > 0 ? threads : 0;
}

inline int codecThreadCount()
{
    return codecThreadsOfThisThread;
}

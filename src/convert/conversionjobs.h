#pragma once

#include <QSize>
#include <QString>
#include <QtGlobal>

// How many files a conversion converts at once: the stored setting pins it
// (1 to 64), 0 means one file per core.
int conversionJobCount(int setting, int cores);

// Threads each codec with its own pool may start while `jobs` files convert
// at once: the cores shared out, or the library's default (0) for one file.
int codecThreadsPerJob(int jobs, int cores);

// The memory files in flight may take: a quarter of physical memory, at most 2 GB.
qint64 conversionMemoryBudget(qint64 physicalBytes);

// Physical memory of the machine, 0 when unknown; or what the process was
// told to assume.
qint64 physicalMemoryBytes();

// Plans this process's conversions as on a machine with `bytes` of memory
// (0: the real one), so that a benchmark can try a smaller machine.
void assumePhysicalMemory(qint64 bytes);

// A file's estimated working memory: its source's pixels (size read without
// decoding) times what converting to the target takes per pixel, plus the
// parsing of whatever part of the file's bytes no picture explains (huge
// metadata). An extension no target has counts as the hungriest target.
qint64 estimatedFileBytes(const QSize &sourceSize, const QString &targetExtension, qint64 fileBytes = 0);

// Whether one more file may start: always when none is in flight (a picture
// larger than the budget converts alone), otherwise while fewer than `jobs`
// are in flight and their estimates stay within the budget.
bool mayStartFile(int inFlight, qint64 inFlightBytes, qint64 fileBytes, int jobs, qint64 budget);

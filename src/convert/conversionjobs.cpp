#include "conversionjobs.h"

#include "formattable.h"

#include "targetformats.h"

#include <unistd.h>

#include <atomic>

namespace {
std::atomic<qint64> assumedPhysicalBytes{0};
}

int conversionJobCount(int setting, int cores)
{
    return qBound(1, setting > 0 ? setting : cores, 64);
}

int codecThreadsPerJob(int jobs, int cores)
{
    return jobs <= 1 ? 0 : qMax(1, cores / jobs);
}

qint64 conversionMemoryBudget(qint64 physicalBytes)
{
    constexpr qint64 cap = qint64(2) << 30;
    return physicalBytes > 0 ? qMin(physicalBytes / 4, cap) : cap;
}

qint64 physicalMemoryBytes()
{
    if (const qint64 assumed = assumedPhysicalBytes.load(); assumed > 0)
        return assumed;
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGE_SIZE)
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && pageSize > 0)
        return qint64(pages) * pageSize;
#endif
    return 0;
}

void assumePhysicalMemory(qint64 bytes)
{
    assumedPhysicalBytes.store(qMax<qint64>(0, bytes));
}

qint64 estimatedFileBytes(const QSize &sourceSize, const QString &targetExtension, qint64 fileBytes)
{
    if (!sourceSize.isValid())
        return 0;
    const ImageFormat *target = formatForExtension(targetExtension.mid(1));
    int bytesPerPixel = target ? target->workingBytesPerPixel : 0;
    if (bytesPerPixel == 0) {
        for (const ImageFormat &format : targetFormats())
            bytesPerPixel = qMax(bytesPerPixel, format.workingBytesPerPixel);
    }
    const qint64 pixels = qint64(sourceSize.width()) * sourceSize.height();
    // No picture stores more than 8 bytes a pixel; the rest of a file is
    // metadata, which the readers parse at many times its size.
    const qint64 metadataBytes = qMax<qint64>(0, fileBytes - pixels * 8);
    return pixels * bytesPerPixel + metadataBytes * 16;
}

bool mayStartFile(int inFlight, qint64 inFlightBytes, qint64 fileBytes, int jobs, qint64 budget)
{
    return inFlight == 0 || (inFlight < jobs && inFlightBytes + fileBytes <= budget);
}

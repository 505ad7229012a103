#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImageReader>

// Reads the whole coded file, which libheif and libjxl want in memory. A file
// larger than the reader's allocation limit is refused unread: no picture the
// limit admits is coded that large, and reading it could exhaust memory.
inline bool readCodedInput(QIODevice *device, QByteArray *data)
{
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limit > 0 && !device->isSequential() && device->size() - device->pos() > limit)
        return false;
    *data = device->readAll();
    return true;
}

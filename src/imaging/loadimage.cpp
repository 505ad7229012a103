#include "imagemagickutil.h"

#include <QDebug>
#include <QFileInfo>
#include <QImageReader>

namespace {
constexpr int allocationLimitMegabytes = 256;
}

bool ImageMagickUtil::loadImage(QString path, QImage &image)
{
    qDebug().noquote() << "ImageMagickUtil::loadImage: " + path;
    if (!QFileInfo(path).isFile())
        return false;

    // No format is given: the decoder is chosen from the suffix and the content.
    QImageReader::setAllocationLimit(allocationLimitMegabytes);
    QImageReader reader(path);
    if (!reader.canRead()) {
        // The suffix names a decoder that does not know these bytes (a HEIC
        // photo saved as .jpg, say): let the content alone pick the decoder.
        reader.setDecideFormatFromContent(true);
        reader.setFileName(path);
    }
    reader.setAutoTransform(true);
    return reader.read(&image);
}

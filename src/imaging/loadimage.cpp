#include "imagemagickutil.h"
#include "pipelinerules.h"

#include <QDebug>
#include <QFileInfo>
#include <QImageReader>

bool ImageMagickUtil::loadImage(QString path, QImage &image)
{
    qDebug().noquote() << "ImageMagickUtil::loadImage: " + path;
    if (!QFileInfo(path).isFile())
        return false;

    // No format is given: the decoder is chosen from the suffix and the content.
    QImageReader reader(path);
    QImageReader::setAllocationLimit(allocationLimitMegabytes);
    reader.setAutoTransform(true);
    return reader.read(&image);
}

#include "imagemagickutil.h"
#include "pipelinerules.h"

#include <QColorSpace>
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
    // The picture is turned upright here rather than by the reader: Qt's
    // quarter turn drops the colour space, which is put back afterwards.
    reader.setAutoTransform(false);
    if (!reader.read(&image))
        return false;
    const QImageIOHandler::Transformations turn = reader.transformation();
    if (turn != QImageIOHandler::TransformationNone) {
        const QColorSpace space = image.colorSpace();
        image = image.mirrored(turn & QImageIOHandler::TransformationMirror, turn & QImageIOHandler::TransformationFlip);
        if (turn & QImageIOHandler::TransformationRotate90)
            image = image.transformed(QTransform().rotate(90));
        image.setColorSpace(space);
    }
    return true;
}

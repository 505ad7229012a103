#include "imagemagickutil.h"
#include "pipelinerules.h"
#include "tiffdecoder.h"

#include <QColorSpace>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

bool ImageMagickUtil::loadImage(QString path, QImage &image)
{
    qDebug().noquote() << "ImageMagickUtil::loadImage: " + path;
    if (!QFileInfo(path).isFile())
        return false;

    // The picture is turned upright here rather than by the reader: Qt's
    // quarter turn drops the colour space, which is put back afterwards.
    QImageIOHandler::Transformations turn;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && isTiffData(file.read(4))) {
        // libtiff reads the TIFF layouts that Qt's plugin garbles or refuses.
        // Orientations 1..8 as the reader's transformations:
        static const QImageIOHandler::Transformation turns[] = {
                QImageIOHandler::TransformationNone,
                QImageIOHandler::TransformationMirror,
                QImageIOHandler::TransformationRotate180,
                QImageIOHandler::TransformationFlip,
                QImageIOHandler::TransformationFlipAndRotate90,
                QImageIOHandler::TransformationRotate90,
                QImageIOHandler::TransformationMirrorAndRotate90,
                QImageIOHandler::TransformationRotate270};
        int orientation = 1;
        QString reason;
        if (!decodeTiffFile(path, &image, &orientation, &reason))
            return false;
        turn = turns[orientation - 1];
    } else {
        // No format is given: the decoder is chosen from the suffix and the content.
        QImageReader reader(path);
        QImageReader::setAllocationLimit(allocationLimitMegabytes);
        reader.setAutoTransform(false);
        if (!reader.read(&image))
            return false;
        turn = reader.transformation();
    }
    if (turn != QImageIOHandler::TransformationNone) {
        const QColorSpace space = image.colorSpace();
        image = image.mirrored(turn & QImageIOHandler::TransformationMirror, turn & QImageIOHandler::TransformationFlip);
        if (turn & QImageIOHandler::TransformationRotate90)
            image = image.transformed(QTransform().rotate(90));
        image.setColorSpace(space);
    }
    return true;
}

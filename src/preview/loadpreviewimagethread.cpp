#include "loadpreviewimagethread.h"

#include <QDebug>

#include "imagemagickutil.h"
#include "outputprediction.h"
#include "previewgeometry.h"
#include "sourceframes.h"
#include "thumbnailcache.h"

LoadPreviewImageThread::LoadPreviewImageThread(const ConversionSettings &settings, QObject *parent)
    : QThread(parent), settings(settings)
{
}

void LoadPreviewImageThread::run()
{
    yieldToTheWindow();
    createPreviewImage(filePath, maxSize);
}

void LoadPreviewImageThread::createPreviewImage(const QString &path, const QSize &maxSize)
{
    if (stop) {
        emit updatePreviewImage(QImage());
        return;
    }
    qDebug().noquote() << "LoadPreviewImageThread::createPreviewImage: " + path;

    const QString fileName = hasThumbnailPath ? thumbnailFilePath : allocateThumbnailFile(path);

    if (stop) {
        emit updatePreviewImage(QImage());
        return;
    }
    ImageMagickUtil util;
    QImage image = util.processImage(path, true, settings);
    pageCount = sourcePageCount(path);
    image = image.scaled(fitSize(image.size(), maxSize), Qt::IgnoreAspectRatio, Qt::FastTransformation);

    qDebug().noquote() << "LoadPreviewImageThread::thumbnailFilePath: " + fileName;

    if (stop) {
        emit updatePreviewImage(QImage());
        return;
    }
    // A cache file that cannot be written is simply missing next time.
    if (!image.isNull() && !fileName.isEmpty())
        image.save(fileName);
    emit updatePreviewImage(image);
}

#include "loadfullpreviewimagethread.h"

#include "imagemagickutil.h"
#include "outputprediction.h"

QImage displayablePicture(const QImage &image)
{
    if (image.isNull())
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

QImage fittedPreview(const QImage &image, const QSize &area)
{
    if (image.isNull() || area.isEmpty())
        return {};
    const float rw = float(image.width()) / float(area.width());
    const float rh = float(image.height()) / float(area.height());
    return rh > rw ? image.scaledToHeight(area.height(), Qt::FastTransformation)
                   : image.scaledToWidth(area.width(), Qt::FastTransformation);
}

LoadFullPreviewImageThread::LoadFullPreviewImageThread(const ConversionSettings &settings, QObject *parent)
    : QThread(parent), settings(settings)
{
}

void LoadFullPreviewImageThread::run()
{
    yieldToTheWindow();
    QImage image;
    QImage fitted;
    if (!stop) {
        ImageMagickUtil util;
        image = displayablePicture(util.processImage(filePath, false, settings));
    }
    if (!stop)
        fitted = fittedPreview(image, displaySize);
    if (stop)
        image = fitted = QImage();
    emit previewImageReady(image, fitted);
}

#include "loadfullpreviewimagethread.h"

#include "imagemagickutil.h"

LoadFullPreviewImageThread::LoadFullPreviewImageThread(const ConversionSettings &settings, QObject *parent)
    : QThread(parent), settings(settings)
{
}

void LoadFullPreviewImageThread::run()
{
    QImage image;
    if (!stop) {
        ImageMagickUtil util;
        image = util.processImage(filePath, false, settings);
    }
    emit previewImageReady(stop ? QImage() : image);
}

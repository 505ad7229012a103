#include "imagemagickutil.h"
#include "pixeladjustments.h"

#include <QGraphicsBlurEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QPixmap>

QImage ImageMagickUtil::applyAdjustments(const QImage &image, const ConversionSettings &settings)
{
    if (image.isNull())
        return image;

    QImage result = image.convertToFormat(QImage::Format_RGB32);
    adjustPixels(result, channelAdjustments(settings));

    if (settings.setBlurRadius > 0) {
        auto *effect = new QGraphicsBlurEffect;
        effect->setBlurRadius(qreal(settings.setBlurRadius));
        result = applyEffectToImage(result, effect, 0);
    }
    return result;
}

QImage ImageMagickUtil::applyEffectToImage(const QImage &source, QGraphicsEffect *effect, int extent)
{
    if (source.isNull()) {
        delete effect;
        return QImage();
    }
    if (!effect)
        return source;

    // Every scene enters an unguarded list of the application, so scenes
    // made on several workers at once corrupt the heap: one blur at a time.
    static QMutex effectMutex;
    QMutexLocker locker(&effectMutex);
    QGraphicsScene scene;
    QGraphicsPixmapItem *item = scene.addPixmap(QPixmap::fromImage(source));
    item->setGraphicsEffect(effect);

    const QRectF area(-extent, -extent, source.width() + 2 * extent, source.height() + 2 * extent);
    QImage result(area.size().toSize(), QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    scene.render(&painter, QRectF(), area, Qt::KeepAspectRatio);
    painter.end();
    return result;
}

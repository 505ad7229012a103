#include "imagemagickutil.h"
#include "pathutil.h"
#include "pipelinerules.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>

namespace {

// The last decoded source, shared by every worker. The file's size and
// modification time are kept with it, so a file changed on disk is decoded
// again instead of serving stale pixels.
struct SourceCache
{
    QMutex mutex;
    QString lastSourcePath;
    qint64 lastSourceSize = -1;
    QDateTime lastSourceModified;
    QImage lastSourceImage;
};

SourceCache &sourceCache()
{
    static SourceCache cache;
    return cache;
}

QImage cachedSource(ImageMagickUtil &util, const QString &path)
{
    SourceCache &cache = sourceCache();
    QMutexLocker locker(&cache.mutex);
    const QFileInfo info(path);
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const bool current = !cache.lastSourcePath.isEmpty() && sameFilePath(cache.lastSourcePath, path)
            && cache.lastSourceSize == size && cache.lastSourceModified == modified;
    if (!current) {
        QImage decoded;
        if (!util.loadImage(path, decoded))
            decoded = QImage();
        cache.lastSourceImage = decoded;
        cache.lastSourcePath = path;
        cache.lastSourceSize = size;
        cache.lastSourceModified = modified;
    }
    return cache.lastSourceImage;
}

// Formats a painter cannot open, or opens only to draw badly (1-bit).
bool isPaintable(QImage::Format format)
{
    return format != QImage::Format_Mono && format != QImage::Format_MonoLSB && format != QImage::Format_Indexed8;
}

bool hasWatermark(const ConversionSettings &settings)
{
    return !settings.textContent.isEmpty() || !settings.imagePath.isEmpty() || !settings.qrCodeText.isEmpty();
}

bool hasAdjustment(const ConversionSettings &settings)
{
    return settings.adjustContrast != 0 || settings.adjustBrightness != 0 || settings.adjustGamma != 0
            || settings.adjustSepia == 1 || settings.adjustInvertColours != 0 || settings.setBlurRadius != 0;
}

} // namespace

QImage ImageMagickUtil::processImage(const QString &path, bool fastPreview, const ConversionSettings &settings,
                                     bool useSourceCache)
{
    const Qt::TransformationMode mode = scalingMode(fastPreview, settings);

    QImage image;
    if (useSourceCache)
        image = cachedSource(*this, path);
    else if (!loadImage(path, image))
        return QImage();
    if (image.isNull())
        return image;
    const std::optional<QSize> size = scaledSize(image.size(), settings);
    if (!isPaintable(image.format())) {
        // A picture no step touches keeps the decoder's format, so a palette
        // stays a palette; otherwise it is widened so that every step applies.
        if (!hasWatermark(settings) && !size && !hasAdjustment(settings) && settings.adjustGrayScale != 1)
            return image;
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }

    // Watermarks are drawn in source pixels, before scaling, on a transparent
    // layer of the source's size. Without watermarks the layer is left out
    // where drawing it would not change a byte.
    if (hasWatermark(settings) || !compositionKeepsUnderTransparency(image.format())) {
        QImage canvas(image.size(), QImage::Format_ARGB32);
        canvas.fill(0);
        drawWatermarks(canvas, settings);
        QPainter painter;
        if (painter.begin(&image)) {
            painter.drawImage(image.rect(), canvas);
            painter.end();
        }
    }

    if (size) {
        if (size->isEmpty())
            return QImage();
        image = image.scaled(*size, Qt::IgnoreAspectRatio, mode);
    }

    if (hasAdjustment(settings))
        image = applyAdjustments(image, settings);

    if (settings.adjustGrayScale == 1)
        image = image.convertToFormat(QImage::Format_Grayscale8);

    return image;
}

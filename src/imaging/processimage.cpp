#include "imagemagickutil.h"
#include "pathutil.h"
#include "pipelinerules.h"

#include <QColorSpace>
#include <QDateTime>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>

namespace {

// The last decoded source, shared by every worker. The file's size and
// modification time are kept with it, so a file changed on disk is decoded
// again instead of serving stale pixels; so is how a RAW file was developed.
struct SourceCache
{
    QMutex mutex;
    QString lastSourcePath;
    qint64 lastSourceSize = -1;
    QDateTime lastSourceModified;
    Rendering lastSourceRendering;
    QImage lastSourceImage;
    QString lastSourceReason;
    QString lastSourceNote;
};

SourceCache &sourceCache()
{
    static SourceCache cache;
    return cache;
}

QImage cachedSource(ImageMagickUtil &util, const QString &path, const Rendering &rendering, QString *reason,
                    QString *note)
{
    SourceCache &cache = sourceCache();
    QMutexLocker locker(&cache.mutex);
    const QFileInfo info(path);
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const bool current = !cache.lastSourcePath.isEmpty() && sameFilePath(cache.lastSourcePath, path)
            && cache.lastSourceSize == size && cache.lastSourceModified == modified
            && cache.lastSourceRendering.size == rendering.size && cache.lastSourceRendering.pdfDpi == rendering.pdfDpi
            && cache.lastSourceRendering.rawPictures == rendering.rawPictures
            && cache.lastSourceRendering.atLeast == rendering.atLeast
            && cache.lastSourceRendering.storedOrientation == rendering.storedOrientation
            && cache.lastSourceRendering.colours == rendering.colours
            && cache.lastSourceRendering.page == rendering.page;
    if (!current) {
        QImage decoded;
        cache.lastSourceReason.clear();
        cache.lastSourceNote.clear();
        util.loadImage(path, decoded, &cache.lastSourceReason, &cache.lastSourceNote, rendering);
        cache.lastSourceImage = decoded;
        cache.lastSourceRendering = rendering;
        cache.lastSourcePath = path;
        cache.lastSourceSize = size;
        cache.lastSourceModified = modified;
    }
    *reason = cache.lastSourceReason;
    *note = cache.lastSourceNote;
    return cache.lastSourceImage;
}

// Formats a painter cannot open, or opens only to draw badly (1-bit).
bool isPaintable(QImage::Format format)
{
    return format != QImage::Format_Mono && format != QImage::Format_MonoLSB && format != QImage::Format_Indexed8;
}

// Qt 6.4 premultiplies 16-bit RGBA with the alpha multiplied by itself as
// well, in conversions and under a painter alike, so such a picture is
// premultiplied here, pixel by pixel, before it is painted on, and turned
// back afterwards.
void premultiplyDeep(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgba64 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = line[x].premultiplied();
    }
    image.reinterpretAsFormat(QImage::Format_RGBA64_Premultiplied);
}

QImage failure(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return QImage();
}

// Why a scaled size cannot be made, judged before anything is drawn or
// allocated; empty when it fits.
QString scaledSizeRefusal(const QSize &size, int bitsPerPixel)
{
    switch (pictureSizeVerdict(size, bitsPerPixel)) {
    case PictureSize::Empty:
        return ImageMagickUtil::tr("The scaled size %1 x %2 is empty.").arg(size.width()).arg(size.height());
    case PictureSize::TooLarge:
        return ImageMagickUtil::tr("The scaled size %1 x %2 is too large: at most %3 pixels a side and %4 MB.")
                .arg(size.width())
                .arg(size.height())
                .arg(maximumPictureSide)
                .arg(allocationLimitMegabytes());
    case PictureSize::Fits:
        break;
    }
    return {};
}

} // namespace

QImage ImageMagickUtil::processImage(const QString &path, bool fastPreview, const ConversionSettings &settings,
                                     QString *error, bool useSourceCache, QString *note, int page)
{
    // A drawing or a PDF page is rendered at the size the scaling asks for,
    // never scaled up from a small rendering; the rendering is the source of
    // every later step, watermarks included.
    Rendering rendering = wholeRendering(settings, page);
    std::optional<QSize> size;
    const std::optional<QSize> ownSize = renderedSourceSize(path, settings.pdfSourceDpi, nullptr, page);
    if (ownSize && ownSize->isValid()) {
        // A drawing or a page has no pixels to enlarge: it is rendered at the
        // size asked, "do not enlarge" or not.
        ConversionSettings drawn = settings;
        drawn.scaleDoNotEnlarge = false;
        size = scaledSize(*ownSize, drawn);
        if (size) {
            if (const QString refusal = scaledSizeRefusal(*size, 32); !refusal.isEmpty())
                return failure(error, refusal);
            rendering.size = *size;
        }
    } else if (settings.scaleImage) {
        // A source too large to decode whole is decoded reduced when it is
        // scaled down anyway; its scaled size follows from its full size.
        size = reducedDecodeSize(
            uprightImageSize(path, settings.pdfSourceDpi, settings.rawPictures, page, settings.ignoreOrientation),
            settings);
        if (size) {
            if (const QString refusal = scaledSizeRefusal(*size, 32); !refusal.isEmpty())
                return failure(error, refusal);
            rendering.atLeast = *size;
        }
    }

    QImage image;
    QString reason;
    QString sourceNote;
    if (useSourceCache)
        image = cachedSource(*this, path, rendering, &reason, &sourceNote);
    else
        loadImage(path, image, &reason, &sourceNote, rendering);
    if (image.isNull())
        return failure(error, reason);
    if (note)
        *note = sourceNote;
    // Handed on, not shared: a step that changes the pixels in place then makes no copy.
    if (!ownSize && !rendering.atLeast.isValid())
        return processDecoded(std::move(image), fastPreview, settings, error);
    return finishImage(std::move(image), size, scalingMode(fastPreview, settings), settings, error);
}

Rendering ImageMagickUtil::wholeRendering(const ConversionSettings &settings, int page)
{
    Rendering rendering{QSize(), settings.pdfSourceDpi, settings.rawPictures};
    rendering.storedOrientation = settings.ignoreOrientation;
    rendering.colours = settings.colourHandling;
    rendering.page = page;
    return rendering;
}

QImage ImageMagickUtil::processDecoded(QImage decoded, bool fastPreview, const ConversionSettings &settings,
                                       QString *error)
{
    const std::optional<QSize> size = scaledSize(decoded.size(), settings);
    // The adjustments and the blur widen every picture to 32 bits a pixel.
    if (size) {
        if (const QString refusal = scaledSizeRefusal(*size, qMax(decoded.depth(), 32)); !refusal.isEmpty())
            return failure(error, refusal);
    }
    return finishImage(std::move(decoded), size, scalingMode(fastPreview, settings), settings, error);
}

QImage ImageMagickUtil::finishImage(QImage image, const std::optional<QSize> &size, Qt::TransformationMode mode,
                                    const ConversionSettings &settings, QString *error)
{
    const QColorSpace space = image.colorSpace();
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
        const QImage::Format format = image.format();
        if (format == QImage::Format_RGBA64)
            premultiplyDeep(image);
        // Over premultiplied 16-bit pixels an empty layer changes nothing:
        // the round trip through premultiplying is all it would do.
        if (hasWatermark(settings) || format != QImage::Format_RGBA64) {
            QImage canvas(image.size(), QImage::Format_ARGB32);
            canvas.fill(0);
            drawWatermarks(canvas, settings);
            QPainter painter;
            if (painter.begin(&image)) {
                painter.drawImage(image.rect(), canvas);
                painter.end();
            }
        }
        image.convertTo(format);
    }

    if (size)
        image = image.scaled(*size, Qt::IgnoreAspectRatio, mode);

    if (hasAdjustment(settings))
        image = applyAdjustments(image, settings);

    if (settings.adjustGrayScale == 1)
        image = image.convertToFormat(QImage::Format_Grayscale8);

    if (image.isNull())
        return failure(error, tr("There was not enough memory to process the image."));
    // The blur paints onto a new canvas; the picture keeps its colour space.
    if (!image.colorSpace().isValid())
        image.setColorSpace(space);
    return image;
}

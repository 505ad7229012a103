#include "imagemagickutil.h"
#include "pathutil.h"
#include "pipelinerules.h"
#include "resampling.h"

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

// The refusal of the first of the geometry's sizes that cannot be made.
QString geometryRefusal(const ScaleGeometry &geometry, int bitsPerPixel)
{
    const QString resize = scaledSizeRefusal(geometry.resize, bitsPerPixel);
    return resize.isEmpty() ? scaledSizeRefusal(geometry.canvas, bitsPerPixel) : resize;
}

// The background colour in the picture's colour space: the setting is sRGB.
QColor backgroundFor(const QImage &image, const ConversionSettings &settings)
{
    const QColorSpace space = image.colorSpace();
    if (!space.isValid() || space == QColorSpace(QColorSpace::SRgb))
        return settings.backgroundColour;
    return QColorSpace(QColorSpace::SRgb).transformationToColorSpace(space).map(settings.backgroundColour);
}

// A canvas of the picture's depth filled with the colour, the picture
// painted on it at offset: over the colour (blended where it is half
// transparent), or replacing it, its transparency kept.
QImage onCanvas(const QImage &image, const QSize &size, const QPoint &offset, const QColor &colour, bool blend)
{
    const bool deep = image.depth() > 32 || image.format() == QImage::Format_Grayscale16;
    const bool alpha = !blend && (image.hasAlphaChannel() || colour.alpha() < 255);
    QImage canvas(size, deep ? (alpha ? QImage::Format_RGBA64_Premultiplied : QImage::Format_RGBX64)
                             : (alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32));
    if (canvas.isNull())
        return canvas;
    canvas.fill(colour);
    QImage picture = image;
    if (picture.format() == QImage::Format_RGBA64)
        premultiplyDeep(picture);
    QPainter painter(&canvas);
    if (!blend)
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(offset, picture);
    painter.end();
    canvas.setColorSpace(image.colorSpace());
    return canvas;
}

// Resampled to size by the filter the settings choose; nearest pixel when
// the mode asks for speed.
QImage resampled(const QImage &image, const QSize &size, Qt::TransformationMode mode,
                 const ConversionSettings &settings)
{
    if (image.size() == size)
        return image;
    if (mode == Qt::FastTransformation || settings.resampling == ResampleSmooth)
        return image.scaled(size, Qt::IgnoreAspectRatio, mode);
    return lanczosResampled(image, size, settings.resampling == ResampleSharp);
}

// Scaling in the geometry's steps: resampled, then cropped to the canvas
// or padded to it with the background colour. *note tells of a picture that
// "Do not enlarge" kept smaller than asked.
QImage fitted(const QImage &image, const ScaleGeometry &geometry, Qt::TransformationMode mode,
              const ConversionSettings &settings, QString *note)
{
    if (geometry.notEnlarged && note) {
        const QString kept = ImageMagickUtil::tr("not enlarged: %1 x %2 kept, %3 x %4 asked")
                                     .arg(geometry.resize.width())
                                     .arg(geometry.resize.height())
                                     .arg(geometry.asked.width())
                                     .arg(geometry.asked.height());
        *note = note->isEmpty() ? kept : *note + QStringLiteral("; ") + kept;
    }
    QImage scaled = resampled(image, geometry.resize, mode, settings);
    if (scaled.isNull() || scaled.size() == geometry.canvas)
        return scaled;
    if (geometry.fit == FitPad)
        return onCanvas(scaled, geometry.canvas, centredOffset(scaled.size(), geometry.canvas),
                        backgroundFor(scaled, settings), false);
    if (geometry.fit == FitCoverSmart)
        return attentionCropped(scaled, geometry.canvas);
    return scaled.copy(QRect(-centredOffset(scaled.size(), geometry.canvas), geometry.canvas));
}

} // namespace

QImage ImageMagickUtil::processImage(const QString &path, bool fastPreview, const ConversionSettings &settings,
                                     QString *error, bool useSourceCache, QString *note, int page,
                                     QString *decodeNote)
{
    // A drawing or a PDF page is rendered at the size the scaling asks for,
    // never scaled up from a small rendering; the rendering is the source of
    // every later step, watermarks included.
    Rendering rendering = wholeRendering(settings, page);
    std::optional<ScaleGeometry> geometry;
    const std::optional<QSize> ownSize = renderedSourceSize(path, settings.pdfSourceDpi, nullptr, page);
    if (ownSize && ownSize->isValid()) {
        // A drawing or a page has no pixels to enlarge: it is rendered at the
        // size asked, "do not enlarge" or not.
        ConversionSettings drawn = settings;
        drawn.scaleDoNotEnlarge = false;
        geometry = scaleGeometry(*ownSize, drawn);
        if (geometry) {
            if (const QString refusal = geometryRefusal(*geometry, 32); !refusal.isEmpty())
                return failure(error, refusal);
            rendering.size = geometry->resize;
        }
    } else if (settings.scaleImage) {
        // A source too large to decode whole, or one that Lanczos reduces
        // a lot, is decoded reduced; its geometry follows from its full size.
        const QSize whole =
            uprightImageSize(path, settings.pdfSourceDpi, settings.rawPictures, page, settings.ignoreOrientation);
        if (const std::optional<QSize> reduced = reducedDecodeSize(whole, settings)) {
            geometry = scaleGeometry(whole, settings);
            if (const QString refusal = geometryRefusal(*geometry, 32); !refusal.isEmpty())
                return failure(error, refusal);
            rendering.atLeast = *reduced;
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
    if (decodeNote)
        *decodeNote = sourceNote;
    // Handed on, not shared: a step that changes the pixels in place then makes no copy.
    if (!ownSize && !rendering.atLeast.isValid())
        return processDecoded(std::move(image), fastPreview, settings, error, note);
    return finishImage(std::move(image), geometry, scalingMode(fastPreview, settings), settings, error, note);
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
                                       QString *error, QString *note)
{
    const std::optional<ScaleGeometry> geometry = scaleGeometry(decoded.size(), settings);
    // The adjustments and the blur widen every picture to 32 bits a pixel.
    if (geometry) {
        if (const QString refusal = geometryRefusal(*geometry, qMax(decoded.depth(), 32)); !refusal.isEmpty())
            return failure(error, refusal);
    }
    return finishImage(std::move(decoded), geometry, scalingMode(fastPreview, settings), settings, error, note);
}

QImage ImageMagickUtil::finishImage(QImage image, const std::optional<ScaleGeometry> &geometry,
                                    Qt::TransformationMode mode, const ConversionSettings &settings, QString *error,
                                    QString *note)
{
    const QColorSpace space = image.colorSpace();
    if (!isPaintable(image.format())) {
        // A picture no step touches keeps the decoder's format, so a palette
        // stays a palette; otherwise it is widened so that every step applies.
        if (!hasWatermark(settings) && !geometry && !hasAdjustment(settings) && settings.adjustGrayScale != 1
            && !(needsBackground(settings) && image.hasAlphaChannel()))
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

    if (geometry)
        image = fitted(image, *geometry, mode, settings, note);

    if (hasAdjustment(settings) && !image.isNull())
        image = applyAdjustments(image, settings);

    // Where the target holds no transparency, the preview shows what it will hold.
    if (needsBackground(settings) && image.hasAlphaChannel())
        image = onCanvas(image, image.size(), QPoint(), backgroundFor(image, settings), true);

    if (settings.adjustGrayScale == 1)
        image = image.convertToFormat(QImage::Format_Grayscale8);

    if (image.isNull())
        return failure(error, tr("There was not enough memory to process the image."));
    // The blur paints onto a new canvas; the picture keeps its colour space.
    if (!image.colorSpace().isValid())
        image.setColorSpace(space);
    return image;
}

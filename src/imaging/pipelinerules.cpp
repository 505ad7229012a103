#include "pipelinerules.h"

#include "formattable.h"

#include <QImageReader>

#include <atomic>
#include <mutex>
#include <cmath>
#include <limits>

namespace {

// Truncates toward zero; values an int cannot hold (and NaN) give 0, which the
// pipeline turns into a null image.
int truncatedSide(double value)
{
    if (!(std::abs(value) < double(std::numeric_limits<int>::max())))
        return 0;
    return int(value);
}

int percentOf(int side, int percent)
{
    const qint64 value = qint64(side) * percent / 100;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return 0;
    return int(value);
}

// The side that follows the target side T, keeping the aspect ratio:
// multiplying when enlarging, dividing when shrinking, in double precision.
int followingSide(int side, int otherSide, int target)
{
    if (otherSide <= target)
        return truncatedSide(side * (double(target) / otherSide));
    return truncatedSide(side / (double(otherSide) / target));
}

std::atomic<int> allocationLimit{256};

} // namespace

int allocationLimitMegabytes()
{
    return allocationLimit.load();
}

void applyAllocationLimit()
{
    static std::once_flag applied;
    std::call_once(applied, [] { QImageReader::setAllocationLimit(allocationLimit.load()); });
}

void setAllocationLimitMegabytes(int megabytes)
{
    allocationLimit.store(megabytes);
    QImageReader::setAllocationLimit(megabytes);
}

Qt::TransformationMode scalingMode(bool fastPreview, const ConversionSettings &settings)
{
    if (fastPreview)
        return Qt::FastTransformation;
    if (settings.outputIsPdf && !settings.pdfSmoothEdges)
        return Qt::FastTransformation;
    return Qt::SmoothTransformation;
}

namespace {

QSize sizeForType(int w, int h, const ConversionSettings &settings, bool *known)
{
    *known = true;
    switch (settings.scaleType) {
    case ScaleByPercentage:
        return QSize(percentOf(w, settings.scalePercentage), percentOf(h, settings.scalePercentage));
    case ScaleByAbsoluteSize:
        return QSize(settings.scaleAbsoluteWitdh, settings.scaleAbsoluteHeight);
    case ScaleByRelativeSize:
        if (settings.scaleRelativeTo == RelativeToWidth) {
            const int t = settings.scaleRelativeWidth;
            return QSize(t, followingSide(h, w, t));
        } else {
            const int t = settings.scaleRelativeHeight;
            return QSize(followingSide(w, h, t), t);
        }
    case ScaleByLongEdge: {
        const int t = settings.scaleLongEdge;
        return w >= h ? QSize(t, followingSide(h, w, t)) : QSize(followingSide(w, h, t), t);
    }
    default:
        *known = false;
        return QSize();
    }
}

} // namespace

namespace {

// The side times factor, rounded, never below one pixel.
int scaledSide(int side, double factor)
{
    return qMax(1, truncatedSide(std::round(side * factor)));
}

// The absolute width and height met without distortion: inside both (pad
// too) or covering both (fill and crop).
ScaleGeometry fittedGeometry(const QSize &source, const ConversionSettings &settings)
{
    ScaleGeometry geometry;
    geometry.fit = settings.scaleFit;
    const QSize box(settings.scaleAbsoluteWitdh, settings.scaleAbsoluteHeight);
    if (box.isEmpty() || source.isEmpty())
        return geometry; // empty: a null result
    const double across = double(box.width()) / source.width();
    const double down = double(box.height()) / source.height();
    const bool cover = settings.scaleFit == FitCover || settings.scaleFit == FitCoverSmart;
    double factor = cover ? qMax(across, down) : qMin(across, down);
    geometry.asked = QSize(scaledSide(source.width(), factor), scaledSide(source.height(), factor));
    if (settings.scaleDoNotEnlarge && factor > 1) {
        factor = 1;
        geometry.notEnlarged = true;
    }
    geometry.resize = QSize(scaledSide(source.width(), factor), scaledSide(source.height(), factor));
    if (cover && !geometry.notEnlarged) // rounding never leaves a gap at an edge
        geometry.resize = geometry.resize.expandedTo(box);
    geometry.canvas = settings.scaleFit == FitPad ? box
                    : cover                       ? geometry.resize.boundedTo(box)
                                                  : geometry.resize;
    return geometry;
}

} // namespace

std::optional<ScaleGeometry> scaleGeometry(const QSize &source, const ConversionSettings &settings)
{
    if (!settings.scaleImage)
        return std::nullopt;
    if (settings.scaleType == ScaleByAbsoluteSize && settings.scaleFit > FitStretch && settings.scaleFit <= FitPad)
        return fittedGeometry(source, settings);
    bool known = false;
    const QSize size = sizeForType(source.width(), source.height(), settings, &known);
    if (!known)
        return std::nullopt;
    ScaleGeometry geometry{size, size, FitStretch, false, size};
    // No side grows past the source's; an empty result stays empty.
    if (settings.scaleDoNotEnlarge && !size.isEmpty()) {
        geometry.resize = geometry.canvas = size.boundedTo(source);
        geometry.notEnlarged = geometry.resize != size;
    }
    return geometry;
}

std::optional<QSize> scaledSize(const QSize &source, const ConversionSettings &settings)
{
    const std::optional<ScaleGeometry> geometry = scaleGeometry(source, settings);
    return geometry ? std::optional<QSize>(geometry->canvas) : std::nullopt;
}

QPoint centredOffset(const QSize &picture, const QSize &canvas)
{
    return QPoint((canvas.width() - picture.width()) / 2, (canvas.height() - picture.height()) / 2);
}

bool needsBackground(const ConversionSettings &settings)
{
    return targetFormatAt(settings.targeFileType).opaque;
}

bool usesBackground(const ConversionSettings &settings)
{
    const bool padded = settings.scaleImage && settings.scaleType == ScaleByAbsoluteSize && settings.scaleFit == FitPad;
    return needsBackground(settings) || padded;
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

bool pipelineKeepsPixels(const QSize &source, const ConversionSettings &settings)
{
    const std::optional<QSize> size = scaledSize(source, settings);
    return !hasWatermark(settings) && !hasAdjustment(settings) && settings.adjustGrayScale != 1
            && (!size || *size == source);
}

PictureSize pictureSizeVerdict(const QSize &size, int bitsPerPixel)
{
    if (size.width() > maximumPictureSide || size.height() > maximumPictureSide)
        return PictureSize::TooLarge;
    if (size.isEmpty())
        return PictureSize::Empty;
    // Rows are padded to 32 bits, as the image library lays them out.
    const qint64 bytesPerLine = (qint64(size.width()) * bitsPerPixel + 31) / 32 * 4;
    if (bytesPerLine * size.height() > qint64(allocationLimitMegabytes()) * 1024 * 1024)
        return PictureSize::TooLarge;
    return PictureSize::Fits;
}

std::optional<QSize> reducedDecodeSize(const QSize &source, const ConversionSettings &settings)
{
    const std::optional<ScaleGeometry> geometry = scaleGeometry(source, settings);
    if (!geometry || geometry->resize.isEmpty() || geometry->resize.width() >= source.width()
        || geometry->resize.height() >= source.height())
        return std::nullopt;
    if (pictureSizeVerdict(source, 32) == PictureSize::TooLarge)
        return geometry->resize;
    // Lanczos is left twice the pixels it makes, as libvips' thumbnailer
    // leaves them; the decoder's own reduction (JPEG's DCT scaling, PNG's
    // averaging) does the rest far faster. Watermarks are sized against the
    // whole source, so a picture with one is decoded whole.
    if (settings.resampling == ResampleSmooth || hasWatermark(settings))
        return std::nullopt;
    const QSize twice = geometry->resize * 2;
    if (twice.width() < source.width() && twice.height() < source.height())
        return twice;
    return std::nullopt;
}

int reductionFactor(const QSize &source, const QSize &atLeast)
{
    if (atLeast.isEmpty() || source.isEmpty())
        return 1;
    // The largest f with ceil(side / f) >= wanted is floor((side - 1) / (wanted - 1)).
    const auto most = [](int side, int wanted) { return wanted <= 1 ? side : qMax(1, (side - 1) / (wanted - 1)); };
    return qMin(most(source.width(), atLeast.width()), most(source.height(), atLeast.height()));
}

QSize reducedSize(const QSize &source, int factor)
{
    // Rounded up without overflowing a side near the largest int.
    const auto side = [factor](int length) { return length > 0 ? (length - 1) / factor + 1 : 0; };
    return QSize(side(source.width()), side(source.height()));
}

Qt::Alignment watermarkAlignment(int position)
{
    switch (position) {
    case PositionTopLeft:
        return Qt::AlignLeft | Qt::AlignTop;
    case PositionTopCenter:
        return Qt::AlignHCenter | Qt::AlignTop;
    case PositionTopRight:
        return Qt::AlignRight | Qt::AlignTop;
    case PositionCenterLeft:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case PositionCenterCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case PositionCenterRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    case PositionBottomLeft:
        return Qt::AlignLeft | Qt::AlignBottom;
    case PositionBottomCenter:
        return Qt::AlignHCenter | Qt::AlignBottom;
    default:
        return Qt::AlignRight | Qt::AlignBottom;
    }
}

QRect watermarkRect(int position, const QSize &box, const QSize &canvas, int margin)
{
    if (position < PositionTopLeft || position > PositionBottomRight)
        return QRect();
    const int w = box.width();
    const int h = box.height();
    const int column = position % 3;
    const int row = position / 3;
    const int x = column == 0 ? margin : column == 1 ? (canvas.width() - w) / 2 : canvas.width() - margin - w;
    const int y = row == 0 ? margin : row == 1 ? (canvas.height() - h) / 2 : canvas.height() - margin - h;
    return QRect(x, y, w, h);
}

bool compositionKeepsUnderTransparency(QImage::Format format)
{
    // Drawing a fully transparent layer stores back exactly what it fetched
    // for these formats; those that keep unpremultiplied alpha lose precision
    // in the round trip, so for them the layer is always drawn.
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888_Premultiplied:
    case QImage::Format_RGB16:
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64_Premultiplied:
        return true;
    default:
        return false;
    }
}

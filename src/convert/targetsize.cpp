#include "targetsize.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMutexLocker>

#include <cmath>

#include "formattable.h"

namespace {

// ln(bytes) over quality climbs about this much a step for photos in every
// lossy encoder here, until a run has measured its own.
constexpr double defaultSlope = 0.03;
constexpr double minimumSlope = 0.004;
constexpr double maximumSlope = 0.5;
// A search that has not landed by then takes the best it has.
constexpr int maximumEncodes = 10;
constexpr int maximumFinerTries = 1;

QString kilobytes(qint64 bytes)
{
    // Rounded up, so that a file over the limit never reads as the limit.
    return QCoreApplication::translate("TargetSize", "%1 KB").arg((bytes + 999) / 1000);
}

struct Tried
{
    int quality;
    double logBytes;
};

} // namespace

QString sizeLimitRefusal(const ConversionSettings &settings, const ImageFormat &target)
{
    if (!settings.limitFileSize)
        return {};
    const TargetQuality quality = targetQualityFor(target);
    if (quality.quality && !(quality.lossless && settings.*quality.lossless))
        return {};
    QStringList lossy;
    for (const ImageFormat &format : targetFormats()) {
        if (!format.qualityKey.isEmpty())
            lossy << format.label;
    }
    const QString needs = QCoreApplication::translate("TargetSize", "A size limit needs a lossy target (%1)")
                              .arg(lossy.join(QStringLiteral(", ")));
    return quality.quality ? QCoreApplication::translate("TargetSize", "%1; %2 is set to lossless").arg(needs, target.label)
                           : QCoreApplication::translate("TargetSize", "%1; %2 is not one").arg(needs, target.label);
}

std::optional<SizeGoal> sizeGoalFor(const ConversionSettings &settings, const QString &extension)
{
    const ImageFormat *format = formatForExtension(extension.mid(1));
    if (!settings.limitFileSize || !format || !format->canWrite || !sizeLimitRefusal(settings, *format).isEmpty())
        return std::nullopt;
    const TargetQuality quality = targetQualityFor(*format);
    return SizeGoal{qint64(settings.fileSizeLimitKb) * 1000,
                    qBound(quality.minimum, settings.fileSizeMinQuality, quality.maximum), quality.maximum,
                    settings.shrinkToFileSize, format->qualityLevelsPerPoint};
}

std::optional<TargetSizeMemo::Point> TargetSizeMemo::last() const
{
    QMutexLocker lock(&mutex);
    return point;
}

void TargetSizeMemo::remember(const Point &answer)
{
    QMutexLocker lock(&mutex);
    point = answer;
}

QualitySearch searchQualityForSize(const QualityEncoder &encode, const SizeGoal &goal, int startQuality,
                                   qint64 pixels, TargetSizeMemo *memo)
{
    const int levels = goal.levelsPerPoint;
    const int floor = goal.floorQuality * levels;
    const int ceiling = qMax(floor, goal.ceilingQuality * levels);
    const double minimumLevelSlope = minimumSlope / levels;
    const double maximumLevelSlope = maximumSlope / levels;
    // Aimed at the middle of the window, so that either side's error lands in it.
    const double aim = std::log(double(goal.maxBytes + goal.lowestBytes()) / 2.0);
    const double logPixels = std::log(double(qMax<qint64>(1, pixels)));
    double slope = defaultSlope / levels;
    int quality = qBound(floor, startQuality * levels, ceiling);
    if (const std::optional<TargetSizeMemo::Point> known = memo ? memo->last() : std::nullopt) {
        slope = known->slope;
        quality = qBound(floor, int(std::lround(known->quality + (aim - logPixels - known->logBytesPerPixel) / slope)),
                         ceiling);
    }

    QualitySearch result;
    std::optional<Tried> within; // the highest quality within the limit
    std::optional<Tried> over;   // the lowest quality over it
    std::optional<Tried> previous;
    int finerTries = 0;
    for (;;) {
        QByteArray bytes;
        ++result.encodes;
        if (!encode(quality, &bytes)) {
            result.failed = true;
            result.bytes.clear();
            return result;
        }
        const qint64 size = bytes.size();
        const Tried tried{quality, std::log(double(qMax<qint64>(1, size)))};
        if (size <= goal.maxBytes) {
            if (!within || quality > within->quality) {
                within = tried;
                result.bytes = bytes;
                result.quality = quality;
                result.fits = true;
            }
            if (size >= goal.lowestBytes() || quality == ceiling)
                break;
        } else {
            if (!over || quality < over->quality)
                over = tried;
            if (quality == floor) {
                if (!within) {
                    result.bytes = bytes;
                    result.quality = floor;
                }
                break;
            }
        }

        const int low = within ? within->quality + 1 : floor;
        const int high = over ? over->quality - 1 : ceiling;
        // Within a point the size may still jump past the window (noise the
        // encoder keeps or drops): one try there, then the best within.
        finerTries += within && high - low < levels ? 1 : 0;
        if (within && (low > high || result.encodes >= maximumEncodes || finerTries > maximumFinerTries))
            break;
        if (!within && result.encodes >= maximumEncodes) {
            quality = floor; // the last resort: the floor fits, or nothing does
            continue;
        }
        // The secant through the bracket, else through the last two points.
        const std::optional<Tried> a = within && over ? within : previous;
        const std::optional<Tried> b = within && over ? over : std::optional<Tried>(tried);
        if (a && b && a->quality != b->quality) {
            const double measured = (b->logBytes - a->logBytes) / (b->quality - a->quality);
            if (measured > 0)
                slope = qBound(minimumLevelSlope, measured, maximumLevelSlope);
        }
        previous = tried;
        quality = qBound(low, int(std::lround(quality + (aim - tried.logBytes) / slope)), high);
    }

    if (memo && result.fits)
        memo->remember({result.quality, std::log(double(qMax<qsizetype>(1, result.bytes.size()))) - logPixels, slope});
    return result;
}

bool writeImageFileWithinSize(const QImage &image, const QString &targetPath, const WriteOptions &options,
                              const SizeGoal &goal, const std::function<PhotoMetadata(QSize)> &metadataFor,
                              TargetSizeMemo *memo, QString *error, QString *note, int *encodes)
{
    if (image.isNull()) {
        *error = QStringLiteral("Image is empty");
        return false;
    }
    const QString suffix = QFileInfo(targetPath).suffix();
    const int levels = goal.levelsPerPoint;
    QString reason;
    int count = 0;
    const auto encoderFor = [&](const QImage &picture, const PhotoMetadata &metadata) {
        return [&, picture, metadata](int quality, QByteArray *bytes) {
            ++count;
            WriteOptions at = options;
            at.quality = quality / levels;
            at.qualityFraction = double(quality % levels) / levels;
            return encodeImage(picture, suffix, at, metadata, bytes, &reason);
        };
    };
    const auto pixelsOf = [](const QImage &picture) { return qint64(picture.width()) * picture.height(); };

    QualitySearch found = searchQualityForSize(encoderFor(image, metadataFor(image.size())), goal, options.quality,
                                               pixelsOf(image), memo);
    int percent = 100;
    if (!found.failed && !found.fits && goal.shrink) {
        // Bytes go about with the pixel count: the first step tried is one
        // above the one that should just fit. Each step that does not fit
        // even at the floor costs one encode.
        const double side = std::sqrt(double(goal.maxBytes) / double(qMax<qsizetype>(1, found.bytes.size())));
        for (int step = qBound(1, int(side * 10) + 1, 9); step >= 1 && !found.failed; --step) {
            const QSize size(qMax(1, image.width() * step / 10), qMax(1, image.height() * step / 10));
            const QImage scaled = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const auto encode = encoderFor(scaled, metadataFor(size));
            QByteArray atFloor;
            if (!encode(goal.floorQuality * levels, &atFloor)) {
                found.failed = true;
            } else if (atFloor.size() <= goal.maxBytes) {
                found = searchQualityForSize(encode, goal, goal.floorQuality, pixelsOf(scaled), memo);
                percent = step * 10;
                break;
            }
        }
    }
    if (encodes)
        *encodes = count;
    if (found.failed) {
        *error = reason;
        return false;
    }
    if (note && percent < 100)
        *note = QCoreApplication::translate("TargetSize", "scaled to %1 % to fit %2")
                    .arg(percent)
                    .arg(kilobytes(goal.maxBytes));
    else if (note && !found.fits)
        *note = QCoreApplication::translate("TargetSize", "over the size: %1 at quality %2, more than %3")
                    .arg(kilobytes(found.bytes.size()))
                    .arg(found.quality / levels)
                    .arg(kilobytes(goal.maxBytes));
    return writeEncodedFile(found.bytes, targetPath, error);
}

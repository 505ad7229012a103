#include "targetsize.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "formattable.h"

namespace {

// ln(bytes) over quality climbs about this much a step for photos in every
// lossy encoder here, until a run has measured its own.
constexpr double defaultSlope = 0.03;
constexpr double minimumSlope = 0.004;
constexpr double maximumSlope = 0.5;
// A search that has not landed by then takes the best it has.
constexpr int maximumEncodes = 10;
constexpr int maximumFinerTries = 2;
// A secant from the slope a sample measured can reach far past the answer:
// following a sample, no step goes further than this many points.
constexpr int maximumStepPoints = 10;
// From a megapixel on, a picture is first searched as a sample of an eighth
// of it: cells of a sampleGrid x sampleGrid grid, their sides whole AV1
// superblocks, or bands of rows of JPEG blocks.
constexpr qint64 sampledFromPixels = 1000000;
constexpr int sampleGrid = 8;
constexpr int sampleAlignment = 64;
constexpr int sampleBandRows = 16;
// The sample's size per pixel can be a fifth off the whole's: only a sample
// that misses even at the floor by more than this is not tried whole.
constexpr double sampleMissMargin = 1.5;

QString kilobytes(qint64 bytes)
{
    // Rounded up, so that a file over the limit never reads as the limit.
    return QCoreApplication::translate("TargetSize", "%1 KB").arg((bytes + 999) / 1000);
}

// Encodes the picture at one quality (in the goal's levels) into *bytes;
// false when the encoder fails.
using QualityEncoder = std::function<bool(int quality, QByteArray *bytes)>;

struct Tried
{
    int quality;
    double logBytes;
};

// Where a search starts, in the goal's levels, and how much ln(bytes) is
// expected to climb a level there.
struct SearchStart
{
    int quality;
    double slope;
};

struct QualitySearch
{
    // The highest quality found within the limit, or, when none is, the floor's.
    QByteArray bytes;
    int quality = -1;
    bool fits = false;
    bool failed = false; // the encoder failed: bytes is empty
    double slope = 0;    // the last one measured, or the start's
    // Size over the limit at the floor, when known without encoding the
    // whole picture (from its sample); bytes is then empty.
    double overBy = 0;
    QList<Tried> curve; // every point tried, by quality
};

int floorLevel(const SizeGoal &goal)
{
    return goal.floorQuality * goal.levelsPerPoint;
}

int ceilingLevel(const SizeGoal &goal)
{
    return qMax(floorLevel(goal), goal.ceilingQuality * goal.levelsPerPoint);
}

// Aimed at the middle of the window, so that either side's error lands in it.
double aimOf(const SizeGoal &goal)
{
    return std::log(double(goal.maxBytes + goal.lowestBytes()) / 2.0);
}

double logSize(qint64 bytes)
{
    return std::log(double(qMax<qint64>(1, bytes)));
}

// The run's last answer scaled to this picture's pixel count, else the
// options' quality (in points).
SearchStart startFromMemo(const SizeGoal &goal, int startQuality, qint64 pixels, const TargetSizeMemo *memo)
{
    const std::optional<TargetSizeMemo::Point> known = memo ? memo->last() : std::nullopt;
    if (!known)
        return {qBound(floorLevel(goal), startQuality * goal.levelsPerPoint, ceilingLevel(goal)),
                defaultSlope / goal.levelsPerPoint};
    const double guess = known->quality + (aimOf(goal) - logSize(pixels) - known->logBytesPerPixel) / known->slope;
    return {qBound(floorLevel(goal), int(std::lround(guess)), ceilingLevel(goal)), known->slope};
}

// ln(size) on a measured curve at a quality within its span: straight
// between its points.
double logSizeOnCurve(const QList<Tried> &curve, double quality)
{
    qsizetype piece = 1;
    while (piece + 1 < curve.size() && curve.at(piece).quality < quality)
        ++piece;
    const Tried &a = curve.at(piece - 1);
    const Tried &b = curve.at(piece);
    return a.logBytes + (b.logBytes - a.logBytes) * (quality - a.quality) / (b.quality - a.quality);
}

// The highest quality at which a measured curve reaches ln(size); nullopt
// beyond its ends, where it says nothing.
std::optional<double> qualityOnCurve(const QList<Tried> &curve, double logBytes)
{
    for (qsizetype piece = curve.size() - 1; piece > 0; --piece) {
        const Tried &a = curve.at(piece - 1);
        const Tried &b = curve.at(piece);
        if (qMin(a.logBytes, b.logBytes) <= logBytes && logBytes <= qMax(a.logBytes, b.logBytes)
            && a.logBytes != b.logBytes)
            return a.quality + (logBytes - a.logBytes) * (b.quality - a.quality) / (b.logBytes - a.logBytes);
    }
    return std::nullopt;
}

// The quality in [floor, ceiling] whose encoding lands within the goal's
// window: from the start, then by the secant of ln(size) over quality
// through the last two points, bracketed by the closest ones within and over
// the limit.
QualitySearch searchQuality(const QualityEncoder &encode, const SizeGoal &goal, const SearchStart &start,
                            const QList<Tried> &reference = {})
{
    const int levels = goal.levelsPerPoint;
    const int floor = floorLevel(goal);
    const int ceiling = ceilingLevel(goal);
    const double aim = aimOf(goal);
    QualitySearch result;
    result.slope = start.slope;
    int quality = start.quality;
    int encodes = 0;
    std::optional<Tried> within; // the highest quality within the limit
    std::optional<Tried> over;   // the lowest quality over it
    std::optional<Tried> previous;
    int finerTries = 0;
    for (;;) {
        QByteArray bytes;
        ++encodes;
        if (!encode(quality, &bytes)) {
            result.failed = true;
            result.bytes.clear();
            return result;
        }
        const qint64 size = bytes.size();
        const Tried tried{quality, logSize(size)};
        result.curve.insert(std::upper_bound(result.curve.begin(), result.curve.end(), tried,
                                             [](const Tried &a, const Tried &b) { return a.quality < b.quality; }),
                            tried);
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
        // encoder keeps or drops): two tries there, then the best within.
        finerTries += within && high - low < levels ? 1 : 0;
        if (within && (low > high || encodes >= maximumEncodes || finerTries > maximumFinerTries))
            break;
        if (!within && encodes >= maximumEncodes) {
            quality = floor; // the last resort: the floor fits, or nothing does
            continue;
        }
        // The secant through the last two points, kept within the bracket: the
        // size climbs ever faster towards the top qualities, so a bracket's far
        // end would pull every step short.
        // Closer than a point apart, the sizes differ by the encoder's noise.
        if (previous && std::abs(previous->quality - tried.quality) >= levels) {
            const double measured = (tried.logBytes - previous->logBytes) / (tried.quality - previous->quality);
            if (measured > 0)
                result.slope = qBound(minimumSlope / levels, measured, maximumSlope / levels);
        }
        previous = tried;
        // Along the reference curve (the sample's), shifted onto this point:
        // its shape holds where a secant cannot, where the size climbs in steps.
        const double reach = reference.isEmpty() ? double(ceiling - floor) : maximumStepPoints * levels;
        double next = quality + qBound(-reach, (aim - tried.logBytes) / result.slope, reach);
        if (reference.size() >= 2 && reference.first().quality <= quality && quality <= reference.last().quality) {
            const double shift = tried.logBytes - logSizeOnCurve(reference, quality);
            next = qualityOnCurve(reference, aim - shift).value_or(next);
        }
        quality = qBound(low, int(std::lround(next)), high);
        // A step to an end of the bracket learns little where the size climbs
        // in steps (whole quantiser entries): halve the bracket instead.
        if (within && over && high - low > 1 && (quality == low || quality == high))
            quality = (low + high) / 2;
    }
    return result;
}

// A picture of the given size in the same pixel format, palette and colours.
QImage blankLike(const QImage &image, QSize size)
{
    QImage blank(size, image.format());
    blank.setColorTable(image.colorTable());
    blank.setColorSpace(image.colorSpace());
    return blank;
}

// An eighth of the picture: a cell from each row of an 8 x 8 grid, each in
// another column, joined as two rows of four. Null when the picture is too
// small for it.
QImage sampleCells(const QImage &image)
{
    const int cellWidth = image.width() / sampleGrid / sampleAlignment * sampleAlignment;
    const int cellHeight = image.height() / sampleGrid / sampleAlignment * sampleAlignment;
    if (qint64(image.width()) * image.height() < sampledFromPixels || !cellWidth || !cellHeight)
        return {};
    constexpr int across = sampleGrid / 2;
    QImage sample = blankLike(image, QSize(across * cellWidth, 2 * cellHeight));
    if (sample.isNull())
        return {};
    const int depth = image.depth();
    for (int cell = 0; cell < sampleGrid; ++cell) {
        // Steps of three through the columns visit each of them once.
        const int left = (cell * 3 % sampleGrid) * (image.width() / sampleGrid);
        const int top = cell * (image.height() / sampleGrid);
        const int toLeft = cell % across * cellWidth;
        const int toTop = cell / across * cellHeight;
        for (int y = 0; y < cellHeight; ++y)
            std::memcpy(sample.scanLine(toTop + y) + qsizetype(toLeft) * depth / 8,
                        image.constScanLine(top + y) + qsizetype(left) * depth / 8, size_t(cellWidth) * depth / 8);
    }
    return sample;
}

// An eighth of the picture: one band of rows in eight, each a row of JPEG
// blocks high. Null when the picture is too small for it.
QImage sampleBands(const QImage &image)
{
    const int bands = image.height() / sampleBandRows / sampleGrid;
    if (qint64(image.width()) * image.height() < sampledFromPixels || bands < 2)
        return {};
    QImage sample = blankLike(image, QSize(image.width(), bands * sampleBandRows));
    if (sample.isNull())
        return {};
    for (int y = 0; y < sample.height(); ++y) {
        const int sourceRow = (y / sampleBandRows * sampleGrid + sampleGrid / 2) * sampleBandRows + y % sampleBandRows;
        std::memcpy(sample.scanLine(y), image.constScanLine(sourceRow), size_t(sample.bytesPerLine()));
    }
    return sample;
}

qint64 metadataBytes(const PhotoMetadata &metadata)
{
    return metadata.exif.size() + metadata.xmp.size() + metadata.icc.size();
}

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

std::optional<SizeGoal> sizeGoalFor(const ConversionSettings &settings, const ImageFormat &format)
{
    if (!settings.limitFileSize || !format.canWrite || !sizeLimitRefusal(settings, format).isEmpty())
        return std::nullopt;
    const TargetQuality quality = targetQualityFor(format);
    return SizeGoal{qint64(settings.fileSizeLimitKb) * 1000,
                    qBound(quality.minimum, settings.fileSizeMinQuality, quality.maximum), quality.maximum,
                    settings.shrinkToFileSize, format.qualityLevelsPerPoint, format.sizeSampleInBands};
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

namespace {

qint64 pixelsOf(const QImage &picture)
{
    return qint64(picture.width()) * picture.height();
}

// The search of one picture for the size limit: its encoder, the run's memo
// and what the encodes cost, across the picture's scale steps.
class SizeSearch
{
public:
    SizeSearch(const ImageFormat &format, const WriteOptions &options, const SizeGoal &goal,
               const std::function<PhotoMetadata(QSize)> &metadataFor, TargetSizeMemo *memo)
        : format(format), options(options), goal(goal), metadataFor(metadataFor), memo(memo)
    {
    }

    // The highest quality at which the picture fits, its sample searched first.
    QualitySearch search(const QImage &picture)
    {
        const PhotoMetadata metadata = metadataFor(picture.size());
        SearchStart start = startFromMemo(goal, options.quality, pixelsOf(picture), memo);
        QList<Tried> reference;
        if (std::optional<QualitySearch> missed = searchSample(picture, metadata, &start, &reference))
            return *missed;
        const QualitySearch found = searchQuality(encoderFor(picture, metadata, &spent.encodes), goal, start, reference);
        if (memo && found.fits)
            memo->remember({found.quality, logSize(found.bytes.size()) - std::log(double(pixelsOf(picture))),
                            found.slope});
        return found;
    }

    // The largest step of 10 % at which the picture fits, for one that does
    // not at the floor; *percent tells the step. Bytes go about with the
    // pixel count: the first step tried is one above the one that should
    // just fit. When none fits, the unscaled search stands.
    QualitySearch shrink(const QImage &image, const QualitySearch &unscaled, int *percent)
    {
        const double overBy =
                unscaled.overBy > 0 ? unscaled.overBy : double(unscaled.bytes.size()) / double(goal.maxBytes);
        for (int step = qBound(1, int(std::sqrt(1.0 / overBy) * 10) + 1, 9); step >= 1; --step) {
            const QSize size(qMax(1, image.width() * step / 10), qMax(1, image.height() * step / 10));
            const QualitySearch scaled = search(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            if (scaled.failed || scaled.fits) {
                *percent = step * 10;
                return scaled;
            }
        }
        return unscaled;
    }

    // The whole picture at the floor, when only its sample was tried.
    bool encodeAtFloor(const QImage &image, QByteArray *bytes)
    {
        return encoderFor(image, metadataFor(image.size()), &spent.encodes)(floorLevel(goal), bytes);
    }

    QString reason; // the encoder's, when it fails
    SizeSearchCost spent;

private:
    QualityEncoder encoderFor(const QImage &picture, const PhotoMetadata &metadata, int *count)
    {
        return [this, picture, metadata, count](int quality, QByteArray *bytes) {
            ++*count;
            WriteOptions at = options;
            at.quality = quality / goal.levelsPerPoint;
            at.qualityFraction = double(quality % goal.levelsPerPoint) / goal.levelsPerPoint;
            return encodeImage(picture, format, at, metadata, bytes, &reason);
        };
    }

    // A large picture's sample searched first: its curve then guides the
    // search of the whole (*start and *reference). A sample that misses the
    // limit by far even at the floor gives the search's answer (its overBy),
    // when the picture may be scaled; so does an encoder's failure.
    std::optional<QualitySearch> searchSample(const QImage &picture, const PhotoMetadata &metadata,
                                              SearchStart *start, QList<Tried> *reference)
    {
        const QImage sample = goal.sampleInBands ? sampleBands(picture) : sampleCells(picture);
        if (sample.isNull())
            return std::nullopt;
        // The metadata is stored once, whatever the picture's size.
        SizeGoal sampleGoal = goal;
        sampleGoal.maxBytes = qMax<qint64>(
                1, qint64(double(goal.maxBytes - metadataBytes(metadata)) * pixelsOf(sample) / pixelsOf(picture)));
        const QualitySearch probe = searchQuality(encoderFor(sample, {}, &spent.sampleEncodes), sampleGoal,
                                                  startFromMemo(sampleGoal, options.quality, pixelsOf(sample), memo));
        if (probe.failed)
            return probe;
        const double overBy = double(probe.bytes.size()) / double(sampleGoal.maxBytes);
        if (!probe.fits && goal.shrink && overBy > sampleMissMargin) {
            QualitySearch missed;
            missed.quality = floorLevel(goal);
            missed.overBy = overBy;
            return missed;
        }
        const double guess = qualityOnCurve(probe.curve, aimOf(sampleGoal)).value_or(probe.quality);
        // The slope over the whole span the sample tried: a local one may be noise.
        const Tried &lowest = probe.curve.first();
        const Tried &highest = probe.curve.last();
        const double span = highest.logBytes - lowest.logBytes;
        const double slope = span > 0 ? span / (highest.quality - lowest.quality) : probe.slope;
        *start = {qBound(floorLevel(goal), int(std::lround(guess)), ceilingLevel(goal)),
                  qBound(minimumSlope / goal.levelsPerPoint, slope, maximumSlope / goal.levelsPerPoint)};
        *reference = probe.curve;
        return std::nullopt;
    }

    const ImageFormat &format;
    const WriteOptions &options;
    const SizeGoal &goal;
    const std::function<PhotoMetadata(QSize)> &metadataFor;
    TargetSizeMemo *memo;
};

// What the report says of a picture scaled to fit or left over the limit;
// empty for one that fits as it is.
QString sizeNote(const SizeGoal &goal, const QualitySearch &found, int percent)
{
    if (percent < 100)
        return QCoreApplication::translate("TargetSize", "scaled to %1 % to fit %2")
                .arg(percent)
                .arg(kilobytes(goal.maxBytes));
    if (!found.fits)
        return QCoreApplication::translate("TargetSize", "over the size: %1 at quality %2, more than %3")
                .arg(kilobytes(found.bytes.size()))
                .arg(found.quality / goal.levelsPerPoint)
                .arg(kilobytes(goal.maxBytes));
    return {};
}

} // namespace

bool writeImageFileWithinSize(const QImage &image, const QString &targetPath, const ImageFormat &format,
                              const WriteOptions &options, const SizeGoal &goal,
                              const std::function<PhotoMetadata(QSize)> &metadataFor, TargetSizeMemo *memo,
                              QString *error, QString *note, SizeSearchCost *cost)
{
    if (image.isNull()) {
        *error = QStringLiteral("Image is empty");
        return false;
    }
    SizeSearch search(format, options, goal, metadataFor, memo);
    QualitySearch found = search.search(image);
    int percent = 100;
    if (!found.failed && !found.fits && goal.shrink)
        found = search.shrink(image, found, &percent);
    // Nothing fits, and only the sample was tried: the whole at the floor.
    if (!found.failed && found.bytes.isEmpty())
        found.failed = !search.encodeAtFloor(image, &found.bytes);
    search.spent.quality = found.quality;
    if (cost)
        *cost = search.spent;
    if (found.failed) {
        *error = search.reason;
        return false;
    }
    if (const QString said = sizeNote(goal, found, percent); note && !said.isEmpty())
        *note = said;
    return writeEncodedFile(found.bytes, targetPath, error);
}

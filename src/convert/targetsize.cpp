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

QStringList sizeLimitCountLines(int scaledToFit, int overSizeLimit)
{
    QStringList lines;
    if (scaledToFit > 0)
        lines << QCoreApplication::translate("TargetSize", "Files scaled down to fit the size limit: %1").arg(scaledToFit);
    if (overSizeLimit > 0)
        lines << QCoreApplication::translate("TargetSize", "Files left over the size limit: %1").arg(overSizeLimit);
    return lines;
}

std::optional<SizeGoal> sizeGoalFor(const ConversionSettings &settings, const ImageFormat &format)
{
    if (!settings.limitFileSize || !format.canWrite || !sizeLimitRefusal(settings, format).isEmpty())
        return std::nullopt;
    const TargetQuality quality = targetQualityFor(format);
    return SizeGoal{qint64(settings.fileSizeLimitKb) * 1000,
                    qBound(quality.minimum, settings.fileSizeMinQuality, quality.maximum),
                    quality.maximum,
                    settings.shrinkToFileSize,
                    settings.metadata == MetadataProfileOnly,
                    format.qualityLevelsPerPoint,
                    format.sizeSampleInBands};
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

// The scales, in per cent, a picture that does not fit is tried at: steps
// of 10 down to 10, then of 1 down to the smallest.
QList<int> scaleSteps()
{
    QList<int> steps;
    for (int percent = 90; percent >= 1; percent -= percent > 10 ? 10 : 1)
        steps << percent;
    return steps;
}

// A search's answer at one scale step.
struct Fitted
{
    QualitySearch found;
    int percent = 100;
};

// The search of one picture for the size limit: its encoder, the run's memo
// and what the encodes cost, across the picture's scale steps.
class SizeSearch
{
public:
    SizeSearch(const QImage &image, const ImageFormat &format, const WriteOptions &options, const SizeGoal &goal,
               const std::function<PhotoMetadata(QSize)> &metadataFor, TargetSizeMemo *memo)
        : image(image), format(format), options(options), goal(goal), metadataFor(metadataFor), memo(memo)
    {
    }

    // The picture at the highest quality that fits, or at the largest scale
    // step that fits when even the floor does not and shrinking is on.
    Fitted fit()
    {
        Fitted fitted{search(image), 100};
        if (!fitted.found.failed && !fitted.found.fits && goal.shrink)
            fitted = shrink(fitted.found);
        // Nothing fits, and only the sample was tried: the whole at the floor.
        if (!fitted.found.failed && fitted.found.bytes.isEmpty())
            fitted.found.failed = !encoderFor(scaledTo(fitted.percent), &spent.encodes)(floorLevel(goal),
                                                                                         &fitted.found.bytes);
        return fitted;
    }

    void leaveOutMetadata(bool leave) { bare = leave; }

    QString reason; // the encoder's, when it fails
    SizeSearchCost spent;

private:
    QImage scaledTo(int percent) const
    {
        if (percent == 100)
            return image;
        const QSize size(qMax(1, image.width() * percent / 100), qMax(1, image.height() * percent / 100));
        return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    PhotoMetadata metadataAt(QSize size) const { return bare ? PhotoMetadata() : metadataFor(size); }

    // The highest quality at which the picture fits, its sample searched first.
    QualitySearch search(const QImage &picture)
    {
        SearchStart start = startFromMemo(goal, options.quality, pixelsOf(picture), memo);
        QList<Tried> reference;
        if (std::optional<QualitySearch> missed = searchSample(picture, &start, &reference))
            return *missed;
        const QualitySearch found = searchQuality(encoderFor(picture, &spent.encodes), goal, start, reference);
        if (memo && found.fits)
            memo->remember({found.quality, logSize(found.bytes.size()) - std::log(double(pixelsOf(picture))),
                            found.slope});
        return found;
    }

    // The largest scale step at which the picture fits. Bytes go about with
    // the pixel count: the first step tried is one above the one that should
    // just fit; from a step that fits the steps above are tried while they
    // fit too, from one that does not those below until one does. When none
    // does, the smallest step's search stands.
    Fitted shrink(const QualitySearch &unscaled)
    {
        const double overBy =
                unscaled.overBy > 0 ? unscaled.overBy : double(unscaled.bytes.size()) / double(goal.maxBytes);
        const double estimate = 100.0 * std::sqrt(1.0 / overBy);
        const QList<int> steps = scaleSteps();
        qsizetype step = 0;
        while (step + 1 < steps.size() && steps.at(step) > estimate)
            ++step;
        step = qMax<qsizetype>(0, step - 1);
        Fitted fitted{search(scaledTo(steps.at(step))), steps.at(step)};
        const bool climb = fitted.found.fits;
        while (!fitted.found.failed && !fitted.found.fits && step + 1 < steps.size()) {
            ++step;
            fitted = {search(scaledTo(steps.at(step))), steps.at(step)};
        }
        while (climb && !fitted.found.failed && step > 0) {
            const QualitySearch larger = search(scaledTo(steps.at(step - 1)));
            if (larger.failed || !larger.fits) {
                if (larger.failed)
                    fitted.found = larger;
                break;
            }
            fitted = {larger, steps.at(--step)};
        }
        return fitted;
    }

    QualityEncoder encoderFor(const QImage &picture, int *count)
    {
        return encoderFor(picture, metadataAt(picture.size()), count);
    }

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
    std::optional<QualitySearch> searchSample(const QImage &picture, SearchStart *start, QList<Tried> *reference)
    {
        const QImage sample = goal.sampleInBands ? sampleBands(picture) : sampleCells(picture);
        if (sample.isNull())
            return std::nullopt;
        // The metadata is stored once, whatever the picture's size.
        SizeGoal sampleGoal = goal;
        sampleGoal.maxBytes = qMax<qint64>(1, qint64(double(goal.maxBytes - metadataBytes(metadataAt(picture.size())))
                                                      * pixelsOf(sample) / pixelsOf(picture)));
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

    const QImage &image;
    const ImageFormat &format;
    const WriteOptions &options;
    const SizeGoal &goal;
    const std::function<PhotoMetadata(QSize)> &metadataFor;
    TargetSizeMemo *memo;
    bool bare = false; // the metadata left out
};

// The picture fitted, its metadata left out when that is what cannot fit:
// metadata as large as the limit at once, otherwise when nothing fits with
// it but something does without. *leftOut tells; *refusal is set instead
// when the goal keeps the metadata.
Fitted fitWithMetadata(SizeSearch &search, const SizeGoal &goal, qint64 metadataSize, bool *leftOut,
                       QString *refusal)
{
    const QString tooLarge = QCoreApplication::translate("TargetSize", "The metadata to keep (%1) does not fit %2")
                                     .arg(kilobytes(metadataSize), kilobytes(goal.maxBytes));
    *leftOut = metadataSize >= goal.maxBytes;
    if (*leftOut && goal.keepMetadata) {
        *refusal = tooLarge;
        return {};
    }
    search.leaveOutMetadata(*leftOut);
    Fitted fitted = search.fit();
    if (fitted.found.failed || fitted.found.fits || metadataSize == 0 || *leftOut)
        return fitted;
    search.leaveOutMetadata(true);
    Fitted bare = search.fit();
    if (bare.found.failed || !bare.found.fits)
        return bare.found.failed ? bare : fitted;
    if (goal.keepMetadata) {
        *refusal = tooLarge;
        return {};
    }
    *leftOut = true;
    return bare;
}

// What the report says of a picture scaled to fit, left over the limit or
// without its metadata; empty for one that fits as it is.
QString sizeNote(const SizeGoal &goal, const Fitted &fitted, bool metadataLeftOut)
{
    QStringList said;
    if (metadataLeftOut)
        said << QCoreApplication::translate("TargetSize", "metadata left out to fit %1").arg(kilobytes(goal.maxBytes));
    if (fitted.percent < 100)
        said << QCoreApplication::translate("TargetSize", "scaled to %1 % to fit %2")
                        .arg(fitted.percent)
                        .arg(kilobytes(goal.maxBytes));
    else if (!fitted.found.fits)
        said << QCoreApplication::translate("TargetSize", "over the size: %1 at quality %2, more than %3")
                        .arg(kilobytes(fitted.found.bytes.size()))
                        .arg(fitted.found.quality / goal.levelsPerPoint)
                        .arg(kilobytes(goal.maxBytes));
    return said.join(QStringLiteral("; "));
}

} // namespace

bool writeImageFileWithinSize(const QImage &image, const QString &targetPath, const ImageFormat &format,
                              const WriteOptions &options, const SizeGoal &goal,
                              const std::function<PhotoMetadata(QSize)> &metadataFor, TargetSizeMemo *memo,
                              QString *error, QString *note, SizeFit *fit, SizeSearchCost *cost)
{
    if (image.isNull()) {
        *error = QCoreApplication::translate("TargetSize", "Image is empty");
        return false;
    }
    SizeSearch search(image, format, options, goal, metadataFor, memo);
    bool leftOut = false;
    QString refusal;
    const Fitted fitted = fitWithMetadata(search, goal, metadataBytes(metadataFor(image.size())), &leftOut, &refusal);
    if (cost)
        *cost = search.spent;
    if (!refusal.isEmpty()) {
        *error = refusal;
        return false;
    }
    if (fitted.found.failed) {
        *error = search.reason;
        return false;
    }
    // Shrinking stops at the smallest step: a picture that does not fit even there fails.
    if (!fitted.found.fits && goal.shrink) {
        *error = QCoreApplication::translate("TargetSize", "Does not fit %1 even scaled to %2 %: %3 at quality %4")
                         .arg(kilobytes(goal.maxBytes))
                         .arg(fitted.percent)
                         .arg(kilobytes(fitted.found.bytes.size()))
                         .arg(fitted.found.quality / goal.levelsPerPoint);
        return false;
    }
    if (const QString said = sizeNote(goal, fitted, leftOut); note && !said.isEmpty())
        *note = said;
    if (fit)
        *fit = {fitted.percent, fitted.found.quality, !fitted.found.fits, leftOut};
    return writeEncodedFile(fitted.found.bytes, targetPath, error);
}

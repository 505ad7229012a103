#pragma once

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

#include "conversionsettings.h"
#include "imagewriters.h"
#include "photometadata.h"

struct ImageFormat;

// "At most N bytes per file" for a lossy target: the qualities the search may
// use and whether a picture that does not fit even at the lowest is scaled down.
struct SizeGoal
{
    qint64 maxBytes = 0;
    int floorQuality = 0;
    int ceilingQuality = 0;
    bool shrink = true;
    // The search's steps per quality point (the format table's levels): its
    // qualities, floor and ceiling count in these steps.
    int levelsPerPoint = 1;
    // The window a search aims for: [0.97 maxBytes, maxBytes].
    qint64 lowestBytes() const { return maxBytes - maxBytes * 3 / 100; }
};

// Why the settings' size limit cannot apply to the target (a lossless one),
// in words for the user; empty when it can, or when no limit is set.
QString sizeLimitRefusal(const ConversionSettings &settings, const ImageFormat &target);

// The settings' size limit for the target of the given extension (".webp");
// none when the limit is off or the target cannot take it.
std::optional<SizeGoal> sizeGoalFor(const ConversionSettings &settings, const QString &extension);

// Where the files of one run landed on the size-to-quality curve, so that the
// next file's search starts near its answer. Files share it across threads.
class TargetSizeMemo
{
public:
    struct Point
    {
        int quality;
        double logBytesPerPixel;
        double slope; // d ln(bytes) / d quality near that quality
    };
    std::optional<Point> last() const;
    void remember(const Point &point);

private:
    mutable QMutex mutex;
    std::optional<Point> point;
};

// Encodes the picture at one quality into *bytes; false when the encoder fails.
using QualityEncoder = std::function<bool(int quality, QByteArray *bytes)>;

struct QualitySearch
{
    // The highest quality found within the limit, or, when none is, the floor's.
    QByteArray bytes;
    int quality = -1;
    bool fits = false;
    bool failed = false; // the encoder failed: bytes is empty
    int encodes = 0;
};

// Searches the quality in [floor, ceiling] whose encoding lands within the
// goal's window: from the memo's answer (scaled by pixel count) or the start
// quality, then by interpolating ln(size) over quality between the tried
// points, bracketed by the closest ones within and over the limit. The
// start quality counts in points; the qualities passed to encode and the
// one returned count in the goal's levels.
QualitySearch searchQualityForSize(const QualityEncoder &encode, const SizeGoal &goal, int startQuality,
                                   qint64 pixels, TargetSizeMemo *memo = nullptr);

// Writes the picture at most goal.maxBytes large, metadata included (given
// for each picture size by metadataFor): the quality searched, and when even
// the floor is too large, the picture scaled down in steps of 10 % unless
// goal.shrink is off. *note tells of a scaled picture or one over the size.
// Written once through a TargetFile; false with the reason in *error.
// *encodes counts the encodes it took (for the benchmark).
bool writeImageFileWithinSize(const QImage &image, const QString &targetPath, const WriteOptions &options,
                              const SizeGoal &goal, const std::function<PhotoMetadata(QSize)> &metadataFor,
                              TargetSizeMemo *memo, QString *error, QString *note, int *encodes = nullptr);

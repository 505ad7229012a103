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
    // The metadata choice asks for exactly what would be left out when it
    // cannot fit (the colour profile alone): the file fails instead.
    bool keepMetadata = false;
    // The search's steps per quality point (the format table's levels): its
    // qualities, floor and ceiling count in these steps.
    int levelsPerPoint = 1;
    bool sampleInBands = false; // the format table's sizeSampleInBands
    // The window a search aims for: [0.97 maxBytes, maxBytes].
    qint64 lowestBytes() const { return maxBytes - maxBytes * 3 / 100; }
};

// Why the settings' size limit cannot apply to the target (a lossless one),
// in words for the user; empty when it can, or when no limit is set.
QString sizeLimitRefusal(const ConversionSettings &settings, const ImageFormat &target);

// What a run's summary says of its files scaled down to fit the size limit
// and left over it: a line for each count that is not 0.
QStringList sizeLimitCountLines(int scaledToFit, int overSizeLimit);

// The settings' size limit for a target of the given format; none when the
// limit is off or the target cannot take it.
std::optional<SizeGoal> sizeGoalFor(const ConversionSettings &settings, const ImageFormat &format);

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

// Writes the picture at most goal.maxBytes large, metadata included (given
// for each picture size by metadataFor): the quality searched, and when even
// the floor is too large, the picture scaled down in steps of 10 %, then of
// 1 % below 10 %, unless goal.shrink is off; a picture that does not fit even
// at 1 % fails. Metadata that cannot fit is left out (or the file fails
// under goal.keepMetadata). *note tells of a scaled picture, one over the
// size and metadata left out; *fit says the same as data.
// Written once through a TargetFile; false with the reason in *error.
//
// The quality is searched from the run's last answer (the memo) by
// interpolating ln(size) over quality between the tried points, bracketed by
// the closest ones within and over the limit. A picture of a megapixel or
// more is first searched as a sample of an eighth of its pixels, whose
// size-to-quality curve then guides the search of the whole.
struct SizeSearchCost
{
    int encodes = 0;       // of the whole picture
    int sampleEncodes = 0; // of the eighth
};
// Where a written file landed.
struct SizeFit
{
    int percent = 100;        // the scale step it was written at
    int level = -1;           // its quality, in the goal's levels
    bool over = false;        // left over the limit (shrinking off)
    bool metadataLeftOut = false;
};
bool writeImageFileWithinSize(const QImage &image, const QString &targetPath, const ImageFormat &format,
                              const WriteOptions &options, const SizeGoal &goal,
                              const std::function<PhotoMetadata(QSize)> &metadataFor, TargetSizeMemo *memo,
                              QString *error, QString *note, SizeFit *fit = nullptr, SizeSearchCost *cost = nullptr);

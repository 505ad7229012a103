// The size limit on generated photo-like JPEGs (half 12 MP, half 24 MP): per
// target, the share of files within [0.97 N, N] and within [0.90 N, N], the
// files over N, the files below 0.90 N that a quality step higher or the
// next larger scale step at the floor would still have kept within N (each
// such file re-encoded to tell; the goal is none), the median and largest
// number of encodes, files scaled down, the run's time against a run at the
// target's fixed default quality (decode and write, a file per core in both),
// and the SSIM (luma, 8 x 8 windows) of each output against its source at the
// output's size.
//
// usage: bench_targetsize [count=24] [limit KB=300] [targets=jpg,webp,avif] [work folder]
// A count of 0 takes every JPEG already in the work folder's sources/ (real
// photos, say) instead of generating them. With KX_BENCH_FILES set, each
// file's size, encodes and note go to stderr.

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMutex>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cmath>

#include "../photo.h"
#include "conversionsettings.h"
#include "imagewriters.h"
#include "targetsize.h"

namespace {

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

// Runs job(i) for every file on a pool of a thread per core; the seconds taken.
double timed(int count, const std::function<void(int)> &job)
{
    QThreadPool pool;
    pool.setMaxThreadCount(QThread::idealThreadCount());
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i)
        pool.start([&job, i] { job(i); });
    pool.waitForDone();
    return clock.elapsed() / 1000.0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int generated = args.size() > 1 ? qMax(0, args.at(1).toInt()) : 24;
    const int limitKb = args.size() > 2 ? qMax(1, args.at(2).toInt()) : 300;
    const QStringList targets = (args.size() > 3 ? args.at(3) : QStringLiteral("jpg,webp,avif")).split(',');
    QTemporaryDir tmp;
    const QString root = args.size() > 4 ? args.at(4) : tmp.path();
    QImageReader::setAllocationLimit(1024);

    QTextStream out(stdout);
    const QString sources = root + "/sources";
    QDir().mkpath(sources);
    QStringList files;
    if (!generated) {
        for (const QString &name : QDir(sources).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
            files << sources + "/" + name;
    }
    for (int i = 0; i < generated; ++i) {
        const bool large = i % 2;
        const QString path = QStringLiteral("%1/photo%2-%3mp.jpg").arg(sources).arg(i, 3, 10, QLatin1Char('0')).arg(large ? 24 : 12);
        if (!QFile::exists(path))
            makePhoto(large ? 6000 : 4000, large ? 4000 : 3000, i).save(path, "jpeg", 90);
        files << path;
    }
    const int count = int(files.size());
    if (!count)
        return 1;
    out << "sources: " << count << (generated ? " JPEGs, 12 and 24 MP" : " JPEGs") << "; limit " << limitKb << " KB; " << QThread::idealThreadCount()
        << " threads\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10\n")
               .arg("target", -6)
               .arg("within", 7)
               .arg("median enc", 10)
               .arg("max enc", 7)
               .arg("sample enc", 10)
               .arg("scaled", 6)
               .arg("fixed s", 8)
               .arg("limit s", 8)
               .arg("ratio", 6)
               .arg("SSIM median/min", 16);
    out.flush();

    for (const QString &target : targets) {
        const QString extension = "." + target;
        ConversionSettings settings;
        settings.limitFileSize = true;
        settings.fileSizeLimitKb = limitKb;
        const ImageFormat *format = formatForExtension(target);
        const std::optional<SizeGoal> goal = format ? sizeGoalFor(settings, *format) : std::nullopt;
        if (!goal) {
            out << target << ": no size limit for this target\n";
            continue;
        }
        const WriteOptions options = writeOptionsFor(settings, *format);
        const QString fixedFolder = root + "/fixed-" + target;
        const QString limitFolder = root + "/limit-" + target;
        QDir().mkpath(fixedFolder);
        QDir().mkpath(limitFolder);
        const auto targetPath = [&](const QString &folder, int i) {
            return folder + "/" + QFileInfo(files.at(i)).completeBaseName() + extension;
        };

        QAtomicInt failed;
        const double fixedSeconds = timed(count, [&](int i) {
            QString error;
            if (!writeImageFile(QImageReader(files.at(i)).read(), targetPath(fixedFolder, i), *format, options,
                                &error))
                failed.ref();
        });
        TargetSizeMemo memo;
        QList<double> encodes(count);
        QList<double> sampleEncodes(count);
        QList<SizeFit> fits(count);
        QAtomicInt scaled;
        const double limitSeconds = timed(count, [&](int i) {
            QString error;
            QString note;
            SizeSearchCost taken;
            if (!writeImageFileWithinSize(QImageReader(files.at(i)).read(), targetPath(limitFolder, i), *format, options,
                                          *goal, [](QSize) { return PhotoMetadata(); }, &memo, &error, &note,
                                          &fits[i], &taken))
                failed.ref();
            if (note.startsWith("scaled"))
                scaled.ref();
            if (qEnvironmentVariableIsSet("KX_BENCH_FILES"))
                fprintf(stderr, "%s %s %lld %d %s\n", qPrintable(target), qPrintable(QFileInfo(files.at(i)).fileName()),
                        QFileInfo(targetPath(limitFolder, i)).size(), taken.encodes, qPrintable(note));
            encodes[i] = taken.encodes;
            sampleEncodes[i] = taken.sampleEncodes;
        });

        int within = 0;
        int withinTenth = 0;
        int over = 0;
        int shortOfRoom = 0; // below 0.90 N though a step up would fit
        QList<double> ssims;
        // The picture at a scale step, as the search scales it, encoded at a level of the goal.
        const auto encodedSize = [&](const QImage &source, int percent, int level) {
            const QImage picture = percent == 100 ? source
                                                  : source.scaled(qMax(1, source.width() * percent / 100),
                                                                  qMax(1, source.height() * percent / 100),
                                                                  Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            WriteOptions at = options;
            at.quality = level / goal->levelsPerPoint;
            at.qualityFraction = double(level % goal->levelsPerPoint) / goal->levelsPerPoint;
            QByteArray bytes;
            QString error;
            return encodeImage(picture, *format, at, {}, &bytes, &error) ? qint64(bytes.size()) : -1;
        };
        for (int i = 0; i < count; ++i) {
            const QString written = targetPath(limitFolder, i);
            const qint64 size = QFileInfo(written).size();
            within += size >= goal->lowestBytes() && size <= goal->maxBytes;
            withinTenth += size >= goal->maxBytes * 9 / 10 && size <= goal->maxBytes;
            over += size > goal->maxBytes;
            const QImage output = QImageReader(written).read();
            const QImage source = QImageReader(files.at(i)).read();
            if (size < goal->maxBytes * 9 / 10) {
                const SizeFit &fit = fits.at(i);
                const int larger = fit.percent >= 90 ? 100 : fit.percent >= 10 ? fit.percent + 10 : fit.percent + 1;
                const qint64 higher = fit.level < goal->ceilingQuality * goal->levelsPerPoint
                                              ? encodedSize(source, fit.percent, fit.level + 1)
                                              : -1;
                const qint64 scaledUp =
                        fit.percent < 100 ? encodedSize(source, larger, goal->floorQuality * goal->levelsPerPoint) : -1;
                const bool room = (higher >= 0 && higher <= goal->maxBytes) || (scaledUp >= 0 && scaledUp <= goal->maxBytes);
                shortOfRoom += room;
                if (qEnvironmentVariableIsSet("KX_BENCH_FILES"))
                    fprintf(stderr, "  below 0.9 N: %s %lld at %d %% level %d; a level up %lld, a step up %lld%s\n",
                            qPrintable(QFileInfo(files.at(i)).fileName()), size, fit.percent, fit.level, higher,
                            scaledUp, room ? " ROOM LEFT" : "");
            }
            ssims << ssim(source.size() == output.size()
                              ? source
                              : source.scaled(output.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                          output);
        }
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10\n")
                   .arg(target, -6)
                   .arg(QStringLiteral("%1 %").arg(100.0 * within / count, 0, 'f', 0), 7)
                   .arg(median(encodes), 10)
                   .arg(*std::max_element(encodes.cbegin(), encodes.cend()), 7)
                   .arg(median(sampleEncodes), 10)
                   .arg(scaled.loadRelaxed(), 6)
                   .arg(fixedSeconds, 8, 'f', 1)
                   .arg(limitSeconds, 8, 'f', 1)
                   .arg(limitSeconds / fixedSeconds, 6, 'f', 2)
                   .arg(QStringLiteral("%1 / %2").arg(median(ssims), 0, 'f', 4).arg(*std::min_element(ssims.cbegin(), ssims.cend()), 0, 'f', 4), 16);
        out << QStringLiteral("       within [0.90 N, N]: %1 %; over N: %2; below 0.90 N with room left: %3\n")
                       .arg(100.0 * withinTenth / count, 0, 'f', 0)
                       .arg(over)
                       .arg(shortOfRoom);
        if (failed.loadRelaxed())
            out << "  failed: " << failed.loadRelaxed() << "\n";
        out.flush();
    }
    return 0;
}

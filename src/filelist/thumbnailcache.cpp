#include "thumbnailcache.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QStandardPaths>

#include <atomic>

#include "pathutil.h"

namespace {

const QString thumbnailsSubfolder = QStringLiteral("Thumbnails");

// Lookups run on the GUI thread while preview workers allocate files.
QMutex recordsMutex;
QList<ThumbnailRecord> records;
std::atomic<bool> cleanupPending{true};

QString cacheFileName(const QString &folder, int number)
{
    return folder + QString::number(number) + QStringLiteral(".webp");
}

bool writableFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

} // namespace

QString chooseThumbnailFolder(const QString &applicationDir, const QString &cacheDir)
{
    const QString besideProgram = applicationDir + QLatin1Char('/') + thumbnailsSubfolder;
    if (writableFolder(besideProgram) || (writableFolder(applicationDir) && QDir().mkdir(besideProgram)))
        return besideProgram + QLatin1Char('/');
    const QString perUser = cacheDir + QLatin1Char('/') + thumbnailsSubfolder;
    QDir().mkpath(perUser);
    return perUser + QLatin1Char('/');
}

QString thumbnailFolder()
{
    return chooseThumbnailFolder(QCoreApplication::applicationDirPath(),
                                 QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
}

ThumbnailLookup lookupThumbnail(const QString &sourcePath, bool refresh)
{
    const QString folder = thumbnailFolder();
    QMutexLocker locker(&recordsMutex);
    if (!refresh) {
        bool staleSeen = false;
        for (const ThumbnailRecord &record : std::as_const(records)) {
            if (!sameFilePath(record.sourcePath, sourcePath))
                continue;
            if (record.stale) {
                staleSeen = true;
                continue;
            }
            const QString fileName = cacheFileName(folder, record.number);
            if (QFileInfo::exists(fileName))
                return {ThumbnailLookup::Show, fileName};
        }
        if (!staleSeen)
            return {ThumbnailLookup::New, QString()};
    } else {
        for (ThumbnailRecord &record : records)
            record.stale = true;
    }
    for (const ThumbnailRecord &record : std::as_const(records)) {
        if (sameFilePath(record.sourcePath, sourcePath))
            return {ThumbnailLookup::Reuse, cacheFileName(folder, record.number)};
    }
    return {ThumbnailLookup::New, QString()};
}

QString allocateThumbnailFile(const QString &sourcePath)
{
    const QString folder = thumbnailFolder();
    const QDate today = QDate::currentDate();
    QMutexLocker locker(&recordsMutex);
    // A number handed out in this run may not be written yet: never give it twice.
    QSet<int> taken;
    for (const ThumbnailRecord &record : std::as_const(records))
        taken.insert(record.number);
    int number = 0;
    for (;; ++number) {
        if (taken.contains(number))
            continue;
        const QFileInfo info(cacheFileName(folder, number));
        if (!info.exists() || info.lastModified().date() != today)
            break;
    }
    records.append({sourcePath, number, false});
    return cacheFileName(folder, number);
}

QList<ThumbnailRecord> thumbnailRecords()
{
    QMutexLocker locker(&recordsMutex);
    return records;
}

bool thumbnailCleanupPending()
{
    return cleanupPending;
}

void setThumbnailCleanupPending(bool pending)
{
    cleanupPending = pending;
}

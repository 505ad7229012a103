#include "thumbnailcache.h"

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

} // namespace

QString thumbnailFolder()
{
    // Always the per-user cache: the program's own folder may be shared or a
    // build tree, and a writable one is no sign that it is ours to fill.
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QLatin1Char('/') + thumbnailsSubfolder;
    QDir().mkpath(folder);
    return folder + QLatin1Char('/');
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

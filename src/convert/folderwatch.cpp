#include "folderwatch.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

#include <unistd.h>

#include "outputplan.h"
#include "sourcefiles.h"
#include "targetformats.h"

namespace {

bool isBelow(const QString &path, const QString &folder)
{
    return !folder.isEmpty() && (path == folder || path.startsWith(folder + QLatin1Char('/')));
}

// A folder as one spelling, so that paths found below it compare with it.
QString realFolder(const QString &folder)
{
    const QFileInfo info(folder);
    const QString real = info.canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : real;
}

QByteArray journalLine(const QString &relative, qint64 size, qint64 modified, const QString &status)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("path"), relative},
                                     {QStringLiteral("size"), size},
                                     {QStringLiteral("modified"), modified},
                                     {QStringLiteral("status"), status}})
               .toJson(QJsonDocument::Compact)
           + '\n';
}

// In the watched folder, so that it travels with the files it names (paths
// relative to the folder) when the folder is moved or mounted elsewhere.
QString journalName()
{
    return QStringLiteral(".kestrix-watch.journal");
}

} // namespace

QString watchRefusal(const ConversionSettings &settings)
{
    if (settings.targeFileType == TargetPdf)
        return QStringLiteral("a watched folder is converted to pictures, not to a PDF document");
    if (settings.outputBesideSource)
        return QStringLiteral("a watched folder is converted into an output folder, not beside the sources "
                              "(outputBesideSource=false)");
    return QString();
}

FolderWatch::FolderWatch(const QString &folder, const QString &outputFolder, bool moveOriginals, int settleMs,
                         QObject *parent)
    : QObject(parent), root(realFolder(folder)), output(outputFolder.isEmpty() ? QString() : realFolder(outputFolder)),
      moveOriginals(moveOriginals), settleMs(settleMs)
{
    // A file is looked at a few times within the interval, so that it is
    // taken soon after it has settled.
    settleTimer.setInterval(qMax(10, settleMs / 4));
    connect(&settleTimer, &QTimer::timeout, this, &FolderWatch::settle);
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString &folder) {
        if (QFileInfo(folder).isDir()) {
            scan(folder);
        } else {
            watchedFolders.remove(folder);
            watcher.removePath(folder);
            if (folder == root)
                emit problem(QStringLiteral("the watched folder %1 is gone").arg(root));
        }
    });
    // A failed file left in place is watched: a copy that stalled longer than
    // the settle interval and then went on is taken again once it settles.
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString &path) {
        consider(path);
        if (pending.contains(path))
            watcher.removePath(path);
    });
}

FolderWatch::Stamp FolderWatch::stampOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

bool FolderWatch::isExcluded(const QString &path) const
{
    return isBelow(path, output)
           || (moveOriginals
               && (isBelow(path, root + QStringLiteral("/done")) || isBelow(path, root + QStringLiteral("/failed"))));
}

bool FolderWatch::start(QString *error)
{
    if (!QFileInfo(root).isDir()) {
        *error = QStringLiteral("%1 is not a folder").arg(root);
        return false;
    }
    if (output == root) {
        *error = QStringLiteral("the output folder is the watched folder; give another one");
        return false;
    }
    if (!loadJournal(error))
        return false;
    watchFolder(root);
    if (!watchedFolders.contains(root)) {
        *error = QStringLiteral("cannot watch %1").arg(root);
        return false;
    }
    return true;
}

void FolderWatch::watchFolder(const QString &folder)
{
    // Watched before it is listed, so that a file landing meanwhile is seen.
    if (watcher.addPath(folder))
        watchedFolders.insert(folder);
    scan(folder);
}

void FolderWatch::scan(const QString &folder)
{
    // Hidden entries are left out, as a dropped folder's walk does; copy
    // tools write into hidden names and rename the finished file.
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString path = entry.absoluteFilePath();
        if (entry.isDir()) {
            if (!entry.isSymLink() && !watchedFolders.contains(path) && !isExcluded(path))
                watchFolder(path);
        } else if (!isExcluded(path)) {
            consider(path);
        }
    }
}

void FolderWatch::consider(const QString &path)
{
    if (pending.contains(path) || inBatch.contains(path) || !isSupportedImageFile(path))
        return;
    const Stamp stamp = stampOf(path);
    const auto done = journaled.constFind(QDir(root).relativeFilePath(path));
    if (done != journaled.cend() && *done == stamp)
        return;
    Pending &file = pending[path];
    file.stamp = stamp;
    file.unchanged.start();
    if (!settleTimer.isActive())
        settleTimer.start();
}

void FolderWatch::settle()
{
    QStringList ready;
    for (auto it = pending.begin(); it != pending.end();) {
        const Stamp now = stampOf(it.key());
        if (now.size < 0) {
            it = pending.erase(it); // gone, or no longer a file
            continue;
        }
        if (!(now == it->stamp)) {
            it->stamp = now;
            it->unchanged.restart();
        } else if (!busy && it->unchanged.elapsed() >= settleMs) {
            QFile file(it.key());
            if (file.open(QIODevice::ReadOnly)) {
                ready << it.key();
                inBatch.insert(it.key(), now);
                it = pending.erase(it);
                continue;
            }
        }
        ++it;
    }
    if (pending.isEmpty())
        settleTimer.stop();
    if (ready.isEmpty())
        return;
    std::sort(ready.begin(), ready.end());
    busy = true;
    emit filesReady(ready);
}

void FolderWatch::fileDone(const ConversionFile &file)
{
    const QString &path = file.source;
    const auto it = inBatch.constFind(path);
    if (it == inBatch.cend() || file.outcome == ConversionFile::NotStarted)
        return;
    const Stamp stamp = *it;
    inBatch.erase(it);
    const bool failed = file.outcome == ConversionFile::Failed;
    const bool skipped = file.outcome == ConversionFile::Skipped;
    // Journaled first: a stop between the two leaves the file done in place.
    record(QDir(root).relativeFilePath(path), stamp,
           failed    ? QStringLiteral("failed")
           : skipped ? QStringLiteral("skipped")
                     : QStringLiteral("converted"));
    if (!moveOriginals && failed)
        watcher.addPath(path);
    if (!moveOriginals || skipped)
        return;
    moveOriginal(path, failed ? QStringLiteral("failed") : QStringLiteral("done"), file.reason());
}

void FolderWatch::batchDone()
{
    busy = false;
    const QStringList unanswered = inBatch.keys();
    inBatch.clear();
    for (const QString &path : unanswered)
        consider(path);
    if (!pending.isEmpty() && !settleTimer.isActive())
        settleTimer.start();
}

bool FolderWatch::loadJournal(QString *error)
{
    // A line cut short by a crash is left out; so are entries whose file is
    // gone or changed, as the journal is written anew.
    const QString path = QDir(root).filePath(journalName());
    QHash<QString, QByteArray> kept;
    QFile old(path);
    if (old.open(QIODevice::ReadOnly)) {
        while (!old.atEnd()) {
            const QByteArray line = old.readLine().trimmed();
            const QJsonObject entry = QJsonDocument::fromJson(line).object();
            const QString relative = entry.value(QStringLiteral("path")).toString();
            const Stamp stamp{qint64(entry.value(QStringLiteral("size")).toDouble(-1)),
                              qint64(entry.value(QStringLiteral("modified")).toDouble())};
            if (relative.isEmpty() || !(stampOf(QDir(root).filePath(relative)) == stamp))
                continue;
            journaled.insert(relative, stamp);
            kept.insert(relative, line + '\n');
        }
    }
    QSaveFile fresh(path);
    if (fresh.open(QIODevice::WriteOnly)) {
        for (const QByteArray &line : std::as_const(kept))
            fresh.write(line);
        if (fresh.commit()) {
            journal.setFileName(path);
            if (journal.open(QIODevice::WriteOnly | QIODevice::Append))
                return true;
        }
    }
    *error = QStringLiteral("cannot write the journal %1").arg(path);
    return false;
}

void FolderWatch::record(const QString &relative, const Stamp &stamp, const QString &status)
{
    journaled.insert(relative, stamp);
    // On the disk before the next file starts, so that a crash repeats nothing.
    const QByteArray line = journalLine(relative, stamp.size, stamp.modified, status);
    if (journal.write(line) != line.size() || !journal.flush() || ::fsync(journal.handle()) != 0)
        emit problem(QStringLiteral("cannot write the journal %1: %2").arg(journal.fileName(), journal.errorString()));
}

void FolderWatch::moveOriginal(const QString &path, const QString &into, const QString &reason)
{
    // The place below the folder is kept, so that sub/a.jpg and a.jpg never meet.
    const QString wanted = QDir(root).filePath(into + QLatin1Char('/') + QDir(root).relativeFilePath(path));
    const auto taken = [](const QString &name) { return isTaken(name) || isTaken(name + QStringLiteral(".txt")); };
    const QString target = taken(wanted) ? firstFreeName(wanted, taken) : wanted;
    if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::rename(path, target)) {
        emit problem(QStringLiteral("cannot move %1 into %2").arg(path, QDir(root).filePath(into)));
        return;
    }
    if (into != QLatin1String("failed"))
        return;
    QSaveFile note(target + QStringLiteral(".txt"));
    if (!note.open(QIODevice::WriteOnly) || note.write(reason.toUtf8() + '\n') < 0 || !note.commit())
        emit problem(QStringLiteral("cannot write %1").arg(note.fileName()));
}

#include "folderwatch.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSocketNotifier>

#include <algorithm>

#include <unistd.h>
#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#endif

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

// Held by the watch of the folder; a watch that died leaves it stale.
QString lockName()
{
    return QStringLiteral(".kestrix-watch.lock");
}

} // namespace

QString watchRefusal(const ConversionSettings &settings)
{
    if (settings.targeFileType == TargetPdf)
        return FolderWatch::tr("a watched folder is converted to pictures, not to a PDF document");
    if (settings.outputBesideSource)
        return FolderWatch::tr("a watched folder is converted into an output folder, not beside the sources "
                               "(outputBesideSource=false)");
    return QString();
}

FolderWatch::FolderWatch(const QString &folder, const QString &outputFolder, bool moveOriginals, int settleMs,
                         int giveUpMs, QObject *parent)
    : QObject(parent), root(realFolder(folder)), output(outputFolder.isEmpty() ? QString() : realFolder(outputFolder)),
      moveOriginals(moveOriginals), settleMs(settleMs), giveUpMs(giveUpMs)
{
    // A file is looked at a few times within the interval, so that it is
    // taken soon after it has settled.
    settleTimer.setInterval(qMax(10, settleMs / 4));
    connect(&settleTimer, &QTimer::timeout, this, &FolderWatch::settle);
    returnTimer.setInterval(qMax(10, settleMs));
    connect(&returnTimer, &QTimer::timeout, this, &FolderWatch::checkFolderBack);
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString &folder) {
        if (QFileInfo(folder).isDir()) {
            scan(folder);
        } else {
            watchedFolders.remove(folder);
            watcher.removePath(folder);
            if (folder == root)
                folderGone();
        }
    });
    // A failed file left in place is watched: a copy that stalled longer than
    // the settle interval and then went on is taken again once it settles.
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString &path) {
        consider(path);
        if (pending.contains(path))
            watcher.removePath(path);
    });
#ifdef Q_OS_LINUX
    writeEvents = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (writeEvents >= 0) {
        writeNotifier = new QSocketNotifier(writeEvents, QSocketNotifier::Read, this);
        connect(writeNotifier, &QSocketNotifier::activated, this, &FolderWatch::readWriteEvents);
    }
#endif
}

FolderWatch::~FolderWatch()
{
    delete writeNotifier;
    if (writeEvents >= 0)
        ::close(writeEvents);
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
        *error = FolderWatch::tr("%1 is not a folder").arg(root);
        return false;
    }
    if (output == root) {
        *error = FolderWatch::tr("the output folder is the watched folder; give another one");
        return false;
    }
    if (!lockFolder(error) || !loadJournal(error))
        return false;
    watchFolder(root);
    if (!watchedFolders.contains(root)) {
        *error = FolderWatch::tr("cannot watch %1").arg(root);
        return false;
    }
    return true;
}

bool FolderWatch::lockFolder(QString *error)
{
    lock = std::make_unique<QLockFile>(QDir(root).filePath(lockName()));
    // Held as long as the watch runs; only a lock whose process is gone is stale.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return true;
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock->error() == QLockFile::LockFailedError && lock->getLockInfo(&pid, &host, &application))
        *error = FolderWatch::tr("another watch (process %1) converts %2 already").arg(pid).arg(root);
    else
        *error = FolderWatch::tr("cannot write the lock %1").arg(QDir(root).filePath(lockName()));
    lock.reset();
    return false;
}

void FolderWatch::folderGone()
{
    emit problem(FolderWatch::tr("the watched folder %1 is gone; waiting for it to come back").arg(root));
    lock.reset();
    journal.close();
    pending.clear();
    settleTimer.stop();
    returnTimer.start();
}

void FolderWatch::checkFolderBack()
{
    if (!QFileInfo(root).isDir())
        return;
    returnTimer.stop();
    QString error;
    if (!lockFolder(&error) || !loadJournal(&error)) {
        emit problem(error);
        returnTimer.start();
        return;
    }
    for (const QString &folder : std::as_const(watchedFolders))
        watcher.removePath(folder);
    watchedFolders.clear();
    watchFolder(root);
    emit problem(FolderWatch::tr("the watched folder %1 is back").arg(root));
}

void FolderWatch::watchFolder(const QString &folder)
{
    // Watched before it is listed, so that a file landing meanwhile is seen.
    if (watcher.addPath(folder))
        watchedFolders.insert(folder);
    watchWrites(folder);
    scan(folder);
}

void FolderWatch::watchWrites(const QString &folder)
{
#ifdef Q_OS_LINUX
    if (writeEvents < 0)
        return;
    const int watch = inotify_add_watch(writeEvents, QFile::encodeName(folder).constData(), IN_MODIFY | IN_CLOSE_WRITE);
    if (watch >= 0)
        folderOfWatch.insert(watch, folder);
#else
    Q_UNUSED(folder)
#endif
}

// A file written to is open until its writer closes it; one that was there
// before the watch began and is not written to counts as closed.
void FolderWatch::readWriteEvents()
{
#ifdef Q_OS_LINUX
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(writeEvents, buffer, sizeof buffer);
        if (got <= 0)
            return;
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            const QString folder = folderOfWatch.value(event->wd);
            if (folder.isEmpty() || event->len == 0)
                continue;
            const QString path = folder + QLatin1Char('/') + QFile::decodeName(event->name);
            if (event->mask & IN_CLOSE_WRITE) {
                beingWritten.remove(path);
                // Written over in place, the folder itself reports no change;
                // hidden names are left out as the folder's scan does.
                if (!QFileInfo(path).isHidden() && !isExcluded(path))
                    consider(path);
            } else if (event->mask & IN_MODIFY)
                beingWritten.insert(path);
        }
    }
#endif
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

void FolderWatch::consider(const QString &path, int waitMs)
{
    if (pending.contains(path) || inBatch.contains(path) || !isSupportedImageFile(path))
        return;
    const Stamp stamp = stampOf(path);
    const auto done = journaled.constFind(QDir(root).relativeFilePath(path));
    if (done != journaled.cend() && *done == stamp)
        return;
    Pending &file = pending[path];
    file.stamp = stamp;
    file.waitMs = waitMs >= 0 ? waitMs : settleMs;
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
            // Written on: its writer is given the settle interval again.
            it->stamp = now;
            it->waitMs = settleMs;
            it->unchanged.restart();
        } else if (!busy && it->unchanged.elapsed() >= it->waitMs && !beingWritten.contains(it.key())) {
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

bool FolderWatch::replacesItsTarget(const QString &path) const
{
    return convertedBefore.contains(QDir(root).relativeFilePath(path));
}

QList<PlannedFile> FolderWatch::planBatch(const QStringList &paths, const QList<OutputTarget> &outputs) const
{
    const QList<PlannedFile> plan = planEveryOutput(paths, outputs, false, root);
    QSet<QString> again;
    for (const QString &path : paths) {
        if (replacesItsTarget(path))
            again.insert(path);
    }
    if (again.isEmpty())
        return plan;
    const QList<PlannedFile> replacing = planEveryOutput(QStringList(again.cbegin(), again.cend()), outputs, true, root);
    QList<PlannedFile> merged;
    for (const PlannedFile &file : plan) {
        if (!again.contains(file.source)) {
            merged << file;
        } else if (merged.isEmpty() || merged.last().source != file.source) {
            for (const PlannedFile &replaced : replacing) {
                if (replaced.source == file.source)
                    merged << replaced;
            }
        }
    }
    return merged;
}

bool FolderWatch::fileDone(const ConversionFile &file)
{
    const QString &path = file.source;
    const auto it = inBatch.constFind(path);
    if (it == inBatch.cend() || file.outcome == ConversionFile::NotStarted)
        return false;
    const Stamp stamp = *it;
    inBatch.erase(it);
    // Cut short: its writer may not be done. Tried again when it changes,
    // failed once it stayed so for the time given to its writer.
    if (file.incomplete && !(cutShortAt.value(path) == stamp)) {
        cutShortAt.insert(path, stamp);
        consider(path, giveUpMs);
        return false;
    }
    cutShortAt.remove(path);
    const bool failed = file.outcome == ConversionFile::Failed;
    const bool skipped = file.outcome == ConversionFile::Skipped;
    const QString relative = QDir(root).relativeFilePath(path);
    // Journaled first: a stop between the two leaves the file done in place.
    record(relative, stamp,
           failed    ? QStringLiteral("failed")
           : skipped ? QStringLiteral("skipped")
                     : QStringLiteral("converted"));
    // A moved original leaves its name to a new file.
    if (file.succeeded() && !moveOriginals)
        convertedBefore.insert(relative);
    if (!moveOriginals && failed)
        watcher.addPath(path);
    if (moveOriginals && !skipped)
        moveOriginal(path, failed ? QStringLiteral("failed") : QStringLiteral("done"), file.reason());
    return true;
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
            // A file converted before and changed since replaces its target when taken again.
            if (!relative.isEmpty() && !moveOriginals
                && entry.value(QStringLiteral("status")).toString() == QLatin1String("converted"))
                convertedBefore.insert(relative);
            if (relative.isEmpty() || !(stampOf(QDir(root).filePath(relative)) == stamp))
                continue;
            journaled.insert(relative, stamp);
            kept.insert(relative, line + '\n');
        }
    }
    QSaveFile fresh(path);
    journal.close();
    if (fresh.open(QIODevice::WriteOnly)) {
        for (const QByteArray &line : std::as_const(kept))
            fresh.write(line);
        if (fresh.commit()) {
            journal.setFileName(path);
            if (journal.open(QIODevice::WriteOnly | QIODevice::Append))
                return true;
        }
    }
    *error = FolderWatch::tr("cannot write the journal %1").arg(path);
    return false;
}

void FolderWatch::record(const QString &relative, const Stamp &stamp, const QString &status)
{
    journaled.insert(relative, stamp);
    // On the disk before the next file starts, so that a crash repeats nothing.
    const QByteArray line = journalLine(relative, stamp.size, stamp.modified, status);
    if (journal.write(line) != line.size() || !journal.flush() || ::fsync(journal.handle()) != 0)
        emit problem(FolderWatch::tr("cannot write the journal %1: %2").arg(journal.fileName(), journal.errorString()));
}

void FolderWatch::moveOriginal(const QString &path, const QString &into, const QString &reason)
{
    // The place below the folder is kept, so that sub/a.jpg and a.jpg never meet.
    const QString wanted = QDir(root).filePath(into + QLatin1Char('/') + QDir(root).relativeFilePath(path));
    const auto taken = [](const QString &name) { return isTaken(name) || isTaken(name + QStringLiteral(".txt")); };
    const QString target = taken(wanted) ? firstFreeName(wanted, taken) : wanted;
    if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::rename(path, target)) {
        emit problem(FolderWatch::tr("cannot move %1 into %2").arg(path, QDir(root).filePath(into)));
        return;
    }
    if (into != QLatin1String("failed"))
        return;
    QSaveFile note(target + QStringLiteral(".txt"));
    if (!note.open(QIODevice::WriteOnly) || note.write(reason.toUtf8() + '\n') < 0 || !note.commit())
        emit problem(FolderWatch::tr("cannot write %1").arg(note.fileName()));
}

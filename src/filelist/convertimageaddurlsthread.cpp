#include "convertimageaddurlsthread.h"

#include <QDebug>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMetaObject>
#include <QMutexLocker>
#include <QStandardItemModel>
#include <QWaitCondition>

#include <memory>

#include "fileentry.h"
#include "filelistindex.h"
#include "pathutil.h"
#include "pipelinerules.h"

namespace {

// Files are appended in chunks: one GUI-thread call per chunk keeps a folder of
// thousands of images quick to list, the time limit keeps a slow walk visible.
constexpr int appendChunkSize = 256;
constexpr int appendChunkMilliseconds = 100;
constexpr int listedCheckChunkSize = 32;
// How often a waiting worker looks at its stop flag.
constexpr int stopPollMilliseconds = 20;

struct ModelCall
{
    QMutex mutex;
    QWaitCondition done;
    std::function<void()> function;
    bool finished = false;
    bool abandoned = false;
};

} // namespace

ConvertImageAddUrlsThread::ConvertImageAddUrlsThread(QObject *parent, QStandardItemModel *model)
    : QThread(parent), model(model)
{
    applyAllocationLimit();
}

ConvertImageAddUrlsThread::~ConvertImageAddUrlsThread()
{
    requestStop();
    wait();
}

bool ConvertImageAddUrlsThread::appendPendingUrls(const QList<QUrl> &urls)
{
    QMutexLocker locker(&pendingMutex);
    if (queueClosed)
        return false;
    pendingUrls += urls;
    return true;
}

void ConvertImageAddUrlsThread::requestStop()
{
    stopRequested = true;
}

bool ConvertImageAddUrlsThread::takePendingUrl(QUrl *url)
{
    QMutexLocker locker(&pendingMutex);
    if (pendingUrls.isEmpty())
        return false;
    *url = pendingUrls.takeFirst();
    return true;
}

bool ConvertImageAddUrlsThread::hasPendingUrls()
{
    QMutexLocker locker(&pendingMutex);
    return !pendingUrls.isEmpty();
}

bool ConvertImageAddUrlsThread::closeQueueIfEmpty()
{
    QMutexLocker locker(&pendingMutex);
    if (!pendingUrls.isEmpty())
        return false;
    queueClosed = true;
    return true;
}

void ConvertImageAddUrlsThread::run()
{
    if (stopRequested) {
        QMutexLocker locker(&pendingMutex);
        queueClosed = true;
        return;
    }
    setPriority(QThread::NormalPriority);
    emit addUrlsThreadBegin();

    for (;;) {
        QUrl url;
        while (!stopRequested && takePendingUrl(&url))
            addUrl(QDir::toNativeSeparators(url.toLocalFile()));
        flushFiles();
        if (stopRequested)
            break;
        emit addUrlsFinish(lastPath);
        getItemsIcon();
        if (stopRequested || closeQueueIfEmpty())
            break;
    }

    {
        QMutexLocker locker(&pendingMutex);
        queueClosed = true;
    }
    emit addUrlsThreadEnd();
}

void ConvertImageAddUrlsThread::addUrl(const QString &path)
{
    if (stopRequested)
        return;
    if (!QFileInfo(path).isDir()) {
        addFile(path);
        return;
    }
    // The file system's order means nothing to people: a folder is listed by
    // path in natural order (img2 before img10).
    QStringList files;
    walkFolderFiles(path, [this, &files](const QString &file) {
        files.append(file);
        return !stopRequested;
    }, outputFolder);
    sortNaturally(files);
    QElapsedTimer sinceFlush;
    sinceFlush.start();
    for (const QString &file : std::as_const(files)) {
        if (stopRequested)
            return;
        addFile(file);
        if (sinceFlush.elapsed() >= appendChunkMilliseconds) {
            flushFiles();
            sinceFlush.restart();
        }
    }
}

void ConvertImageAddUrlsThread::addFile(const QString &path)
{
    if (!isSupportedImageFile(path))
        return;
    candidates.append(path);
    if (candidates.size() >= appendChunkSize)
        flushFiles();
}

void ConvertImageAddUrlsThread::flushFiles()
{
    if (candidates.isEmpty())
        return;
    const QStringList paths = candidates;
    candidates.clear();

    // Runs on the GUI thread: the duplicate test and the append, one file after
    // another, so a file listed twice in one chunk is caught too.
    QList<int> rows;
    QStandardItemModel *listModel = model;
    const bool done = callOnModelThread([listModel, &paths, &rows] {
        QSet<QString> listed = listedPathKeys(listModel);
        for (const QString &path : paths) {
            const QString key = filePathKey(path);
            if (listed.contains(key)) {
                rows.append(-1);
                continue;
            }
            listed.insert(key);
            listModel->appendRow({new QStandardItem(entryLabel(path)), new QStandardItem(path)});
            rows.append(listModel->rowCount() - 1);
        }
    });
    if (!done)
        return;
    for (int i = 0; i < paths.size(); ++i) {
        if (rows.at(i) < 0)
            continue;
        thumbnailRows.append({rows.at(i), paths.at(i)});
        lastPath = paths.at(i);
    }
}

QList<bool> ConvertImageAddUrlsThread::stillListed(const QStringList &paths)
{
    QList<bool> listed;
    QStandardItemModel *listModel = model;
    if (!callOnModelThread([listModel, &paths, &listed] { listed = pathsListed(listModel, paths); }))
        return QList<bool>(paths.size(), false);
    return listed;
}

void ConvertImageAddUrlsThread::getItemsIcon()
{
    qDebug() << "getItemsIcon";
    while (!stopRequested && !thumbnailRows.isEmpty()) {
        // Files removed from the list meanwhile are not decoded at all. They
        // are asked for a few at a time: a question per file would tie every
        // thumbnail to a turn of the GUI thread's event loop.
        const QList<ThumbnailJob> jobs = thumbnailRows.mid(0, listedCheckChunkSize);
        QStringList paths;
        for (const ThumbnailJob &job : jobs)
            paths.append(job.path);
        const QList<bool> listed = stillListed(paths);
        for (int i = 0; i < jobs.size() && !stopRequested; ++i) {
            thumbnailRows.removeFirst();
            if (listed.at(i))
                makeThumbnail(jobs.at(i));
            if (hasPendingUrls())
                return;
        }
    }
}

void ConvertImageAddUrlsThread::makeThumbnail(const ThumbnailJob &job)
{
    const ListThumbnail thumbnail = readListThumbnail(job.path);
    const QFileInfo info(job.path);
    emit processFinish(thumbnail.icon, info.fileName(), info.path(), thumbnail.sizeStr, job.row);
}

bool ConvertImageAddUrlsThread::callOnModelThread(const std::function<void()> &function)
{
    auto call = std::make_shared<ModelCall>();
    call->function = function;
    QMetaObject::invokeMethod(
        model,
        [call] {
            QMutexLocker locker(&call->mutex);
            if (call->abandoned)
                return;
            call->function();
            call->finished = true;
            call->done.wakeAll();
        },
        Qt::QueuedConnection);

    QMutexLocker locker(&call->mutex);
    while (!call->finished) {
        if (stopRequested) {
            call->abandoned = true;
            return false;
        }
        call->done.wait(&call->mutex, QDeadlineTimer(stopPollMilliseconds));
    }
    return true;
}

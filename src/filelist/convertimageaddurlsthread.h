#pragma once

#include <QImage>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <functional>

class QStandardItemModel;

// Expands dropped or chosen URLs (folders recursively), appends one list entry
// per new supported image, reports the batch, then makes the entries' list
// thumbnails. One object serves one batch; URLs that arrive while it runs join
// its queue.
//
// The list model belongs to the GUI thread. This worker never touches it
// directly: each duplicate test + append (a chunk of files at a time) and each
// "is this file still listed" question is posted to the GUI thread as a queued
// call, and the worker waits for its answer (the new row numbers). The wait is
// not a blocking queued connection: it gives up as soon as a stop is requested,
// so the GUI thread may stop the worker and wait for it without deadlock; an
// abandoned call does nothing when it finally runs.
class ConvertImageAddUrlsThread : public QThread
{
    Q_OBJECT

public:
    ConvertImageAddUrlsThread(QObject *parent, QStandardItemModel *model);
    ~ConvertImageAddUrlsThread() override;

    // GUI thread. Queues URLs for this batch. False once the worker has taken
    // its last look at the queue: the caller must start a new worker then, so
    // no URL is ever lost between a batch's end and the next drop.
    bool appendPendingUrls(const QList<QUrl> &urls);

    // Any thread. The worker adds nothing more and ends at its next step.
    void requestStop();

    // Set before the start: folder walks leave it out, earlier outputs being no sources.
    QString outputFolder;

signals:
    void addUrlsThreadBegin();
    void addUrlsThreadEnd();
    void addUrlsFinish(const QString &lastPath);
    // The list icon travels as an image; the GUI thread makes the pixmap.
    void processFinish(const QImage &icon, const QString &fileName, const QString &path,
                       const QString &sizeStr, int index);

protected:
    void run() override;

private:
    struct ThumbnailJob
    {
        int row;      // the row the model gave the entry
        QString path; // the file it was made for
    };

    bool takePendingUrl(QUrl *url);
    bool hasPendingUrls();
    bool closeQueueIfEmpty();
    void addUrl(const QString &path);
    void addFile(const QString &path);
    void flushFiles();
    void getItemsIcon();
    QList<bool> stillListed(const QStringList &paths);
    void makeThumbnail(const ThumbnailJob &job);
    bool callOnModelThread(const std::function<void()> &function);

    std::atomic<bool> stopRequested{false};
    QStandardItemModel *model;
    QList<QUrl> pendingUrls;
    QList<ThumbnailJob> thumbnailRows;
    QString lastPath;

    QMutex pendingMutex;      // guards pendingUrls and queueClosed
    bool queueClosed = false; // set with the worker's last look at pendingUrls
    QStringList candidates;   // supported files waiting for the next append call
};

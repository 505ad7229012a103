#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "conversionrun.h"

// Why these settings cannot convert a watched folder, or empty; the window's
// watch and the command line's refuse alike. The pictures must go into an
// output folder of their own: beside their sources they would be taken up
// again.
QString watchRefusal(const ConversionSettings &settings);

// Watches a folder and its sub-folders (new ones too) for pictures that land
// in it, and hands each over once its writing has finished: its size and
// modification time unchanged for the settle interval and the file opened for
// reading. The host converts a batch and gives word on each file; a journal in
// the folder (.kestrix-watch.journal, one JSON line per file) keeps what was
// done, so that a restart neither repeats nor misses a file (a file changed
// since is taken again). Idle, nothing runs: the folders are watched through
// the system's notifications, and the settle timer runs only while a file is
// pending. Never blocks; the host may convert in the background and answer
// later.
class FolderWatch : public QObject
{
    Q_OBJECT

public:
    // The output folder, and with moveOriginals the folders done/ and failed/,
    // are never taken as sources.
    FolderWatch(const QString &folder, const QString &outputFolder, bool moveOriginals, int settleMs = 1000,
                QObject *parent = nullptr);

    // Reads the journal, starts watching and takes up the files already
    // there. False, with the reason, when the folder cannot be watched or its
    // journal cannot be written.
    bool start(QString *error);

    // The run's record of a file of the batch. The file is journaled; with
    // moveOriginals a converted one moves into done/, a failed one into
    // failed/ beside a NAME.txt giving the reason.
    void fileDone(const ConversionFile &file);
    // The host is done with the batch; a file it gave no word on (a stopped
    // run) is taken up again.
    void batchDone();

    // The watched folder as the paths handed over spell it.
    QString folder() const { return root; }

signals:
    // Pictures whose writing has finished, sorted by path. The next batch comes
    // only after batchDone().
    void filesReady(const QStringList &paths);
    // Something the user should know that stops no conversion (an original
    // that could not be moved, a journal line that could not be written).
    void problem(const QString &message);

private:
    struct Stamp
    {
        qint64 size = -1;
        qint64 modified = 0;
        bool operator==(const Stamp &other) const { return size == other.size && modified == other.modified; }
    };
    struct Pending
    {
        Stamp stamp;
        QElapsedTimer unchanged;
    };

    static Stamp stampOf(const QString &path);
    bool isExcluded(const QString &path) const;
    void watchFolder(const QString &folder);
    void scan(const QString &folder);
    void consider(const QString &path);
    void settle();
    bool loadJournal(QString *error);
    void record(const QString &relative, const Stamp &stamp, const QString &status);
    void moveOriginal(const QString &path, const QString &into, const QString &reason);

    QString root;
    QString output;
    bool moveOriginals;
    int settleMs;
    QFileSystemWatcher watcher;
    QSet<QString> watchedFolders;
    QTimer settleTimer;
    QFile journal;
    QHash<QString, Stamp> journaled; // by path relative to root
    QHash<QString, Pending> pending; // by absolute path
    QHash<QString, Stamp> inBatch;   // handed over, no word yet; as settled
    bool busy = false;
};

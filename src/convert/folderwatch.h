#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QFileSystemWatcher>
#include <QHash>
#include <QLockFile>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

#include "conversionrun.h"
#include "outputplan.h"

class QSocketNotifier;

// Why these settings cannot convert a watched folder, or empty; the window's
// watch and the command line's refuse alike. The pictures must go into an
// output folder of their own: beside their sources they would be taken up
// again.
QString watchRefusal(const ConversionSettings &settings);

// Watches a folder and its sub-folders (new ones too) for pictures that land
// in it, and hands each over once its writing has finished: on Linux its
// writer has closed it, and its size and modification time stayed unchanged
// for the settle interval, the file opened for reading. The host converts a
// batch and gives word on each file as it is done; a journal in the folder
// (.kestrix-watch.journal, one JSON line per file, synced as it is written)
// keeps what was done, so that a restart neither repeats nor misses a file.
// A file that changes after its conversion is taken again and replaces its
// target. One watch a folder: a lock file in it (.kestrix-watch.lock) is held
// while the watch runs. A watched folder that goes away is waited for.
// Idle, nothing runs but that wait: the folders are watched through the
// system's notifications, and the settle timer runs only while a file is
// pending. Never blocks; the host may convert in the background and answer
// later.
class FolderWatch : public QObject
{
    Q_OBJECT

public:
    // The output folder, and with moveOriginals the folders done/ and failed/,
    // are never taken as sources. A file found cut short is tried again while
    // it changes, and fails once it stayed so for giveUpMs.
    FolderWatch(const QString &folder, const QString &outputFolder, bool moveOriginals, int settleMs = 1000,
                int giveUpMs = 30000, QObject *parent = nullptr);
    ~FolderWatch() override;

    // Takes the folder's lock, reads the journal, starts watching and takes
    // up the files already there. False, with the reason, when the folder
    // cannot be watched, another watch holds it, or its journal cannot be written.
    bool start(QString *error);

    // The run's record of a file of the batch. The file is journaled; with
    // moveOriginals a converted one moves into done/, a failed one into
    // failed/ beside a NAME.txt giving the reason. A file the run refused as
    // cut short (incomplete) waits for its writer instead, and false says
    // that nothing is to be reported of it yet.
    bool fileDone(const ConversionFile &file);
    // The host is done with the batch; a file it gave no word on (a stopped
    // run) is taken up again.
    void batchDone();

    // Whether the file handed over was converted before and changed since:
    // its new conversion replaces the earlier one's target.
    bool replacesItsTarget(const QString &path) const;
    // The plan of a batch with these outputs: planned against the watched
    // folder (a kept folder structure is the one below it), a file converted
    // before and changed since writing over its own targets.
    QList<PlannedFile> planBatch(const QStringList &paths, const QList<OutputTarget> &outputs) const;

    // The watched folder as the paths handed over spell it.
    QString folder() const { return root; }

signals:
    // Pictures whose writing has finished, sorted by path. The next batch comes
    // only after batchDone().
    void filesReady(const QStringList &paths);
    // Something the user should know that stops no conversion (an original
    // that could not be moved, a journal line that could not be written, the
    // folder gone or back).
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
        // How long it must stay unchanged: the settle interval, or after it
        // was found cut short the time given to its writer.
        int waitMs = 0;
    };

    static Stamp stampOf(const QString &path);
    bool isExcluded(const QString &path) const;
    void watchFolder(const QString &folder);
    void scan(const QString &folder);
    void consider(const QString &path, int waitMs = -1);
    void settle();
    bool lockFolder(QString *error);
    bool loadJournal(QString *error);
    void folderGone();
    void checkFolderBack();
    void record(const QString &relative, const Stamp &stamp, const QString &status);
    void moveOriginal(const QString &path, const QString &into, const QString &reason);
    void watchWrites(const QString &folder);
    void readWriteEvents();

    QString root;
    QString output;
    bool moveOriginals;
    int settleMs;
    int giveUpMs;
    QFileSystemWatcher watcher;
    QSet<QString> watchedFolders;
    QTimer settleTimer;
    QTimer returnTimer;
    QFile journal;
    std::unique_ptr<QLockFile> lock;
    QHash<QString, Stamp> journaled;  // by path relative to root
    QSet<QString> convertedBefore;    // relative paths journaled as converted
    QHash<QString, Pending> pending;  // by absolute path
    QHash<QString, Stamp> inBatch;    // handed over, no word yet; as settled
    QHash<QString, Stamp> cutShortAt; // found cut short at this stamp, waiting for its writer
    bool busy = false;
    // Files a writer has open (Linux): taken only once it closed them.
    QSet<QString> beingWritten;
    int writeEvents = -1;
    QSocketNotifier *writeNotifier = nullptr;
    QHash<int, QString> folderOfWatch;
};

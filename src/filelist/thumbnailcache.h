#pragma once

#include <QList>
#include <QString>

// The preview thumbnail cache: finished preview pictures kept as numbered
// WebP files, and the process-wide records that say which source each file
// shows. The records are guarded by a lock: lookups run on the GUI thread
// while preview workers allocate files.

struct ThumbnailRecord
{
    QString sourcePath;
    int number = 0;
    bool stale = false;
};

struct ThumbnailLookup
{
    enum Answer { Show, Reuse, New };
    Answer answer = New;
    QString fileName; // for Show and Reuse
};

// The thumbnail folder in the user's cache folder, with its closing slash;
// created when missing.
QString thumbnailFolder();

ThumbnailLookup lookupThumbnail(const QString &sourcePath, bool refresh);

// Registers a new record for the source and returns the path of its cache file.
QString allocateThumbnailFile(const QString &sourcePath);

// A copy of the records, in order of creation.
QList<ThumbnailRecord> thumbnailRecords();

// True until the clean-up at the first close has run.
bool thumbnailCleanupPending();
void setThumbnailCleanupPending(bool pending);

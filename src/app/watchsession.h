#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "conversionsettings.h"
#include "folderwatch.h"

class ConvertImagesThread;

// The settings a watched folder converts with: the window's (no preset named)
// or a preset's, the pictures written into outputFolder. Nobody is there to
// answer, so a target that exists is skipped where the settings would ask.
// False, with the reason, for an empty output folder, a preset that cannot be
// read or names a setting this version does not know, and settings a watch
// refuses (watchRefusal).
bool watchSettings(const QString &preset, const ConversionSettings &current, const QString &outputFolder,
                   ConversionSettings *settings, QString *error);

// A watched folder in the window: each batch of settled files is converted
// on a worker with the settings given here, and each file is reported and
// journaled as it is done.
class WatchSession : public QObject
{
    Q_OBJECT

public:
    // settleMs: how long a file stays unchanged before it is taken, as FolderWatch.
    WatchSession(const QString &folder, const ConversionSettings &settings, bool moveOriginals, int settleMs = 1000,
                 QObject *parent = nullptr);
    // Waits for the files in flight and journals them.
    ~WatchSession() override;

    // Makes the output folder and starts watching. False, with the reason,
    // when the folder cannot be watched or the output folder cannot be made.
    bool start(QString *error);
    // No file starts after it; stopped() comes from the event loop once the
    // files in flight are done.
    void stop();

signals:
    // A file's record, once it is journaled.
    void fileReported(const ConversionFile &file);
    void problem(const QString &message);
    void stopped();

private:
    void convertBatch(const QStringList &paths);
    void finishFile(const ConversionFile &file);
    void passEnded();

    ConversionSettings settings;
    FolderWatch watch;
    ConvertImagesThread *worker = nullptr;
    bool stopping = false;
};

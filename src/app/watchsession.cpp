#include "watchsession.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include "convertimagesthread.h"
#include "outputplan.h"
#include "presets.h"
#include "targetformats.h"

bool watchSettings(const QString &preset, const ConversionSettings &current, const QString &outputFolder,
                   ConversionSettings *settings, QString *error)
{
    if (outputFolder.isEmpty()) {
        *error = QObject::tr("Choose the folder the pictures are written to.");
        return false;
    }
    ConversionSettings chosen = current;
    // Unattended, a setting read wrong would quietly give other pictures.
    if (!preset.isEmpty() && !loadRunSettings(preset, true, chosen, error))
        return false;
    if (const QString refusal = watchRefusal(chosen); !refusal.isEmpty()) {
        *error = refusal;
        return false;
    }
    chosen.outputFolder = outputFolder;
    if (chosen.existingFilePolicy == ExistingAsk)
        chosen.existingFilePolicy = ExistingSkip;
    *settings = chosen;
    return true;
}

WatchSession::WatchSession(const QString &folder, const ConversionSettings &settings, bool moveOriginals,
                           int settleMs, QObject *parent)
    : QObject(parent), settings(settings), watch(folder, settings.outputFolder, moveOriginals, settleMs)
{
    connect(&watch, &FolderWatch::filesReady, this, &WatchSession::convertBatch);
    connect(&watch, &FolderWatch::problem, this, &WatchSession::problem);
}

WatchSession::~WatchSession()
{
    stopping = true;
    if (worker) {
        worker->stopRequested = true;
        worker->wait();
        // The worker's last words are still queued: they journal the files it
        // finished. Whoever listened may be half gone: nothing is said.
        blockSignals(true);
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

bool WatchSession::start(QString *error)
{
    if (!QDir().mkpath(settings.outputFolder)) {
        *error = tr("The folder %1 cannot be made.").arg(QDir::toNativeSeparators(settings.outputFolder));
        return false;
    }
    return watch.start(error);
}

void WatchSession::stop()
{
    stopping = true;
    if (worker)
        worker->stopRequested = true;
    else // from the event loop, as after a pass: whoever asked is not called back from inside its call
        QTimer::singleShot(0, this, &WatchSession::stopped);
}

void WatchSession::convertBatch(const QStringList &paths)
{
    if (stopping)
        return;
    ConversionJob job;
    job.sources = paths;
    job.settings = {settings};
    job.outputFolder = settings.outputFolder;
    job.targetExtension = targetFormatAt(settings.targeFileType).targetExtension();
    job.plan = watch.planBatch(paths, outputTargets(job));
    // A file cut short waits for its writer.
    job.refuseIncomplete = true;
    worker = new ConvertImagesThread(job, this);
    connect(worker, &ConvertImagesThread::fileReported, this, &WatchSession::finishFile);
    connect(worker, &ConvertImagesThread::threadCompleted, this, &WatchSession::passEnded);
    connect(worker, &ConvertImagesThread::threadTerminated, this, &WatchSession::passEnded);
    worker->start();
}

void WatchSession::finishFile(const ConversionFile &file)
{
    if (watch.fileDone(file))
        emit fileReported(file);
}

void WatchSession::passEnded()
{
    worker->wait();
    worker->deleteLater();
    worker = nullptr;
    // A file the stopped pass gave no word on is taken up by the next start.
    if (stopping)
        emit stopped();
    else
        watch.batchDone();
}

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
    if (!preset.isEmpty()) {
        const QString path = presetPath(preset);
        QList<SettingsFileProblem> problems;
        if (path.isEmpty() || !loadSettingsFile(path, chosen, QApplication::font(), &problems)) {
            *error = QObject::tr("The preset \"%1\" could not be read.").arg(preset);
            return false;
        }
        // Unattended, a setting read wrong would quietly give other pictures.
        if (!problems.isEmpty()) {
            *error = QObject::tr("The preset \"%1\" has settings this version does not know: %2")
                         .arg(preset, problems.first().reason);
            return false;
        }
    }
    if (chosen.targeFileType == TargetPdf) {
        *error = QObject::tr("A watched folder is converted to pictures, not to a PDF document.");
        return false;
    }
    // Outputs beside their sources would land in the watched folder and be
    // taken up again.
    chosen.outputBesideSource = false;
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
    const QString extension = targetFormatAt(settings.targeFileType).targetExtension();
    worker = new ConvertImagesThread(settings, this);
    worker->_urls = paths;
    worker->outputPath = settings.outputFolder;
    worker->targetExtension = extension;
    // Planned against the watched folder, so that a kept folder structure is
    // the one below it, whichever files a batch holds.
    worker->plannedFiles = planOutputs(paths, settings.outputFolder, extension, settings, false,
                                       fileSourceFacts(settings), watch.folder());
    const auto note = [this](const QString &status) {
        return [this, status](const QString &path, const QString &reason) {
            // A failure of any page outweighs the rest; the first reason is kept.
            auto &outcome = outcomes[path];
            if (outcome.first.isEmpty() || (status == QLatin1String("failed") && outcome.first != status))
                outcome = {status, reason};
        };
    };
    connect(worker, &ConvertImagesThread::fileFailed, this, note(QStringLiteral("failed")));
    connect(worker, &ConvertImagesThread::fileSkipped, this, note(QStringLiteral("skipped")));
    connect(worker, &ConvertImagesThread::fileNoted, this, note(QStringLiteral("converted")));
    connect(worker, &ConvertImagesThread::fileFinished, this, &WatchSession::finishFile);
    connect(worker, &ConvertImagesThread::threadCompleted, this, &WatchSession::passEnded);
    connect(worker, &ConvertImagesThread::threadTerminated, this, &WatchSession::passEnded);
    worker->start();
}

void WatchSession::finishFile(const QString &path)
{
    const QPair<QString, QString> outcome = outcomes.take(path);
    const QString status = outcome.first.isEmpty() ? QStringLiteral("converted") : outcome.first;
    watch.fileDone(path, status, outcome.second);
    emit fileReported(path, status, outcome.second);
}

void WatchSession::passEnded()
{
    worker->wait();
    worker->deleteLater();
    worker = nullptr;
    outcomes.clear();
    // A file the stopped pass gave no word on is taken up by the next start.
    if (stopping)
        emit stopped();
    else
        watch.batchDone();
}

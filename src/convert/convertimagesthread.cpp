#include "convertimagesthread.h"

ConvertImagesThread::ConvertImagesThread(const ConversionSettings &settings, QObject *parent)
    : QThread(parent), settings(settings)
{
}

void ConvertImagesThread::run()
{
    // A stop that came before the pass began still ends it with a signal, so
    // whoever waits for the end is never left waiting.
    if (stopRequested) {
        emit threadTerminated();
        return;
    }
    ConversionJob job;
    job.sources = _urls;
    job.plan = plannedFiles;
    job.settings = QList<ConversionSettings>{settings} + extraOutputs;
    job.outputFolder = outputPath;
    job.targetExtension = targetExtension;
    job.overwriteExisting = overwriteExisting;
    job.keepStoppedDocument = keepStoppedDocument;
    job.stop = &stopRequested;
    ConversionObserver observer;
    observer.started = [this](const QString &source) { emit updateFileName(source); };
    observer.finished = [this](const QString &source) { emit fileFinished(source); };
    observer.failed = [this](const QString &source, const QString &reason) { emit fileFailed(source, reason); };
    observer.skipped = [this](const QString &source, const QString &reason) { emit fileSkipped(source, reason); };
    observer.noted = [this](const QString &source, const QString &note) { emit fileNoted(source, note); };
    observer.documentStopped = [this](const QString &pdfPath, int pages) { emit documentStopped(pdfPath, pages); };
    result = runConversion(job, observer);

    if (result.stopped)
        emit threadTerminated();
    else
        emit threadCompleted(result.existingTargets, result.existingSources);
}

#include "convertimagesthread.h"

ConvertImagesThread::ConvertImagesThread(const ConversionJob &job, QObject *parent) : QThread(parent), job(job)
{
}

void ConvertImagesThread::run()
{
    ConversionJob ownJob = job;
    ownJob.stop = &stopRequested;
    ConversionObserver observer;
    observer.started = [this](const QString &source) { emit updateFileName(source); };
    observer.done = [this](const QString &source) { emit fileFinished(source); };
    observer.finished = [this](const ConversionFile &file) { emit fileReported(file); };
    // A stop that came before the pass began still ends it with a signal, so
    // whoever waits for the end is never left waiting.
    const ConversionResult result = runConversion(ownJob, observer);
    if (result.stopped)
        emit threadTerminated(result);
    else
        emit threadCompleted(result);
}

#pragma once

#include <QString>
#include <QThread>

#include <atomic>

#include "conversionrun.h"

// The window's worker: one conversion run (runConversion) of one job on a
// thread of its own, its progress told as signals, all sent from that
// thread, and the whole result delivered with the signal that ends the pass.
// Targets that already exist are set aside and returned in the result; the
// caller decides about them. The job carries its own copy of the settings.
class ConvertImagesThread : public QThread
{
    Q_OBJECT

public:
    explicit ConvertImagesThread(const ConversionJob &job, QObject *parent = nullptr);

    // Set by the GUI thread to cancel: no file starts after it, files in
    // progress are finished.
    std::atomic_bool stopRequested{false};

signals:
    // As each source starts, in list order.
    void updateFileName(QString fileName);
    // The pass's work on a source is over, for the progress shown.
    void fileFinished(QString fileName);
    // A source's finished record (see ConversionObserver::finished).
    void fileReported(ConversionFile file);
    // The pass ended because a stop was requested (also before it began).
    void threadTerminated(ConversionResult result);
    // The pass ran to its end; result.existing holds the targets that already existed.
    void threadCompleted(ConversionResult result);

protected:
    void run() override;

private:
    const ConversionJob job;
};

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

#include "conversionrun.h"
#include "conversionsettings.h"
#include "outputplan.h"

// The window's worker: one conversion run (runConversion) on a thread of its
// own, its progress told as signals, all sent from that thread. Targets that
// already exist are set aside and reported at the end; the caller decides
// about them. Works on the settings snapshot it was created with, never on
// the live record.
class ConvertImagesThread : public QThread
{
    Q_OBJECT

public:
    explicit ConvertImagesThread(const ConversionSettings &settings, QObject *parent = nullptr);

    // Set by the GUI thread to cancel: no file starts after it, files in
    // progress are finished.
    std::atomic_bool stopRequested{false};
    QList<QString> _urls;
    // Output folder for image targets; the PDF pass builds its path from the settings.
    QString outputPath;
    QString targetExtension;
    bool overwriteExisting = false;
    // A plan made before the pass (a second pass over targets the user chose
    // to replace), converted as it is instead of a plan of _urls.
    QList<PlannedFile> plannedFiles;
    // A PDF pass stopped before its last source still writes the pages drawn
    // so far; false leaves no document (and an earlier one as it was).
    bool keepStoppedDocument = true;
    // Further outputs of every source, from the same decode (none in a second pass).
    QList<ConversionSettings> extraOutputs;
    // What the pass did, set before its end signal: per source its outputs,
    // skips and failures, and beside threadCompleted's lists the page of the
    // source each existing target is made of.
    ConversionResult result;

signals:
    // As each source starts, skipped ones included, in list order.
    void updateFileName(QString fileName);
    // Once for every source started, when it is done (written, failed or set aside).
    void fileFinished(QString fileName);
    // The pass ended because a stop was requested.
    void threadTerminated();
    // The pass ran to its end; the targets that already existed and their sources.
    void threadCompleted(QList<QString> fileExistsList, QList<QString> fileSourceList);
    // A source that could not be converted, with the reason; sent before the end signal.
    void fileFailed(QString fileName, QString reason);
    // A source left as it is, and why; sent before its fileFinished.
    void fileSkipped(QString fileName, QString reason);
    // A source converted from incomplete data (a file cut short), with the
    // note for the report; sent before fileFinished.
    void fileNoted(QString fileName, QString note);
    // A stopped PDF pass kept the pages drawn so far in the document; sent before threadTerminated.
    void documentStopped(QString pdfPath, int pageCount);

protected:
    void run() override;

private:
    ConversionSettings settings;
};

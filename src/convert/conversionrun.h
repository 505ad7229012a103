#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

#include "conversionsettings.h"
#include "outputplan.h"

// One run of the converter over a list of sources, as the window's worker and
// the command line both start it: one file per source for image targets, or
// one PDF document with a page per good source. Several files convert at once
// (the settings' job count, within a memory budget). Targets that already
// exist are set aside and returned; the caller decides about them.
struct ConversionJob
{
    QStringList sources;
    // A plan made before the run (a second pass over targets the user chose
    // to replace, or the command line's share of its list), converted as it
    // is instead of a plan of the sources.
    QList<PlannedFile> plan;
    // The first gives the main output; the run works on these copies, never
    // on the live record.
    QList<ConversionSettings> settings;
    // Output folder for image targets; the PDF pass builds its path from the settings.
    QString outputFolder;
    QString targetExtension;
    bool overwriteExisting = false;
    // A PDF pass stopped before its last source still writes the pages drawn
    // so far; false leaves no document (and an earlier one as it was).
    bool keepStoppedDocument = true;
    // Set from elsewhere to stop: no file starts after it, files in progress
    // are finished.
    const std::atomic_bool *stop = nullptr;
};

// What the run tells as it goes, every call from the thread that runs it.
// Unset callbacks are left out.
struct ConversionObserver
{
    // As each source starts, skipped ones included, in list order.
    std::function<void(const QString &source)> started;
    // Once for every source started, when it is done (written, failed or set aside).
    std::function<void(const QString &source)> finished;
    // A source that could not be converted, with the reason.
    std::function<void(const QString &source, const QString &reason)> failed;
    // A source left as it is, and why; before its finished.
    std::function<void(const QString &source, const QString &reason)> skipped;
    // A source whose target gets another name than its own, and why; as it starts.
    std::function<void(const QString &source, const QString &reason)> renamed;
    // A source converted from incomplete data or with something left out: the report's note.
    std::function<void(const QString &source, const QString &note)> noted;
    // An image file written: its source's size (0 for further outputs of one
    // decode) and its own in bytes; before finished.
    std::function<void(const QString &source, qint64 bytesRead, qint64 bytesWritten)> sizes;
    // A source decoded for the run's outputs, once for each decode.
    std::function<void(const QString &source)> decoded;
    // A stopped PDF pass kept the pages drawn so far in the document.
    std::function<void(const QString &pdfPath, int pageCount)> documentStopped;
};

struct ConversionResult
{
    // One per source the run dealt with, in the order it started them.
    struct File
    {
        QString source;
        QStringList outputs;   // the files written
        QStringList skipped;   // why outputs were left out
        QStringList failures;  // why outputs could not be made
        QStringList notes;
        qint64 bytesRead = 0;
        qint64 bytesWritten = 0;
    };
    QList<File> files;
    // The targets that already existed, their sources and the page each is made of.
    QList<QString> existingTargets;
    QList<QString> existingSources;
    QList<int> existingPages;
    // Sources left out by the Skip policy (after a stop also those set aside)
    // and targets written under a free name.
    int skippedCount = 0;
    int renamedCount = 0;
    bool stopped = false;
};

// Runs the job on the calling thread. With several settings each source is
// decoded once where its outputs allow it and goes to every output; the
// outputs of one source share its planning (planEveryOutput). A further
// output that names no folder writes into the first one's.
ConversionResult runConversion(const ConversionJob &job, const ConversionObserver &observer = {});

// Why these settings cannot be the outputs of one run, or empty: a PDF
// document or every page as a file of its own cannot be a further output.
// A run with such outputs fails every source with it.
QString outputsProblem(const QList<ConversionSettings> &settings);

// The folder, type and settings of each output of the job.
QList<OutputTarget> outputTargets(const ConversionJob &job);

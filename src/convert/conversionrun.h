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
// exist are set aside and returned; the caller decides about them. The run
// changes nothing of the process's own: what the window shows afterwards is
// in the result.
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
    // A source decoded from incomplete data (a file cut short) fails
    // instead of being written with a note, its record marked incomplete: a
    // watched file whose writer may not be done.
    bool refuseIncomplete = false;
    // Set from elsewhere to stop: no file starts after it, files in progress
    // are finished.
    const std::atomic_bool *stop = nullptr;
};

// One source's outcome, decided by the run once the source is done with;
// whoever reports it only turns it into words.
struct ConversionFile
{
    enum Outcome {
        Converted,
        Renamed,    // converted, a target written under a free name
        Skipped,    // left as it is (or a target set aside for the question)
        Failed,     // the first failure is the file's reason
        NotStarted, // never reached, or drawn into a document that was not written
    };
    QString source;
    Outcome outcome = NotStarted;
    // The first target planned for it; the document of a PDF run.
    QString target;
    QStringList outputs;  // the files written
    QStringList failures; // why outputs could not be made
    QStringList skipped;  // why outputs were left out
    QStringList notes;    // renamed targets and pictures made with something left out
    // Pages or frames written: files of the first output, or pages in the document.
    int pages = 0;
    // The source's size, counted once, and the image files' sizes; -1 when
    // no image file was written (a PDF page has no size of its own).
    qint64 bytesRead = -1;
    qint64 bytesWritten = -1;
    // From its start to its end.
    qint64 ms = 0;
    // Refused as cut short (ConversionJob::refuseIncomplete).
    bool incomplete = false;
    // An output met the size limit only scaled down, or was left over it
    // (shrinking off): counted apart in the summaries.
    bool scaledToFit = false;
    bool overSizeLimit = false;

    bool succeeded() const { return outcome == Converted || outcome == Renamed; }
    // The one line a report gives it: a failed file's first failure, a
    // skipped file's first reason, otherwise its notes.
    QString reason() const;
};

struct ConversionResult
{
    using File = ConversionFile;
    // One per source of the job: in the order the run started them, those
    // it never started last.
    QList<File> files;
    // The targets that already existed (policy Ask), set aside as planned,
    // for the caller to decide; a second pass converts those chosen.
    QList<PlannedFile> existing;
    // Targets left out by the Skip policy (after a stop also those set aside)
    // and targets written under a free name.
    int skippedCount = 0;
    int renamedCount = 0;
    // Files written scaled down to fit the size limit, and left over it.
    int scaledToFitCount = 0;
    int overSizeLimitCount = 0;
    bool stopped = false;
    // Where the outputs went, for "Open Folder": the output folder in native
    // separators, or the PDF document; empty when the run wrote nothing anywhere.
    QString outputLocation;
    // A stopped PDF pass kept the pages drawn so far in the document: how many.
    int stoppedDocumentPages = -1;
};

// What the run tells as it goes, every call from the thread that runs it.
// Unset callbacks are left out.
struct ConversionObserver
{
    // As each source starts, in list order.
    std::function<void(const QString &source)> started;
    // The run's work on a source is over (a page of a PDF document: drawn).
    std::function<void(const QString &source)> done;
    // A source's finished record, once its outcome is decided: with done,
    // except for the pages of a PDF document, which wait for the document to
    // be written (a page that failed is told at once).
    std::function<void(const ConversionFile &file)> finished;
    // A source decoded for the run's outputs, once for each decode.
    std::function<void(const QString &source)> decoded;
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

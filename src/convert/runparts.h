#pragma once

// The parts one conversion run is made of, shared by its image pass
// (conversionrun.cpp) and its PDF pass (pdfpass.cpp); nothing outside them
// uses these.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QThreadPool>
#include <QWaitCondition>

#include "conversionjobs.h"
#include "conversionrun.h"
#include "encoderthreads.h"
#include "pdfdocument.h"
#include "targetsize.h"

namespace runparts {

// The run's texts, translated under one name.
struct RunTexts
{
    Q_DECLARE_TR_FUNCTIONS(ConvertImagesThread)
};

// What a file's job hands back: a failure reason, or for a PDF page what is
// drawn on it.
struct JobResult
{
    QString error;
    PdfPicture page;
    // Converted from incomplete data: what the report says about it.
    QString note;
    // The target was made by someone else while the file converted.
    bool taken = false;
    // A written file's size and its source's.
    qint64 bytesRead = 0;
    qint64 bytesWritten = 0;
    // How often the job decoded its source.
    int decodes = 0;
    // Where a file under the size limit landed.
    SizeFit fit;
};

// The files of one pass in flight on its own pool. Only the pass's thread
// starts jobs and takes results, so the counts need no lock; the finished
// results do, as the pool's threads put them.
template <typename Result>
class JobQueue
{
public:
    // codecThreads: what each job's codecs may start (setCodecThreadCount), on its own thread.
    JobQueue(int jobs, int codecThreads, qint64 budget) : jobs(jobs), codecThreads(codecThreads), budget(budget)
    {
        pool.setMaxThreadCount(jobs);
    }

    bool hasRoomFor(qint64 bytes) const { return mayStartFile(inFlight, inFlightBytes, bytes, jobs, budget); }
    int running() const { return inFlight; }

    template <typename Job>
    void start(int index, qint64 bytes, Job job)
    {
        ++inFlight;
        inFlightBytes += bytes;
        bytesOf.insert(index, bytes);
        pool.start([this, index, job] {
            setCodecThreadCount(codecThreads);
            Result result = job();
            QMutexLocker locker(&mutex);
            finished.insert(index, std::move(result));
            ready.wakeAll();
        });
    }

    // Waits for the result of file `wanted`, or of any file when it is
    // negative; its memory no longer counts.
    Result take(int wanted, int *taken = nullptr)
    {
        QMutexLocker locker(&mutex);
        while (wanted < 0 ? finished.isEmpty() : !finished.contains(wanted))
            ready.wait(&mutex);
        const auto it = wanted < 0 ? finished.begin() : finished.find(wanted);
        const int index = it.key();
        Result result = std::move(it.value());
        finished.erase(it);
        locker.unlock();
        --inFlight;
        inFlightBytes -= bytesOf.take(index);
        if (taken)
            *taken = index;
        return result;
    }

private:
    const int jobs;
    const int codecThreads;
    const qint64 budget;
    int inFlight = 0;
    qint64 inFlightBytes = 0;
    QHash<int, qint64> bytesOf;
    QMutex mutex;
    QWaitCondition ready;
    QHash<int, Result> finished;
    // Last, so that it is gone, its jobs done, before what they write to.
    QThreadPool pool;
};

// A source's estimated working memory for the target (see estimatedFileBytes).
qint64 sourceBytes(const QString &source, const QString &targetExtension, const ConversionSettings &settings,
                   int page = 0);

// What the run keeps of each source as it goes, the outcome decided once
// when the run is done with it, and what it tells the observer.
class Records
{
public:
    Records(const ConversionObserver &observer, ConversionResult &result) : observer(observer), result(result) {}

    ConversionFile &fileOf(const QString &source)
    {
        const auto it = indexOf.constFind(source);
        if (it != indexOf.cend())
            return result.files[*it];
        indexOf.insert(source, result.files.size());
        result.files.append(ConversionFile{source});
        return result.files.last();
    }
    bool contains(const QString &source) const { return indexOf.contains(source); }

    void start(const QString &source, const QString &target)
    {
        fileOf(source).target = target;
        clocks[source].start();
        if (observer.started)
            observer.started(source);
    }
    void fail(const QString &source, const QString &reason) { fileOf(source).failures << reason; }
    void skip(const QString &source, const QString &reason) { fileOf(source).skipped << reason; }
    void setAside(const QString &source) { setAsideSources.insert(source); }
    void rename(const QString &source, const QString &reason)
    {
        fileOf(source).notes << reason;
        renamedSources.insert(source);
    }
    void note(const QString &source, const QString &note) { fileOf(source).notes << note; }
    // Where one of its outputs landed under the size limit.
    void sized(const QString &source, const SizeFit &fit)
    {
        ConversionFile &file = fileOf(source);
        file.scaledToFit |= fit.percent < 100;
        file.overSizeLimit |= fit.over;
    }
    // A file written of the source; the source's bytes count once however
    // many files are made of it.
    void written(const QString &source, const QString &target, bool firstOutput, qint64 bytesRead,
                 qint64 bytesWritten)
    {
        ConversionFile &file = fileOf(source);
        file.outputs << target;
        file.pages += firstOutput ? 1 : 0;
        file.bytesRead = qMax(file.bytesRead, bytesRead);
        file.bytesWritten = qMax<qint64>(file.bytesWritten, 0) + bytesWritten;
    }
    void decoded(const QString &source)
    {
        if (observer.decoded)
            observer.decoded(source);
    }
    void done(const QString &source)
    {
        fileOf(source).ms = clocks.value(source).elapsed();
        if (observer.done)
            observer.done(source);
    }
    // The source's outcome, decided from what happened to it, and told.
    void finish(const QString &source)
    {
        ConversionFile &file = fileOf(source);
        file.outcome = !file.failures.isEmpty()                                  ? ConversionFile::Failed
                       : !file.skipped.isEmpty() || setAsideSources.contains(source) ? ConversionFile::Skipped
                       : renamedSources.contains(source)                         ? ConversionFile::Renamed
                                                                                 : ConversionFile::Converted;
        // A size-limit mark belongs to a file that was written.
        if (!file.succeeded())
            file.scaledToFit = file.overSizeLimit = false;
        result.scaledToFitCount += file.scaledToFit ? 1 : 0;
        result.overSizeLimitCount += file.overSizeLimit ? 1 : 0;
        if (observer.finished)
            observer.finished(file);
    }
    // Sources never reached close the list.
    void addNotStarted(const QStringList &sources)
    {
        for (const QString &source : sources)
            fileOf(source);
    }

private:
    const ConversionObserver &observer;
    ConversionResult &result;
    QHash<QString, qsizetype> indexOf;
    QHash<QString, QElapsedTimer> clocks;
    QSet<QString> renamedSources;
    QSet<QString> setAsideSources;
};

// What a run shares between its passes: the job, its settings and records.
struct RunContext
{
    const ConversionJob &job;
    ConversionSettings settings; // the first output's, as the run uses them
    QList<ConversionSettings> outputs;
    QStringList folders;
    int jobs = 1;
    int codecThreads = 0;
    ConversionResult result;
    Records records;

    RunContext(const ConversionJob &job, const ConversionObserver &observer, const ConversionSettings &settings)
        : job(job), settings(settings), outputs(job.settings), records(observer, result)
    {
        if (!outputs.isEmpty())
            outputs.first() = settings;
        for (const OutputTarget &target : outputTargets(job))
            folders << target.folder;
    }
    bool stopped() const { return job.stop && *job.stop; }
    void failAll(const QString &reason)
    {
        for (const QString &source : job.sources) {
            const bool told = records.contains(source) && records.fileOf(source).outcome != ConversionFile::NotStarted;
            records.fail(source, reason);
            if (!told)
                records.finish(source);
        }
    }
};

// The passes: image files, or one PDF document at pdfPath.
void convertImages(RunContext &run);
void convertToPdf(RunContext &run, const QString &pdfPath);

} // namespace runparts

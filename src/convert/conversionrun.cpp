#include "conversionrun.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <QThreadPool>
#include <QWaitCondition>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "conversionjobs.h"
#include "convertfile.h"
#include "encoderthreads.h"
#include "imagemagickutil.h"
#include "imagewriters.h"
#include "pdfdocument.h"
#include "pdflayout.h"
#include "pipelinerules.h"
#include "sourceframes.h"
#include "targetformats.h"
#include "targetsize.h"

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ConvertImagesThread", text);
}

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
};

// The files of one pass in flight on its own pool. Only the pass's thread
// starts jobs and takes results, so the counts need no lock; the finished
// results do, as the pool's threads put them.
template <typename Result>
class JobQueue
{
public:
    JobQueue(int jobs, qint64 budget) : jobs(jobs), budget(budget) { pool.setMaxThreadCount(jobs); }

    bool hasRoomFor(qint64 bytes) const { return mayStartFile(inFlight, inFlightBytes, bytes, jobs, budget); }
    int running() const { return inFlight; }

    template <typename Job>
    void start(int index, qint64 bytes, Job job)
    {
        ++inFlight;
        inFlightBytes += bytes;
        bytesOf.insert(index, bytes);
        pool.start([this, index, job] {
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

// The estimate is read from the header of regular files only: opening
// anything else (a FIFO) could block. A source too large to decode whole is
// counted at the reduced size it is decoded at.
qint64 sourceBytes(const QString &source, const QString &targetExtension, const ConversionSettings &settings,
                   int page = 0)
{
    const QFileInfo info(source);
    if (!info.isFile())
        return 0;
    const QSize size = uprightImageSize(source, settings.pdfSourceDpi, settings.rawPictures, page);
    // Such a file is all pixels: none of it is taken for metadata.
    if (const std::optional<QSize> reduced = reducedDecodeSize(size, settings))
        return estimatedFileBytes(*reduced, targetExtension);
    return estimatedFileBytes(size, targetExtension, info.size());
}

// Moves a finished file to its name: over what is there only when asked,
// otherwise only where nothing is, *taken telling that something was.
bool moveIntoPlace(const QString &from, const QString &to, bool replace, bool *taken)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (replace)
        return ::rename(source.constData(), target.constData()) == 0;
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    // Some file systems do not take the flag; a hard link is made only where nothing is either.
    if (errno != EINVAL && errno != ENOSYS) {
        *taken = errno == EEXIST;
        return false;
    }
#endif
    if (::link(source.constData(), target.constData()) != 0) {
        *taken = errno == EEXIST;
        return false;
    }
    ::unlink(source.constData());
    return true;
}

// A file is written under a short hidden name beside its target and moved
// into place once complete, so that it replaces only what the plan replaces
// (a file another process made meanwhile, a shard's, is left alone), never
// writes through a link, and takes names up to the file system's limit.
// write makes the file at the path it is given.
JobResult convertPlanned(const PlannedFile &file, const QString &outputFolder,
                         const std::function<bool(const QString &path, QString *error, QString *note)> &write)
{
    // With the folder structure kept, a target's folder below the output
    // folder may not be there yet; a missing output folder is not made.
    const QString folder = QFileInfo(file.target).absolutePath();
    if (!QFileInfo(folder).isDir() && QFileInfo(outputFolder).isDir() && !QDir().mkpath(folder))
        return JobResult{QCoreApplication::translate("ConvertImagesThread", "Cannot write %1").arg(file.target), {}};
    const QString part = folder + QStringLiteral("/.kx-")
                         + QString::number(QRandomGenerator::global()->generate64(), 36) + QLatin1Char('.')
                         + QFileInfo(file.target).suffix();
    QString error;
    QString note;
    if (!write(part, &error, &note))
        return JobResult{error.replace(part, file.target), {}};
    const qint64 bytesWritten = QFileInfo(part).size();
    // A replaced file keeps its permissions.
    if (file.replaces && QFileInfo(file.target).isFile())
        QFile::setPermissions(part, QFileInfo(file.target).permissions());
    bool taken = false;
    if (moveIntoPlace(part, file.target, file.replaces, &taken))
        return JobResult{{}, {}, note, false, QFileInfo(file.source).size(), bytesWritten};
    const QString reason = qt_error_string(errno);
    QFile::remove(part);
    if (taken)
        return JobResult{{}, {}, {}, true};
    return JobResult{
        QCoreApplication::translate("ConvertImagesThread", "Cannot write %1: %2").arg(file.target, reason), {}};
}

// One run: the job, what it tells and what it returns.
class Run
{
public:
    Run(const ConversionJob &job, const ConversionObserver &observer, const ConversionSettings &settings)
        : job(job), observer(observer), settings(settings), memos(new TargetSizeMemo[job.settings.size() + 1])
    {
        outputs = job.settings;
        if (!outputs.isEmpty())
            outputs.first() = settings;
        for (const OutputTarget &target : outputTargets(job))
            folders << target.folder;
    }

    void runImagePass(int jobs)
    {
        // Beside the sources, "Open Folder" opens the first one's.
        const QString folder = settings.outputBesideSource && !job.sources.isEmpty()
                                   ? QFileInfo(job.sources.first()).absolutePath()
                                   : settings.outputFolder;
        if (!job.sources.isEmpty())
            setLastOutputLocation(QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()));

        // The whole list is planned before any file starts, so that files in
        // flight never race for one name.
        const QList<PlannedFile> plan =
            !job.plan.isEmpty()      ? job.plan
            : job.settings.size() > 1 ? planEveryOutput(job.sources, outputTargets(job), job.overwriteExisting)
                                      : planOutputs(job.sources, job.outputFolder, job.targetExtension, settings,
                                                    job.overwriteExisting, fileSourceFacts(settings));
        // The pages of one source follow each other in the plan; for the
        // report they are one file, started with its first page and finished
        // with its last.
        QList<qsizetype> firstOfSource(plan.size());
        QHash<qsizetype, int> pagesLeft;
        for (qsizetype i = 0; i < plan.size(); ++i) {
            firstOfSource[i] = i > 0 && plan.at(i).source == plan.at(i - 1).source ? firstOfSource.at(i - 1) : i;
            ++pagesLeft[firstOfSource.at(i)];
        }
        const auto pageDone = [&](qsizetype i) {
            if (--pagesLeft[firstOfSource.at(i)] == 0)
                finished(plan.at(i).source);
        };
        // A failure or a note of one page among several says which, and
        // one of a further output names its file.
        const auto ofPage = [&](qsizetype i, const QString &text) {
            const PlannedFile &file = plan.at(i);
            if (file.output > 0)
                return tr("%1: %2").arg(QFileInfo(file.target).fileName(), text);
            const qsizetype first = firstOfSource.at(i);
            const bool several = first + 1 < plan.size() && plan.at(first + 1).source == plan.at(first).source
                                 && plan.at(first + 1).output == 0;
            return several ? tr("page %1: %2").arg(file.page + 1).arg(text) : text;
        };
        // The outputs of one page of a source convert as one job, from one decode.
        JobQueue<QList<JobResult>> queue(jobs, conversionMemoryBudget(physicalMemoryBytes()));
        qsizetype stoppedWithin = -1;
        QHash<int, QList<qsizetype>> membersOf;
        QSet<qsizetype> queued;
        const auto finishOne = [&] {
            int index = -1;
            const QList<JobResult> results = queue.take(-1, &index);
            const QList<qsizetype> members = membersOf.take(index);
            for (int n = 0; n < results.first().decodes; ++n)
                decoded(plan.at(index).source);
            // The source is read once for all its outputs.
            bool read = false;
            for (qsizetype m = 0; m < members.size(); ++m) {
                const JobResult &result = results.at(m);
                const qsizetype i = members.at(m);
                const QString &source = plan.at(i).source;
                if (!result.error.isEmpty())
                    failed(source, ofPage(i, result.error));
                else if (!result.note.isEmpty())
                    noted(source, ofPage(i, result.note));
                if (result.taken) {
                    ++outcome.skippedCount;
                    skipped(source, ofPage(i, tr("the target was made by another program meanwhile")));
                } else if (result.error.isEmpty()) {
                    sizes(source, plan.at(i).target, read ? 0 : result.bytesRead, result.bytesWritten);
                    read = true;
                }
                pageDone(i);
            }
        };

        for (qsizetype i = 0; i < plan.size(); ++i) {
            if (queued.contains(i))
                continue;
            const PlannedFile &file = plan.at(i);
            QList<qsizetype> members;
            qint64 bytes = 0;
            if (file.action == PlannedFile::Convert) {
                for (qsizetype j = i; j < plan.size() && plan.at(j).source == file.source; ++j) {
                    const PlannedFile &other = plan.at(j);
                    if (other.action == PlannedFile::Convert && other.page == file.page
                        && (j == i || other.output != file.output)) {
                        members << j;
                        const QString extension = QLatin1Char('.') + QFileInfo(other.target).suffix();
                        bytes = qMax(bytes, sourceBytes(other.source, extension, outputs.at(other.output), other.page));
                    }
                }
            }
            while (!queue.hasRoomFor(bytes))
                finishOne();
            // A stop is taken between the pages of a source too: one of many
            // pages ends with the pages written so far.
            if (stopped()) {
                if (firstOfSource.at(i) != i)
                    stoppedWithin = i;
                break;
            }
            if (firstOfSource.at(i) == i)
                started(file.source);
            switch (file.action) {
            case PlannedFile::Convert: {
                QList<PlannedFile> files;
                for (const qsizetype j : std::as_const(members)) {
                    const PlannedFile &member = plan.at(j);
                    if (member.renamed) {
                        ++outcome.renamedCount;
                        renamed(member.source, ofPage(j, member.reason));
                    }
                    files << member;
                    queued.insert(j);
                }
                membersOf.insert(int(i), members);
                queue.start(int(i), bytes, [this, files] { return convertTogether(files); });
                continue;
            }
            case PlannedFile::Existing:
                outcome.existingTargets.append(file.target);
                outcome.existingSources.append(file.source);
                outcome.existingPages.append(file.page);
                break;
            case PlannedFile::Skipped:
                ++outcome.skippedCount;
                skipped(file.source, ofPage(i, file.reason));
                break;
            case PlannedFile::Refused:
                failed(file.source, ofPage(i, file.reason));
                break;
            case PlannedFile::Superseded:
                break;
            }
            pageDone(i);
        }
        while (queue.running() > 0)
            finishOne();
        if (stoppedWithin >= 0)
            stoppedBetweenPages(plan, stoppedWithin);
    }

    void runPdfPass(int jobs)
    {
        const QString pdfPath = pdfTargetPath(settings.outputFolder, settings.pdfFileName);
        setLastOutputLocation(QDir::toNativeSeparators(pdfPath));
        if (isOneOfTheSources(pdfPath, job.sources)) {
            failAll(tr("Cannot write %1: %2").arg(pdfPath, tr("the target is one of the sources")));
            return;
        }
        // Saving would write through the link to whatever it points at.
        if (QFileInfo(pdfPath).isSymLink()) {
            failAll(tr("Cannot write %1: %2").arg(pdfPath, tr("the target is a symbolic link")));
            return;
        }

        // The document replaces an existing one only once it is complete.
        TargetFile file(pdfPath);
        if (!file.open()) {
            failAll(tr("Cannot write %1: %2").arg(pdfPath, file.failureReason()));
            return;
        }

        const PdfPageSetup page = pdfPageSetup(settings);
        const Qt::TransformationMode mode = settings.pdfSmoothEdges ? Qt::SmoothTransformation : Qt::FastTransformation;
        const std::unique_ptr<PdfDocument> document = makePdfDocument(&file, page, settings.pdfKeepJpeg);
        if (!document->begin()) {
            file.cancel();
            failAll(tr("Cannot write %1").arg(pdfPath));
            return;
        }

        // Pages are prepared side by side (decode, pipeline, fit) and drawn in
        // list order. A page is begun only for a picture that is drawn on it:
        // failed sources and a stop leave no blank page behind.
        const auto preparePage = [this, &page, mode](const QString &source, int sourcePage) {
            if (settings.pdfKeepJpeg && sourcePage == 0) {
                if (std::optional<PdfPicture> kept = keptJpegPicture(source, settings, page))
                    return JobResult{{}, std::move(*kept)};
            }
            QString reason;
            QString note;
            const QImage image =
                ImageMagickUtil().processImage(source, false, settings, &reason, false, &note, sourcePage);
            if (image.isNull())
                return JobResult{reason, {}};
            if (settings.pagesAndFrames == PagesKeepAnimations && isAnimatedSource(source)) {
                const QString kept = animationKeptAsFirstFrame();
                note = note.isEmpty() ? kept : note + QStringLiteral("; ") + kept;
            }
            const QSize size = pdfFitSize(image.size(), page.availableWidth(), page.availableHeight(),
                                          settings.resizeImageToPaper);
            if (size.isEmpty())
                return JobResult{{}, {}, note};
            PdfPicture picture;
            picture.image = size == image.size() ? image : image.scaled(size, Qt::IgnoreAspectRatio, mode);
            madeSrgb(&picture.image);
            picture.size = size;
            return JobResult{{}, picture, note};
        };
        JobQueue<JobResult> queue(jobs, conversionMemoryBudget(physicalMemoryBytes()));
        // Under "every page" each page of a source is a page of the document.
        struct PageJob
        {
            QString source;
            bool last; // the source's last page
        };
        QList<PageJob> pageJobs;
        int queued = 0;
        int drawn = 0;
        int pages = 0;
        QStringList drawnSources;
        const auto drawNext = [&] {
            const JobResult result = queue.take(drawn);
            const PageJob &pageJob = pageJobs.at(drawn++);
            const QString &source = pageJob.source;
            if (!result.error.isEmpty()) {
                failed(source, result.error);
            } else if (!document->addPage(result.page)) {
                failed(source, tr("Cannot put the picture into %1").arg(pdfPath));
            } else {
                ++pages;
                drawnSources << source;
                if (!result.note.isEmpty())
                    noted(source, result.note);
            }
            if (pageJob.last)
                finished(source);
        };

        bool stoppedEarly = false;
        for (const QString &source : job.sources) {
            const int sourcePages = settings.pagesAndFrames == PagesEach ? sourcePageCount(source) : 1;
            for (int page = 0; page < sourcePages && !stoppedEarly; ++page) {
                const qint64 bytes = sourceBytes(source, job.targetExtension, settings, page);
                while (!queue.hasRoomFor(bytes))
                    drawNext();
                // A full disk ends the pass early: the document is not written anyway.
                stoppedEarly = stopped() || file.failed();
                if (stoppedEarly)
                    break;
                if (page == 0) {
                    qDebug().noquote() << "_urls:" << source;
                    started(source);
                }
                pageJobs.append({source, page == sourcePages - 1});
                queue.start(queued++, bytes, [preparePage, source, page] { return preparePage(source, page); });
            }
            if (stoppedEarly)
                break;
        }
        while (drawn < queued)
            drawNext();

        // A stopped pass still finishes the document with the pages drawn so far;
        // a document without a picture is not written, and an earlier one stays.
        const bool keep = pages > 0 && (job.keepStoppedDocument || !stopped() || !stoppedEarly);
        if (!document->end(keep) || !keep) {
            file.cancel();
            if (keep)
                failAll(tr("Cannot write %1").arg(pdfPath));
            return;
        }
        QString error;
        if (!file.commit(&error)) {
            failAll(tr("Cannot write %1: %2").arg(pdfPath, error));
            return;
        }
        for (const QString &source : std::as_const(drawnSources))
            fileOf(source).outputs << pdfPath;
        if (stopped())
            documentStopped(pdfPath, pages);
    }

    void failAll(const QString &reason)
    {
        for (const QString &source : job.sources)
            failed(source, reason);
    }

    ConversionResult outcome;

private:
    // The outputs of one page of a source, from one decode where they allow it.
    QList<JobResult> convertTogether(const QList<PlannedFile> &files)
    {
        QList<SharedOutput> shared;
        for (const PlannedFile &file : files)
            shared << SharedOutput{file.target, &outputs.at(file.output)};
        QList<JobResult> results;
        if (files.size() == 1 || !canShareDecode(files.first().source, shared)) {
            for (const PlannedFile &file : files) {
                results << convertPlanned(file, folderOf(file.output), [&](const QString &path, QString *error,
                                                                           QString *note) {
                    return convertImageFile(file.source, path, outputs.at(file.output), error, note, file.page,
                                            &memos[file.output], job.stop);
                });
            }
            results.first().decodes = int(files.size());
            return results;
        }
        const DecodedSource decoded = decodeSource(files.first().source, outputs.at(files.first().output));
        for (const PlannedFile &file : files) {
            if (decoded.image.isNull()) {
                results << JobResult{decoded.error, {}};
                continue;
            }
            results << convertPlanned(file, folderOf(file.output), [&](const QString &path, QString *error,
                                                                       QString *note) {
                return convertDecoded(decoded, file.source, path, outputs.at(file.output), error, note,
                                      &memos[file.output]);
            });
        }
        results.first().decodes = 1;
        return results;
    }

    QString folderOf(int output) const { return folders.value(output); }

    // The source whose page `next` was not started for a stop: it ends with the pages before.
    void stoppedBetweenPages(const QList<PlannedFile> &plan, qsizetype next)
    {
        const PlannedFile &file = plan.at(next);
        int pages = file.page + 1;
        for (qsizetype j = next; j < plan.size() && plan.at(j).source == file.source; ++j)
            pages = qMax(pages, plan.at(j).page + 1);
        noted(file.source, tr("stopped after page %1 of %2").arg(file.page).arg(pages));
        finished(file.source);
    }

    bool stopped() const { return job.stop && *job.stop; }

    // The source's entry in the result, made as it is first met.
    ConversionResult::File &fileOf(const QString &source)
    {
        const auto it = indexOf.constFind(source);
        if (it != indexOf.cend())
            return outcome.files[*it];
        indexOf.insert(source, outcome.files.size());
        outcome.files.append({source});
        return outcome.files.last();
    }

    void started(const QString &source)
    {
        fileOf(source);
        if (observer.started)
            observer.started(source);
    }
    void finished(const QString &source)
    {
        if (observer.finished)
            observer.finished(source);
    }
    void failed(const QString &source, const QString &reason)
    {
        fileOf(source).failures << reason;
        if (observer.failed)
            observer.failed(source, reason);
    }
    void skipped(const QString &source, const QString &reason)
    {
        fileOf(source).skipped << reason;
        if (observer.skipped)
            observer.skipped(source, reason);
    }
    void renamed(const QString &source, const QString &reason)
    {
        fileOf(source).notes << reason;
        if (observer.renamed)
            observer.renamed(source, reason);
    }
    void noted(const QString &source, const QString &note)
    {
        fileOf(source).notes << note;
        if (observer.noted)
            observer.noted(source, note);
    }
    void sizes(const QString &source, const QString &target, qint64 read, qint64 written)
    {
        ConversionResult::File &file = fileOf(source);
        file.outputs << target;
        file.bytesRead += read;
        file.bytesWritten += written;
        if (observer.sizes)
            observer.sizes(source, read, written);
    }
    void decoded(const QString &source)
    {
        if (observer.decoded)
            observer.decoded(source);
    }
    void documentStopped(const QString &pdfPath, int pages)
    {
        if (observer.documentStopped)
            observer.documentStopped(pdfPath, pages);
    }

    const ConversionJob &job;
    const ConversionObserver &observer;
    ConversionSettings settings;
    // The settings of each output, the first as the run uses them.
    QList<ConversionSettings> outputs;
    QStringList folders;
    const std::unique_ptr<TargetSizeMemo[]> memos;
    QHash<QString, qsizetype> indexOf;
};

} // namespace

QString outputsProblem(const QList<ConversionSettings> &settings)
{
    for (qsizetype k = 0; k < settings.size() && settings.size() > 1; ++k) {
        if (settings.at(k).targeFileType == TargetPdf)
            return k == 0 ? tr("a PDF document cannot be written with extra outputs")
                          : tr("a PDF document cannot be an extra output");
        if (k > 0 && settings.at(k).pagesAndFrames == PagesEach)
            return tr("every page as a file of its own cannot be an extra output");
    }
    return QString();
}

QList<OutputTarget> outputTargets(const ConversionJob &job)
{
    QList<OutputTarget> targets;
    for (qsizetype k = 0; k < job.settings.size(); ++k) {
        const ConversionSettings &settings = job.settings.at(k);
        if (k == 0)
            targets << OutputTarget{job.outputFolder, job.targetExtension, settings};
        else
            targets << OutputTarget{settings.outputFolder.isEmpty() ? job.outputFolder : settings.outputFolder,
                                  targetFormatAt(settings.targeFileType).targetExtension(), settings};
    }
    return targets;
}

ConversionResult runConversion(const ConversionJob &job, const ConversionObserver &observer)
{
    ConversionSettings settings = job.settings.value(0);
    // A stop that came before the run began starts nothing.
    if (job.stop && *job.stop) {
        ConversionResult result;
        result.stopped = true;
        return result;
    }

    QImageReader::setAllocationLimit(256);
    const bool isPdf = job.targetExtension.compare(QLatin1String(".pdf"), Qt::CaseInsensitive) == 0;
    // The pipeline picks its scaling mode from this flag; later previews see it too.
    settings.outputIsPdf = isPdf;
    setOutputIsPdf(isPdf);

    // Codecs with their own threads share the cores with the other files.
    const int cores = QThread::idealThreadCount();
    const int jobs = conversionJobCount(settings.convertJobs, cores);
    setCodecThreadCount(codecThreadsPerJob(jobs, cores));
    Run run(job, observer, settings);
    if (const QString problem = outputsProblem(job.settings); !problem.isEmpty())
        run.failAll(problem);
    else if (isPdf)
        run.runPdfPass(jobs);
    else
        run.runImagePass(jobs);
    setCodecThreadCount(0);

    ConversionResult &result = run.outcome;
    result.stopped = job.stop && *job.stop;
    // A stop leaves the targets set aside for the question as they are: skipped.
    if (result.stopped)
        result.skippedCount += int(result.existingTargets.size());
    return std::move(result);
}

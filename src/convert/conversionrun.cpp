#include "conversionrun.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "conversionjobs.h"
#include "convertfile.h"
#include "imagemagickutil.h"
#include "imagewriters.h"
#include "pipelinerules.h"
#include "runparts.h"
#include "sourceframes.h"
#include "targetformats.h"
#include "targetsize.h"

using namespace runparts;

namespace runparts {

// The estimate is read from the header of regular files only: opening
// anything else (a FIFO) could block. A source too large to decode whole is
// counted at the reduced size it is decoded at.
qint64 sourceBytes(const QString &source, const QString &targetExtension, const ConversionSettings &settings,
                   int page)
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

} // namespace runparts

namespace {

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
                         const std::function<bool(const QString &path, QString *error, QString *note, SizeFit *fit)>
                                 &write)
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
    SizeFit fit;
    if (!write(part, &error, &note, &fit))
        return JobResult{error.replace(part, file.target), {}, note};
    const qint64 bytesWritten = QFileInfo(part).size();
    // A replaced file keeps its permissions.
    if (file.replaces && QFileInfo(file.target).isFile())
        QFile::setPermissions(part, QFileInfo(file.target).permissions());
    bool taken = false;
    if (moveIntoPlace(part, file.target, file.replaces, &taken))
        return JobResult{{}, {}, note, false, QFileInfo(file.source).size(), bytesWritten, 0, fit};
    const QString reason = qt_error_string(errno);
    QFile::remove(part);
    if (taken)
        return JobResult{{}, {}, {}, true};
    return JobResult{
        QCoreApplication::translate("ConvertImagesThread", "Cannot write %1: %2").arg(file.target, reason), {}};
}
// The image files of a run: the whole list planned first, the outputs of one
// page of a source converted as one job from one decode, several jobs at once.
class ImagePass
{
public:
    explicit ImagePass(RunContext &run)
        : run(run), records(run.records), plan(planOf(run)), memos(new TargetSizeMemo[run.outputs.size() + 1]),
          queue(run.jobs, run.codecThreads, conversionMemoryBudget(physicalMemoryBytes()))
    {
        // The pages of one source follow each other in the plan; for the
        // report they are one file, started with its first page and finished
        // with its last.
        firstOfSource.resize(plan.size());
        for (qsizetype i = 0; i < plan.size(); ++i) {
            firstOfSource[i] = i > 0 && plan.at(i).source == plan.at(i - 1).source ? firstOfSource.at(i - 1) : i;
            ++pagesLeft[firstOfSource.at(i)];
        }
    }

    void convert()
    {
        const ConversionJob &job = run.job;
        // Beside the sources, "Open Folder" opens the first one's.
        const QString folder = run.settings.outputBesideSource && !job.sources.isEmpty()
                                   ? QFileInfo(job.sources.first()).absolutePath()
                                   : run.settings.outputFolder;
        if (!job.sources.isEmpty())
            run.result.outputLocation = QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
        qsizetype stoppedWithin = -1;
        for (qsizetype i = 0; i < plan.size(); ++i) {
            if (queued.contains(i))
                continue;
            const QList<qsizetype> members = membersFrom(i);
            qint64 bytes = 0;
            for (const qsizetype j : members) {
                const PlannedFile &other = plan.at(j);
                const QString extension = QLatin1Char('.') + QFileInfo(other.target).suffix();
                bytes = qMax(bytes, sourceBytes(other.source, extension, run.outputs.at(other.output), other.page));
            }
            while (!queue.hasRoomFor(bytes))
                finishOne();
            // A stop is taken between the pages of a source too: one of many
            // pages ends with the pages written so far.
            if (run.stopped()) {
                if (firstOfSource.at(i) != i)
                    stoppedWithin = i;
                break;
            }
            if (firstOfSource.at(i) == i)
                records.start(plan.at(i).source, plan.at(i).target);
            if (plan.at(i).action == PlannedFile::Convert)
                startJob(i, members, bytes);
            else
                leaveAlone(i);
        }
        while (queue.running() > 0)
            finishOne();
        if (stoppedWithin >= 0)
            stoppedBetweenPages(stoppedWithin);
    }

private:
    // The source whose page `next` was not started for a stop: it ends with the pages before.
    void stoppedBetweenPages(qsizetype next)
    {
        const PlannedFile &file = plan.at(next);
        int pages = file.page + 1;
        for (qsizetype j = next; j < plan.size() && plan.at(j).source == file.source; ++j)
            pages = qMax(pages, plan.at(j).page + 1);
        records.note(file.source, RunTexts::tr("stopped after page %1 of %2").arg(file.page).arg(pages));
        records.done(file.source);
        records.finish(file.source);
    }

    static QList<PlannedFile> planOf(const RunContext &run)
    {
        // The whole list is planned before any file starts, so that files in
        // flight never race for one name.
        const ConversionJob &job = run.job;
        if (!job.plan.isEmpty())
            return job.plan;
        if (job.settings.size() > 1)
            return planEveryOutput(job.sources, outputTargets(job), job.overwriteExisting);
        return planOutputs(job.sources, job.outputFolder, job.targetExtension, run.settings, job.overwriteExisting,
                           fileSourceFacts(run.settings));
    }

    // The entries converted with entry i from one decode: its page of every output.
    QList<qsizetype> membersFrom(qsizetype i) const
    {
        const PlannedFile &file = plan.at(i);
        QList<qsizetype> members;
        for (qsizetype j = i; file.action == PlannedFile::Convert && j < plan.size() && plan.at(j).source == file.source;
             ++j) {
            const PlannedFile &other = plan.at(j);
            if (other.action == PlannedFile::Convert && other.page == file.page && (j == i || other.output != file.output))
                members << j;
        }
        return members;
    }

    // A failure or a note of one page among several says which, and
    // one of a further output names its file.
    QString ofPage(qsizetype i, const QString &text) const
    {
        const PlannedFile &file = plan.at(i);
        if (file.output > 0)
            return RunTexts::tr("%1: %2").arg(QFileInfo(file.target).fileName(), text);
        const qsizetype first = firstOfSource.at(i);
        const bool several = first + 1 < plan.size() && plan.at(first + 1).source == plan.at(first).source
                             && plan.at(first + 1).output == 0;
        return several ? RunTexts::tr("page %1: %2").arg(file.page + 1).arg(text) : text;
    }

    void pageDone(qsizetype i)
    {
        if (--pagesLeft[firstOfSource.at(i)] > 0)
            return;
        records.done(plan.at(i).source);
        records.finish(plan.at(i).source);
    }

    void startJob(qsizetype i, const QList<qsizetype> &members, qint64 bytes)
    {
        QList<PlannedFile> files;
        for (const qsizetype j : members) {
            const PlannedFile &member = plan.at(j);
            if (member.renamed) {
                ++run.result.renamedCount;
                records.rename(member.source, ofPage(j, member.reason));
            }
            files << member;
            queued.insert(j);
        }
        membersOf.insert(int(i), members);
        queue.start(int(i), bytes, [this, files] { return convertTogether(files); });
    }

    void leaveAlone(qsizetype i)
    {
        const PlannedFile &file = plan.at(i);
        switch (file.action) {
        case PlannedFile::Existing:
            run.result.existing.append(file);
            records.setAside(file.source);
            break;
        case PlannedFile::Skipped:
            ++run.result.skippedCount;
            records.skip(file.source, ofPage(i, file.reason));
            break;
        case PlannedFile::Refused:
            records.fail(file.source, ofPage(i, file.reason));
            break;
        case PlannedFile::Convert:
        case PlannedFile::Superseded:
            break;
        }
        pageDone(i);
    }

    void finishOne()
    {
        int index = -1;
        const QList<JobResult> results = queue.take(-1, &index);
        const QList<qsizetype> members = membersOf.take(index);
        for (int n = 0; n < results.first().decodes; ++n)
            records.decoded(plan.at(index).source);
        for (qsizetype m = 0; m < members.size(); ++m) {
            const JobResult &result = results.at(m);
            const qsizetype i = members.at(m);
            const PlannedFile &file = plan.at(i);
            if (!result.error.isEmpty()) {
                records.fail(file.source, ofPage(i, result.error));
                records.fileOf(file.source).incomplete |= run.job.refuseIncomplete && !result.note.isEmpty();
            } else if (!result.note.isEmpty())
                records.note(file.source, ofPage(i, result.note));
            if (result.taken) {
                ++run.result.skippedCount;
                records.skip(file.source, ofPage(i, RunTexts::tr("the target was made by another program meanwhile")));
            } else if (result.error.isEmpty()) {
                records.written(file.source, file.target, file.output == 0, result.bytesRead, result.bytesWritten);
                records.sized(file.source, result.fit);
            }
            pageDone(i);
        }
    }

    // The outputs of one page of a source, from one decode where they allow it.
    QList<JobResult> convertTogether(const QList<PlannedFile> &files)
    {
        QList<SharedOutput> shared;
        for (const PlannedFile &file : files)
            shared << SharedOutput{file.target, file.format, &run.outputs.at(file.output)};
        QList<JobResult> results;
        if (files.size() == 1 || !canShareDecode(files.first().source, shared)) {
            for (const PlannedFile &file : files) {
                results << convertPlanned(file, run.folders.value(file.output),
                                          [&](const QString &path, QString *error, QString *note, SizeFit *fit) {
                                              return convertImageFile(file.source, path, file.format,
                                                                      run.outputs.at(file.output), error, note,
                                                                      file.page, &memos[file.output], run.job.stop,
                                                                      run.job.refuseIncomplete, fit);
                                          });
            }
            results.first().decodes = int(files.size());
            return results;
        }
        const DecodedSource decoded = decodeSource(files.first().source, run.outputs.at(files.first().output));
        for (const PlannedFile &file : files) {
            if (decoded.image.isNull()) {
                results << JobResult{decoded.error, {}};
                continue;
            }
            results << convertPlanned(file, run.folders.value(file.output),
                                      [&](const QString &path, QString *error, QString *note, SizeFit *fit) {
                                          return convertDecoded(decoded, file.source, path, file.format,
                                                                run.outputs.at(file.output), error, note,
                                                                &memos[file.output], run.job.refuseIncomplete, fit);
                                      });
        }
        results.first().decodes = 1;
        return results;
    }

    RunContext &run;
    Records &records;
    const QList<PlannedFile> plan;
    const std::unique_ptr<TargetSizeMemo[]> memos;
    QList<qsizetype> firstOfSource;
    QHash<qsizetype, int> pagesLeft;
    QHash<int, QList<qsizetype>> membersOf;
    QSet<qsizetype> queued;
    // Last, so that its jobs are done before what they use goes.
    JobQueue<QList<JobResult>> queue;
};

} // namespace

void runparts::convertImages(RunContext &run)
{
    ImagePass(run).convert();
}

QString ConversionFile::reason() const
{
    // Pages or outputs written before a later one failed stay on disk: say so.
    if (outcome == Failed)
        return outputs.isEmpty() ? failures.value(0)
                                 : RunTexts::tr("%1 (files written: %2)").arg(failures.value(0)).arg(outputs.size());
    if (outcome == Skipped)
        return skipped.value(0);
    return notes.join(QStringLiteral("; "));
}

QString outputsProblem(const QList<ConversionSettings> &settings)
{
    for (qsizetype k = 0; k < settings.size() && settings.size() > 1; ++k) {
        if (settings.at(k).targeFileType == TargetPdf)
            return k == 0 ? RunTexts::tr("a PDF document cannot be written with extra outputs")
                          : RunTexts::tr("a PDF document cannot be an extra output");
        if (k > 0 && settings.at(k).pagesAndFrames == PagesEach)
            return RunTexts::tr("every page as a file of its own cannot be an extra output");
    }
    return QString();
}

QList<OutputTarget> outputTargets(const ConversionJob &job)
{
    QList<OutputTarget> targets;
    for (qsizetype k = 0; k < job.settings.size(); ++k) {
        const ConversionSettings &settings = job.settings.at(k);
        if (k == 0)
            targets << OutputTarget{job.outputFolder, job.targetExtension, settings,
                                    formatForExtension(job.targetExtension.mid(1))};
        else
            targets << OutputTarget{settings.outputFolder.isEmpty() ? job.outputFolder : settings.outputFolder,
                                    targetFormatAt(settings.targeFileType).targetExtension(), settings,
                                    &targetFormatAt(settings.targeFileType)};
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
    const bool isPdf = job.targetExtension.compare(QLatin1String(".pdf"), Qt::CaseInsensitive) == 0;
    // The pipeline picks its scaling mode from this flag.
    settings.outputIsPdf = isPdf;

    RunContext run(job, observer, settings);
    // Codecs with their own threads share the cores with the other files.
    const int cores = QThread::idealThreadCount();
    run.jobs = conversionJobCount(settings.convertJobs, cores);
    run.codecThreads = codecThreadsPerJob(run.jobs, cores);
    if (const QString problem = outputsProblem(job.settings); !problem.isEmpty())
        run.failAll(problem);
    else if (isPdf)
        convertToPdf(run, pdfTargetPath(settings.outputFolder, settings.pdfFileName));
    else
        convertImages(run);
    run.records.addNotStarted(job.sources);

    ConversionResult &result = run.result;
    result.stopped = run.stopped();
    // A stop leaves the targets set aside for the question as they are: skipped.
    if (result.stopped)
        result.skippedCount += int(result.existing.size());
    return std::move(result);
}

#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include "convertfile.h"
#include "imagemagickutil.h"
#include "imagewriters.h"
#include "pdflayout.h"
#include "runparts.h"
#include "sourceframes.h"
#include "targetformats.h"

using namespace runparts;

namespace {

// One PDF document with a page for each good source (each page of one under
// "every page"): pages prepared side by side and drawn in list order. A page
// is begun only for a picture that is drawn on it: failed sources and a stop
// leave no blank page behind.
class PdfPass
{
public:
    PdfPass(RunContext &run, const QString &pdfPath) : run(run), records(run.records), pdfPath(pdfPath), file(pdfPath)
    {
    }

    void convert()
    {
        run.result.outputLocation = QDir::toNativeSeparators(pdfPath);
        if (const QString refusal = targetRefusal(); !refusal.isEmpty()) {
            run.failAll(RunTexts::tr("Cannot write %1: %2").arg(pdfPath, refusal));
            return;
        }
        page = pdfPageSetup(run.settings);
        document = makePdfDocument(&file, page, run.settings.pdfKeepJpeg);
        if (!document->begin()) {
            file.cancel();
            run.failAll(RunTexts::tr("Cannot write %1").arg(pdfPath));
            return;
        }
        JobQueue<JobResult> queue(run.jobs, run.codecThreads, conversionMemoryBudget(physicalMemoryBytes()));
        const bool stoppedEarly = queuePages(queue);
        while (drawn < queued)
            drawNext(queue);
        finishDocument(stoppedEarly);
    }

private:
    // Why the document cannot be written at all; the file is opened here.
    QString targetRefusal()
    {
        if (isOneOfTheSources(pdfPath, run.job.sources))
            return RunTexts::tr("the target is one of the sources");
        // Saving would write through the link to whatever it points at.
        if (QFileInfo(pdfPath).isSymLink())
            return RunTexts::tr("the target is a symbolic link");
        // The document replaces an existing one only once it is complete.
        if (!file.open())
            return file.failureReason();
        return QString();
    }

    // Starts a job for every page; true when a stop or a failed write ended it early.
    bool queuePages(JobQueue<JobResult> &queue)
    {
        for (const QString &source : run.job.sources) {
            const int sourcePages = run.settings.pagesAndFrames == PagesEach ? sourcePageCount(source) : 1;
            for (int sourcePage = 0; sourcePage < sourcePages; ++sourcePage) {
                const qint64 bytes = sourceBytes(source, run.job.targetExtension, run.settings, sourcePage);
                while (!queue.hasRoomFor(bytes))
                    drawNext(queue);
                // A full disk ends the pass early: the document is not written anyway.
                if (run.stopped() || file.failed())
                    return true;
                if (sourcePage == 0) {
                    qDebug().noquote() << "_urls:" << source;
                    records.start(source, pdfPath);
                }
                pageJobs.append({source, sourcePage == sourcePages - 1});
                queue.start(queued++, bytes, [this, source, sourcePage] { return preparePage(source, sourcePage); });
            }
        }
        return false;
    }

    JobResult preparePage(const QString &source, int sourcePage) const
    {
        const ConversionSettings &settings = run.settings;
        if (settings.pdfKeepJpeg && sourcePage == 0) {
            if (std::optional<PdfPicture> kept = keptJpegPicture(source, settings, page))
                return JobResult{{}, std::move(*kept)};
        }
        QString reason;
        QString note;
        const QImage image = ImageMagickUtil().processImage(source, false, settings, &reason, false, &note, sourcePage);
        if (image.isNull())
            return JobResult{reason, {}};
        if (settings.pagesAndFrames == PagesKeepAnimations && isAnimatedSource(source)) {
            const QString kept = animationKeptAsFirstFrame();
            note = note.isEmpty() ? kept : note + QStringLiteral("; ") + kept;
        }
        const QSize size =
            pdfFitSize(image.size(), page.availableWidth(), page.availableHeight(), settings.resizeImageToPaper);
        if (size.isEmpty())
            return JobResult{{}, {}, note};
        const Qt::TransformationMode mode = settings.pdfSmoothEdges ? Qt::SmoothTransformation : Qt::FastTransformation;
        PdfPicture picture;
        picture.image = size == image.size() ? image : image.scaled(size, Qt::IgnoreAspectRatio, mode);
        madeSrgb(&picture.image);
        picture.size = size;
        return JobResult{{}, picture, note};
    }

    void drawNext(JobQueue<JobResult> &queue)
    {
        const JobResult result = queue.take(drawn);
        const PageJob &pageJob = pageJobs.at(drawn++);
        const QString &source = pageJob.source;
        if (!result.error.isEmpty()) {
            records.fail(source, result.error);
        } else if (!document->addPage(result.page)) {
            records.fail(source, RunTexts::tr("Cannot put the picture into %1").arg(pdfPath));
        } else {
            ++pages;
            ++records.fileOf(source).pages;
            if (!result.note.isEmpty())
                records.note(source, result.note);
        }
        if (!pageJob.last)
            return;
        records.done(source);
        // A failed page is told at once; the others once the document is written.
        if (!records.fileOf(source).failures.isEmpty())
            records.finish(source);
        else
            drawnSources << source;
    }

    // A stopped pass still finishes the document with the pages drawn so far;
    // a document without a picture is not written, and an earlier one stays.
    void finishDocument(bool stoppedEarly)
    {
        const bool keep = pages > 0 && (run.job.keepStoppedDocument || !run.stopped() || !stoppedEarly);
        if (!document->end(keep) || !keep) {
            file.cancel();
            if (keep)
                run.failAll(RunTexts::tr("Cannot write %1").arg(pdfPath));
            return; // drawn pages of a document not written stay not started
        }
        QString error;
        if (!file.commit(&error)) {
            run.failAll(RunTexts::tr("Cannot write %1: %2").arg(pdfPath, error));
            return;
        }
        for (const QString &source : std::as_const(drawnSources)) {
            records.fileOf(source).outputs << pdfPath;
            records.finish(source);
        }
        if (run.stopped())
            run.result.stoppedDocumentPages = pages;
    }

    struct PageJob
    {
        QString source;
        bool last; // the source's last page
    };

    RunContext &run;
    Records &records;
    const QString pdfPath;
    TargetFile file;
    PdfPageSetup page;
    std::unique_ptr<PdfDocument> document;
    QList<PageJob> pageJobs;
    int queued = 0;
    int drawn = 0;
    int pages = 0;
    QStringList drawnSources;
};

} // namespace

void runparts::convertToPdf(RunContext &run, const QString &pdfPath)
{
    PdfPass(run, pdfPath).convert();
}

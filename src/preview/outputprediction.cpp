#include "outputprediction.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>

#include "conversionjobs.h"
#include "conversionrun.h"
#include "convertfile.h"
#include "encoderthreads.h"
#include "formattable.h"
#include "imagemagickutil.h"
#include "imagewriters.h"
#include "pipelinerules.h"
#include "targetformats.h"
#include "targetsize.h"

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

// The texts of this file, translated under one name.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(OutputPrediction)
};

std::atomic_int pictureGeneration{0};

// Predictions take turns: one encode at a time, whoever asks.
QMutex predictionTurn;

// The processed picture of the last prediction, kept while only the writer's
// settings change. Guarded by predictionTurn.
struct KeptPicture
{
    QString source;
    QDateTime modified;
    int generation = -1;
    QImage image;
    QString note;
};
KeptPicture kept;

// The source's pixels through the run's pipeline, or the one kept from before.
QImage processedPicture(const PredictionRequest &request, QString *error)
{
    const QDateTime modified = QFileInfo(request.source).lastModified();
    if (kept.source == request.source && kept.modified == modified && kept.generation == request.pictureGeneration
        && !kept.image.isNull())
        return kept.image;
    kept = {};
    // As the run converts: past the preview's source cache, page 0.
    QImage image = ImageMagickUtil().processImage(request.source, false, request.settings, error, false);
    if (!image.isNull())
        kept = {request.source, modified, request.pictureGeneration, image, {}};
    return image;
}

bool fitsMemoryBudget(const QString &source, const ConversionSettings &settings, const QString &extension)
{
    const QSize size = uprightImageSize(source, settings.pdfSourceDpi, settings.rawPictures);
    const std::optional<QSize> reduced = reducedDecodeSize(size, settings);
    const qint64 bytes = reduced ? estimatedFileBytes(*reduced, extension)
                                 : estimatedFileBytes(size, extension, QFileInfo(source).size());
    return bytes <= conversionMemoryBudget(physicalMemoryBytes());
}

// A PDF page through the run itself: a document of that source alone.
void predictPdfPage(const PredictionRequest &request, const QString &folder, PredictedOutput *output)
{
    ConversionSettings settings = request.settings;
    settings.outputFolder = folder;
    settings.pdfFileName = QStringLiteral("prediction.pdf");
    settings.pagesAndFrames = PagesFirstOnly;
    ConversionJob job;
    job.sources = {request.source};
    job.settings = {settings};
    job.outputFolder = folder;
    job.targetExtension = QStringLiteral(".pdf");
    job.overwriteExisting = true;
    const ConversionResult result = runConversion(job);
    for (const ConversionResult::File &file : result.files) {
        if (!file.failures.isEmpty())
            output->error = file.failures.join(QStringLiteral("; "));
    }
    QFile document(pdfTargetPath(folder, settings.pdfFileName));
    if (output->error.isEmpty() && document.open(QIODevice::ReadOnly))
        output->bytes = document.readAll();
    else if (output->error.isEmpty())
        output->error = Texts::tr("Nothing would be written");
}

// A still picture or an animation, written as the run writes it.
void predictImage(const PredictionRequest &request, const QString &target, const ImageFormat &format,
                  const std::atomic_bool &cancel, PredictedOutput *output)
{
    const ConversionSettings &settings = request.settings;
    SizeFit fit;
    bool written = false;
    if (keepsAnimation(request.source, format, 0, settings)) {
        written = convertImageFile(request.source, target, &format, settings, &output->error);
    } else {
        const QImage picture = processedPicture(request, &output->error);
        if (picture.isNull())
            return;
        if (cancel) {
            output->cancelled = true;
            return;
        }
        written = writeProcessedPicture(picture, request.source, target, format, settings, &output->error, nullptr,
                                        nullptr, &fit);
    }
    QFile file(target);
    if (!written || !file.open(QIODevice::ReadOnly))
        return;
    output->bytes = file.readAll();
    output->pixels = QImageReader(target).size();
    const WriteOptions options = writeOptionsFor(settings, format);
    output->lossless = options.lossless;
    if (fit.level >= 0)
        output->quality = double(fit.level) / format.qualityLevelsPerPoint;
    else if (!options.lossless && !format.qualityKey.isEmpty())
        output->quality = options.quality;
}

} // namespace

int predictionPictureGeneration()
{
    return pictureGeneration.load();
}

void forgetPredictionPictures()
{
    ++pictureGeneration;
}

PredictedOutput predictOutput(const PredictionRequest &request, const std::atomic_bool &cancel)
{
    PredictedOutput output;
    output.source = request.source;
    const QMutexLocker turn(&predictionTurn);
    if (cancel) {
        output.cancelled = true;
        return output;
    }
    const ImageFormat &target = targetFormatAt(request.settings.targeFileType);
    output.suffix = target.extensions.first();
    output.format = target.label;
    output.pdfPage = request.settings.targeFileType == TargetPdf;
    output.sourceBytes = QFileInfo(request.source).size();
    if (!fitsMemoryBudget(request.source, request.settings, target.targetExtension())) {
        kept = {};
        output.error = Texts::tr("Too large to predict within the memory budget");
        return output;
    }
    QTemporaryDir folder;
    if (!folder.isValid()) {
        output.error = folder.errorString();
        return output;
    }
    // The codecs get the share of the cores a run of these settings gives each file.
    const int cores = QThread::idealThreadCount();
    codecThreadsOfThisThread = codecThreadsPerJob(conversionJobCount(request.settings.convertJobs, cores), cores);
    PredictionRequest asRun = request;
    // The run sets the pipeline's PDF flag from its target.
    asRun.settings.outputIsPdf = output.pdfPage;
    if (output.pdfPage)
        predictPdfPage(asRun, folder.path(), &output);
    else
        predictImage(asRun, folder.filePath(QStringLiteral("prediction") + target.targetExtension()), target, cancel,
                     &output);
    if (output.bytes.isEmpty() && output.error.isEmpty() && !output.cancelled)
        output.error = Texts::tr("Nothing would be written");
    return output;
}

QString readableBytes(qint64 bytes)
{
    if (bytes < 1000 * 1000)
        return Texts::tr("%1 KB").arg((bytes + 999) / 1000);
    return Texts::tr("%1 MB").arg(QLocale().toString(double(bytes) / 1e6, 'f', 1));
}

QString outputFormatText(const PredictedOutput &output)
{
    if (output.lossless)
        return Texts::tr("%1 lossless").arg(output.format);
    if (output.quality < 0)
        return output.format;
    return Texts::tr("%1 q%2").arg(output.format, QLocale().toString(output.quality, 'g', 4));
}

QString predictionText(const PredictedOutput &output)
{
    if (!output.error.isEmpty())
        return output.error;
    QString size = readableBytes(output.bytes.size());
    if (output.sourceBytes > 0) {
        const double change = 100.0 * (double(output.bytes.size()) - output.sourceBytes) / output.sourceBytes;
        const int percent = int(std::lround(change));
        // A true minus sign, as typeset figures have.
        const QString sign = percent < 0 ? QStringLiteral("\u2212") : percent > 0 ? QStringLiteral("+") : QString();
        size = Texts::tr("%1 (%2%3 %)").arg(size, sign).arg(std::abs(percent));
    }
    QStringList parts{QStringLiteral("\u2248 ") + size};
    if (output.pixels.isValid())
        parts << Texts::tr("%1 \u00d7 %2").arg(output.pixels.width()).arg(output.pixels.height());
    parts << (output.pdfPage ? Texts::tr("PDF page") : outputFormatText(output));
    return parts.join(QStringLiteral(", "));
}

void yieldToTheWindow()
{
#ifdef Q_OS_LINUX
    // Five steps, as a job started with nice: the window's thread then gets
    // about three times a worker's share when both want the processor.
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, thread, getpriority(PRIO_PROCESS, thread) + 5);
#endif
}

OutputPredictor::OutputPredictor(QObject *parent) : QObject(parent) {}

OutputPredictor::~OutputPredictor()
{
    cancel();
    if (running) {
        running->wait();
        delete running;
    }
}

void OutputPredictor::request(const PredictionRequest &request)
{
    if (!running) {
        start(request);
        return;
    }
    *runningCancel = true;
    waiting = request;
}

void OutputPredictor::cancel()
{
    waiting.reset();
    if (runningCancel)
        *runningCancel = true;
}

void OutputPredictor::start(const PredictionRequest &request)
{
    runningCancel = std::make_shared<std::atomic_bool>(false);
    runningResult = std::make_shared<PredictedOutput>();
    running = QThread::create([request, cancel = runningCancel, result = runningResult] {
        yieldToTheWindow();
        *result = predictOutput(request, *cancel);
    });
    connect(running, &QThread::finished, this, &OutputPredictor::runningFinished, Qt::QueuedConnection);
    running->start(QThread::LowPriority);
    emit busyChanged(true);
}

void OutputPredictor::runningFinished()
{
    running->deleteLater();
    running = nullptr;
    const bool wanted = !*runningCancel;
    const PredictedOutput result = *runningResult;
    runningCancel.reset();
    runningResult.reset();
    if (waiting) {
        const PredictionRequest next = *std::exchange(waiting, std::nullopt);
        start(next);
    } else {
        emit busyChanged(false);
    }
    if (wanted && !result.cancelled) {
        last = result;
        emit predicted(result);
    }
}

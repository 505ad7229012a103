// Time from a settings change to the predicted size of a 24 MP photo, per
// target, and the window's frame time while those predictions run.
//
// Each target is timed twice: its first prediction (the photo decoded and
// through the pipeline) and a change of quality after it (the processed
// picture kept, only the writer runs), each from the request to the answer
// arriving on the GUI thread. Meanwhile a timer repaints the full preview in
// compare mode every 16 ms on the GUI thread; the longest gap between two
// frames is the frame time reported. On a machine busy with other work that
// gap includes waiting for a processor, so the longest processor time the GUI
// thread spent on one event is reported beside it: what the window's own
// code costs a frame.
//
//   bench_predict [megapixels=24] [screenshot prefix]

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "../photo.h"
#include "compareview.h"
#include "conversionsettings.h"
#include "outputprediction.h"
#include "previewdialog.h"
#include "targetformats.h"

namespace {

struct FrameClock
{
    QElapsedTimer sinceLast;
    qint64 longest = 0;
    void tick()
    {
        if (sinceLast.isValid())
            longest = std::max(longest, sinceLast.elapsed());
        sinceLast.restart();
    }
};

qint64 threadProcessorMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// Times each event the GUI thread handles, nested ones within their outer one.
class TimedApplication : public QApplication
{
public:
    using QApplication::QApplication;
    qint64 longestEventUs = 0;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (QThread::currentThread() != thread() || depth > 0)
            return QApplication::notify(receiver, event);
        ++depth;
        const qint64 start = threadProcessorMicroseconds();
        const bool handled = QApplication::notify(receiver, event);
        longestEventUs = std::max(longestEventUs, threadProcessorMicroseconds() - start);
        --depth;
        return handled;
    }

private:
    int depth = 0;
};

// Milliseconds from the request to the answer, the event loop running.
qint64 timePrediction(OutputPredictor &predictor, const PredictionRequest &request, PredictedOutput *answer)
{
    QElapsedTimer timer;
    timer.start();
    QEventLoop loop;
    const auto connection = QObject::connect(&predictor, &OutputPredictor::predicted, &loop,
                                             [&](const PredictedOutput &output) {
                                                 *answer = output;
                                                 loop.quit();
                                             });
    predictor.request(request);
    loop.exec();
    QObject::disconnect(connection);
    return timer.elapsed();
}

} // namespace

int main(int argc, char **argv)
{
    TimedApplication app(argc, argv);
    const double megapixels = argc > 1 ? QString(argv[1]).toDouble() : 24;
    const int width = int(std::sqrt(megapixels * 1e6 * 3 / 2));
    const int height = width * 2 / 3;
    QTemporaryDir folder;
    const QString source = folder.filePath("photo.jpg");
    const QImage photo = makePhoto(width, height, 1);
    photo.save(source, "JPG", 92);
    std::printf("source %dx%d, %lld KB\n", width, height, QFileInfo(source).size() / 1000);

    // The full preview in compare mode, repainted as a window would be.
    OutputPredictor predictor;
    bool shown = false;
    conversionSettings().targeFileType = TargetWebp;
    conversionSettings().webpQuality = 40;
    PreviewDialog dialog(nullptr, &shown);
    dialog.setPredictor(&predictor);
    dialog.resize(1200, 800);
    dialog.show();
    dialog.setImageFile(source);
    dialog.setCompareMode(true);
    FrameClock clock;
    QTimer frames;
    QObject::connect(&frames, &QTimer::timeout, [&] {
        dialog.repaint();
        clock.tick();
    });
    frames.start(16);

    const struct
    {
        int target;
        int ConversionSettings::*quality;
    } targets[] = {{TargetJpg, &ConversionSettings::targeFileQuality},
                   {TargetWebp, &ConversionSettings::webpQuality},
                   {TargetAvif, &ConversionSettings::avifQuality},
                   {TargetHeic, &ConversionSettings::heicQuality},
                   {TargetJpegXl, &ConversionSettings::jxlQuality},
                   {TargetPng, nullptr},
                   {TargetTiff, nullptr},
                   {TargetGif, nullptr}};
    std::printf("%-8s %10s %10s %12s %10s %10s\n", "target", "first ms", "change ms", "size", "frame ms", "gui ms");
    for (const auto &row : targets) {
        ConversionSettings settings;
        settings.targeFileType = row.target;
        forgetPredictionPictures();
        clock = {};
        app.longestEventUs = 0;
        PredictedOutput answer;
        const qint64 first = timePrediction(predictor, {source, settings, predictionPictureGeneration()}, &answer);
        if (row.quality)
            settings.*row.quality = 40;
        else
            settings.pngCompressionLevel = 6;
        const qint64 change = timePrediction(predictor, {source, settings, predictionPictureGeneration()}, &answer);
        std::printf("%-8s %10lld %10lld %12s %10lld %10lld\n", qPrintable(targetFormatAt(row.target).label), first,
                    change, qPrintable(answer.error.isEmpty() ? readableBytes(answer.bytes.size()) : answer.error),
                    clock.longest, app.longestEventUs / 1000);
    }
    if (argc > 2) {
        // A look at the compare view: WEBP q40 beside the original, fitted and at 200 %.
        ConversionSettings settings = conversionSettings();
        PredictedOutput answer;
        timePrediction(predictor, {source, settings, predictionPictureGeneration()}, &answer);
        auto *view = dialog.findChild<CompareView *>(QStringLiteral("compareView"));
        const auto settle = [] {
            QElapsedTimer wait;
            wait.start();
            while (wait.elapsed() < 3000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        };
        settle();
        dialog.grab().save(QString(argv[2]) + "-fit.png");
        view->setZoom(CompareView::Double);
        view->setDivider(0.4);
        settle();
        dialog.grab().save(QString(argv[2]) + "-200.png");
    }
    return 0;
}

// Timings of the processing pipeline on a 4000 x 3000 picture. Run by hand;
// under `taskset -c 0` for one-core figures.

#include <QApplication>
#include <QElapsedTimer>
#include <QGraphicsBlurEffect>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

#include "imagemagickutil.h"
#include "pixeladjustments.h"

namespace {

constexpr int width = 4000;
constexpr int height = 3000;
constexpr double pixels = double(width) * height;

QImage photoLike()
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 255) / (width - 1), (y * 255) / (height - 1), ((x + y) * 7 + ((x * y) >> 6)) & 0xff);
    }
    return image;
}

double threadCpuMs()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Best of a few runs, in milliseconds of wall time; prepare runs untimed.
double bestOf(int runs, const std::function<void()> &work, const std::function<void()> &prepare = {})
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// Best of a few runs in CPU time of this thread: the cost on one core, not
// counting the time other processes take the core away.
double bestCpuOf(int runs, const std::function<void()> &work, const std::function<void()> &prepare = {})
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        const double start = threadCpuMs();
        work();
        best = std::min(best, threadCpuMs() - start);
    }
    return best;
}

void report(const char *what, double ms, double count = pixels)
{
    std::printf("%-58s %9.1f ms  %6.2f ns/pixel\n", what, ms, ms * 1e6 / count);
}

ConversionSettings allAdjustments()
{
    ConversionSettings s;
    s.adjustContrast = 40;
    s.adjustBrightness = -20;
    s.adjustGamma = 30;
    s.adjustSepia = 1;
    s.adjustInvertColours = 60;
    return s;
}

// One channel straight from the formula, a pow per channel: the cost the
// tables avoid.
float directChannel(float v, const ChannelAdjustments &a)
{
    const float f = contrastFactor(a.contrast);
    v = (v - 128.0f) * f + 128.0f;
    v = v + float(a.brightness);
    return std::pow(v / 255.0f, 1.0f / a.gamma) * 255.0f;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("source.bmp");
    const QImage source = photoLike();
    source.save(path);

    ImageMagickUtil util;
    const ConversionSettings all = allAdjustments();
    const ChannelAdjustments adjustments = channelAdjustments(all);

    std::printf("%d x %d, %d threads available\n", width, height, QThread::idealThreadCount());

    QImage work = source;
    report("direct pow per channel (tone steps only, one band of 1 Mpx)", bestOf(2, [&] {
               volatile float sink = 0;
               const QRgb *p = reinterpret_cast<const QRgb *>(source.constBits());
               for (int i = 0; i < 1000000; ++i)
                   sink = sink + directChannel(qRed(p[i]), adjustments) + directChannel(qGreen(p[i]), adjustments)
                           + directChannel(qBlue(p[i]), adjustments);
           }), 1e6);

    ChannelAdjustments noSepia = adjustments;
    noSepia.sepia = false;
    const auto fresh = [&] { work = source.copy(); };
    report("adjustPixels, no sepia (CPU time)", bestCpuOf(7, [&] { adjustPixels(work, noSepia); }, fresh));
    report("adjustPixels, all five steps (CPU time)", bestCpuOf(7, [&] { adjustPixels(work, adjustments); }, fresh));
    report("adjustPixels, all five steps (wall)", bestOf(7, [&] { adjustPixels(work, adjustments); }, fresh));
    report("applyAdjustments, all five (with its copy)", bestOf(5, [&] { work = util.applyAdjustments(source, all); }));

    ConversionSettings plain;
    util.processImage(path, false, plain); // fills the cache
    report("processImage, nothing to do (cached)", bestOf(5, [&] { work = util.processImage(path, false, plain); }));

    ConversionSettings full = all;
    full.adjustGrayScale = 1;
    full.textContent = "Kestrix Picturist";
    full.textSize = 120;
    full.textOpacity = 60;
    full.textMargin = 40;
    full.qrCodeText = "https://example.org/kestrix/picturist";
    full.qrCodeSize = 400;
    full.qrCodeMargin = 40;
    full.qrCodePosition = PositionTopLeft;
    report("processImage, text + QR + every adjustment but blur", bestOf(5, [&] { work = util.processImage(path, false, full); }));
    report("  the same (CPU time of the calling thread)", bestCpuOf(5, [&] { work = util.processImage(path, false, full); }));
    full.scaleImage = true;
    full.scaleType = ScaleByRelativeSize;
    full.scaleRelativeWidth = 1920;
    report("  the same, scaled smoothly to 1920 wide", bestOf(5, [&] { work = util.processImage(path, false, full); }));

    for (int radius : {10, 50}) {
        const QImage opaque = source.copy();
        char label[64];
        std::snprintf(label, sizeof label, "blur radius %d (applyEffectToImage)", radius);
        report(label, bestOf(2, [&] {
                   auto *effect = new QGraphicsBlurEffect;
                   effect->setBlurRadius(radius);
                   work = util.applyEffectToImage(opaque, effect, 0);
               }));
    }
    return 0;
}

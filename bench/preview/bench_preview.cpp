// Inline preview latency: from the end of the countdown to the picture set on
// the label, for a 4000 x 3000 JPEG with text and QR watermarks and every
// adjustment, once the source is cached; then again with a blur radius of 10.
// Run by hand: bench_preview [runs]

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "conversionsettings.h"
#include "convertimageform.h"
#include "convertimagepreviewlabel.h"
#include "thumbnailcache.h"

namespace {

void quietMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

QImage makeSource(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 255) / width, (y * 255) / height, ((x ^ y) >> 3) & 0xff);
    }
    return image;
}

// One measured request: the last countdown tick runs it; the clock stops when
// the label has its picture.
double measure(ConvertImageForm &form, const QString &path, bool refresh)
{
    auto *label = form.findChild<ConvertImagePreviewLabel *>("previewImage");
    label->setText("Preview");
    form.loadImage(path, refresh);
    for (int i = 0; i < 15; ++i)
        form.on_updateTimer();
    QElapsedTimer clock;
    clock.start();
    form.on_updateTimer();
    while (!label->hasImage && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return clock.nsecsElapsed() / 1e6;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void runSeries(ConvertImageForm &form, const QString &path, int runs, const char *title)
{
    // The first request decodes the source into the pipeline's cache.
    const double cold = measure(form, path, true);
    QList<double> warm;
    for (int i = 0; i < runs; ++i) {
        // A settings change, as a slider would make it.
        conversionSettings().adjustContrast = 20 + (i % 2);
        warm.append(measure(form, path, true));
    }
    std::printf("%-28s first %7.1f ms   cached: median %7.1f ms, min %7.1f ms, max %7.1f ms (%d runs)\n", title,
                cold, median(warm), *std::min_element(warm.begin(), warm.end()),
                *std::max_element(warm.begin(), warm.end()), runs);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler(quietMessages);
    const int runs = argc > 1 ? qMax(1, atoi(argv[1])) : 7;

    // Never touch the user's own settings.
    QTemporaryDir settingsDir;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());

    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    makeSource(4000, 3000).save(path, "JPG", 90);

    ConvertImageForm form;
    ConversionSettings &settings = conversionSettings();
    settings.textContent = "Kestrix Picturist sample";
    settings.textSize = 48;
    settings.textColor = Qt::white;
    settings.textOpacity = 80;
    settings.qrCodeText = "https://example.com/kestrix";
    settings.qrCodeSize = 300;
    settings.qrCodePosition = PositionTopLeft;
    settings.adjustGrayScale = 1;
    settings.adjustSepia = 1;
    settings.adjustContrast = 20;
    settings.adjustBrightness = 15;
    settings.adjustGamma = 30;
    settings.adjustInvertColours = 40;
    settings.setBlurRadius = 0;

    runSeries(form, path, runs, "all adjustments, no blur:");
    settings.setBlurRadius = 10;
    runSeries(form, path, runs, "all adjustments, blur 10:");

    const QString folder = thumbnailFolder();
    for (const ThumbnailRecord &record : thumbnailRecords())
        QFile::remove(folder + QString::number(record.number) + ".webp");
    return 0;
}

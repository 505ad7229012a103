// Lanczos resampling beside libvips' own, on real photographs:
//  1. at 85 % and 200 %, the detail kept (mean neighbour difference) against
//     `vips resize --kernel lanczos3`, and SSIM against its result; Qt's
//     smooth scaling is shown beside it;
//  2. the reduction of the first 24 photos to 25 % with Lanczos and with
//     sharpening, through kestrix-convert on every core, timed against
//     vipsthumbnail run on every core (one process a core).
// Usage: bench_resample FOLDER_OF_JPEGS

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <cstdio>

#include "../photo.h"
#include "imagemagickutil.h"

namespace {

// Mean absolute difference of each channel to its right and lower neighbour.
double detail(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    qint64 count = 0;
    for (int y = 0; y + 1 < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const auto *below = reinterpret_cast<const QRgb *>(image.constScanLine(y + 1));
        for (int x = 0; x + 1 < image.width(); ++x) {
            for (const QRgb other : {line[x + 1], below[x]}) {
                sum += std::abs(qRed(line[x]) - qRed(other)) + std::abs(qGreen(line[x]) - qGreen(other))
                       + std::abs(qBlue(line[x]) - qBlue(other));
                count += 3;
            }
        }
    }
    return count ? sum / count : 0;
}

QImage scaled(const QString &path, int percent, int resampling)
{
    ConversionSettings settings;
    settings.scaleImage = true;
    settings.scalePercentage = percent;
    settings.resampling = resampling;
    return ImageMagickUtil().processImage(path, false, settings, nullptr, false);
}

// Runs the commands, as many at once as there are cores; the seconds taken.
double runAll(const QList<QPair<QString, QStringList>> &commands)
{
    const int cores = QThread::idealThreadCount();
    QElapsedTimer timer;
    timer.start();
    QList<QProcess *> running;
    qsizetype next = 0;
    while (next < commands.size() || !running.isEmpty()) {
        while (running.size() < cores && next < commands.size()) {
            auto *process = new QProcess;
            process->setStandardOutputFile(QProcess::nullDevice());
            process->setStandardErrorFile(QProcess::nullDevice());
            process->start(commands.at(next).first, commands.at(next).second);
            running << process;
            ++next;
        }
        running.first()->waitForFinished(-1);
        delete running.takeFirst();
    }
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_resample FOLDER_OF_JPEGS\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    QStringList photos;
    for (const QString &name : folder.entryList({"*.jpg", "*.jpeg"}, QDir::Files, QDir::Name))
        photos << folder.filePath(name);
    photos = photos.mid(0, 24);
    QTemporaryDir tmp;

    std::printf("Detail kept against vips resize --kernel lanczos3 (1.00 = the same), SSIM against it\n");
    std::printf("%-28s %5s %8s %8s %8s %8s\n", "photo", "scale", "lanczos", "ssim", "sharp", "smooth");
    for (const QString &photo : photos.mid(0, 8)) {
        for (const int percent : {85, 200}) {
            const QString reference = tmp.filePath("reference.png");
            QProcess::execute("vips", {"resize", photo, reference, QString::number(percent / 100.0), "--kernel",
                                       "lanczos3"});
            const QImage vips(reference);
            const QImage lanczos = scaled(photo, percent, ResampleLanczos);
            const double base = detail(vips);
            std::printf("%-28s %4d%% %8.3f %8.4f %8.3f %8.3f\n", qPrintable(QFileInfo(photo).fileName().left(28)),
                        percent, detail(lanczos) / base, ssim(lanczos, vips),
                        detail(scaled(photo, percent, ResampleSharp)) / base,
                        detail(scaled(photo, percent, ResampleSmooth)) / base);
        }
    }

    std::printf("\n%lld photos to 25 %% as JPG (quality 90), %d at once\n", qint64(photos.size()),
                QThread::idealThreadCount());
    QList<QPair<QString, QStringList>> thumbnails;
    for (const QString &photo : photos) {
        const QSize size = QImageReader(photo).size() / 4;
        thumbnails.append({"vipsthumbnail",
                           {photo, "--size", QString("%1x%2").arg(size.width()).arg(size.height()), "-o",
                            tmp.filePath("%s.jpg[Q=90]")}});
    }
    const double vipsSeconds = runAll(thumbnails);
    std::printf("%-34s %7.2f s\n", "vipsthumbnail", vipsSeconds);
    for (const char *filter : {"lanczos", "sharp", "smooth"}) {
        const QStringList arguments = QStringList{"--scale", "25", "--resample", filter, "--to", "jpg", "--quality",
                                                  "90", "--existing", "overwrite", "--quiet", "-o", tmp.filePath("kx")}
                                      + photos;
        const double seconds = runAll({{QStringLiteral(KESTRIX_CONVERT), arguments}});
        std::printf("kestrix-convert --resample %-8s %7.2f s  %.2fx\n", filter, seconds, seconds / vipsSeconds);
    }
    return 0;
}

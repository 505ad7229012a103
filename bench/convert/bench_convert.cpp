// Converts generated photo-like JPEGs through the conversion worker to each
// target, once one file at a time and once with a file per core, and prints
// images/s, megapixels/s and peak resident memory per target and job count.
//
// usage: bench_convert [count=24] [width=4000] [height=3000] [work folder]

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QThread>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

#include "../photo.h"
#include "conversionsettings.h"
#include "convertimagesthread.h"

namespace {

// Peak resident memory of the process in kB since the last reset.
long peakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

void resetPeakRss()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

struct Target
{
    const char *name;
    QString extension;
    void (*configure)(ConversionSettings &settings);
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.size() > 1 ? qMax(1, args.at(1).toInt()) : 24;
    const int width = args.size() > 2 ? qMax(16, args.at(2).toInt()) : 4000;
    const int height = args.size() > 3 ? qMax(16, args.at(3).toInt()) : 3000;
    QTemporaryDir tmp;
    const QString root = args.size() > 4 ? args.at(4) : tmp.path();

    QTextStream outStream(stdout);
    const QString sources = root + "/sources";
    QDir().mkpath(sources);
    QStringList files;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/photo%2.jpg").arg(sources).arg(i, 3, 10, QLatin1Char('0'));
        if (!QFile::exists(path))
            makePhoto(width, height, i).save(path, "jpeg", 90);
        files << path;
    }
    outStream << "sources: " << count << " JPEGs of " << width << " x " << height << " (generated in "
              << clock.elapsed() / 1000.0 << " s)\n";
    outStream << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                     .arg("target", -6)
                     .arg("jobs", 4)
                     .arg("seconds", 9)
                     .arg("images/s", 9)
                     .arg("MP/s", 8)
                     .arg("peak RSS MB", 12)
                     .arg("failed", 7);
    outStream.flush();

    const Target targets[] = {
        {"WEBP", ".webp", [](ConversionSettings &) {}},
        {"PNG", ".png", [](ConversionSettings &) {}},
        {"JPG", ".jpg",
         [](ConversionSettings &s) {
             s.targeFileQuality = 95;
             s.scaleImage = true;
             s.scaleType = ScaleByPercentage;
             s.scalePercentage = 50;
         }},
        {"GIF", ".gif", [](ConversionSettings &) {}},
        {"PDF", ".pdf", [](ConversionSettings &s) { s.pdfFileName = QStringLiteral("bench.pdf"); }},
    };

    const double megapixels = double(width) * height / 1e6;
    const int cores = QThread::idealThreadCount();
    for (const Target &target : targets) {
        for (const int jobs : {1, cores}) {
            const QString folder = root + "/" + QString::fromLatin1(target.name).toLower();
            QDir(folder).removeRecursively();
            QDir().mkpath(folder);

            ConversionSettings settings;
            settings.outputFolder = folder;
            settings.convertJobs = jobs;
            target.configure(settings);
            ConvertImagesThread worker(ConversionJob{files, {}, {settings}, folder, target.extension, true});
            int failed = 0;
            QObject::connect(&worker, &ConvertImagesThread::fileReported, &worker,
                             [&failed](const ConversionFile &file) { failed += file.outcome == ConversionFile::Failed; },
                             Qt::DirectConnection);

            resetPeakRss();
            clock.restart();
            worker.start();
            worker.wait();
            const double seconds = clock.elapsed() / 1000.0;
            outStream << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                             .arg(target.name, -6)
                             .arg(jobs, 4)
                             .arg(seconds, 9, 'f', 2)
                             .arg(count / seconds, 9, 'f', 3)
                             .arg(count * megapixels / seconds, 8, 'f', 2)
                             .arg(peakRssKb() / 1024.0, 12, 'f', 1)
                             .arg(failed, 7);
            outStream.flush();
        }
    }
    return 0;
}

// Peak memory of conversions: every target and job count runs in a child
// process (this program again, through the conversion worker), whose peak
// resident memory comes from wait4(). One job gives the working memory of a
// file per source pixel, decode, pipeline and encoder included: the figures
// of the target format table. The budget the worker keeps to is printed
// beside each peak.
//
// usage: bench_memory [options] [work folder]
//   --count N          photo-like JPEG sources (default 8)
//   --size WxH         their size (default 6000x4000, 24 MP)
//   --flat N           one flat grey N x N PNG as the only source instead
//   --jobs 1,2,8       job counts (default 1,2,8)
//   --to jxl,avif,...  targets (default all)
//   --machine-gb N     plan as on a machine with N GB of memory

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include "../photo.h"
#include "conversionjobs.h"
#include "conversionsettings.h"
#include "convertimagesthread.h"

extern char **environ;

namespace {

// The child: converts `files` to `extension` with `jobs` files at once.
int convertAll(const QString &extension, int jobs, const QString &folder, const QStringList &files)
{
    ConversionSettings settings;
    settings.outputFolder = folder;
    settings.convertJobs = jobs;
    settings.pdfFileName = QStringLiteral("bench.pdf");
    ConvertImagesThread worker(ConversionJob{files, {}, {settings}, folder, extension, true});
    int failed = 0;
    QObject::connect(&worker, &ConvertImagesThread::fileReported, &worker,
                     [&failed](const ConversionFile &file) { failed += file.outcome == ConversionFile::Failed; },
                     Qt::DirectConnection);
    worker.start();
    worker.wait();
    return failed > 0 ? 1 : 0;
}

struct ChildRun
{
    double peakMb = -1;
    double seconds = 0;
    int status = -1;
};

ChildRun runChild(const QStringList &arguments)
{
    QList<QByteArray> bytes;
    for (const QString &argument : arguments)
        bytes << argument.toLocal8Bit();
    QList<char *> argv;
    for (QByteArray &argument : bytes)
        argv << argument.data();
    argv << nullptr;

    ChildRun run;
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv.first(), nullptr, nullptr, argv.data(), environ) != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.seconds = clock.elapsed() / 1000.0;
    run.peakMb = usage.ru_maxrss / 1024.0;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    const QString self = args.takeFirst();
    const auto option = [&args](const QString &name, const QString &fallback) {
        const qsizetype at = args.indexOf(name);
        if (at < 0 || at + 1 >= args.size())
            return fallback;
        const QString value = args.at(at + 1);
        args.remove(at, 2);
        return value;
    };

    const double machineGb = option(QStringLiteral("--machine-gb"), QStringLiteral("0")).toDouble();
    if (machineGb > 0)
        assumePhysicalMemory(qint64(machineGb * (qint64(1) << 30)));
    // --make FILE WxH FLAT INDEX
    if (args.value(0) == QLatin1String("--make")) {
        const int flat = args.value(3).toInt();
        const QStringList size = args.value(2).split('x');
        QImage picture(flat, flat, QImage::Format_RGB32);
        picture.fill(qRgb(128, 128, 128));
        if (flat <= 0)
            picture = makePhoto(size.value(0).toInt(), size.value(1).toInt(), args.value(4).toInt());
        return picture.save(args.value(1), nullptr, 90) ? 0 : 1;
    }
    // --child EXTENSION JOBS FOLDER FILE...
    if (args.value(0) == QLatin1String("--child"))
        return convertAll(args.value(1), args.value(2).toInt(), args.value(3), args.mid(4));

    const int count = option(QStringLiteral("--count"), QStringLiteral("8")).toInt();
    const QStringList size = option(QStringLiteral("--size"), QStringLiteral("6000x4000")).split('x');
    const int flat = option(QStringLiteral("--flat"), QStringLiteral("0")).toInt();
    const QStringList jobCounts = option(QStringLiteral("--jobs"), QStringLiteral("1,2,8")).split(',');
    const QStringList targets =
        option(QStringLiteral("--to"), QStringLiteral("avif,gif,heic,heif,jpg,jxl,png,tiff,webp,pdf")).split(',');
    QTemporaryDir tmp;
    const QString root = args.isEmpty() ? tmp.path() : args.first();
    const QString sources = root + QStringLiteral("/sources");
    QDir().mkpath(sources);

    QTextStream out(stdout);
    // Sources are made by a child too: a child's peak starts from its parent's,
    // which must stay small.
    QStringList files;
    qint64 pixels = 0;
    if (flat > 0) {
        files << QStringLiteral("%1/flat%2.png").arg(sources).arg(flat);
        pixels = qint64(flat) * flat;
    } else {
        for (int i = 0; i < count; ++i)
            files << QStringLiteral("%1/photo%2x%3-%4.jpg").arg(sources, size.value(0), size.value(1)).arg(i);
        pixels = qint64(size.value(0).toInt()) * size.value(1).toInt();
    }
    for (int i = 0; i < files.size(); ++i) {
        if (!QFile::exists(files.at(i)))
            runChild({self, QStringLiteral("--make"), files.at(i), size.join('x'), QString::number(flat),
                      QString::number(i)});
    }

    const double budgetMb = conversionMemoryBudget(physicalMemoryBytes()) / double(1 << 20);
    QStringList extra;
    if (machineGb > 0)
        extra << QStringLiteral("--machine-gb") << QString::number(machineGb);
    const QString outputs = root + QStringLiteral("/out");
    const ChildRun idle = runChild(QStringList{self, QStringLiteral("--child"), QStringLiteral(".png"),
                                               QStringLiteral("1"), outputs} + extra);
    out << files.size() << " sources of " << pixels / 1e6 << " MP; budget " << budgetMb << " MB; idle child "
        << idle.peakMb << " MB\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg("target", -8)
               .arg("jobs", 4)
               .arg("seconds", 8)
               .arg("peak MB", 8)
               .arg("B/pixel", 8)
               .arg("status", 6);
    out.flush();

    for (const QString &target : targets) {
        for (const QString &jobs : jobCounts) {
            QDir(outputs).removeRecursively();
            QDir().mkpath(outputs);
            const ChildRun run = runChild(QStringList{self, QStringLiteral("--child"), '.' + target, jobs, outputs}
                                          + extra + files);
            // With one job the files take turns: the peak is one file's.
            const QString perPixel = jobs == QLatin1String("1")
                                         ? QString::number((run.peakMb - idle.peakMb) * (1 << 20) / pixels, 'f', 1)
                                         : QString();
            out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                       .arg(target, -8)
                       .arg(jobs, 4)
                       .arg(run.seconds, 8, 'f', 1)
                       .arg(run.peakMb, 8, 'f', 0)
                       .arg(perPixel, 8)
                       .arg(run.status, 6);
            out.flush();
        }
    }
    return 0;
}

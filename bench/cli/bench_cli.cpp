// The command-line converter's own overhead: start-up, and walking and
// reporting a folder of many small files (a rerun that skips every file, so
// no conversion is timed), next to a run that converts them.
// Usage: bench_cli [count]  (default 10000)

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

double runMs(const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess process;
    // Both reports are written in full, to nothing.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(KESTRIX_CONVERT), arguments);
    process.waitForFinished(-1);
    if (exitCode)
        *exitCode = process.exitCode();
    return timer.nsecsElapsed() / 1e6;
}

double bestOf(int rounds, const QStringList &arguments)
{
    double best = 1e12;
    for (int i = 0; i < rounds; ++i)
        best = std::min(best, runMs(arguments));
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    QTemporaryDir tmp;
    const QString in = tmp.filePath(QStringLiteral("in"));
    const QString out = tmp.filePath(QStringLiteral("out"));
    QDir().mkpath(in);

    QImage pixel(8, 8, QImage::Format_RGB32);
    pixel.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    pixel.save(&buffer, "PNG");
    for (int i = 0; i < count; ++i) {
        const QString folder = in + QStringLiteral("/d%1").arg(i / 500);
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/f%1.png").arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size())
            return 1;
    }
    QDir().mkpath(tmp.filePath(QStringLiteral("empty")));

    const double version = bestOf(5, {QStringLiteral("--version")});
    const double empty = bestOf(5, {QStringLiteral("--to"), QStringLiteral("png"), QStringLiteral("-o"), out,
                                    tmp.filePath(QStringLiteral("empty"))});
    int exitCode = -1;
    const QStringList convert = {QStringLiteral("--to"), QStringLiteral("png"), QStringLiteral("-o"), out, in};
    const double converting = runMs(convert, &exitCode);
    const double skipping = bestOf(3, convert);
    const double skippingJson = bestOf(3, convert + QStringList{QStringLiteral("--json")});

    std::printf("start-up (--version)             %8.1f ms\n", version);
    std::printf("start-up (empty folder)          %8.1f ms\n", empty);
    std::printf("%d files converted to PNG      %8.1f ms  (%.3f ms/file, exit %d)\n", count, converting,
                converting / count, exitCode);
    std::printf("%d files walked, all skipped   %8.1f ms  (%.3f ms/file)\n", count, skipping, skipping / count);
    std::printf("  the same with --json             %8.1f ms  (%.3f ms/file)\n", skippingJson, skippingJson / count);
    return 0;
}

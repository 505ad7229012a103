#include "watch.h"

#include <QDir>
#include <QEventLoop>
#include <QSocketNotifier>

#include <cstdio>

#include "folderwatch.h"

namespace {

void printLine(const QString &line)
{
    const QByteArray text = line.toLocal8Bit() + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

constexpr int exitUsage = 2; // the folder or the output cannot be used

} // namespace

int runWatch(const QString &folder, const ConversionSettings &settings, const QList<ConversionSettings> &extras,
             bool moveOriginals, bool quiet)
{
    if (!QDir().mkpath(settings.outputFolder)) {
        printLine(KestrixConvert::tr("kestrix-convert: cannot make the output folder %1").arg(settings.outputFolder));
        return exitUsage;
    }
    FolderWatch watch(folder, settings.outputFolder, moveOriginals);
    QString error;
    if (!watch.start(&error)) {
        printLine(QStringLiteral("kestrix-convert: --watch: ") + error);
        return exitUsage;
    }
    if (!quiet)
        printLine(KestrixConvert::tr("Watching %1; Ctrl+C stops.").arg(QDir::toNativeSeparators(folder)));

    QEventLoop loop;
    QSocketNotifier stop(stopDescriptor(), QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    QObject::connect(&watch, &FolderWatch::problem, &loop, [](const QString &message) {
        printLine(QStringLiteral("kestrix-convert: ") + message);
    });
    QObject::connect(&watch, &FolderWatch::filesReady, &loop, [&](const QStringList &files) {
        // The pass watches the stop signal itself: the files in flight
        // finish, no other starts.
        stop.setEnabled(false);
        Reporter reporter(files, quiet, false);
        // Each file is journaled (and moved) as soon as it is done.
        runImageBatch(files, files, settings, settings.outputFolder, [&](const ConversionFile &file) {
            if (watch.fileDone(file))
                reporter.report(file);
        }, extras, &watch);
        reporter.finish();
        watch.batchDone();
        if (stopSignal != 0)
            loop.quit();
        else
            stop.setEnabled(true);
    });
    if (stopSignal == 0)
        loop.exec();
    return stopSignal != 0 ? 128 + stopSignal.load() : 0;
}

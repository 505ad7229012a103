#include "batch.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>

#include <algorithm>

#include "convertimagesthread.h"
#include "outputplan.h"
#include "pathutil.h"
#include "sourcefiles.h"
#include "targetformats.h"

std::atomic<int> stopSignal{0};

namespace {

// Paths below the working folder are shown relative to it, as typed.
QString shownPath(const QString &path)
{
    const QString relative = QDir::current().relativeFilePath(path);
    return relative.startsWith(QLatin1String("..")) ? QDir::toNativeSeparators(path)
                                                    : QDir::toNativeSeparators(relative);
}

bool targetExists(const QString &target)
{
    // A folder (or a dangling link) of that name counts as an existing target,
    // as in the window.
    const QFileInfo info(target);
    return info.exists() || info.isSymLink();
}

QString existsReason()
{
    return QStringLiteral("the target exists");
}

} // namespace

bool collectSources(const QStringList &arguments, const QString &outputFolder, QStringList *sources,
                    QString *error)
{
    QStringList named;
    for (const QString &argument : arguments) {
        if (argument != QLatin1String("-")) {
            named << argument;
            continue;
        }
        QTextStream in(stdin);
        QString line;
        while (in.readLineInto(&line)) {
            if (!line.isEmpty())
                named << line;
        }
    }

    QHash<QString, QString> byKey;
    const auto add = [&byKey](const QString &path) {
        if (!isSupportedImageFile(path))
            return;
        const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        byKey.insert(filePathKey(absolute), absolute);
    };
    for (const QString &path : std::as_const(named)) {
        const QFileInfo info(path);
        if (info.isDir()) {
            walkFolderFiles(path, [&add](const QString &file) {
                add(file);
                return true;
            }, outputFolder);
        } else if (info.exists()) {
            add(path);
        } else {
            *error = QStringLiteral("%1: no such file or folder").arg(path);
            return false;
        }
    }
    *sources = byKey.values();
    std::sort(sources->begin(), sources->end());
    return true;
}

QString freeTargetName(const QString &target)
{
    return firstFreeName(target, targetExists);
}

Reporter::Reporter(int total, bool quiet, bool terminal) : total(total), quiet(quiet), terminal(terminal)
{
    clock.start();
}

void Reporter::report(const FileResult &result)
{
    results.append(result);
    const QString count = QStringLiteral("[%1/%2] ").arg(results.size()).arg(total);
    const QString source = shownPath(result.source);
    if (result.status == QLatin1String("failed"))
        printLine(count + source + QStringLiteral(" failed: ") + result.reason);
    else if (quiet || terminal)
        ; // only failures get a line of their own
    else if (result.status == QLatin1String("skipped"))
        printLine(count + source + QStringLiteral(" -> ") + shownPath(result.target) + QStringLiteral(" skipped: ")
                  + result.reason);
    else
        printLine(count + source + QStringLiteral(" -> ") + shownPath(result.target)
                  + QStringLiteral(" %1 s").arg(result.ms / 1000.0, 0, 'f', 2));
    if (terminal && !quiet)
        printProgress();
}

void Reporter::printLine(const QString &line)
{
    // The progress line is cleared first and redrawn after the line.
    const QByteArray text = (progressShown ? QByteArray("\r\033[K") : QByteArray()) + line.toLocal8Bit() + '\n';
    progressShown = false;
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

void Reporter::printProgress()
{
    const qsizetype done = results.size();
    const double seconds = qMax<qint64>(1, clock.elapsed()) / 1000.0;
    const double rate = done / seconds;
    const qint64 left = rate > 0 ? qint64((total - done) / rate) : 0;
    const QString line = QStringLiteral("\r\033[K[%1/%2] %3 files/s, %4:%5 left")
                             .arg(done)
                             .arg(total)
                             .arg(rate, 0, 'f', 1)
                             .arg(left / 60)
                             .arg(left % 60, 2, 10, QLatin1Char('0'));
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    progressShown = true;
}

void Reporter::finish()
{
    if (progressShown)
        std::fputc('\n', stderr);
    progressShown = false;
}

bool Reporter::anyFailed() const
{
    return std::any_of(results.cbegin(), results.cend(),
                       [](const FileResult &r) { return r.status == QLatin1String("failed"); });
}

QByteArray Reporter::json(bool stopped) const
{
    QJsonArray files;
    QHash<QString, int> counts;
    for (const FileResult &r : results) {
        files.append(QJsonObject{{QStringLiteral("source"), r.source},
                                 {QStringLiteral("target"), r.target},
                                 {QStringLiteral("status"), r.status},
                                 {QStringLiteral("reason"), r.reason},
                                 {QStringLiteral("ms"), r.ms}});
        ++counts[r.status];
    }
    const QJsonObject totals{{QStringLiteral("files"), total},
                             {QStringLiteral("converted"), counts.value(QStringLiteral("converted"))},
                             {QStringLiteral("skipped"), counts.value(QStringLiteral("skipped"))},
                             {QStringLiteral("failed"), counts.value(QStringLiteral("failed"))},
                             {QStringLiteral("notStarted"), total - int(results.size())},
                             {QStringLiteral("ms"), clock.elapsed()}};
    return QJsonDocument(QJsonObject{{QStringLiteral("files"), files},
                                     {QStringLiteral("totals"), totals},
                                     {QStringLiteral("stopped"), stopped}})
        .toJson();
}

namespace {

// Runs a pass of the window's worker to its end, or until Ctrl+C stops it.
// Each source is reported once the worker is done with it; returns the
// failures of sources it never finished.
QHash<QString, QString> runWorker(ConvertImagesThread &thread, Reporter &reporter,
                                  const std::function<QString(const QString &source)> &targetOf)
{
    QHash<QString, QElapsedTimer> clocks;
    QHash<QString, QString> failures;
    QHash<QString, QString> skips;
    QHash<QString, QString> notes;
    QSet<QString> reported;
    QEventLoop loop;
    QObject::connect(&thread, &ConvertImagesThread::updateFileName, &loop,
                     [&clocks](const QString &source) { clocks[source].start(); });
    QObject::connect(&thread, &ConvertImagesThread::fileFailed, &loop,
                     [&failures](const QString &source, const QString &reason) { failures.insert(source, reason); });
    QObject::connect(&thread, &ConvertImagesThread::fileSkipped, &loop,
                     [&skips](const QString &source, const QString &reason) { skips.insert(source, reason); });
    QObject::connect(&thread, &ConvertImagesThread::fileRenamed, &loop,
                     [&notes](const QString &source, const QString &reason) { notes.insert(source, reason); });
    QObject::connect(&thread, &ConvertImagesThread::fileFinished, &loop, [&](const QString &source) {
        const bool failed = failures.contains(source);
        const QString status = failed                   ? QStringLiteral("failed")
                               : skips.contains(source) ? QStringLiteral("skipped")
                                                        : QStringLiteral("converted");
        reporter.report({source, targetOf(source), status,
                         failures.value(source, skips.value(source, notes.value(source))),
                         clocks.value(source).elapsed()});
        reported.insert(source);
    });
    QObject::connect(&thread, &QThread::finished, &loop, &QEventLoop::quit);
    QTimer stopPoll;
    QObject::connect(&stopPoll, &QTimer::timeout, &loop, [&thread] {
        if (stopSignal)
            thread.stopRequested = true;
    });
    stopPoll.start(50);
    thread.start();
    loop.exec();
    thread.wait();
    for (const QString &source : std::as_const(reported))
        failures.remove(source);
    return failures;
}

} // namespace

void runImageBatch(const QStringList &sources, int shardIndex, int shardCount, const ConversionSettings &settings,
                   const QString &outputFolder, ExistingPolicy policy, Reporter &reporter)
{
    // The window's planner decides every target first, with --existing in the
    // place of the window's policy (this program never asks). Every shard
    // plans the whole list, so that names, {counter} and folders come out as
    // in one run, and converts its share; the worker writes new files only
    // where nothing is, so shards never write over each other.
    ConversionSettings run = settings;
    run.existingFilePolicy = policy == ExistingPolicy::Skip        ? ExistingSkip
                             : policy == ExistingPolicy::Overwrite ? ExistingOverwrite
                                                                   : ExistingKeepBoth;
    const QString extension = targetFormatAt(run.targeFileType).extension;
    const QList<PlannedFile> whole = planOutputs(sources, outputFolder, extension, run, false, fileSourceFacts(run));
    const QList<PlannedFile> plan = shardOf(whole, shardIndex, shardCount);
    if (plan.isEmpty())
        return;
    QHash<QString, QString> targetOf;
    QStringList share;
    for (const PlannedFile &file : plan) {
        targetOf.insert(file.source, file.target);
        share << file.source;
    }

    ConvertImagesThread thread(run);
    thread._urls = share;
    thread.plannedFiles = plan;
    thread.outputPath = outputFolder;
    thread.targetExtension = extension;
    runWorker(thread, reporter, [&targetOf](const QString &source) { return targetOf.value(source); });
}

void runPdfBatch(const QStringList &sources, const ConversionSettings &settings, ExistingPolicy policy,
                 Reporter &reporter)
{
    ConversionSettings run = settings;
    QString target = pdfTargetPath(run.outputFolder, run.pdfFileName);
    if (targetExists(target)) {
        if (policy == ExistingPolicy::Skip) {
            for (const QString &source : sources)
                reporter.report({source, target, QStringLiteral("skipped"), existsReason(), 0});
            return;
        }
        if (policy == ExistingPolicy::Rename) {
            target = freeTargetName(target);
            run.pdfFileName = QFileInfo(target).fileName();
        }
    }

    ConvertImagesThread thread(run);
    thread._urls = sources;
    thread.outputPath = run.outputFolder;
    thread.targetExtension = QStringLiteral(".pdf");
    thread.overwriteExisting = true;

    const QHash<QString, QString> failures =
        runWorker(thread, reporter, [&target](const QString &) { return target; });
    // A document that could not be written fails every source at once.
    for (const QString &source : sources) {
        if (failures.contains(source))
            reporter.report({source, target, QStringLiteral("failed"), failures.value(source), 0});
    }
}

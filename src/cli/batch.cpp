#include "batch.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <filesystem>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "conversionrun.h"
#include "folderwatch.h"
#include "outputplan.h"
#include "pathutil.h"
#include "sourcefiles.h"
#include "targetformats.h"
#include "targetsize.h"

std::atomic<int> stopSignal{0};

namespace {

// The signal handler writes a byte here, so that a wait on standard input or
// a running pass wakes at once.
int stopPipe[2] = {-1, -1};

// The same for the conversion run, which starts no file once it is set.
std::atomic_bool stopRequested{false};

extern "C" void onStopSignal(int signal)
{
    stopSignal.store(signal);
    stopRequested.store(true);
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopPipe[1], &byte, 1);
}

// Paths below the working folder are shown relative to it, as typed.
QString shownPath(const QString &path)
{
    const QString relative = QDir::current().relativeFilePath(path);
    return relative.startsWith(QLatin1String("..")) ? QDir::toNativeSeparators(path)
                                                    : QDir::toNativeSeparators(relative);
}

QString notUtf8Reason()
{
    return KestrixConvertReason::tr("the name is not valid UTF-8, which this program cannot open; rename it");
}

// Standard input's lines, read until it ends or a stop signal comes.
QStringList standardInputLines()
{
    QByteArray text;
    char buffer[65536];
    while (stopSignal == 0) {
        pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
        if (::poll(waits, stopPipe[0] >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (waits[0].revents == 0)
            continue;
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        text.append(buffer, got);
    }
    QStringList lines;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            lines << QFile::decodeName(line);
    }
    return lines;
}

// Qt holds a file name as text: a name that is not valid UTF-8 does not come
// back as the same bytes, so Qt's walk never sees it. These are found below
// folder with the bytes the file system holds, and listed with their reason:
// picture types, and folders once (their files are out of reach as well).
void addNamesOutOfReach(const QString &folder, const std::function<void(const QString &)> &add)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::recursive_directory_iterator it(QFile::encodeName(folder).toStdString(),
                                        fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::recursive_directory_iterator() && stopSignal == 0; it.increment(error)) {
        const QByteArray name = QByteArray::fromStdString(it->path().filename().native());
        std::error_code unknownType; // an entry that cannot be examined counts as neither
        const bool folderEntry = !it->is_symlink(unknownType) && it->is_directory(unknownType);
        const bool reachable = QFile::encodeName(QFile::decodeName(name)) == name;
        if (folderEntry && (!reachable || name.startsWith('.')))
            it.disable_recursion_pending();
        if (reachable || name.startsWith('.'))
            continue;
        const QString path = QFile::decodeName(QByteArray::fromStdString(it->path().native()));
        if (folderEntry || (it->is_regular_file(unknownType) && hasSupportedImageExtension(path)))
            add(path);
    }
}

} // namespace

bool collectSources(const QStringList &arguments, const QString &outputFolder, QStringList *sources,
                    QHash<QString, QString> *refused,
                    QString *error)
{
    QStringList named;
    // A list piped in may name a file removed since: that file fails, the run goes on.
    QSet<QString> piped;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("-")) {
            const QStringList lines = standardInputLines();
            named << lines;
            piped.unite(QSet<QString>(lines.cbegin(), lines.cend()));
        } else {
            named << argument;
        }
    }

    QHash<QString, QString> byKey;
    const auto add = [&byKey, refused](const QString &path, const QString &reason) {
        const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        byKey.insert(filePathKey(absolute), absolute);
        if (!reason.isEmpty())
            refused->insert(absolute, reason);
    };
    for (const QString &path : std::as_const(named)) {
        const QFileInfo info(path);
        if (info.isDir()) {
            walkFolderFiles(path, [&add](const QString &file) {
                if (isSupportedImageFile(file))
                    add(file, QString());
                return stopSignal == 0;
            }, outputFolder);
            addNamesOutOfReach(path, [&add](const QString &file) { add(file, notUtf8Reason()); });
        } else if (info.exists()) {
            add(path,
                isSupportedImageFile(path) ? QString() : KestrixConvertReason::tr("not a picture type this program reads"));
        } else if (path.contains(QChar::ReplacementCharacter)) {
            add(path, notUtf8Reason());
        } else if (piped.contains(path)) {
            add(path, KestrixConvertReason::tr("no such file or folder"));
        } else {
            *error = KestrixConvert::tr("%1: no such file or folder").arg(path);
            return false;
        }
    }
    *sources = byKey.values();
    std::sort(sources->begin(), sources->end());
    return true;
}

void installStopHandlers()
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        stopPipe[0] = stopPipe[1] = -1;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int stopDescriptor()
{
    return stopPipe[0];
}

ConversionFile fileRecord(const QString &source, const QString &target, ConversionFile::Outcome outcome,
                          const QString &reason)
{
    ConversionFile file{source, outcome, target};
    (outcome == ConversionFile::Skipped ? file.skipped : file.failures) << reason;
    return file;
}

namespace {

// The word the report and the JSON give an outcome.
QString statusWord(ConversionFile::Outcome outcome)
{
    switch (outcome) {
    case ConversionFile::Failed:
        return QStringLiteral("failed");
    case ConversionFile::Skipped:
        return QStringLiteral("skipped");
    case ConversionFile::Converted:
    case ConversionFile::Renamed:
    case ConversionFile::NotStarted:
        break;
    }
    return QStringLiteral("converted");
}

} // namespace

Reporter::Reporter(const QStringList &sources, bool quiet, bool terminal)
    : total(sources.size()), quiet(quiet), terminal(terminal), results(sources.size())
{
    for (qsizetype i = 0; i < sources.size(); ++i)
        positionOf.insert(sources.at(i), i);
    clock.start();
}

void Reporter::report(const ConversionFile &file)
{
    const qsizetype position = positionOf.value(file.source, -1);
    if (position < printed || file.outcome == ConversionFile::NotStarted)
        return; // not in the list, reported already, or never started
    if (!results.at(position))
        ++received;
    results[position] = file;
    while (printed < total && results.at(printed)) {
        printResult(*results.at(printed), printed);
        ++printed;
    }
    if (terminal && !quiet)
        printProgress();
}

void Reporter::printResult(const ConversionFile &file, qsizetype position)
{
    const QString count = QStringLiteral("[%1/%2] ").arg(position + 1).arg(total);
    const QString source = shownPath(file.source);
    const QString reason = file.reason();
    if (file.outcome == ConversionFile::Failed)
        printLine(count + KestrixConvert::tr("%1 failed: %2").arg(source, reason));
    else if (quiet || terminal)
        ; // only failures get a line of their own
    else if (file.outcome == ConversionFile::Skipped)
        printLine(count + KestrixConvert::tr("%1 -> %2 skipped: %3").arg(source, shownPath(file.target), reason));
    else
        printLine(count
                  + KestrixConvert::tr("%1 -> %2 %3 s")
                        .arg(source, shownPath(file.target), QString::number(file.ms / 1000.0, 'f', 2))
                  + (reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)));
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
    const qsizetype done = received;
    const double seconds = qMax<qint64>(1, clock.elapsed()) / 1000.0;
    const double rate = done / seconds;
    const qint64 left = rate > 0 ? qint64((total - done) / rate) : 0;
    const QString line = QStringLiteral("\r\033[K[%1/%2] ").arg(done).arg(total)
                         + KestrixConvert::tr("%1 files/s, %2:%3 left")
                               .arg(QString::number(rate, 'f', 1), QString::number(left / 60))
                               .arg(left % 60, 2, 10, QLatin1Char('0'));
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    progressShown = true;
}

void Reporter::finish()
{
    for (; printed < total; ++printed) {
        if (results.at(printed))
            printResult(*results.at(printed), printed);
    }
    if (progressShown)
        std::fputc('\n', stderr);
    progressShown = false;
    if (quiet)
        return;
    const SizeLimitCounts counts = sizeLimitCounts();
    for (const QString &line : sizeLimitCountLines(counts.scaledToFit, counts.overSizeLimit))
        printLine(line);
}

Reporter::SizeLimitCounts Reporter::sizeLimitCounts() const
{
    SizeLimitCounts counts;
    for (const std::optional<ConversionFile> &file : results) {
        counts.scaledToFit += file && file->scaledToFit ? 1 : 0;
        counts.overSizeLimit += file && file->overSizeLimit ? 1 : 0;
    }
    return counts;
}

bool Reporter::anyFailed() const
{
    return std::any_of(results.cbegin(), results.cend(), [](const std::optional<ConversionFile> &file) {
        return file && file->outcome == ConversionFile::Failed;
    });
}

namespace {

// The change from one size to the other in per cent, to a tenth.
double percentChange(qint64 from, qint64 to)
{
    return std::round(double(to - from) * 1000.0 / double(from)) / 10.0;
}

} // namespace

QByteArray Reporter::json(bool stopped) const
{
    QJsonArray files;
    QHash<QString, int> counts;
    qint64 bytesRead = 0;
    qint64 bytesWritten = 0;
    for (const std::optional<ConversionFile> &result : results) {
        if (!result)
            continue;
        const ConversionFile &r = *result;
        const QString status = statusWord(r.outcome);
        QJsonObject file{{QStringLiteral("source"), r.source},
                         {QStringLiteral("target"), r.target},
                         {QStringLiteral("status"), status},
                         {QStringLiteral("reason"), r.reason()},
                         {QStringLiteral("ms"), r.ms}};
        // A converted image file: its source's bytes and its own.
        if (r.bytesWritten >= 0 && r.succeeded()) {
            file.insert(QStringLiteral("bytesRead"), r.bytesRead);
            file.insert(QStringLiteral("bytesWritten"), r.bytesWritten);
            if (r.bytesRead > 0)
                file.insert(QStringLiteral("change"), percentChange(r.bytesRead, r.bytesWritten));
            bytesRead += r.bytesRead;
            bytesWritten += r.bytesWritten;
        }
        if (r.scaledToFit)
            file.insert(QStringLiteral("scaledToFit"), true);
        if (r.overSizeLimit)
            file.insert(QStringLiteral("overSizeLimit"), true);
        files.append(file);
        ++counts[status];
    }
    const SizeLimitCounts sized = sizeLimitCounts();
    const QJsonObject totals{{QStringLiteral("files"), total},
                             {QStringLiteral("converted"), counts.value(QStringLiteral("converted"))},
                             {QStringLiteral("skipped"), counts.value(QStringLiteral("skipped"))},
                             {QStringLiteral("failed"), counts.value(QStringLiteral("failed"))},
                             {QStringLiteral("notStarted"), total - received},
                             {QStringLiteral("ms"), clock.elapsed()},
                             {QStringLiteral("bytesRead"), bytesRead},
                             {QStringLiteral("bytesWritten"), bytesWritten},
                             {QStringLiteral("scaledToFit"), sized.scaledToFit},
                             {QStringLiteral("overSizeLimit"), sized.overSizeLimit}};
    return QJsonDocument(QJsonObject{{QStringLiteral("files"), files},
                                     {QStringLiteral("totals"), totals},
                                     {QStringLiteral("stopped"), stopped}})
        .toJson();
}

void runImageBatch(const QStringList &sources, const QStringList &share, const ConversionSettings &settings,
                   const QString &outputFolder, const std::function<void(const ConversionFile &)> &finished,
                   const QList<ConversionSettings> &extras, const FolderWatch *watch)
{
    // The window's planner decides every target first, with the command
    // line's policy in the place of the window's (this program never asks).
    // Every shard plans the whole list, so that names, {counter} and folders
    // come out as in one run, and converts its share; the worker writes new
    // files only where nothing is, so shards never write over each other.
    ConversionJob job;
    for (ConversionSettings run : QList<ConversionSettings>{settings} + extras) {
        run.existingFilePolicy = settings.existingFilePolicy;
        job.settings << run;
    }
    job.sources = share;
    job.outputFolder = outputFolder;
    job.targetExtension = targetFormatAt(settings.targeFileType).targetExtension();
    const QSet<QString> mine(share.cbegin(), share.cend());
    const QList<PlannedFile> plan = watch ? watch->planBatch(sources, outputTargets(job))
                                          : planEveryOutput(sources, outputTargets(job), false);
    for (const PlannedFile &file : plan) {
        if (mine.contains(file.source))
            job.plan << file;
    }
    if (job.plan.isEmpty())
        return;
    job.refuseIncomplete = watch != nullptr;
    job.stop = &stopRequested;
    ConversionObserver observer;
    observer.finished = finished;
    runConversion(job, observer);
}

void runPdfBatch(const QStringList &sources, const ConversionSettings &settings, Reporter &reporter)
{
    ConversionSettings run = settings;
    const QString target = pdfTargetPath(run.outputFolder, run.pdfFileName);
    if (isTaken(target)) {
        if (settings.existingFilePolicy == ExistingSkip) {
            for (const QString &source : sources)
                reporter.report(
                    fileRecord(source, target, ConversionFile::Skipped, KestrixConvertReason::tr("the target exists")));
            return;
        }
        if (settings.existingFilePolicy == ExistingKeepBoth)
            run.pdfFileName = QFileInfo(firstFreeName(target, isTaken)).fileName();
    }

    ConversionJob job;
    job.sources = sources;
    job.settings = {run};
    job.outputFolder = run.outputFolder;
    job.targetExtension = QStringLiteral(".pdf");
    job.overwriteExisting = true;
    // Nothing half-written: a stopped run leaves no document, and an earlier one stays.
    job.keepStoppedDocument = false;
    job.stop = &stopRequested;
    // A page that failed is reported at once, the others once the document is written.
    ConversionObserver observer;
    observer.finished = [&reporter](const ConversionFile &file) { reporter.report(file); };
    runConversion(job, observer);
}

#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdio>
#include <functional>
#include <optional>

#include "conversionrun.h"
#include "conversionsettings.h"

class FolderWatch;

// The command line's messages, help and report are translated under this
// name. With --json only these are, so that the reasons the JSON report
// carries stay English; the reasons this program gives a file itself are
// translated under KestrixConvertReason.
struct KestrixConvert
{
    Q_DECLARE_TR_FUNCTIONS(KestrixConvert)
};
struct KestrixConvertReason
{
    Q_DECLARE_TR_FUNCTIONS(KestrixConvertReason)
};

// The command line's batch: which files, what happens to targets that exist,
// how each file is reported, and the run itself on the window's engine.

// The sources named by the arguments: files as they are, folders walked as a
// dropped folder is, "-" read as one path per line from standard input. Each
// file once, sorted by path. Walks keep the accepted picture types and leave
// outputFolder out; a file named itself that is not one, and a name this
// program cannot open (not valid UTF-8, found by a walk or named), is listed
// too, with its reason in refused, and so is a line of standard input naming
// nothing. A path named as an argument that does not exist is an
// error. A stop signal ends the reading and the walks early.
bool collectSources(const QStringList &arguments, const QString &outputFolder, QStringList *sources,
                    QHash<QString, QString> *refused,
                    QString *error);

// The index-th (1-based) of count contiguous slices of a list, so that count
// processes given the same list convert each file exactly once.
template <typename T>
QList<T> shardOf(const QList<T> &list, int index, int count)
{
    const qsizetype n = list.size();
    const qsizetype begin = n * (index - 1) / count;
    const qsizetype end = n * index / count;
    return list.mid(begin, end - begin);
}

// A source's record as the report takes it: a refused file fails with its
// reason, a skipped one is left with it.
ConversionFile fileRecord(const QString &source, const QString &target, ConversionFile::Outcome outcome,
                          const QString &reason = QString());

// Lines on standard error (or one updating progress line on a terminal) and
// the summary for --json. Files are reported in the order of the list whatever
// order they finish in, so that the reports of two runs compare equal: a result
// waits until every file before it is reported.
class Reporter
{
public:
    Reporter(const QStringList &sources, bool quiet, bool terminal);
    // Reports the run's record of a source; sources never started are not reported.
    void report(const ConversionFile &file);
    // Prints the results still waiting for an earlier file that was never
    // reported, then how many files the size limit scaled or left over it.
    void finish();
    QByteArray json(bool stopped) const;
    bool anyFailed() const;
private:
    struct SizeLimitCounts
    {
        int scaledToFit = 0;
        int overSizeLimit = 0;
    };
    SizeLimitCounts sizeLimitCounts() const;
    void printResult(const ConversionFile &file, qsizetype position);
    void printLine(const QString &line);
    void printProgress();

    qsizetype total;
    bool quiet;
    bool terminal;
    bool progressShown = false;
    QHash<QString, qsizetype> positionOf;
    QList<std::optional<ConversionFile>> results; // by position in the list
    qsizetype printed = 0;                     // results[0, printed) are printed
    qsizetype received = 0;
    QElapsedTimer clock;
};

// Set from the signal handler; the run starts no new file once it is set.
extern std::atomic<int> stopSignal;

// SIGINT and SIGTERM set stopSignal and wake whatever waits for them (the
// reading of standard input, a running pass).
void installStopHandlers();
// The read end that a stop signal makes readable, for a wait of one's own.
int stopDescriptor();

// Converts the sources of share (a shard's part of sources, planned with the
// whole list) to image files in outputFolder, several at once (the settings'
// job count), under the settings' existing-file policy. Each of extras is a
// further output of every source, from the same decode; a source is reported
// with its first output's target. finished gets each source's record as it
// is done. A watched folder's batch is planned by its watch, and a file cut
// short is refused (its writer may not be done).
void runImageBatch(const QStringList &sources, const QStringList &share, const ConversionSettings &settings,
                   const QString &outputFolder, const std::function<void(const ConversionFile &)> &finished,
                   const QList<ConversionSettings> &extras = {}, const FolderWatch *watch = nullptr);

// Converts the sources into one PDF document through the window's PDF pass.
void runPdfBatch(const QStringList &sources, const ConversionSettings &settings, Reporter &reporter);

#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdio>

#include "conversionsettings.h"

// The command line's batch: which files, what happens to targets that exist,
// how each file is reported, and the run itself on the window's engine.

// The sources named by the arguments: files as they are, folders walked as a
// dropped folder is, "-" read as one path per line from standard input. Only
// accepted picture types are kept; each file once, sorted by path.
// A named path that does not exist is an error. Walks leave outputFolder out.
bool collectSources(const QStringList &arguments, const QString &outputFolder, QStringList *sources,
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

enum class ExistingPolicy { Skip, Overwrite, Rename };

// The first free name: out/a.webp gives out/a-1.webp, then out/a-2.webp, ...
QString freeTargetName(const QString &target);

struct FileResult
{
    QString source;
    QString target;
    QString status; // "converted", "skipped" or "failed"
    QString reason;
    qint64 ms = 0;
};

// Lines on standard error (or one updating progress line on a terminal) and
// the summary for --json.
class Reporter
{
public:
    Reporter(int total, bool quiet, bool terminal);
    void report(const FileResult &result);
    void finish();
    QByteArray json(bool stopped) const;
    bool anyFailed() const;

private:
    void printLine(const QString &line);
    void printProgress();

    int total;
    bool quiet;
    bool terminal;
    bool progressShown = false;
    QList<FileResult> results;
    QElapsedTimer clock;
};

// Set from the signal handler; the run starts no new file once it is set.
extern std::atomic<int> stopSignal;

// Converts the shard's share of the sources (the shardIndex-th of shardCount,
// planned with the whole list) to image files in outputFolder, several at once
// (the settings' job count).
void runImageBatch(const QStringList &sources, int shardIndex, int shardCount, const ConversionSettings &settings,
                   const QString &outputFolder, ExistingPolicy policy, Reporter &reporter);

// Converts the sources into one PDF document through the window's PDF pass.
void runPdfBatch(const QStringList &sources, const ConversionSettings &settings, ExistingPolicy policy,
                 Reporter &reporter);

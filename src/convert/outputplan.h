#pragma once

#include <QDate>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

#include "conversionsettings.h"
#include "formattable.h"

// One source of an image pass and what the pass does with it, decided
// before any file starts.
struct PlannedFile
{
    enum Action {
        Convert,
        Existing,   // set aside and reported at the end; the caller decides (policy Ask)
        Skipped,    // left as it is: policy Skip, or the target is a source
        Superseded, // a later source of the list writes the same target
        Refused,    // cannot be written as planned; fails with the reason
    };
    QString source;
    QString target;
    Action action = Convert;
    // The target got a free name because its first one was taken.
    bool renamed = false;
    // Convert writes over what is at the target; otherwise the file is made
    // only where nothing is, so a file that appeared meanwhile is left alone.
    bool replaces = false;
    // Why the file is skipped, refused or renamed, for the report.
    QString reason;
    // The page or frame of the source it is made of (0 the first).
    int page = 0;
    // Which output of a run writing several it belongs to (0 the first).
    int output = 0;
    // The target's row in the format table: the writer it goes through and
    // what it can hold. Null for a target of no known type.
    const ImageFormat *format = nullptr;
};

// What the name pattern needs of a source beyond its path. Asked only when
// the pattern holds the token.
struct SourceFacts
{
    // The size of the converted picture of the page (0 the first).
    std::function<QSize(const QString &source, int page)> outputSize;
    // The date the picture was taken, or the file's date where that is unknown.
    std::function<QDate(const QString &source)> date;
    // How many pages or frames the source holds; asked only when every page
    // becomes a file of its own.
    std::function<int(const QString &source)> pageCount;
};

// Facts read without decoding: the header's size (turned by its orientation)
// through the scaling rule, the file's modification date, and the pages told
// from the file's structure.
SourceFacts fileSourceFacts(const ConversionSettings &settings);

// The file name, without extension, that the pattern gives the source at the
// given position of a list of count sources. {name} is today's base name,
// {counter} the position from 1, zero-padded to the width of count, {width}
// and {height} the output size, {date} YYYY-MM-DD, {page} the page from 1,
// zero-padded to the width of pages. Characters a file name cannot hold
// become "_"; an empty result (or "." or "..") gives {name}. A page of a
// source of several pages named by a pattern without {page} gets "-" and its
// number appended, so that the pages never share a name.
QString expandFileNamePattern(const QString &pattern, const QString &source, int position, int count,
                              const SourceFacts &facts, int page = 0, int pages = 1);

// The deepest folder that holds every source (absolute, without a trailing "/").
QString commonSourceFolder(const QStringList &sources);

// Whether something is at path, so that a target there counts as existing:
// a file, a folder, or a link (a dangling one too).
bool isTaken(const QString &path);

// The first name of the form name-1.ext, name-2.ext, ... for which taken is false.
QString firstFreeName(const QString &target, const std::function<bool(const QString &)> &taken);

// True when path is one of the sources, also when reached through a link or "..".
bool isOneOfTheSources(const QString &path, const QStringList &sources);

// Maps the sources of one image run to their targets in list order, one call
// before any file is converted. A source is never a target: under Overwrite
// and Keep both such a target gets a free name, under Ask and Skip the source
// is skipped. A later source whose target an earlier one already has gets a
// free name (under Ask it counts as existing, so that the user decides); the
// policy then applies only to files that exist. The names depend on the whole
// list and not on what is on the disk beyond the sources (except a free name
// under Keep both), so every shard of a list plans the same names.
// A symbolic link at the target is never written through (refused under
// Overwrite) and a name longer than the file system takes is refused.
// With keepFolderStructure each target lies under the source's folder
// relative to structureRoot, or to commonSourceFolder when that is empty (a
// watched folder's batches all mirror the watched folder); no target ever
// lies outside outputFolder.
// With outputBesideSource each target lies in its source's folder instead
// (keepFolderStructure has no part then), never outside it.
// overwriteExisting (a second pass) plans as the Overwrite policy. When
// every page becomes a file, a source of several pages gives one file for
// each, one after another.
QList<PlannedFile> planOutputs(const QStringList &sources, const QString &outputFolder, const QString &extension,
                               const ConversionSettings &settings, bool overwriteExisting, const SourceFacts &facts,
                               const QString &structureRoot = QString());

// One output of a run writing several of each source.
struct OutputTarget
{
    QString folder;
    QString extension;
    ConversionSettings settings;
    const ImageFormat *format = nullptr; // the extension's row
};

// The plan of a run writing several outputs of each source: each planned as
// planOutputs plans it, in its own folder and type, all taking names from
// one set so that no two outputs of the run share a target. A source's
// entries follow each other, the first output's first. A further output
// under the Ask policy skips a target that exists (the question is only
// about the first output's).
QList<PlannedFile> planEveryOutput(const QStringList &sources, const QList<OutputTarget> &outputs,
                                   bool overwriteExisting, const QString &structureRoot = QString());

// With outputBesideSource, the first source that the name pattern and
// extension would write over with its own output; otherwise empty. A run
// refuses such a pattern up front rather than give every file a free name.
QString sourceNamedAsItsTarget(const QStringList &sources, const QString &extension, const ConversionSettings &settings,
                               const SourceFacts &facts);

// A second pass over targets an earlier pass set aside (Existing) and that
// are to be replaced, as that pass planned them: each target is written, by
// the last of its files only, as converting one after another would leave it.
QList<PlannedFile> planReplacing(const QList<PlannedFile> &chosen);

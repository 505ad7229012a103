#pragma once

#include <QDate>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

#include "conversionsettings.h"

// One source of an image pass and what the pass does with it, decided
// before any file starts.
struct PlannedFile
{
    enum Action {
        Convert,
        Existing,   // set aside and reported at the end; the caller decides (policy Ask)
        Skipped,    // left as it is (policy Skip)
        Superseded, // a later source of the list writes the same target
    };
    QString source;
    QString target;
    Action action = Convert;
    // The target got a free name because its first one was taken.
    bool renamed = false;
};

// What the name pattern needs of a source beyond its path. Asked only when
// the pattern holds the token.
struct SourceFacts
{
    // The size of the converted picture.
    std::function<QSize(const QString &source)> outputSize;
    // The date the picture was taken, or the file's date where that is unknown.
    std::function<QDate(const QString &source)> date;
};

// Facts read without decoding: the header's size (turned by its orientation)
// through the scaling rule, and the file's modification date.
SourceFacts fileSourceFacts(const ConversionSettings &settings);

// The file name, without extension, that the pattern gives the source at the
// given position of a list of count sources. {name} is today's base name,
// {counter} the position from 1, zero-padded to the width of count, {width}
// and {height} the output size, {date} YYYY-MM-DD. Characters a file name
// cannot hold become "_"; an empty result (or "." or "..") gives {name}.
QString expandFileNamePattern(const QString &pattern, const QString &source, int position, int count,
                              const SourceFacts &facts);

// The deepest folder that holds every source (absolute, without a trailing "/").
QString commonSourceFolder(const QStringList &sources);

// The first name of the form name-1.ext, name-2.ext, ... for which taken is false.
QString firstFreeName(const QString &target, const std::function<bool(const QString &)> &taken);

// Maps the sources of one image run to their targets in list order, one call
// before any file is converted. Two sources never get one target that is
// written twice: a later source whose target is already planned counts as
// existing under Ask and Skip, and gets a free name under Overwrite and Keep
// both. With keepFolderStructure each target lies under the source's folder
// relative to commonSourceFolder; no target ever lies outside outputFolder.
// overwriteExisting (a second pass) plans as the Overwrite policy.
QList<PlannedFile> planOutputs(const QStringList &sources, const QString &outputFolder, const QString &extension,
                               const ConversionSettings &settings, bool overwriteExisting, const SourceFacts &facts);

// A second pass over sources whose targets an earlier pass planned: each
// target is written, by the last of its sources only, as converting one after
// another would leave it.
QList<PlannedFile> planGivenTargets(const QStringList &sources, const QStringList &targets);

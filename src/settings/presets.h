#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include "conversionsettings.h"

// Settings files ("Export settings…") and presets: a preset is such a file
// under a name, in the user's preset folder or installed with the program.

// Writes every key of settings to a new settings file at path. False when it
// cannot be written.
bool writeSettingsFile(const QString &path, const ConversionSettings &settings);

// Loads a settings file like the store (numbers clamped, absent keys at their
// defaults). Keys that settingsFileProblems finds are loaded as absent and
// listed in problems. False, with settings unchanged, when path is no
// readable settings file (no [MainApp] group).
bool loadSettingsFile(const QString &path, ConversionSettings &settings, const QFont &labelFont,
                      QList<SettingsFileProblem> *problems = nullptr);

// A settings file for a run that nobody watches, named by its path or, with
// isPreset, as a preset: every key must be read as written, since a
// misspelt one would quietly give other pictures. False, with why in error:
// no preset of that name (the runnable presets listed one a line, control
// characters in the name shown as \xHH), a file that cannot be read
// or is no settings file, or one line per key it could not take
// ("PATH:LINE: reason"), lines joined by a line break and two spaces.
bool loadRunSettings(const QString &name, bool isPreset, ConversionSettings &settings, QString *error);

// The user's presets, one settings file per name. Shared by the window and
// the command line, so it does not depend on the program's name.
QString presetFolder();

// Why name cannot name a preset, or empty: it must not be empty, ".", "..",
// hold a path separator or a control character, begin or end with a space,
// or be longer than 100 characters. Characters some file systems refuse are
// kept in the name and encoded in its file name.
QString presetNameProblem(const QString &name);

// The user's presets and those installed with the program, sorted as people
// read numbers; a user's preset hides an installed one of the same name.
QStringList presetNames();
// The presets a run takes as they are (loadRunSettings loads them without a
// problem): the command line lists these and names them for an unknown one.
QStringList runnablePresetNames();
bool isInstalledPreset(const QString &name);
bool isUserPreset(const QString &name);

// A preset's name as the window shows it: an installed preset's in the
// user's language, a user's own as it was typed.
QString presetDisplayName(const QString &name);

// The file a preset is read from (the user's before the installed one), or
// empty when there is no preset of that name. A name without its description
// ("Web" for "Web: 1600 px WEBP") names the one preset titled so.
QString presetPath(const QString &name);

// Each false with the reason for the user in error. Saving replaces a user
// preset of that name; only the user's presets are renamed or deleted (an
// installed one comes back when the user's of its name is deleted).
bool savePreset(const QString &name, const ConversionSettings &settings, QString *error);
bool renamePreset(const QString &from, const QString &to, QString *error);
bool deletePreset(const QString &name, QString *error);

// The presets settings.alsoWrite names, loaded as further outputs of a run;
// a name no longer there is left out. One that names no output folder has
// none, so that it writes into the run's.
QList<ConversionSettings> alsoWriteOutputs(const ConversionSettings &settings, const QFont &labelFont);

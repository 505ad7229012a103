#include "presets.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

namespace {

const QString installedFolder = QStringLiteral(":/presets");
const QString suffix = QStringLiteral(".ini");
constexpr int longestName = 100;

// Characters that Windows refuses in file names, and the escape itself.
bool isEncoded(QChar c)
{
    return QStringLiteral(":*?\"<>|%").contains(c);
}

bool isDeviceName(const QString &stem)
{
    static const QStringList devices = [] {
        QStringList names{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL")};
        for (int n = 1; n <= 9; ++n)
            names << QStringLiteral("COM%1").arg(n) << QStringLiteral("LPT%1").arg(n);
        return names;
    }();
    return devices.contains(stem.section(QLatin1Char('.'), 0, 0).trimmed().toUpper());
}

QString escaped(QChar c)
{
    return QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
}

// A file name every platform takes, that gives the name back (nameOf).
QString fileNameOf(const QString &name)
{
    QString stem;
    for (const QChar c : name)
        stem += isEncoded(c) ? escaped(c) : QString(c);
    if (stem.endsWith(QLatin1Char('.')))
        stem = stem.chopped(1) + escaped(QLatin1Char('.'));
    if (isDeviceName(stem))
        stem = escaped(stem.at(0)) + stem.mid(1);
    return stem + suffix;
}

// The preset name of a file name, or empty for a file that fileNameOf would
// not have made (such as one copied in by hand with a stray "%").
QString nameOf(const QString &fileName)
{
    if (!fileName.endsWith(suffix))
        return QString();
    const QString name = QUrl::fromPercentEncoding(fileName.chopped(suffix.size()).toUtf8());
    return presetNameProblem(name).isEmpty() && fileNameOf(name) == fileName ? name : QString();
}

QStringList namesIn(const QString &folder)
{
    QStringList names;
    for (const QString &file : QDir(folder).entryList({QLatin1Char('*') + suffix}, QDir::Files)) {
        const QString name = nameOf(file);
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

QString userPresetPath(const QString &name)
{
    return presetFolder() + QLatin1Char('/') + fileNameOf(name);
}

// A name as the user typed it, control characters shown as \xHH, so that
// echoing it cannot drive the terminal.
QString shownName(const QString &name)
{
    QString shown;
    for (const QChar c : name) {
        const int code = c.unicode();
        const bool control = code < 0x20 || (code >= 0x7f && code < 0xa0);
        shown += control ? QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0')) : QString(c);
    }
    return shown;
}

bool refuse(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool writeSettingsFile(const QString &path, const ConversionSettings &settings)
{
    // A new file: keys of an older file there must not mix in.
    if (QFileInfo::exists(path) && !QFile::remove(path))
        return false;
    QSettings file(path, QSettings::IniFormat);
    saveConversionSettings(file, settings);
    file.sync();
    return file.status() == QSettings::NoError;
}

bool loadSettingsFile(const QString &path, ConversionSettings &settings, const QFont &labelFont,
                      QList<SettingsFileProblem> *problems)
{
    QSettings file(path, QSettings::IniFormat);
    if (!QFileInfo(path).isReadable() || file.status() != QSettings::NoError
        || !file.childGroups().contains(QStringLiteral("MainApp")))
        return false;
    const QList<SettingsFileProblem> found = settingsFileProblems(path);
    QStringList ignoredKeys;
    for (const SettingsFileProblem &problem : found)
        ignoredKeys << problem.key;
    loadConversionSettings(file, settings, labelFont, ignoredKeys);
    if (problems)
        *problems = found;
    return true;
}

bool loadRunSettings(const QString &name, bool isPreset, ConversionSettings &settings, QString *error)
{
    const QString path = isPreset ? presetPath(name) : name;
    if (isPreset && path.isEmpty()) {
        // One name a line: names hold commas and spaces.
        *error = QCoreApplication::translate("Settings", "no preset named \"%1\"; the presets are: %2")
                     .arg(shownName(name),
                          QStringLiteral("\n  ") + runnablePresetNames().join(QStringLiteral("\n  ")));
        return false;
    }
    if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable()) {
        *error = QCoreApplication::translate("Settings", "cannot read %1").arg(path);
        return false;
    }
    QList<SettingsFileProblem> found;
    if (!loadSettingsFile(path, settings, QGuiApplication::font(), &found)) {
        *error = QCoreApplication::translate("Settings", "%1 is not a settings file (no [MainApp] group)").arg(path);
        return false;
    }
    QStringList problems;
    for (const SettingsFileProblem &problem : std::as_const(found))
        problems << (problem.line > 0 ? QStringLiteral("%1:%2: %3").arg(path).arg(problem.line).arg(problem.reason)
                                      : QStringLiteral("%1: %2").arg(path, problem.reason));
    *error = problems.join(QStringLiteral("\n  "));
    return problems.isEmpty();
}

QList<ConversionSettings> alsoWriteOutputs(const ConversionSettings &settings, const QFont &labelFont)
{
    QList<ConversionSettings> outputs;
    for (const QString &name : settings.alsoWrite.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        ConversionSettings output;
        output.outputFolder.clear();
        if (const QString path = presetPath(name); !path.isEmpty() && loadSettingsFile(path, output, labelFont))
            outputs << output;
    }
    return outputs;
}

QString presetFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Kestrix/ConvertImage/presets");
}

QString presetNameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QObject::tr("A preset needs a name.");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QObject::tr("\"%1\" cannot name a preset.").arg(name);
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QObject::tr("A preset name cannot hold / or \\.");
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }))
        return QObject::tr("A preset name cannot hold control characters.");
    if (name != name.trimmed())
        return QObject::tr("A preset name cannot begin or end with a space.");
    if (name.size() > longestName)
        return QObject::tr("A preset name can have at most %1 characters.").arg(longestName);
    return QString();
}

QStringList presetNames()
{
    QStringList names = namesIn(presetFolder()) + namesIn(installedFolder);
    // The C locale compares code points, numbers included: "10" before "2".
    const QLocale system = QLocale::system();
    QCollator collator(system.language() == QLocale::C ? QLocale(QLocale::English) : system);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

QStringList runnablePresetNames()
{
    QStringList names;
    for (const QString &name : presetNames()) {
        ConversionSettings settings;
        QString error;
        if (loadRunSettings(name, true, settings, &error))
            names << name;
    }
    return names;
}

bool isInstalledPreset(const QString &name)
{
    return presetNameProblem(name).isEmpty() && QFileInfo(installedFolder + QLatin1Char('/') + fileNameOf(name)).isFile();
}

bool isUserPreset(const QString &name)
{
    return presetNameProblem(name).isEmpty() && QFileInfo(userPresetPath(name)).isFile();
}

QString presetDisplayName(const QString &name)
{
    // The names of the presets installed with the program, which translations know.
    static const char *const installedNames[] = {
        QT_TRANSLATE_NOOP("Presets", "Archive: lossless JPEG XL, keep metadata"),
        QT_TRANSLATE_NOOP("Presets", "E-mail: 1024 px JPEG, no location"),
        QT_TRANSLATE_NOOP("Presets", "Web: 1600 px WEBP"),
    };
    for (const char *installed : installedNames) {
        if (name == QLatin1String(installed) && !isUserPreset(name))
            return QCoreApplication::translate("Presets", installed);
    }
    return name;
}

QString presetPath(const QString &name)
{
    if (isUserPreset(name))
        return userPresetPath(name);
    if (isInstalledPreset(name))
        return installedFolder + QLatin1Char('/') + fileNameOf(name);
    // "Web" names "Web: 1600 px WEBP" when no other preset is titled so.
    const QString title = name + QStringLiteral(": ");
    QStringList titled;
    for (const QString &preset : presetNames()) {
        if (preset.startsWith(title))
            titled << preset;
    }
    return titled.size() == 1 && !name.isEmpty() ? presetPath(titled.constFirst()) : QString();
}

bool savePreset(const QString &name, const ConversionSettings &settings, QString *error)
{
    if (const QString problem = presetNameProblem(name); !problem.isEmpty())
        return refuse(error, problem);
    if (!QDir().mkpath(presetFolder()) || !writeSettingsFile(userPresetPath(name), settings))
        return refuse(error, QObject::tr("The preset could not be saved in %1.").arg(presetFolder()));
    return true;
}

bool renamePreset(const QString &from, const QString &to, QString *error)
{
    if (!isUserPreset(from))
        return refuse(error, QObject::tr("Only your own presets can be renamed."));
    if (const QString problem = presetNameProblem(to); !problem.isEmpty())
        return refuse(error, problem);
    // As a save may, a rename may take an installed preset's place, not one of the user's.
    if (isUserPreset(to))
        return refuse(error, QObject::tr("There is already a preset named \"%1\".").arg(to));
    if (!QFile::rename(userPresetPath(from), userPresetPath(to)))
        return refuse(error, QObject::tr("\"%1\" could not be renamed.").arg(from));
    return true;
}

bool deletePreset(const QString &name, QString *error)
{
    if (!isUserPreset(name))
        return refuse(error, QObject::tr("Only your own presets can be deleted."));
    if (!QFile::remove(userPresetPath(name)))
        return refuse(error, QObject::tr("\"%1\" could not be deleted.").arg(name));
    return true;
}

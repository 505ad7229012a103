// kestrix-convert: converts pictures from a shell or a script with the
// window's settings, pipeline and writers, and never asks anything.

#include <functional>
#include <tuple>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

#include <cstdio>
#include <unistd.h>

#include "batch.h"
#include "folderwatch.h"
#include "outputplan.h"
#include "conversionsettings.h"
#include "presets.h"
#include "conversionrun.h"
#include "targetformats.h"
#include "watch.h"
#include "pipelinerules.h"
#include "targetsize.h"
#include "translations.h"

namespace {

constexpr int exitUsage = 2;

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int usageError(const QString &message)
{
    print(stderr, KestrixConvert::tr("kestrix-convert: %1\nTry 'kestrix-convert --help'.\n").arg(message));
    return exitUsage;
}

QStringList formatNames()
{
    QStringList names;
    for (const ImageFormat &format : targetFormats())
        names << format.extensions.first();
    return names;
}

// The settings keys that shape a target's output, for the list of types.
QString targetKeys(const ImageFormat &format)
{
    QStringList keys;
    if (!format.qualityKey.isEmpty())
        keys << KestrixConvert::tr("quality %1").arg(format.qualityKey);
    if (!format.losslessKey.isEmpty())
        keys << KestrixConvert::tr("lossless %1").arg(format.losslessKey);
    switch (format.control) {
    case TargetControl::PngLevel:
        keys << KestrixConvert::tr("level %1").arg(QStringLiteral("pngCompressionLevel"));
        break;
    case TargetControl::TiffCompression:
        keys << KestrixConvert::tr("compression %1").arg(QStringLiteral("tiffCompression"));
        break;
    case TargetControl::None:
        break;
    }
    return keys.join(QStringLiteral(", "));
}

QString typeName(SettingType type)
{
    switch (type) {
    case SettingType::Integer:
        return KestrixConvert::tr("integer");
    case SettingType::Boolean:
        return QStringLiteral("true|false");
    case SettingType::Font:
        return KestrixConvert::tr("font family");
    case SettingType::Colour:
        return KestrixConvert::tr("colour #RRGGBB");
    case SettingType::Text:
        break;
    }
    return KestrixConvert::tr("text");
}

// How a run goes and ends, examples, and the heading of the picture types.
QString runHelp()
{
    return KestrixConvert::tr(
        "Run:\n"
        "  --existing MODE        a target that exists: skip (default), overwrite, or rename (name-1.ext, ...)\n"
        "                         e.g. --existing rename\n"
        "                         without it, the settings' existingFilePolicy applies (Ask skips)\n"
        "  --jobs N               files converted at once, 0 = one per core (default)   e.g. --jobs 4\n"
        "  --shard I/N            convert only the I-th of N equal slices of the sorted list\n"
        "                         e.g. --shard 2/4\n"
        "  --watch DIR            convert each picture that lands in DIR or below once it is completely\n"
        "                         written (unchanged for a second), until Ctrl+C; the journal\n"
        "                         DIR/.kestrix-watch.journal keeps what was done, so that a restart\n"
        "                         neither repeats nor misses a file (a file changed since is taken again)\n"
        "                         e.g. --watch ~/Incoming -o ~/Converted (without -o: DIR/converted)\n"
        "  --move-originals       with --watch: move each converted original into DIR/done/ and each\n"
        "                         failed one into DIR/failed/ with NAME.txt giving the reason\n"
        "  --quiet                print only failures\n"
        "  --json                 print a summary as JSON on standard output\n"
        "  -h, --help             this text\n"
        "  --version              the version\n"
        "\n")
        + KestrixConvert::tr(
              "Exit status: 0 every file converted or skipped, 1 a file failed, 2 usage or settings error,\n"
        "130 stopped by Ctrl+C (143 by SIGTERM). A stop finishes the file being written; nothing\n"
        "half-written is left, and a rerun with --existing skip carries on where the run stopped.\n"
        "\n")
        + KestrixConvert::tr(
              "Examples:\n"
        "  kestrix-convert --to webp -o out ~/Pictures\n"
        "  find photos -name '*.heic' | kestrix-convert - --to jpg --quality 90 -o out\n"
        "  kestrix-convert --settings weekly.ini --existing overwrite --json incoming/ > report.json\n"
        "\n")
        + KestrixConvert::tr(
              "Picture types (extensions; read as sources; written by --to, named by the first extension):\n");
}

// The usage and the options, up to the list of picture types.
QString optionsHelp()
{
    // In sections, each translated as a whole with its own layout.
    return KestrixConvert::tr(
        "Usage: kestrix-convert [options] FILE|FOLDER|- ...\n"
        "       kestrix-convert --watch DIR [options] [-o OUTPUT]\n"
        "Converts pictures with the settings of Kestrix Picturist, without a display and without questions.\n"
        "Folders are searched with their sub-folders for the picture types the window accepts\n"
        "(the types below that are read); '-' reads one path per line from standard input.\n"
        "Each file is converted once, in the order of its path.\n"
        "\n")
        + KestrixConvert::tr(
              "Settings (applied in this order: defaults or file, --set, then the options below):\n"
        "  --settings FILE        a settings file saved by the window's \"Export settings...\"\n"
        "                         e.g. --settings weekly.ini\n"
        "  --app-settings         the settings the window uses now\n"
        "  --preset NAME          a preset saved in the window (\"Save as preset...\") or installed\n"
        "                         e.g. --preset 'Web: 1600 px WEBP'\n"
        "                         given again (or --settings again), each further one is an extra\n"
        "                         output of every source, from the same decode, with that file's\n"
        "                         settings alone (without a folder of its own, into the first's)\n"
        "  --list-presets         the presets' names, one a line\n"
        "  --set KEY=VALUE        one stored setting by its key (repeatable; keys below)\n"
        "                         e.g. --set textContent='(c) 2026' --set textSize=24\n"
        "  --to FORMAT            target format: %1\n"
        "                         e.g. --to webp\n"
        "  -o, --output DIR       output folder, made if missing     e.g. -o out\n"
        "  --pdf FILE             one PDF document with a page per picture   e.g. --pdf album.pdf\n"
        "  --quality N            quality 0..99 of the lossy target  e.g. --quality 85\n"
        "  --scale PERCENT        scale by percent 0..400            e.g. --scale 50\n"
        "  --width N, --height N  scale to a width and/or height (one alone keeps the aspect ratio)\n"
        "                         e.g. --width 1600\n"
        "  --fit MODE             with both --width and --height: stretch (default), inside (within\n"
        "                         both), cover (filling both, cropped in the centre), cover-smart\n"
        "                         (cropped on the part that draws the eye) or pad (within both,\n"
        "                         padded with the background colour)   e.g. --fit cover-smart\n"
        "  --resample FILTER      smooth (default), lanczos (Lanczos 3) or sharp (Lanczos 3,\n"
        "                         sharpened after reducing)   e.g. --resample sharp\n"
        "  --background COLOUR    what transparent pixels are laid on where the target has no\n"
        "                         transparency (JPG), and the colour of --fit pad (default #ffffff)\n"
        "                         e.g. --background '#202020'\n"
        "  --pdf-dpi N            PDF sources: the first page rendered at N dots per inch, 36..1200\n"
        "                         (default 150)   e.g. --pdf-dpi 300\n"
        "  --raw MODE             camera RAW files: full (default), half (half size), or preview\n"
        "                         (the embedded preview, much faster)   e.g. --raw preview\n"
        "  --pdf-keep-jpeg        PDF documents: JPEG pictures that nothing changes keep their own data\n"
        "                         (no second compression, much faster)\n"
        "  --jpeg-lossless        JPG from JPEG: pictures only turned upright or stripped of metadata\n"
        "                         keep their JPEG data, turned losslessly (an edge of partial blocks\n"
        "                         is trimmed); others are encoded again\n"
        "  --metadata CHOICE      what the outputs keep of the sources' metadata: all (default),\n"
        "                         no-location, profile (only the colour profile) or none\n"
        "                         e.g. --metadata no-location\n"
        "  --no-auto-orient       leave pictures as stored, their orientation tag kept\n"
        "  --beside-source        write each output into its source's folder (needs a name pattern\n"
        "                         that differs from the source's name, or another format)\n"
        "                         e.g. --beside-source --set fileNamePattern={name}-web\n"
        "  --colours MODE         keep (default: each source's colour profile goes with it) or srgb\n"
        "                         (the pixels converted to sRGB)   e.g. --colours srgb\n"
        "  --pages MODE           multi-page and animated sources: first (default, the first page),\n"
        "                         each (every page or frame its own file: name-1, name-2, ... or\n"
        "                         {page} in the name pattern), or animate (GIF and WEBP targets\n"
        "                         stay animated)   e.g. --pages each\n"
        "  --max-size SIZE        lossy targets: every file at most SIZE (K: 1000 bytes, M: 1000 K),\n"
        "                         the quality searched; too large even at the lowest quality, the\n"
        "                         picture is scaled down in steps of 10 %   e.g. --max-size 300K\n"
        "  --min-quality N        the lowest quality --max-size may use, 0..99 (default 40)\n"
        "  --no-shrink            with --max-size, never scale down: write at the lowest quality\n"
        "                         and report the file as over the size\n"
        "\n")
              .arg(formatNames().join(QLatin1Char(' ')))
        + runHelp();
}

// The picture types, then the keys of --set and settings files.
QString typesAndKeysHelp()
{
    QString text;
    const QString read = KestrixConvert::tr("read");
    const QString write = KestrixConvert::tr("write");
    for (const ImageFormat &format : imageFormats()) {
        const QString line = QStringLiteral("%1 %2 %3 %4  %5")
                                 .arg(format.label, -8)
                                 .arg(format.extensions.join(QLatin1Char(' ')), -11)
                                 .arg(format.canRead ? read : QString(), -int(read.size()))
                                 .arg(format.canWrite ? write : QString(), -int(write.size()))
                                 .arg(targetKeys(format));
        text += QStringLiteral("  ") + line.trimmed() + QLatin1Char('\n');
    }
    text += KestrixConvert::tr("\nKeys for --set and settings files (group MainApp):\n");
    for (const SettingKey &key : settingKeys()) {
        QString type = typeName(key.type);
        if (key.type == SettingType::Integer)
            type += QStringLiteral(" %1..%2").arg(key.minimum).arg(key.maximum);
        const QString value = key.type == SettingType::Font ? KestrixConvert::tr("the interface font")
                              : key.defaultText.isEmpty()   ? KestrixConvert::tr("empty")
                                                            : key.defaultText;
        text += KestrixConvert::tr("  %1 %2 default %3\n").arg(key.name, -22).arg(type, -24).arg(value);
    }
    text += KestrixConvert::tr("targeFileType counts the formats above from 0 (%1).\n")
                .arg(formatNames().join(QLatin1Char(' ')));
    return text;
}

QString helpText()
{
    return optionsHelp() + typesAndKeysHelp();
}

// The library's and the engine's debug output and warnings (missing runtime
// folder, codec notes) would mix with the report; failures are reported per file.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtCriticalMsg && type != QtFatalMsg)
        return;
    print(stderr, message + QLatin1Char('\n'));
}

// The options, in the order --help lists them, and the parser that read them.
struct Options
{
    QCommandLineParser parser;
    const QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    const QCommandLineOption version{QStringLiteral("version")};
    const QCommandLineOption settingsFile{QStringLiteral("settings"), QString(), QStringLiteral("FILE")};
    const QCommandLineOption appSettings{QStringLiteral("app-settings")};
    const QCommandLineOption preset{QStringLiteral("preset"), QString(), QStringLiteral("NAME")};
    const QCommandLineOption listPresets{QStringLiteral("list-presets")};
    const QCommandLineOption set{QStringLiteral("set"), QString(), QStringLiteral("KEY=VALUE")};
    const QCommandLineOption to{QStringLiteral("to"), QString(), QStringLiteral("FORMAT")};
    const QCommandLineOption output{QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("DIR")};
    const QCommandLineOption pdf{QStringLiteral("pdf"), QString(), QStringLiteral("FILE")};
    const QCommandLineOption quality{QStringLiteral("quality"), QString(), QStringLiteral("N")};
    const QCommandLineOption scale{QStringLiteral("scale"), QString(), QStringLiteral("PERCENT")};
    const QCommandLineOption width{QStringLiteral("width"), QString(), QStringLiteral("N")};
    const QCommandLineOption height{QStringLiteral("height"), QString(), QStringLiteral("N")};
    const QCommandLineOption pdfDpi{QStringLiteral("pdf-dpi"), QString(), QStringLiteral("N")};
    const QCommandLineOption fit{QStringLiteral("fit"), QString(), QStringLiteral("MODE")};
    const QCommandLineOption resample{QStringLiteral("resample"), QString(), QStringLiteral("FILTER")};
    const QCommandLineOption background{QStringLiteral("background"), QString(), QStringLiteral("COLOUR")};
    const QCommandLineOption existing{QStringLiteral("existing"), QString(), QStringLiteral("MODE")};
    const QCommandLineOption jobs{QStringLiteral("jobs"), QString(), QStringLiteral("N")};
    const QCommandLineOption raw{QStringLiteral("raw"), QString(), QStringLiteral("MODE")};
    const QCommandLineOption pdfKeepJpeg{QStringLiteral("pdf-keep-jpeg")};
    const QCommandLineOption jpegLossless{QStringLiteral("jpeg-lossless")};
    const QCommandLineOption colours{QStringLiteral("colours"), QString(), QStringLiteral("MODE")};
    const QCommandLineOption pages{QStringLiteral("pages"), QString(), QStringLiteral("MODE")};
    const QCommandLineOption maxSize{QStringLiteral("max-size"), QString(), QStringLiteral("SIZE")};
    const QCommandLineOption minQuality{QStringLiteral("min-quality"), QString(), QStringLiteral("N")};
    const QCommandLineOption noShrink{QStringLiteral("no-shrink")};
    const QCommandLineOption shard{QStringLiteral("shard"), QString(), QStringLiteral("I/N")};
    const QCommandLineOption metadata{QStringLiteral("metadata"), QString(), QStringLiteral("CHOICE")};
    const QCommandLineOption noAutoOrient{QStringLiteral("no-auto-orient")};
    const QCommandLineOption besideSource{QStringLiteral("beside-source")};
    const QCommandLineOption watch{QStringLiteral("watch"), QString(), QStringLiteral("DIR")};
    const QCommandLineOption moveOriginals{QStringLiteral("move-originals")};
    const QCommandLineOption quiet{QStringLiteral("quiet")};
    const QCommandLineOption json{QStringLiteral("json")};

    Options()
    {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({help, version, settingsFile, appSettings, set, to, output, pdf, quality, scale, width,
                           height, pdfDpi, raw, colours, pages, pdfKeepJpeg, jpegLossless, existing, jobs, shard, quiet, json,
                           preset, listPresets, metadata, noAutoOrient, besideSource, watch, moveOriginals, maxSize,
                           minQuality, noShrink});
        parser.addOptions({fit, resample, background});
    }
    bool isSet(const QCommandLineOption &option) const { return parser.isSet(option); }
    QString value(const QCommandLineOption &option) const { return parser.value(option); }
};

// Each step below reads its options into the settings and returns a usage
// error, or nothing.

// A settings file or preset (each further one an extra output of every
// source), or the window's store.
QString loadSettingsFiles(const Options &o, ConversionSettings &settings, QList<ConversionSettings> &extras)
{
    if (int(o.isSet(o.settingsFile)) + int(o.isSet(o.appSettings)) + int(o.isSet(o.preset)) > 1)
        return KestrixConvert::tr("--settings, --preset and --app-settings exclude each other");
    if (o.isSet(o.appSettings))
        loadConversionSettings(settings, QApplication::font());
    if (!o.isSet(o.settingsFile) && !o.isSet(o.preset))
        return QString();
    const bool byPreset = o.isSet(o.preset);
    const QString option = byPreset ? QStringLiteral("--preset") : QStringLiteral("--settings");
    const QStringList names = byPreset ? o.parser.values(o.preset) : o.parser.values(o.settingsFile);
    for (qsizetype n = 0; n < names.size(); ++n) {
        // An extra output that names no folder writes into the first one's.
        ConversionSettings loaded;
        loaded.outputFolder.clear();
        QString error;
        if (!loadRunSettings(names.at(n), byPreset, n == 0 ? settings : loaded, &error))
            return option + QStringLiteral(": ") + error;
        if (n > 0)
            extras << loaded;
    }
    return QString();
}

QString applySetOptions(const Options &o, ConversionSettings &settings)
{
    QString error;
    for (const QString &assignment : o.parser.values(o.set)) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        if (equals < 0)
            return KestrixConvert::tr("--set %1: expected KEY=VALUE").arg(assignment);
        if (!setSettingFromText(settings, assignment.left(equals), assignment.mid(equals + 1), &error))
            return error;
    }
    return QString();
}

// --to, -o, --pdf, --quality and --pdf-dpi.
QString applyTargetOptions(const Options &o, ConversionSettings &settings)
{
    if (o.isSet(o.to)) {
        const qsizetype index = formatNames().indexOf(o.value(o.to).toLower());
        if (index < 0)
            return KestrixConvert::tr("--to: unknown format \"%1\"; accepted: %2")
                .arg(o.value(o.to), formatNames().join(QLatin1Char(' ')));
        settings.targeFileType = int(index);
    }
    if (o.isSet(o.output))
        settings.outputFolder = QDir::cleanPath(QFileInfo(o.value(o.output)).absoluteFilePath());
    if (o.isSet(o.pdf)) {
        const QFileInfo file(o.value(o.pdf));
        settings.targeFileType = TargetPdf;
        settings.outputFolder = QDir::cleanPath(file.absolutePath());
        settings.pdfFileName = file.fileName();
    }
    QString error;
    if (o.isSet(o.quality)) {
        // Every lossy format keeps its own quality: this sets the target's.
        ConversionSettings checked = settings;
        if (!setSettingFromText(checked, QStringLiteral("targeFileQuality"), o.value(o.quality), &error))
            return error;
        if (const TargetQuality target = targetQualityFor(settings.targeFileType); target.quality)
            settings.*target.quality = checked.targeFileQuality;
    }
    if (o.isSet(o.pdfDpi) && !setSettingFromText(settings, QStringLiteral("pdfSourceDpi"), o.value(o.pdfDpi), &error))
        return error;
    if (o.isSet(o.jobs) && !setSettingFromText(settings, QStringLiteral("convertJobs"), o.value(o.jobs), &error))
        return error;
    return QString();
}

// Options that choose a setting's value by a word, and the plain switches.
QString applyChoiceOptions(const Options &o, ConversionSettings &settings)
{
    // The word's place in its list is the value.
    const std::tuple<const QCommandLineOption *, int ConversionSettings::*, QStringList> choices[] = {
        {&o.raw, &ConversionSettings::rawPictures, {"full", "half", "preview"}},
        {&o.colours, &ConversionSettings::colourHandling, {"keep", "srgb"}},
        {&o.pages, &ConversionSettings::pagesAndFrames, {"first", "each", "animate"}},
        {&o.metadata, &ConversionSettings::metadata, {"all", "no-location", "profile", "none"}},
        {&o.fit, &ConversionSettings::scaleFit, {"stretch", "inside", "cover", "cover-smart", "pad"}},
        {&o.resample, &ConversionSettings::resampling, {"smooth", "lanczos", "sharp"}},
    };
    for (const auto &[option, field, words] : choices) {
        if (!o.isSet(*option))
            continue;
        const qsizetype value = words.indexOf(o.value(*option));
        if (value < 0)
            return KestrixConvert::tr("--%1: unknown mode \"%2\"; accepted: %3")
                .arg(option->names().constFirst(), o.value(*option), words.join(QLatin1Char(' ')));
        settings.*field = int(value);
    }
    // The older metadata keys follow the choice.
    if (o.isSet(o.metadata))
        setMetadataChoice(settings, settings.metadata);
    QString error;
    if (o.isSet(o.background)
        && !setSettingFromText(settings, QStringLiteral("backgroundColour"), o.value(o.background), &error))
        return error;
    if (o.isSet(o.pdfKeepJpeg))
        settings.pdfKeepJpeg = true;
    if (o.isSet(o.jpegLossless))
        settings.jpegLossless = true;
    if (o.isSet(o.noAutoOrient))
        settings.ignoreOrientation = true;
    if (o.isSet(o.besideSource))
        settings.outputBesideSource = true;
    return QString();
}

// --max-size, --min-quality and --no-shrink.
QString applySizeLimitOptions(const Options &o, ConversionSettings &settings)
{
    QString error;
    if (o.isSet(o.maxSize)) {
        // A unit is required: a bare number could mean bytes or kilobytes.
        static const QRegularExpression sizeText(QStringLiteral("^(\\d+(?:\\.\\d+)?)\\s*([kKmM])[bB]?$"));
        const QRegularExpressionMatch match = sizeText.match(o.value(o.maxSize).trimmed());
        const double kilobytes =
            match.hasMatch() ? match.captured(1).toDouble() * (match.captured(2).toLower() == "m" ? 1000 : 1) : 0;
        if (!setSettingFromText(settings, QStringLiteral("fileSizeLimitKb"), QString::number(qint64(kilobytes)),
                                &error))
            return KestrixConvert::tr("--max-size: \"%1\" is not a size from 1K to 2000M, such as 300K or 2M")
                .arg(o.value(o.maxSize));
        settings.limitFileSize = true;
    }
    if (o.isSet(o.minQuality)
        && !setSettingFromText(settings, QStringLiteral("fileSizeMinQuality"), o.value(o.minQuality), &error))
        return error;
    if (o.isSet(o.noShrink))
        settings.shrinkToFileSize = false;
    return sizeLimitRefusal(settings, targetFormatAt(settings.targeFileType));
}

// --scale, --width and --height.
QString applyScaleOptions(const Options &o, ConversionSettings &settings)
{
    QString error;
    if (o.isSet(o.scale)) {
        if (!setSettingFromText(settings, QStringLiteral("scalePercentage"), o.value(o.scale), &error))
            return error;
        settings.scaleImage = true;
        settings.scaleType = ScaleByPercentage;
    }
    if (!o.isSet(o.width) && !o.isSet(o.height))
        return QString();
    if (o.isSet(o.width) && o.isSet(o.height)) {
        if (!setSettingFromText(settings, QStringLiteral("scaleAbsoluteWitdh"), o.value(o.width), &error)
            || !setSettingFromText(settings, QStringLiteral("scaleAbsoluteHeight"), o.value(o.height), &error))
            return error;
        settings.scaleType = ScaleByAbsoluteSize;
    } else if (o.isSet(o.width)) {
        if (!setSettingFromText(settings, QStringLiteral("scaleRelativeWidth"), o.value(o.width), &error))
            return error;
        settings.scaleType = ScaleByRelativeSize;
        settings.scaleRelativeTo = RelativeToWidth;
    } else {
        if (!setSettingFromText(settings, QStringLiteral("scaleRelativeHeight"), o.value(o.height), &error))
            return error;
        settings.scaleType = ScaleByRelativeSize;
        settings.scaleRelativeTo = RelativeToHeight;
    }
    settings.scaleImage = true;
    return QString();
}

// --existing, else the settings' policy; this program never asks, so Ask skips.
QString applyExistingOption(const Options &o, ConversionSettings &settings)
{
    if (settings.existingFilePolicy == ExistingAsk)
        settings.existingFilePolicy = ExistingSkip;
    if (!o.isSet(o.existing))
        return QString();
    const QString mode = o.value(o.existing);
    if (mode == QLatin1String("overwrite"))
        settings.existingFilePolicy = ExistingOverwrite;
    else if (mode == QLatin1String("rename"))
        settings.existingFilePolicy = ExistingKeepBoth;
    else if (mode == QLatin1String("skip"))
        settings.existingFilePolicy = ExistingSkip;
    else
        return KestrixConvert::tr("--existing: unknown mode \"%1\"; accepted: skip overwrite rename").arg(mode);
    return QString();
}

// --shard I/N into its index and count (1/1 without it).
QString readShard(const Options &o, int *index, int *count)
{
    if (!o.isSet(o.shard))
        return QString();
    const QStringList parts = o.value(o.shard).split(QLatin1Char('/'));
    bool indexOk = false;
    bool countOk = false;
    if (parts.size() == 2) {
        *index = parts.at(0).toInt(&indexOk);
        *count = parts.at(1).toInt(&countOk);
    }
    if (!indexOk || !countOk || *count < 1 || *index < 1 || *index > *count)
        return KestrixConvert::tr("--shard: \"%1\" is not I/N with 1 <= I <= N").arg(o.value(o.shard));
    return QString();
}

int watchCommand(const Options &o, ConversionSettings settings, const QList<ConversionSettings> &extras)
{
    if (const QString refusal = watchRefusal(settings); !refusal.isEmpty())
        return usageError(QStringLiteral("--watch: ") + refusal);
    if (!o.parser.positionalArguments().isEmpty() || o.isSet(o.shard) || o.isSet(o.json))
        return usageError(KestrixConvert::tr("--watch takes no other input, nor --shard or --json"));
    const QString folder = o.value(o.watch);
    if (!QFileInfo(folder).isDir())
        return usageError(KestrixConvert::tr("--watch: %1 is not a folder").arg(folder));
    // The watch leaves its output folder out, so a folder inside DIR is safe.
    if (settings.outputFolder.isEmpty()) {
        settings.outputFolder = QDir(folder).filePath(QStringLiteral("converted"));
        QDir().mkpath(settings.outputFolder);
    }
    return runWatch(folder, settings, extras, o.isSet(o.moveOriginals), o.isSet(o.quiet));
}

// The sources the arguments name, a refused file with its reason; a usage error, or nothing.
QString batchSources(const Options &o, const ConversionSettings &settings, QStringList *sources,
                     QHash<QString, QString> *refused)
{
    const bool isPdf = settings.targeFileType == TargetPdf;
    const bool beside = settings.outputBesideSource && !isPdf;
    if (settings.outputFolder.isEmpty() && !beside)
        return KestrixConvert::tr("no output folder: give -o DIR or --pdf FILE (or outputFolder in the settings)");
    if (isPdf && settings.pdfFileName.isEmpty())
        return KestrixConvert::tr("no PDF file name: give --pdf FILE (or pdfFileName in the settings)");
    if (o.parser.positionalArguments().isEmpty())
        return KestrixConvert::tr("no input: name files, folders or '-'");
    QString error;
    // A PDF's folder is no output of pictures: walks take it whole.
    if (!collectSources(o.parser.positionalArguments(), isPdf || beside ? QString() : settings.outputFolder, sources,
                        refused, &error))
        return error;
    const QString extension = targetFormatAt(settings.targeFileType).targetExtension();
    if (const QString itself = beside ? sourceNamedAsItsTarget(*sources, extension, settings, fileSourceFacts(settings))
                                      : QString();
        !itself.isEmpty())
        return KestrixConvert::tr("--beside-source: the name pattern \"%1\" would write %2 over itself; "
                              "add to the pattern, e.g. {name}-copy, or choose another format")
            .arg(settings.fileNamePattern, itself);
    return QString();
}

// Converts the share of the sources and reports it; false when the output folder cannot be made.
bool convertShare(ConversionSettings settings, const QList<ConversionSettings> &extras, const QStringList &sources,
                  const QHash<QString, QString> &refused, const QStringList &share, Reporter &reporter)
{
    const bool isPdf = settings.targeFileType == TargetPdf;
    const bool beside = settings.outputBesideSource && !isPdf;
    if (!beside && !QDir().mkpath(settings.outputFolder)) {
        print(stderr, KestrixConvert::tr("kestrix-convert: cannot make the output folder %1\n").arg(settings.outputFolder));
        return false;
    }
    // Every shard plans the whole list without the refused files; each
    // refused file is reported by the shard it falls in.
    QStringList readable;
    for (const QString &source : sources) {
        if (!refused.contains(source))
            readable << source;
    }
    QStringList readableShare;
    for (const QString &source : share) {
        if (refused.contains(source))
            reporter.report(fileRecord(source, QString(), ConversionFile::Failed, refused.value(source)));
        else
            readableShare << source;
    }
    settings.outputIsPdf = isPdf;
    if (isPdf) {
        settings.pdfFileName = pdfFileNameWithExtension(settings.pdfFileName);
        runPdfBatch(readableShare, settings, reporter);
    } else {
        runImageBatch(readable, readableShare, settings, settings.outputFolder,
                      [&reporter](const ConversionFile &file) { reporter.report(file); }, extras);
    }
    return true;
}

int batchCommand(const Options &o, const ConversionSettings &settings, const QList<ConversionSettings> &extras,
                 int shardIndex, int shardCount)
{
    QStringList sources;
    QHash<QString, QString> refused;
    if (const QString error = batchSources(o, settings, &sources, &refused); !error.isEmpty())
        return usageError(error);
    const QStringList share = shardOf(sources, shardIndex, shardCount);
    Reporter reporter(share, o.isSet(o.quiet), isatty(STDERR_FILENO) == 1);
    // A stop while the list was read converts nothing.
    if (stopSignal == 0 && !convertShare(settings, extras, sources, refused, share, reporter))
        return exitUsage;
    reporter.finish();

    const int signal = stopSignal.load();
    if (o.isSet(o.json))
        print(stdout, QString::fromUtf8(reporter.json(signal != 0)));
    if (signal != 0)
        return 128 + signal;
    return reporter.anyFailed() ? 1 : 0;
}

int run(const QStringList &arguments)
{
    Options o;
    if (!o.parser.parse(arguments))
        return usageError(o.parser.errorText());
    if (o.isSet(o.help)) {
        print(stdout, helpText());
        return 0;
    }
    if (o.isSet(o.version)) {
        print(stdout, QStringLiteral("kestrix-convert %1\n").arg(QStringLiteral(KX_VERSION)));
        return 0;
    }
    if (o.isSet(o.listPresets)) {
        for (const QString &name : runnablePresetNames())
            print(stdout, name + QLatin1Char('\n'));
        return 0;
    }

    // Settings: defaults, a file (a preset is one) or the window's store; then --set; then the shortcuts.
    ConversionSettings settings;
    settings.textFont = QApplication::font();
    QList<ConversionSettings> extras;
    int shardIndex = 1;
    int shardCount = 1;
    const std::function<QString()> steps[] = {
        [&] { return loadSettingsFiles(o, settings, extras); },
        [&] { return applySetOptions(o, settings); },
        [&] { return applyTargetOptions(o, settings); },
        [&] { return applyChoiceOptions(o, settings); },
        [&] { return applySizeLimitOptions(o, settings); },
        [&] { return applyScaleOptions(o, settings); },
        [&] { return applyExistingOption(o, settings); },
        [&] { return readShard(o, &shardIndex, &shardCount); },
    };
    for (const std::function<QString()> &step : steps) {
        if (const QString error = step(); !error.isEmpty())
            return usageError(error);
    }
    // The presets the settings name under "Also write:" are extra outputs of
    // pictures too, as in the window.
    if (settings.targeFileType != TargetPdf)
        extras += alsoWriteOutputs(settings, QApplication::font());
    if (const QString problem = outputsProblem(QList<ConversionSettings>{settings} + extras); !problem.isEmpty())
        return usageError(QStringLiteral("--preset: ") + problem);
    if (o.isSet(o.moveOriginals) && !o.isSet(o.watch))
        return usageError(KestrixConvert::tr("--move-originals goes with --watch"));
    if (o.isSet(o.watch))
        return watchCommand(o, settings, extras);
    return batchCommand(o, settings, extras, shardIndex, shardCount);
}

} // namespace

int main(int argc, char *argv[])
{
    // No display is needed: the offscreen platform unless the caller chose one.
    // Text watermarks still render (fonts come from the platform's database).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    installStopHandlers();
    qInstallMessageHandler(quietMessages);
    // A widgets application: the blur renders through a graphics scene.
    QApplication app(argc, argv);
    // Messages and help in the user's language. The JSON report is read by
    // programs: with --json only the command line's and the settings' texts
    // are translated, and the reasons the report carries stay English.
    const bool json = QApplication::arguments().contains(QStringLiteral("--json"));
    const QStringList ownTexts = {QStringLiteral("KestrixConvert"), QStringLiteral("Settings")};
    installTranslations(QLocale::system(), json ? ownTexts : QStringList());
    applyAllocationLimit();
    return run(QApplication::arguments());
}

#include "conversionsettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <variant>

#include "formattable.h"

namespace {

using Member = SettingMember;

// What loading does with a stored integer outside its control's range.
enum class OutOfRange {
    Clamp,       // amounts: the nearest end of the range, so no arithmetic runs out of range
    BottomRight, // watermark positions: 8
    Keep,        // choices: the record keeps the number; the users of each field
                 // give any other value a meaning ("no scaling", "landscape", ...)
};

struct KeyEntry
{
    const char *key;
    int id;
    Member member;
    // Integers only: the values the form's control accepts.
    int minimum = 0;
    int maximum = 0;
    OutOfRange outOfRange = OutOfRange::Clamp;
};

constexpr int maxSide = 65535;        // the free-text sizes: the largest side an image may have
constexpr auto keep = OutOfRange::Keep;
constexpr auto bottomRight = OutOfRange::BottomRight;

using S = ConversionSettings;

// Keys in the order of the record; the order is also the reading order. One
// row per key; integers give the range of their control.
const KeyEntry keyTable[] = {
    {"lastPicturesDir", SettingLastPicturesDir, &S::lastPicturesDir},
    {"targeFileType", SettingTargetFileType, &S::targeFileType, 0, int(targetFormats().size()) - 1, keep},
    {"targeFileQuality", SettingTargetFileQuality, &S::targeFileQuality, 0, 99},
    {"outputFolder", SettingOutputFolder, &S::outputFolder},
    {"pdfFileName", SettingPdfFile, &S::pdfFileName},
    {"pdfPaperSize", SettingPdfPaperSize, &S::pdfPaperSize, PaperLetter, PaperExecutive, keep},
    {"resizeImageToPaper", SettingPdfFile, &S::resizeImageToPaper},
    {"pdfSmoothEdges", SettingPdfFile, &S::pdfSmoothEdges},
    {"pdfQuality", SettingPdfQuality, &S::pdfQuality, PdfQuality96, PdfQuality1200, keep},
    {"pdfPaperOrientation", SettingPdfPaperOrientation, &S::pdfPaperOrientation, 0, 1, keep},
    {"pdfPaperMargin", SettingPdfPaperMargin, &S::pdfPaperMargin, 0, 1, keep},
    {"pdfPaperMarginSize", SettingPdfPaperMarginSize, &S::pdfPaperMarginSize, 0, 99},
    {"existingFilePolicy", SettingExistingFilePolicy, &S::existingFilePolicy, ExistingAsk, ExistingKeepBoth, keep},
    {"keepFolderStructure", SettingKeepFolderStructure, &S::keepFolderStructure},
    {"fileNamePattern", SettingFileNamePattern, &S::fileNamePattern},
    {"webpQuality", SettingWebpQuality, &S::webpQuality, 0, 99},
    {"webpLossless", SettingWebpLossless, &S::webpLossless},
    {"avifQuality", SettingAvifQuality, &S::avifQuality, 0, 99},
    {"heicQuality", SettingHeicQuality, &S::heicQuality, 0, 99},
    {"heifQuality", SettingHeifQuality, &S::heifQuality, 0, 99},
    {"jxlQuality", SettingJxlQuality, &S::jxlQuality, 0, 99},
    {"jxlLossless", SettingJxlLossless, &S::jxlLossless},
    {"pngCompressionLevel", SettingPngCompressionLevel, &S::pngCompressionLevel, 0, 9},
    {"tiffCompression", SettingTiffCompression, &S::tiffCompression, TiffNoCompression, TiffLzwCompression, keep},
    {"rawPictures", SettingRawPictures, &S::rawPictures, RawFullQuality, RawEmbeddedPreview, keep},
    {"scaleImage", SettingScaleImage, &S::scaleImage},
    {"scaleType", SettingScaleType, &S::scaleType, ScaleByPercentage, ScaleByLongEdge, keep},
    {"scalePercentage", SettingScalePercentage, &S::scalePercentage, 0, 400},
    {"scaleAbsoluteWitdh", SettingScaleAbsoluteWidth, &S::scaleAbsoluteWitdh, 0, maxSide},
    {"scaleAbsoluteHeight", SettingScaleAbsoluteHeight, &S::scaleAbsoluteHeight, 0, maxSide},
    {"scaleRelativeTo", SettingScaleRelativeTo, &S::scaleRelativeTo, 0, 1, keep},
    {"scaleRelativeWidth", SettingScaleRelativeWidth, &S::scaleRelativeWidth, 0, maxSide},
    {"scaleRelativeHeight", SettingScaleRelativeHeight, &S::scaleRelativeHeight, 0, maxSide},
    {"scaleLongEdge", SettingScaleLongEdge, &S::scaleLongEdge, 0, maxSide},
    {"scaleDoNotEnlarge", SettingScaleDoNotEnlarge, &S::scaleDoNotEnlarge},
    {"scaleFit", SettingScaleFit, &S::scaleFit, FitStretch, FitPad, keep},
    {"resampling", SettingResampling, &S::resampling, ResampleSmooth, ResampleSharp, keep},
    {"backgroundColour", SettingBackgroundColour, &S::backgroundColour},
    {"textContent", SettingTextContent, &S::textContent},
    {"textFont", SettingTextFont, &S::textFont},
    {"textSize", SettingTextSize, &S::textSize, 0, 999},
    {"textColor", SettingTextColor, &S::textColor},
    {"textPosition", SettingTextPosition, &S::textPosition, 0, 8, bottomRight},
    {"textOpacity", SettingTextOpacity, &S::textOpacity, 0, 100},
    {"textMargin", SettingTextMargin, &S::textMargin, 0, 999},
    {"imagePath", SettingImagePath, &S::imagePath},
    {"imageSize", SettingImageSize, &S::imageSize, 1, 100},
    {"imagePosition", SettingImagePosition, &S::imagePosition, 0, 8, bottomRight},
    {"imageOpacity", SettingImageOpacity, &S::imageOpacity, 0, 100},
    {"imageMargin", SettingImageMargin, &S::imageMargin, 0, 999},
    {"qrCodeText", SettingQrCodeText, &S::qrCodeText},
    {"qrCodeSize", SettingQrCodeSize, &S::qrCodeSize, 1, 1000},
    {"qrCodePosition", SettingQrCodePosition, &S::qrCodePosition, 0, 8, bottomRight},
    {"qrCodeMargin", SettingQrCodeMargin, &S::qrCodeMargin, 0, 999},
    {"adjustGrayScale", SettingAdjustGrayScale, &S::adjustGrayScale, 0, 1, keep},
    {"adjustSepia", SettingAdjustSepia, &S::adjustSepia, 0, 1, keep},
    {"adjustContrast", SettingAdjustContrast, &S::adjustContrast, -255, 255},
    {"adjustBrightness", SettingAdjustBrightness, &S::adjustBrightness, -255, 255},
    {"adjustGamma", SettingAdjustGamma, &S::adjustGamma, -100, 699},
    {"adjustInvertColours", SettingAdjustInvertColours, &S::adjustInvertColours, 0, 255},
    {"setBlurRadius", SettingBlurRadius, &S::setBlurRadius, 0, 50},
    {"convertJobs", SettingConvertJobs, &S::convertJobs, 0, 64},
    {"keepMetadata", SettingKeepMetadata, &S::keepMetadata},
    {"removeLocation", SettingRemoveLocation, &S::removeLocation},
    {"keepFileDates", SettingKeepFileDates, &S::keepFileDates},
    {"pdfSourceDpi", SettingPdfSourceDpi, &S::pdfSourceDpi, 36, 1200},
    {"pdfKeepJpeg", SettingPdfKeepJpeg, &S::pdfKeepJpeg},
    {"metadata", SettingMetadata, &S::metadata, MetadataKeepAll, MetadataNone, keep},
    {"ignoreOrientation", SettingIgnoreOrientation, &S::ignoreOrientation},
    {"outputBesideSource", SettingOutputBesideSource, &S::outputBesideSource},
    {"colourHandling", SettingColourHandling, &S::colourHandling, ColoursKeepProfile, ColoursToSrgb, keep},
    {"pagesAndFrames", SettingPagesAndFrames, &S::pagesAndFrames, PagesFirstOnly, PagesKeepAnimations, keep},
    {"limitFileSize", SettingLimitFileSize, &S::limitFileSize},
    {"fileSizeLimitKb", SettingFileSizeLimitKb, &S::fileSizeLimitKb, 1, 2000000},
    {"fileSizeMinQuality", SettingFileSizeMinQuality, &S::fileSizeMinQuality, 0, 99},
    {"shrinkToFileSize", SettingShrinkToFileSize, &S::shrinkToFileSize},
    {"alsoWrite", SettingAlsoWrite, &S::alsoWrite},
    {"jpegLossless", SettingJpegLossless, &S::jpegLossless},
};

// What a reset leaves as it is: the target and its JPG quality, the output
// folder, the PDF setup and the job count.
const char *const keptByReset[] = {
    "lastPicturesDir", "targeFileType",       "targeFileQuality", "outputFolder",
    "pdfFileName",     "pdfPaperSize",        "resizeImageToPaper", "pdfSmoothEdges",
    "pdfQuality",      "pdfPaperOrientation", "pdfPaperMargin",   "pdfPaperMarginSize",
    "pdfKeepJpeg",     "convertJobs",
};

bool keptByResetKey(const char *key)
{
    return std::any_of(std::begin(keptByReset), std::end(keptByReset),
                       [key](const char *kept) { return qstrcmp(kept, key) == 0; });
}

// The keys that SettingMetadata writes besides its own, for older versions.
bool writtenWithMetadata(int id)
{
    return id == SettingKeepMetadata || id == SettingRemoveLocation;
}

const KeyEntry *findKey(const QString &name)
{
    for (const KeyEntry &entry : keyTable) {
        if (name == QLatin1String(entry.key))
            return &entry;
    }
    return nullptr;
}

int loadedInteger(const KeyEntry &entry, int value)
{
    switch (entry.outOfRange) {
    case OutOfRange::Clamp:
        return qBound(entry.minimum, value, entry.maximum);
    case OutOfRange::BottomRight:
        return clampedPosition(value);
    case OutOfRange::Keep:
        break;
    }
    return value;
}

constexpr const char *organisation = "Kestrix";
constexpr const char *application = "ConvertImage";
constexpr const char *group = "MainApp";

std::atomic<bool> runOutputIsPdf{false};

QMutex lastOutputMutex;
QString lastOutput;

} // namespace

ConversionSettings &conversionSettings()
{
    static ConversionSettings record;
    return record;
}

ConversionSettings snapshotSettings()
{
    ConversionSettings copy = conversionSettings();
    copy.outputIsPdf = runOutputIsPdf.load();
    return copy;
}

void setOutputIsPdf(bool isPdf)
{
    runOutputIsPdf.store(isPdf);
}

bool outputIsPdf()
{
    return runOutputIsPdf.load();
}

void setLastOutputLocation(const QString &location)
{
    QMutexLocker lock(&lastOutputMutex);
    lastOutput = location;
}

QString lastOutputLocation()
{
    QMutexLocker lock(&lastOutputMutex);
    return lastOutput;
}

QFont fontFromDescription(const QString &description)
{
    QStringList families;
    for (const QString &part : description.split(QLatin1Char(','))) {
        const QString family = part.trimmed();
        if (!family.isEmpty())
            families << family;
    }
    QFont font;
    font.setFamilies(families);
    return font;
}

TargetQuality targetQualityFor(int targetIndex)
{
    const QList<ImageFormat> &targets = targetFormats();
    return targetIndex >= 0 && targetIndex < targets.size() ? targetQualityFor(targets.at(targetIndex)) : TargetQuality();
}

TargetQuality targetQualityFor(const ImageFormat &format)
{
    // The format table names the keys; the key table knows their fields and ids.
    TargetQuality quality;
    if (const KeyEntry *entry = format.qualityKey.isEmpty() ? nullptr : findKey(format.qualityKey)) {
        quality.quality = std::get<int ConversionSettings::*>(entry->member);
        quality.qualityId = entry->id;
        quality.minimum = entry->minimum;
        quality.maximum = entry->maximum;
    }
    if (const KeyEntry *entry = format.losslessKey.isEmpty() ? nullptr : findKey(format.losslessKey)) {
        quality.lossless = std::get<bool ConversionSettings::*>(entry->member);
        quality.losslessId = entry->id;
    }
    return quality;
}

int metadataChoiceFor(bool keepMetadata, bool removeLocation)
{
    // Without "keep", the blocks went and the colour profile stayed.
    if (!keepMetadata)
        return MetadataProfileOnly;
    return removeLocation ? MetadataNoLocation : MetadataKeepAll;
}

void setMetadataChoice(ConversionSettings &settings, int choice)
{
    settings.metadata = choice;
    settings.keepMetadata = choice == MetadataKeepAll || choice == MetadataNoLocation;
    settings.removeLocation = choice == MetadataNoLocation;
}

int clampedPosition(int position)
{
    return (position >= 0 && position <= PositionBottomRight) ? position : PositionBottomRight;
}

void loadConversionSettings(QSettings &store, ConversionSettings &settings, const QFont &labelFont,
                            const QStringList &ignoredKeys)
{
    const ConversionSettings defaults;
    store.beginGroup(group);
    for (const KeyEntry &entry : keyTable) {
        const QString key = QLatin1String(entry.key);
        const QVariant stored = ignoredKeys.contains(key) ? QVariant() : store.value(key);
        std::visit(
            [&](auto member) {
                using T = std::decay_t<decltype(settings.*member)>;
                if constexpr (std::is_same_v<T, QString>) {
                    settings.*member = stored.isValid() ? stored.toString() : defaults.*member;
                } else if constexpr (std::is_same_v<T, int>) {
                    settings.*member = loadedInteger(entry, stored.isValid() ? stored.toInt() : defaults.*member);
                } else if constexpr (std::is_same_v<T, bool>) {
                    settings.*member = stored.isValid() ? stored.toBool() : defaults.*member;
                } else if constexpr (std::is_same_v<T, QFont>) {
                    const QString text = stored.toString();
                    settings.*member = text.isEmpty() ? labelFont : fontFromDescription(text);
                } else if constexpr (std::is_same_v<T, QColor>) {
                    const QString text = stored.toString();
                    settings.*member = text.isEmpty() ? defaults.*member : QColor::fromString(text);
                }
            },
            entry.member);
    }
    // A store of an older version says it with the two booleans.
    const bool choiceStored = store.contains(QStringLiteral("metadata")) && !ignoredKeys.contains(QStringLiteral("metadata"));
    setMetadataChoice(settings, choiceStored ? settings.metadata
                                             : metadataChoiceFor(settings.keepMetadata, settings.removeLocation));
    store.endGroup();
}

void loadConversionSettings(ConversionSettings &settings, const QFont &labelFont)
{
    QSettings store(organisation, application);
    loadConversionSettings(store, settings, labelFont);
}

void saveConversionSetting(const ConversionSettings &record, int id)
{
    // The choice decides; the older keys are written to match it.
    ConversionSettings settings = record;
    setMetadataChoice(settings, record.metadata);
    QSettings store(organisation, application);
    store.beginGroup(group);
    for (const KeyEntry &entry : keyTable) {
        if (entry.id != id && !(id == SettingMetadata && writtenWithMetadata(entry.id)))
            continue;
        std::visit([&](auto member) { store.setValue(QLatin1String(entry.key), settings.*member); },
                   entry.member);
    }
    store.endGroup();
}

namespace {

// Writes the keys of the record that `written` accepts, the older metadata
// keys matching the choice.
template <typename Filter>
void saveKeys(QSettings &store, const ConversionSettings &record, Filter written)
{
    ConversionSettings settings = record;
    setMetadataChoice(settings, record.metadata);
    store.beginGroup(group);
    for (const KeyEntry &entry : keyTable) {
        if (written(entry))
            std::visit([&](auto member) { store.setValue(QLatin1String(entry.key), settings.*member); },
                       entry.member);
    }
    store.endGroup();
}

} // namespace

void saveConversionSettings(QSettings &store, const ConversionSettings &record)
{
    saveKeys(store, record, [](const KeyEntry &) { return true; });
}

void saveConversionSettings(const ConversionSettings &settings, const QStringList &keys)
{
    QSettings store(organisation, application);
    saveKeys(store, settings, [&keys](const KeyEntry &entry) { return keys.contains(QLatin1String(entry.key)); });
}

void saveConversionSettings(const ConversionSettings &settings)
{
    QSettings store(organisation, application);
    saveConversionSettings(store, settings);
}

QList<SettingKey> settingKeys()
{
    const ConversionSettings defaults;
    QList<SettingKey> keys;
    for (const KeyEntry &entry : keyTable) {
        SettingKey key{QLatin1String(entry.key), SettingType::Text, entry.minimum, entry.maximum, QString()};
        std::visit(
            [&](auto member) {
                using T = std::decay_t<decltype(defaults.*member)>;
                if constexpr (std::is_same_v<T, QString>) {
                    key.defaultText = defaults.*member;
                } else if constexpr (std::is_same_v<T, int>) {
                    key.type = SettingType::Integer;
                    key.defaultText = QString::number(defaults.*member);
                } else if constexpr (std::is_same_v<T, bool>) {
                    key.type = SettingType::Boolean;
                    key.defaultText = QLatin1String(defaults.*member ? "true" : "false");
                } else if constexpr (std::is_same_v<T, QFont>) {
                    key.type = SettingType::Font; // the default is the interface font
                } else if constexpr (std::is_same_v<T, QColor>) {
                    key.type = SettingType::Colour;
                    key.defaultText = (defaults.*member).name();
                }
            },
            entry.member);
        keys.append(key);
    }
    return keys;
}

bool setSettingFromText(ConversionSettings &settings, const QString &name, const QString &text, QString *error)
{
    const KeyEntry *entry = findKey(name);
    if (!entry) {
        QStringList names;
        for (const KeyEntry &known : keyTable)
            names << QLatin1String(known.key);
        *error = QCoreApplication::translate("Settings", "unknown key \"%1\"; the keys are: %2").arg(name, names.join(QLatin1String(", ")));
        return false;
    }
    bool ok = true;
    QString accepted;
    std::visit(
        [&](auto member) {
            using T = std::decay_t<decltype(settings.*member)>;
            if constexpr (std::is_same_v<T, QString>) {
                settings.*member = text;
            } else if constexpr (std::is_same_v<T, int>) {
                const int value = text.trimmed().toInt(&ok);
                ok = ok && value >= entry->minimum && value <= entry->maximum;
                accepted = QCoreApplication::translate("Settings", "a whole number from %1 to %2").arg(entry->minimum).arg(entry->maximum);
                if (ok)
                    settings.*member = value;
            } else if constexpr (std::is_same_v<T, bool>) {
                const QString word = text.trimmed().toLower();
                ok = word == QLatin1String("true") || word == QLatin1String("false") || word == QLatin1String("1")
                     || word == QLatin1String("0");
                accepted = QCoreApplication::translate("Settings", "true or false");
                if (ok)
                    settings.*member = word == QLatin1String("true") || word == QLatin1String("1");
            } else if constexpr (std::is_same_v<T, QFont>) {
                ok = !text.trimmed().isEmpty();
                accepted = QCoreApplication::translate("Settings", "a font family name");
                if (ok)
                    settings.*member = fontFromDescription(text);
            } else if constexpr (std::is_same_v<T, QColor>) {
                ok = QColor::isValidColorName(text.trimmed());
                accepted = QCoreApplication::translate("Settings", "a colour as #RRGGBB or a colour name");
                if (ok)
                    settings.*member = QColor::fromString(text.trimmed());
            }
        },
        entry->member);
    if (!ok)
        *error = QCoreApplication::translate("Settings", "%1: \"%2\" is not accepted; use %3").arg(name, text, accepted);
    else if (entry->id == SettingMetadata)
        setMetadataChoice(settings, settings.metadata);
    else if (writtenWithMetadata(entry->id))
        setMetadataChoice(settings, metadataChoiceFor(settings.keepMetadata, settings.removeLocation));
    return ok;
}

QList<SettingsFileProblem> settingsFileProblems(const QString &path)
{
    // QSettings reads the file; it keeps no line numbers, so each key's line
    // is looked up in the text of its group.
    QHash<QString, int> lineOf;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        bool inGroup = false;
        int number = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            ++number;
            if (line.startsWith(QLatin1Char('[')))
                inGroup = line == QLatin1String("[%1]").arg(QLatin1String(group));
            else if (inGroup && line.contains(QLatin1Char('=')))
                lineOf.insert(line.section(QLatin1Char('='), 0, 0).trimmed(), number);
        }
    }

    QList<SettingsFileProblem> problems;
    QSettings store(path, QSettings::IniFormat);
    store.beginGroup(group);
    ConversionSettings scratch;
    for (const QString &key : store.childKeys()) {
        const QVariant value = store.value(key);
        QString reason;
        if (!findKey(key))
            reason = QCoreApplication::translate("Settings", "unknown key \"%1\"").arg(key);
        else if (value.typeId() == QMetaType::QStringList) // an unquoted comma
            reason = QCoreApplication::translate("Settings", "%1: a list of values; put the text in double quotes").arg(key);
        else if (setSettingFromText(scratch, key, value.toString(), &reason))
            continue;
        problems.append({lineOf.value(key), key, reason});
    }
    std::stable_sort(problems.begin(), problems.end(),
              [](const SettingsFileProblem &a, const SettingsFileProblem &b) { return a.line < b.line; });
    return problems;
}

void resetConversionSettings(ConversionSettings &settings, const QFont &labelFont)
{
    ConversionSettings reset;
    for (const KeyEntry &entry : keyTable) {
        if (keptByResetKey(entry.key))
            std::visit([&](auto member) { reset.*member = settings.*member; }, entry.member);
    }
    // The run flag is no key and is kept too; the font's default is the interface's.
    reset.outputIsPdf = settings.outputIsPdf;
    reset.textFont = labelFont;
    settings = reset;
}

QStringList keysRestoredByReset()
{
    QStringList keys;
    for (const KeyEntry &entry : keyTable) {
        if (!keptByResetKey(entry.key))
            keys << QLatin1String(entry.key);
    }
    return keys;
}

std::optional<SettingField> settingField(const QString &key)
{
    const KeyEntry *entry = findKey(key);
    if (!entry)
        return std::nullopt;
    return SettingField{entry->member, entry->id, entry->minimum, entry->maximum};
}

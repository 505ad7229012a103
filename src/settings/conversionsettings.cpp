#include "conversionsettings.h"
#include "targetformats.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <QStringList>

#include <atomic>
#include <variant>

namespace {

using Member = std::variant<QString ConversionSettings::*, int ConversionSettings::*,
                            bool ConversionSettings::*, QFont ConversionSettings::*,
                            QColor ConversionSettings::*>;

struct KeyEntry
{
    const char *key;
    int id;
    Member member;
};

// Keys in the order of the record; the order is also the reading order.
const KeyEntry keyTable[] = {
    {"lastPicturesDir", SettingLastPicturesDir, &ConversionSettings::lastPicturesDir},
    {"targeFileType", SettingTargetFileType, &ConversionSettings::targeFileType},
    {"targeFileQuality", SettingTargetFileQuality, &ConversionSettings::targeFileQuality},
    {"outputFolder", SettingOutputFolder, &ConversionSettings::outputFolder},
    {"pdfFileName", SettingPdfFile, &ConversionSettings::pdfFileName},
    {"pdfPaperSize", SettingPdfPaperSize, &ConversionSettings::pdfPaperSize},
    {"resizeImageToPaper", SettingPdfFile, &ConversionSettings::resizeImageToPaper},
    {"pdfSmoothEdges", SettingPdfFile, &ConversionSettings::pdfSmoothEdges},
    {"pdfQuality", SettingPdfQuality, &ConversionSettings::pdfQuality},
    {"pdfPaperOrientation", SettingPdfPaperOrientation, &ConversionSettings::pdfPaperOrientation},
    {"pdfPaperMargin", SettingPdfPaperMargin, &ConversionSettings::pdfPaperMargin},
    {"pdfPaperMarginSize", SettingPdfPaperMarginSize, &ConversionSettings::pdfPaperMarginSize},
    {"existingFilePolicy", SettingExistingFilePolicy, &ConversionSettings::existingFilePolicy},
    {"keepFolderStructure", SettingKeepFolderStructure, &ConversionSettings::keepFolderStructure},
    {"fileNamePattern", SettingFileNamePattern, &ConversionSettings::fileNamePattern},
    {"webpQuality", SettingWebpQuality, &ConversionSettings::webpQuality},
    {"webpLossless", SettingWebpLossless, &ConversionSettings::webpLossless},
    {"avifQuality", SettingAvifQuality, &ConversionSettings::avifQuality},
    {"heicQuality", SettingHeicQuality, &ConversionSettings::heicQuality},
    {"heifQuality", SettingHeifQuality, &ConversionSettings::heifQuality},
    {"jxlQuality", SettingJxlQuality, &ConversionSettings::jxlQuality},
    {"jxlLossless", SettingJxlLossless, &ConversionSettings::jxlLossless},
    {"pngCompressionLevel", SettingPngCompressionLevel, &ConversionSettings::pngCompressionLevel},
    {"tiffCompression", SettingTiffCompression, &ConversionSettings::tiffCompression},
    {"scaleImage", SettingScaleImage, &ConversionSettings::scaleImage},
    {"scaleType", SettingScaleType, &ConversionSettings::scaleType},
    {"scalePercentage", SettingScalePercentage, &ConversionSettings::scalePercentage},
    {"scaleAbsoluteWitdh", SettingScaleAbsoluteWidth, &ConversionSettings::scaleAbsoluteWitdh},
    {"scaleAbsoluteHeight", SettingScaleAbsoluteHeight, &ConversionSettings::scaleAbsoluteHeight},
    {"scaleRelativeTo", SettingScaleRelativeTo, &ConversionSettings::scaleRelativeTo},
    {"scaleRelativeWidth", SettingScaleRelativeWidth, &ConversionSettings::scaleRelativeWidth},
    {"scaleRelativeHeight", SettingScaleRelativeHeight, &ConversionSettings::scaleRelativeHeight},
    {"scaleLongEdge", SettingScaleLongEdge, &ConversionSettings::scaleLongEdge},
    {"scaleDoNotEnlarge", SettingScaleDoNotEnlarge, &ConversionSettings::scaleDoNotEnlarge},
    {"textContent", SettingTextContent, &ConversionSettings::textContent},
    {"textFont", SettingTextFont, &ConversionSettings::textFont},
    {"textSize", SettingTextSize, &ConversionSettings::textSize},
    {"textColor", SettingTextColor, &ConversionSettings::textColor},
    {"textPosition", SettingTextPosition, &ConversionSettings::textPosition},
    {"textOpacity", SettingTextOpacity, &ConversionSettings::textOpacity},
    {"textMargin", SettingTextMargin, &ConversionSettings::textMargin},
    {"imagePath", SettingImagePath, &ConversionSettings::imagePath},
    {"imageSize", SettingImageSize, &ConversionSettings::imageSize},
    {"imagePosition", SettingImagePosition, &ConversionSettings::imagePosition},
    {"imageOpacity", SettingImageOpacity, &ConversionSettings::imageOpacity},
    {"imageMargin", SettingImageMargin, &ConversionSettings::imageMargin},
    {"qrCodeText", SettingQrCodeText, &ConversionSettings::qrCodeText},
    {"qrCodeSize", SettingQrCodeSize, &ConversionSettings::qrCodeSize},
    {"qrCodePosition", SettingQrCodePosition, &ConversionSettings::qrCodePosition},
    {"qrCodeMargin", SettingQrCodeMargin, &ConversionSettings::qrCodeMargin},
    {"adjustGrayScale", SettingAdjustGrayScale, &ConversionSettings::adjustGrayScale},
    {"adjustSepia", SettingAdjustSepia, &ConversionSettings::adjustSepia},
    {"adjustContrast", SettingAdjustContrast, &ConversionSettings::adjustContrast},
    {"adjustBrightness", SettingAdjustBrightness, &ConversionSettings::adjustBrightness},
    {"adjustGamma", SettingAdjustGamma, &ConversionSettings::adjustGamma},
    {"adjustInvertColours", SettingAdjustInvertColours, &ConversionSettings::adjustInvertColours},
    {"setBlurRadius", SettingBlurRadius, &ConversionSettings::setBlurRadius},
    {"convertJobs", SettingConvertJobs, &ConversionSettings::convertJobs},
};

bool isPositionKey(const char *key)
{
    const QLatin1String k(key);
    return k == QLatin1String("textPosition") || k == QLatin1String("imagePosition")
        || k == QLatin1String("qrCodePosition");
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
    using S = ConversionSettings;
    switch (targetIndex) {
    case TargetJpg:
        return {&S::targeFileQuality, SettingTargetFileQuality};
    case TargetWebp:
        return {&S::webpQuality, SettingWebpQuality, &S::webpLossless, SettingWebpLossless};
    case TargetAvif:
        return {&S::avifQuality, SettingAvifQuality};
    case TargetHeic:
        return {&S::heicQuality, SettingHeicQuality};
    case TargetHeif:
        return {&S::heifQuality, SettingHeifQuality};
    case TargetJpegXl:
        return {&S::jxlQuality, SettingJxlQuality, &S::jxlLossless, SettingJxlLossless};
    default:
        return {};
    }
}

int clampedPosition(int position)
{
    return (position >= 0 && position <= PositionBottomRight) ? position : PositionBottomRight;
}

void loadConversionSettings(ConversionSettings &settings, const QFont &labelFont)
{
    const ConversionSettings defaults;
    QSettings store(organisation, application);
    store.beginGroup(group);
    for (const KeyEntry &entry : keyTable) {
        const QString key = QLatin1String(entry.key);
        std::visit(
            [&](auto member) {
                using T = std::decay_t<decltype(settings.*member)>;
                if constexpr (std::is_same_v<T, QString>) {
                    settings.*member = store.value(key, defaults.*member).toString();
                } else if constexpr (std::is_same_v<T, int>) {
                    int value = store.value(key, defaults.*member).toInt();
                    if (isPositionKey(entry.key))
                        value = clampedPosition(value);
                    settings.*member = value;
                } else if constexpr (std::is_same_v<T, bool>) {
                    settings.*member = store.value(key, defaults.*member).toBool();
                } else if constexpr (std::is_same_v<T, QFont>) {
                    const QString text = store.value(key).toString();
                    settings.*member = text.isEmpty() ? labelFont : fontFromDescription(text);
                } else if constexpr (std::is_same_v<T, QColor>) {
                    const QString text = store.value(key).toString();
                    settings.*member = text.isEmpty() ? QColor(Qt::black) : QColor::fromString(text);
                }
            },
            entry.member);
    }
    store.endGroup();
}

void saveConversionSetting(const ConversionSettings &settings, int id)
{
    QSettings store(organisation, application);
    store.beginGroup(group);
    for (const KeyEntry &entry : keyTable) {
        if (entry.id != id)
            continue;
        std::visit([&](auto member) { store.setValue(QLatin1String(entry.key), settings.*member); },
                   entry.member);
    }
    store.endGroup();
}

void resetConversionSettings(ConversionSettings &settings, const QFont &labelFont)
{
    const ConversionSettings defaults;
    ConversionSettings reset = defaults;
    // Fields 1 to 12, the run flag and the job count keep their values.
    reset.lastPicturesDir = settings.lastPicturesDir;
    reset.targeFileType = settings.targeFileType;
    reset.targeFileQuality = settings.targeFileQuality;
    reset.outputFolder = settings.outputFolder;
    reset.pdfFileName = settings.pdfFileName;
    reset.pdfPaperSize = settings.pdfPaperSize;
    reset.resizeImageToPaper = settings.resizeImageToPaper;
    reset.pdfSmoothEdges = settings.pdfSmoothEdges;
    reset.pdfQuality = settings.pdfQuality;
    reset.pdfPaperOrientation = settings.pdfPaperOrientation;
    reset.pdfPaperMargin = settings.pdfPaperMargin;
    reset.pdfPaperMarginSize = settings.pdfPaperMarginSize;
    reset.outputIsPdf = settings.outputIsPdf;
    reset.convertJobs = settings.convertJobs;
    reset.textFont = labelFont;
    settings = reset;
}

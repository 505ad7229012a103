#include "imagewriters.h"
#include "targetformats.h"

#include <QDebug>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace {

// Logs the writer's own error text; the caller gets a reason a user can read.
bool reportFailure(const QString &targetPath, const QString &writerError, const QString &reason, QString *error)
{
    qDebug().noquote() << "Cannot write: " + targetPath + " " + writerError;
    qDebug() << QImageWriter::supportedImageFormats();
    if (error)
        *error = reason;
    return false;
}

} // namespace

WriteOptions writeOptionsFor(const ConversionSettings &settings, const QString &extension)
{
    WriteOptions options;
    const QList<TargetFormat> &formats = targetFormats();
    for (int i = 0; i < formats.size(); ++i) {
        if (formats.at(i).extension.compare(extension, Qt::CaseInsensitive) != 0)
            continue;
        const TargetQuality quality = targetQualityFor(i);
        if (quality.quality)
            options.quality = settings.*quality.quality;
        if (quality.lossless)
            options.lossless = settings.*quality.lossless;
    }
    options.pngLevel = settings.pngCompressionLevel;
    options.tiffCompression = settings.tiffCompression;
    return options;
}

bool writeImageFile(const QImage &image, const QString &targetPath, const WriteOptions &options, QString *error)
{
    if (image.isNull())
        return reportFailure(targetPath, QStringLiteral("Image is empty"), QStringLiteral("Image is empty"), error);

    const QByteArray format = QFileInfo(targetPath).suffix().toLower().toLatin1();
    // The file only replaces an existing target once it is complete.
    QSaveFile file(targetPath);
    if (!file.open(QIODevice::WriteOnly))
        return reportFailure(targetPath, file.errorString(), file.errorString(), error);

    QImageWriter writer(&file, format);
    // PNG's quality picks the zlib level in steps of ten (60 is level 3); its
    // compression option is not read. On a 12 MP photo level 6 takes over three
    // times as long as level 3 for a file under a tenth smaller. TIFF's LZW
    // saves under a tenth of a photo and makes writing about ten times slower.
    if (format == "png")
        writer.setQuality((9 - qBound(0, options.pngLevel, 9)) * 10);
    else if (format == "tiff" || format == "tif")
        writer.setCompression(options.tiffCompression == TiffLzwCompression ? 1 : 0);
    else if (options.lossless && (format == "webp" || format == "jxl"))
        writer.setQuality(100);
    else
        writer.setQuality(options.quality);
    writer.setOptimizedWrite(true);
    writer.setProgressiveScanWrite(true);
    if (!writer.write(image)) {
        file.cancelWriting();
        const QString reason = writer.error() == QImageWriter::UnsupportedFormatError
                                   ? QStringLiteral("No encoder for \"%1\" files").arg(QString::fromLatin1(format))
                                   : QStringLiteral("The %1 encoder failed: %2")
                                         .arg(QString::fromLatin1(format), writer.errorString());
        return reportFailure(targetPath, writer.errorString(), reason, error);
    }
    if (!file.commit())
        return reportFailure(targetPath, file.errorString(), file.errorString(), error);
    return true;
}

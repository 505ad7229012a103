#include "imagewriters.h"

#include <QBuffer>
#include <QDebug>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include "encodermetadata.h"

namespace {

// PNG's quality picks the zlib level; 60 is level 3. On a 12 MP photo the
// default level 6 takes over three times as long for a file under a tenth smaller.
// TIFF stays uncompressed: Qt offers only LZW, which on photos saves under
// a tenth of the size and makes writing about ten times slower.
constexpr int pngQuality = 60;

// Logs the writer's own error text; the caller gets a reason a user can read.
bool reportFailure(const QString &targetPath, const QString &writerError, const QString &reason, QString *error)
{
    qDebug().noquote() << "Cannot write: " + targetPath + " " + writerError;
    qDebug() << QImageWriter::supportedImageFormats();
    if (error)
        *error = reason;
    return false;
}

// The program's own HEIF and JPEG XL encoders store the metadata themselves.
void handMetadataToEncoder(QImageWriter &writer, const PhotoMetadata &metadata)
{
    if (!metadata.exif.isEmpty())
        writer.setText(QLatin1String(exifWriterKey), QString::fromLatin1(metadata.exif.toBase64()));
    if (!metadata.xmp.isEmpty())
        writer.setText(QLatin1String(xmpWriterKey), QString::fromLatin1(metadata.xmp.toBase64()));
}

} // namespace

bool writeImageFile(const QImage &image, const QString &targetPath, int jpgQuality, QString *error,
                    const PhotoMetadata &metadata)
{
    if (image.isNull())
        return reportFailure(targetPath, QStringLiteral("Image is empty"), QStringLiteral("Image is empty"), error);

    const QByteArray format = QFileInfo(targetPath).suffix().toLower().toLatin1();
    // The file only replaces an existing target once it is complete.
    QSaveFile file(targetPath);
    if (!file.open(QIODevice::WriteOnly))
        return reportFailure(targetPath, file.errorString(), file.errorString(), error);

    // Exiv2 adds the metadata to the other containers once they are encoded,
    // so those are encoded into memory first.
    const MetadataRoute route = metadata.isEmpty() ? MetadataRoute::None : metadataRouteFor(format);
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(route == MetadataRoute::AfterEncoding ? static_cast<QIODevice *>(&encoded) : &file, format);
    if (route == MetadataRoute::ByEncoder)
        handMetadataToEncoder(writer, metadata);
    if (format == "jpg")
        writer.setQuality(jpgQuality);
    else if (format == "png")
        writer.setQuality(pngQuality);
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
    if (route == MetadataRoute::AfterEncoding) {
        QByteArray bytes = encoded.buffer();
        embedPhotoMetadata(&bytes, metadata);
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting();
            return reportFailure(targetPath, file.errorString(), file.errorString(), error);
        }
    }
    if (!file.commit())
        return reportFailure(targetPath, file.errorString(), file.errorString(), error);
    return true;
}

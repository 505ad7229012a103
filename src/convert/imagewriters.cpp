#include "imagewriters.h"
#include "targetformats.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCoreApplication>
#include <QDebug>
#include <QImageWriter>

#include "encodermetadata.h"

namespace {

// The texts of this file, translated under one name.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(ImageWriters)
};

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
    if (!metadata.icc.isEmpty())
        writer.setText(QLatin1String(iccWriterKey), QString::fromLatin1(metadata.icc.toBase64()));
}

// Decoders keep a file's text chunks and comments (XMP among them) in the
// picture, and Qt's writers would store them again, past the metadata
// settings and their limits. The copy without them shares the pixels.
QImage withoutText(const QImage &image)
{
    if (image.textKeys().isEmpty())
        return image;
    QImage bare(image.constBits(), image.width(), image.height(), image.bytesPerLine(), image.format());
    if (!image.colorTable().isEmpty())
        bare.setColorTable(image.colorTable());
    bare.setColorSpace(image.colorSpace());
    bare.setDotsPerMeterX(image.dotsPerMeterX());
    bare.setDotsPerMeterY(image.dotsPerMeterY());
    return bare;
}

// Every target but JPG, WEBP and GIF goes through Qt's image writer and its plugins.
bool encodeWithQt(const QImage &image, const ImageFormat &target, const WriteOptions &options, QIODevice *device,
                  const PhotoMetadata &encoderMetadata, QString *reason)
{
    const QByteArray format = target.extensions.first().toLatin1();
    QImageWriter writer(device, format);
    handMetadataToEncoder(writer, encoderMetadata);
    // PNG's quality picks the zlib level in steps of ten (60 is level 3); its
    // compression option is not read. On a 12 MP photo level 6 takes over three
    // times as long as level 3 for a file under a tenth smaller. TIFF's LZW
    // saves under a tenth of a photo and makes writing about ten times slower.
    const bool tiff = target.control == TargetControl::TiffCompression;
    if (target.control == TargetControl::PngLevel)
        writer.setQuality((9 - qBound(0, options.pngLevel, 9)) * 10);
    else if (tiff)
        writer.setCompression(options.tiffCompression == TiffLzwCompression ? 1 : 0);
    else if (options.lossless && !target.losslessKey.isEmpty())
        writer.setQuality(100);
    else
        writer.setQuality(options.quality);
    writer.setOptimizedWrite(true);
    writer.setProgressiveScanWrite(true);
    // Qt's TIFF writer keeps a palette's colours but not their transparency.
    const bool paletteAlpha = tiff && image.format() == QImage::Format_Indexed8 && image.hasAlphaChannel();
    if (writer.write(paletteAlpha ? image.convertToFormat(QImage::Format_ARGB32) : image))
        return true;
    *reason = writer.error() == QImageWriter::UnsupportedFormatError
                  ? Texts::tr("No encoder for \"%1\" files").arg(QString::fromLatin1(format))
                  : Texts::tr("The %1 encoder failed: %2").arg(QString::fromLatin1(format), writer.errorString());
    return false;
}

} // namespace

TargetFile::TargetFile(const QString &targetPath) : file(targetPath) {}

bool TargetFile::open()
{
    if (!file.open(QIODevice::WriteOnly)) {
        failure = file.errorString();
        return false;
    }
    return QIODevice::open(QIODevice::WriteOnly);
}

QString TargetFile::failureReason() const
{
    return failed() ? failure : file.errorString();
}

void TargetFile::noteFailure()
{
    if (failed())
        return;
    // After a short write the file holds no reason; writing the rest once
    // more fails with the system's own.
    file.flush();
    failure = file.error() != QFileDevice::NoError ? file.errorString() : Texts::tr("Write error");
}

qint64 TargetFile::writeData(const char *data, qint64 length)
{
    // A short write is retried, so that a full disk reports itself.
    for (qint64 done = 0; done < length;) {
        const qint64 written = file.write(data + done, length - done);
        if (written <= 0) {
            noteFailure();
            return -1;
        }
        done += written;
    }
    return length;
}

bool TargetFile::seek(qint64 pos)
{
    if (!QIODevice::seek(pos))
        return false;
    if (file.seek(pos))
        return true;
    noteFailure();
    return false;
}

bool TargetFile::commit(QString *error)
{
    QIODevice::close();
    if (!failed() && (!file.flush() || file.error() != QFileDevice::NoError))
        noteFailure();
    if (!failed() && file.commit())
        return true;
    noteFailure();
    if (error)
        *error = failure;
    file.cancelWriting();
    return false;
}

void TargetFile::cancel()
{
    QIODevice::close();
    file.cancelWriting();
}


WriteOptions writeOptionsFor(const ConversionSettings &settings, const ImageFormat &format)
{
    WriteOptions options;
    if (!format.canWrite)
        return options;
    const TargetQuality quality = targetQualityFor(format);
    if (quality.quality)
        options.quality = settings.*quality.quality;
    if (quality.lossless)
        options.lossless = settings.*quality.lossless;
    if (format.control == TargetControl::PngLevel)
        options.pngLevel = settings.pngCompressionLevel;
    if (format.control == TargetControl::TiffCompression)
        options.tiffCompression = settings.tiffCompression;
    return options;
}

namespace {

// Where the metadata of a file of that format goes.
MetadataRoute metadataRouteFor(const ImageFormat &format, const PhotoMetadata &metadata)
{
    return metadata.isEmpty() ? MetadataRoute::None : format.metadataRoute;
}

// The picture through its format's encoder; the encoder's own metadata with it.
bool encodePicture(const QImage &image, const ImageFormat &format, const WriteOptions &options, QIODevice *device,
                   const PhotoMetadata &metadata, QString *reason)
{
    const QImage picture = withoutText(image);
    switch (format.writer) {
    case TargetWriter::Webp:
        return encodeWebp(picture, options, device, reason, metadata.icc);
    case TargetWriter::Jpeg:
        return encodeJpeg(picture, options, device, reason);
    case TargetWriter::QtPlugin:
        return encodeWithQt(picture, format, options, device,
                            metadataRouteFor(format, metadata) == MetadataRoute::ByEncoder ? metadata
                                                                                            : PhotoMetadata(),
                            reason);
    default:
        *reason = Texts::tr("No encoder for \"%1\" files").arg(format.extensions.first());
        return false;
    }
}

} // namespace

bool encodeImage(const QImage &image, const ImageFormat &format, const WriteOptions &options,
                 const PhotoMetadata &metadata, QByteArray *bytes, QString *error)
{
    QBuffer encoded(bytes);
    encoded.open(QIODevice::WriteOnly);
    if (!encodePicture(image, format, options, &encoded, metadata, error))
        return false;
    if (metadataRouteFor(format, metadata) == MetadataRoute::AfterEncoding)
        embedPhotoMetadata(bytes, metadata);
    return true;
}

bool writeImageFile(const QImage &image, const QString &targetPath, const ImageFormat &format,
                    const WriteOptions &options, QString *error, const PhotoMetadata &metadata)
{
    // GIF holds no metadata and writes its file itself.
    if (format.writer == TargetWriter::Gif)
        return writeGif(image, targetPath, error);
    if (image.isNull())
        return reportFailure(targetPath, Texts::tr("Image is empty"), Texts::tr("Image is empty"), error);

    // The file only replaces an existing target once it is complete.
    TargetFile file(targetPath);
    if (!file.open())
        return reportFailure(targetPath, file.failureReason(), file.failureReason(), error);

    // Exiv2 adds the metadata to the other containers once they are encoded,
    // so those are encoded into memory first.
    const MetadataRoute route = metadataRouteFor(format, metadata);
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    QIODevice *target = route == MetadataRoute::AfterEncoding ? static_cast<QIODevice *>(&encoded) : &file;
    QString reason;
    if (!encodePicture(image, format, options, target, metadata, &reason)) {
        file.cancel();
        // A full disk makes the encoder fail too; the disk's reason says more.
        return reportFailure(targetPath, reason, file.failed() ? file.failureReason() : reason, error);
    }
    if (route == MetadataRoute::AfterEncoding) {
        QByteArray bytes = encoded.buffer();
        embedPhotoMetadata(&bytes, metadata);
        // A failed write is kept by the file and reported by its commit.
        file.write(bytes);
    }
    if (!file.commit(&reason))
        return reportFailure(targetPath, reason, reason, error);
    return true;
}

bool writeEncodedFile(const QByteArray &bytes, const QString &targetPath, QString *error)
{
    TargetFile file(targetPath);
    QString reason;
    if (!file.open())
        return reportFailure(targetPath, file.failureReason(), file.failureReason(), error);
    file.write(bytes);
    if (!file.commit(&reason))
        return reportFailure(targetPath, reason, reason, error);
    return true;
}

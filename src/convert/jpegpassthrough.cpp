#include "jpegpassthrough.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "exiforientation.h"
#include "imagewriters.h"
#include "jpegtransform.h"
#include "jxlfromjpeg.h"
#include "photometadata.h"
#include "pipelinerules.h"
#include "targetsize.h"

namespace {

bool isJpg(const ImageFormat &format)
{
    return format.writer == TargetWriter::Jpeg;
}

// JPEG XL goes through Qt's plugin like other rows; its row is the one of .jxl files.
bool isJxl(const ImageFormat &format)
{
    return format.extensions.first() == QLatin1String("jxl");
}

// The EXIF orientation Qt's reader turns the picture upright by.
int readerOrientation(const QString &source)
{
    QImageReader reader(source);
    const QImageIOHandler::Transformations turn = reader.transformation();
    for (int orientation = 2; orientation <= 8; ++orientation) {
        if (transformationForOrientation(orientation) == turn)
            return orientation;
    }
    return 1;
}

// The metadata blocks the settings keep, made true for a file of this size;
// StoredOrientation keeps the source's orientation tag.
PhotoMetadata keptMetadata(const QString &source, QSize size, const ConversionSettings &settings,
                           bool storedOrientation, bool hasColourProfile)
{
    PhotoMetadata metadata;
    if (settings.metadata == MetadataKeepAll || settings.metadata == MetadataNoLocation) {
        MetadataParts parts = MetadataPart::Blocks;
        if (storedOrientation)
            parts |= MetadataPart::StoredOrientation;
        metadata = readPhotoMetadata(source, size, settings.metadata == MetadataNoLocation, parts);
    }
    // The stripped data lost the profile its pixels are in.
    metadata.icc = hasColourProfile ? storedColourProfile(source) : QByteArray();
    return metadata;
}

void addNotes(QString *note, const QStringList &notes)
{
    if (!note || notes.isEmpty())
        return;
    *note = ((note->isEmpty() ? QStringList() : QStringList{*note}) + notes).join(QStringLiteral("; "));
}

// The JPEG XL file: the source as it is under "all" metadata, so that it
// comes back byte for byte; otherwise the source stripped of every marker,
// then given the blocks the settings keep (its orientation tag as stored:
// the file's header carries the turn).
std::optional<bool> writeIntoJxl(const QByteArray &data, const JpegLayout &layout, int orientation,
                                 const QString &source, const QString &target, const ConversionSettings &settings,
                                 QString *error, QString *note)
{
    JpegForJxl kept{data, layout.size, layout.grey, orientation};
    if (settings.metadata != MetadataKeepAll) {
        QString reason;
        kept.jpeg = transformedJpeg(data, 1, false, &reason);
        if (kept.jpeg.isEmpty()) {
            qDebug().noquote() << "JPEG data of" << source << "not kept:" << reason;
            return std::nullopt;
        }
        const PhotoMetadata metadata = keptMetadata(source, layout.size, settings, true, layout.hasColourProfile);
        embedPhotoMetadata(&kept.jpeg, metadata);
        addNotes(note, metadata.notes);
    }
    TargetFile file(target);
    if (!file.open()) {
        *error = QCoreApplication::translate("ConvertImagesThread", "Cannot write %1: %2")
                     .arg(target, file.failureReason());
        return false;
    }
    if (!writeJxlFromJpeg(kept, &file)) {
        file.cancel();
        if (file.failed()) {
            *error = QCoreApplication::translate("ConvertImagesThread", "Cannot write %1: %2")
                         .arg(target, file.failureReason());
            return false;
        }
        qDebug().noquote() << "JPEG data of" << source << "refused by libjxl";
        return std::nullopt;
    }
    return file.commit(error);
}

// The JPG: the blocks turned upright, then the metadata the settings keep
// with the orientation tag 1 (or as stored when the picture is left so).
std::optional<bool> writeTransformed(const QByteArray &data, const JpegLayout &layout, int orientation,
                                     const QString &source, const QString &target,
                                     const ConversionSettings &settings, QString *error, QString *note)
{
    QString reason;
    QByteArray turned = transformedJpeg(data, orientation, true, &reason);
    const std::optional<JpegLayout> result = turned.isEmpty() ? std::nullopt : readJpegLayout(turned);
    if (!result) {
        qDebug().noquote() << "JPEG data of" << source << "not kept:" << reason;
        return std::nullopt;
    }
    const PhotoMetadata metadata =
        keptMetadata(source, result->size, settings, settings.ignoreOrientation, layout.hasColourProfile);
    embedPhotoMetadata(&turned, metadata);
    QStringList notes = metadata.notes;
    const QSize upright = transformationForOrientation(orientation) & QImageIOHandler::TransformationRotate90
                              ? layout.size.transposed()
                              : layout.size;
    if (result->size != upright)
        notes << QCoreApplication::translate("ConvertImagesThread",
                                             "trimmed to %1 x %2 pixels: a turned edge was not whole JPEG blocks")
                     .arg(result->size.width())
                     .arg(result->size.height());
    addNotes(note, notes);
    return writeEncodedFile(turned, target, error);
}

} // namespace

bool targetTakesJpegData(const ConversionSettings &settings, const ImageFormat &target)
{
    return (isJxl(target) && writeOptionsFor(settings, target).lossless) || (isJpg(target) && settings.jpegLossless);
}

JpegRoute jpegRouteFor(const ConversionSettings &settings, const ImageFormat &target, const JpegSourceFacts &facts)
{
    if (!facts.transformable || !targetTakesJpegData(settings, target))
        return JpegRoute::Decoded;
    // The header of a JPEG XL file from JPEG data takes the turn its EXIF names.
    if (isJxl(target) && settings.ignoreOrientation && facts.orientation != 1)
        return JpegRoute::Decoded;
    const int orientation = settings.ignoreOrientation ? 1 : facts.orientation;
    const QSize upright = transformationForOrientation(orientation) & QImageIOHandler::TransformationRotate90
                              ? facts.storedSize.transposed()
                              : facts.storedSize;
    if (!pipelineKeepsPixels(upright, settings) || sizeGoalFor(settings, target))
        return JpegRoute::Decoded;
    // Without a profile in the output, or asked for sRGB, the pixels are converted.
    if (facts.hasColourProfile && (settings.colourHandling == ColoursToSrgb || settings.metadata == MetadataNone))
        return JpegRoute::Decoded;
    return isJxl(target) ? JpegRoute::IntoJpegXl : JpegRoute::Transformed;
}

std::optional<bool> writeKeptJpeg(const QString &source, const QString &target, const ImageFormat &format,
                                  const ConversionSettings &settings, QString *error, QString *note)
{
    // Only regular files are opened here: anything else (a FIFO) could block.
    if (!targetTakesJpegData(settings, format) || !QFileInfo(source).isFile()
        || QImageReader::imageFormat(source) != "jpeg")
        return std::nullopt;
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray data = file.readAll();
    const std::optional<JpegLayout> layout = readJpegLayout(data);
    if (!layout)
        return std::nullopt;
    const JpegSourceFacts facts{layout->transformable, layout->size, readerOrientation(source),
                                layout->hasColourProfile};
    const int orientation = settings.ignoreOrientation ? 1 : facts.orientation;
    std::optional<bool> written;
    switch (jpegRouteFor(settings, format, facts)) {
    case JpegRoute::Decoded:
        return std::nullopt;
    case JpegRoute::IntoJpegXl:
        written = writeIntoJxl(data, *layout, orientation, source, target, settings, error, note);
        break;
    case JpegRoute::Transformed:
        written = writeTransformed(data, *layout, orientation, source, target, settings, error, note);
        break;
    }
    if (written.value_or(false) && settings.keepFileDates)
        copyModificationTime(source, target);
    return written;
}

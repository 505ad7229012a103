#include "convertfile.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>

#include "imagemagickutil.h"
#include "imagewriters.h"
#include "photometadata.h"
#include "targetformats.h"
#include "targetsize.h"

// Conversions decode past the preview's source cache, so files decode side by
// side and no picture stays pinned after its file.
bool convertImageFile(const QString &source, const QString &target, const ConversionSettings &settings,
                      QString *error, QString *note, TargetSizeMemo *memo)
{
    QImage image = ImageMagickUtil().processImage(source, false, settings, error, false, note);
    if (image.isNull())
        return false;
    QString writeError;
    // Pixels whose profile Qt could not parse are still in that profile's
    // space: it goes with them unless they turned grey.
    MetadataParts parts;
    if (settings.keepMetadata)
        parts |= MetadataPart::Blocks;
    if (!image.colorSpace().isValid() && image.format() != QImage::Format_Grayscale16
        && !(image.depth() <= 8 && image.isGrayscale()))
        parts |= MetadataPart::UnappliedColourProfile;
    PhotoMetadata metadata = parts && !isGifTargetPath(target)
                                 ? readPhotoMetadata(source, image.size(), settings.removeLocation, parts)
                                 : PhotoMetadata();
    // A profile the decoder applied is bounded like the metadata blocks; a
    // JPEG could not even hold one of more than 255 segments.
    if (image.colorSpace().isValid() && !colourProfileFits(image.colorSpace().iccProfile().size(), &metadata.notes))
        image.setColorSpace(QColorSpace());
    // Blocks left out go into the report beside what the decoder said.
    if (note && !metadata.notes.isEmpty()) {
        QStringList said = metadata.notes;
        if (!note->isEmpty())
            said.prepend(*note);
        *note = said.join(QStringLiteral("; "));
    }
    const QString extension = "." + QFileInfo(target).suffix();
    const std::optional<SizeGoal> goal = isGifTargetPath(target) ? std::nullopt : sizeGoalFor(settings, extension);
    QString sizeNote;
    // A picture scaled down to fit gets its metadata made true for its size.
    const auto metadataFor = [&](QSize size) {
        return size == image.size() || metadata.isEmpty()
                   ? metadata
                   : readPhotoMetadata(source, size, settings.removeLocation, parts);
    };
    const bool written =
        isGifTargetPath(target)
            ? writeGif(image, target, &writeError)
        : goal ? writeImageFileWithinSize(image, target, writeOptionsFor(settings, extension), *goal, metadataFor, memo,
                                          &writeError, &sizeNote)
               : writeImageFile(image, target, writeOptionsFor(settings, extension), &writeError, metadata);
    if (note && !sizeNote.isEmpty())
        *note = note->isEmpty() ? sizeNote : *note + QStringLiteral("; ") + sizeNote;
    if (!written)
        *error = writeError.isEmpty() ? QCoreApplication::translate("ConvertImagesThread", "Cannot write %1").arg(target)
                                      : writeError;
    else if (settings.keepFileDates)
        copyModificationTime(source, target);
    return written;
}

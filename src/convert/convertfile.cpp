#include "convertfile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "imagemagickutil.h"
#include "imagewriters.h"
#include "photometadata.h"
#include "targetformats.h"

// Conversions decode past the preview's source cache, so files decode side by
// side and no picture stays pinned after its file.
bool convertImageFile(const QString &source, const QString &target, const ConversionSettings &settings,
                      QString *error, QString *note)
{
    const QImage image = ImageMagickUtil().processImage(source, false, settings, error, false, note);
    if (image.isNull())
        return false;
    QString writeError;
    const PhotoMetadata metadata = settings.keepMetadata && !isGifTargetPath(target)
                                       ? readPhotoMetadata(source, image.size(), settings.removeLocation)
                                       : PhotoMetadata();
    const bool written = isGifTargetPath(target)
                             ? writeGif(image, target, &writeError)
                             : writeImageFile(image, target, writeOptionsFor(settings, "." + QFileInfo(target).suffix()),
                                              &writeError, metadata);
    if (!written)
        *error = writeError.isEmpty() ? QCoreApplication::translate("ConvertImagesThread", "Cannot write %1").arg(target)
                                      : writeError;
    else if (settings.keepFileDates)
        copyModificationTime(source, target);
    return written;
}

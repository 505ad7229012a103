#include "sourceorientation.h"

#include "metadatalibraries.h"

#include <QDebug>
#include <QFile>

#include <exiv2/exiv2.hpp>

int storedExifOrientation(const QString &path)
{
    initialiseMetadataLibraries();
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        const auto tag = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (tag == exif.end() || tag->count() < 1)
            return 1;
        const long orientation = tag->toLong();
        return orientation >= 1 && orientation <= 8 ? int(orientation) : 1;
    } catch (const std::exception &e) {
        qDebug().noquote() << "Metadata: no orientation read from" << path << ":" << e.what();
        return 1;
    }
}

#pragma once

#include <QByteArray>
#include <QDate>
#include <QSize>
#include <QString>

// What a photo says about itself, as the blocks a file stores: EXIF as a
// TIFF structure (from its byte-order mark on, no "Exif" prefix), the XMP
// packet and the IPTC-IIM records. A block the source lacks is empty.
struct PhotoMetadata
{
    QByteArray exif;
    QByteArray xmp;
    QByteArray iptc;

    bool isEmpty() const { return exif.isEmpty() && xmp.isEmpty() && iptc.isEmpty(); }
};

// The source's metadata made true for a converted copy of outputSize pixels:
// Orientation 1 (the pixels are turned upright on loading), the output's
// pixel dimensions, no EXIF thumbnail (it would show the unconverted
// picture), and with removeLocation no GPS data nor XMP and IPTC places.
// The date taken is never touched. Never throws: a block that cannot be read
// is left out, and a log line says so.
PhotoMetadata readPhotoMetadata(const QString &sourcePath, QSize outputSize, bool removeLocation);

// The date the photo was taken (EXIF, else XMP); null when it says none.
QDate photoDateTaken(const QString &sourcePath);

// Where a target format (the lower-case suffix) gets its metadata: from Exiv2
// in the encoded file, from the program's own encoder, or nowhere.
enum class MetadataRoute { None, AfterEncoding, ByEncoder };
MetadataRoute metadataRouteFor(const QByteArray &format);

// Writes the metadata into an encoded JPEG, PNG, WEBP or TIFF file held in
// memory; the encoder's ICC profile stays. A block the container refuses is
// left out (logged); when nothing can be written the bytes stay as they were.
void embedPhotoMetadata(QByteArray *encoded, const PhotoMetadata &metadata);

// Gives the target the source's modification time; false (logged) if it cannot.
bool copyModificationTime(const QString &sourcePath, const QString &targetPath);

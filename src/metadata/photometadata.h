#pragma once

#include <QByteArray>
#include <QDate>
#include <QFlags>
#include <QSize>
#include <QString>
#include <QStringList>

// What a photo says about itself, as the blocks a file stores: EXIF as a
// TIFF structure (from its byte-order mark on, no "Exif" prefix), the XMP
// packet and the IPTC-IIM records. A block the source lacks is empty.
// icc is a colour profile the decoder could not apply: the pixels are still
// in its space, so it goes into the output unchanged.
struct PhotoMetadata
{
    QByteArray exif;
    QByteArray xmp;
    QByteArray iptc;
    QByteArray icc;
    // What was left out and why, in words for the run's report.
    QStringList notes;

    bool isEmpty() const { return exif.isEmpty() && xmp.isEmpty() && iptc.isEmpty() && icc.isEmpty(); }
};

// What readPhotoMetadata takes from a source: the EXIF, XMP and IPTC blocks,
// and the ICC profile of pixels decoded without applying it (only an RGB
// device profile that Little CMS opens is taken). StoredOrientation: the
// pixels are as the source stores them, so its orientation tags stay.
enum class MetadataPart { Blocks = 0x1, UnappliedColourProfile = 0x2, StoredOrientation = 0x4 };
Q_DECLARE_FLAGS(MetadataParts, MetadataPart)
Q_DECLARE_OPERATORS_FOR_FLAGS(MetadataParts)

// The source's metadata made true for a converted copy of outputSize pixels:
// Orientation 1 (the pixels are turned upright on loading) unless the parts
// say StoredOrientation, the output's
// pixel dimensions, no EXIF thumbnail (it would show the unconverted
// picture), and with removeLocation no GPS data nor XMP and IPTC places.
// The date taken is never touched. A block over its size limit is left out
// with a note. Never throws: a block that cannot be read is left out, and a
// log line says so.
// False, with a note for the run's report, for a colour profile too large to
// be carried into an output (the same limit as a source's raw profile).
bool colourProfileFits(qsizetype size, QStringList *notes);

PhotoMetadata readPhotoMetadata(const QString &sourcePath, QSize outputSize, bool removeLocation,
                                MetadataParts parts = MetadataPart::Blocks);

// The ICC profile the source stores, of any colour model, as it is; empty
// without one, over 8 MB, or when it cannot be read.
QByteArray storedColourProfile(const QString &sourcePath);

// The date the photo was taken (EXIF, else XMP); null when it says none.
QDate photoDateTaken(const QString &sourcePath);

// Writes the metadata into an encoded JPEG, PNG, WEBP or TIFF file held in
// memory; the encoder's ICC profile stays unless the metadata brings one. A
// TIFF gets only the EXIF tags whose type and count suit them, since its
// readers take them as the picture's own. A block the container refuses is
// left out (logged); when nothing can be written the bytes stay as they were.
void embedPhotoMetadata(QByteArray *encoded, const PhotoMetadata &metadata);

// Gives the target the source's modification time; false (logged) if it cannot.
bool copyModificationTime(const QString &sourcePath, const QString &targetPath);

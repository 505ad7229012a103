#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// How the program hands EXIF, XMP and a colour profile to its own HEIF/AVIF
// and JPEG XL encoders: as writer text (QImageWriter::setText), which
// reaches the handler as its Description option. Base64, because the writer
// squeezes the whitespace out of every text.
inline constexpr char exifWriterKey[] = "kx-exif";
inline constexpr char xmpWriterKey[] = "kx-xmp";
inline constexpr char iccWriterKey[] = "kx-icc";

struct EncoderMetadata
{
    QByteArray exif; // TIFF structure, from its byte-order mark on
    QByteArray xmp;  // the XMP packet
    QByteArray icc;  // a profile the picture's colour space does not hold: stored as it is
};

// The blocks of a Description option: "key: value" pairs, separated by blank lines.
inline EncoderMetadata encoderMetadataFromDescription(const QString &description)
{
    EncoderMetadata metadata;
    const QString exifPrefix = QLatin1String(exifWriterKey) + QLatin1String(": ");
    const QString xmpPrefix = QLatin1String(xmpWriterKey) + QLatin1String(": ");
    const QString iccPrefix = QLatin1String(iccWriterKey) + QLatin1String(": ");
    for (const QString &pair : description.split(QLatin1String("\n\n"))) {
        if (pair.startsWith(exifPrefix))
            metadata.exif = QByteArray::fromBase64(pair.mid(exifPrefix.size()).toLatin1());
        else if (pair.startsWith(xmpPrefix))
            metadata.xmp = QByteArray::fromBase64(pair.mid(xmpPrefix.size()).toLatin1());
        else if (pair.startsWith(iccPrefix))
            metadata.icc = QByteArray::fromBase64(pair.mid(iccPrefix.size()).toLatin1());
    }
    return metadata;
}

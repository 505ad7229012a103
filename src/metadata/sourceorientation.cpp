#include "sourceorientation.h"

#include "metadatalibraries.h"

#include <QDebug>
#include <QFile>
#include <QtEndian>

#include <exiv2/exiv2.hpp>

#include <optional>

namespace {

int orientationOf(const Exiv2::ExifData &exif)
{
    const auto tag = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (tag == exif.end() || tag->count() < 1)
        return 1;
    const long orientation = tag->toLong();
    return orientation >= 1 && orientation <= 8 ? int(orientation) : 1;
}

// A PNG's eXIf counts only before the image data, as browsers read it: a late
// one (which some converters write) describes the picture it came from, not
// the pixels as stored. Exiv2 takes it wherever it is, so the chunks up to
// the first IDAT are looked at here; only their headers are read. nullopt
// for a file that is no PNG, an empty block for a PNG without an early eXIf.
std::optional<QByteArray> pngExifBeforeImageData(QFile &file)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (file.read(8) != signature)
        return std::nullopt;
    for (;;) {
        const QByteArray header = file.read(8);
        if (header.size() < 8)
            return QByteArray();
        const quint32 length = qFromBigEndian<quint32>(header.constData());
        const QByteArray type = header.mid(4);
        if (type == "IDAT" || length > quint32(file.size()))
            return QByteArray();
        if (type == "eXIf")
            return file.read(length);
        if (!file.seek(file.pos() + length + 4))
            return QByteArray();
    }
}

} // namespace

int storedExifOrientation(const QString &path)
{
    initialiseMetadataLibraries();
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        if (const std::optional<QByteArray> exif = pngExifBeforeImageData(file)) {
            if (exif->isEmpty())
                return 1;
            Exiv2::ExifData data;
            Exiv2::ExifParser::decode(data, reinterpret_cast<const Exiv2::byte *>(exif->constData()),
                                      uint32_t(exif->size()));
            return orientationOf(data);
        }
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        return orientationOf(image->exifData());
    } catch (const std::exception &e) {
        qDebug().noquote() << "Metadata: no orientation read from" << path << ":" << e.what();
        return 1;
    }
}

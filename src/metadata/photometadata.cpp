#include "photometadata.h"

#include <QCoreApplication>

#include "metadatalibraries.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QRecursiveMutex>
#include <QtEndian>

#include <exiv2/exiv2.hpp>
#include <lcms2.h>
#include <libheif/heif.h>
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace {

// Blocks above these sizes are left out. A camera's EXIF and IPTC fit a
// JPEG's 64 KB segment and a photo's XMP stays well under a megabyte; blocks
// of tens of megabytes are edit histories run wild or hostile files, and each
// copy costs memory many times its size. RGB profiles with 16-bit lookup
// tables of 65 points a side stay near 2 MB, so 8 MB holds every real one.
constexpr qsizetype maximumBlockBytes = 4 << 20;
constexpr qsizetype maximumIccBytes = 8 << 20;

// False, with a note for the run's report, when a block is over its limit.
bool fits(const char *block, qsizetype size, qsizetype limit, QStringList *notes)
{
    if (size <= limit)
        return true;
    notes->append(QCoreApplication::translate("PhotoMetadata", "The %1 (%2 MB) was not copied: it is over %3 MB.")
                      .arg(QCoreApplication::translate("PhotoMetadata", block))
                      .arg(double(size) / (1 << 20), 0, 'f', 1)
                      .arg(limit >> 20));
    return false;
}

// XMP properties and IPTC datasets that name a place; EXIF keeps its
// location in the GPS IFD alone.
const char *const xmpLocationPrefixes[] = {
    "Xmp.exif.GPS",        "Xmp.photoshop.City",       "Xmp.photoshop.State",
    "Xmp.photoshop.Country", "Xmp.iptc.Location",      "Xmp.iptc.CountryCode",
    "Xmp.iptcExt.LocationCreated", "Xmp.iptcExt.LocationShown",
};
const char *const iptcLocationTags[] = {
    "City", "SubLocation", "ProvinceState", "CountryCode", "CountryName", "LocationCode", "LocationName",
};

QRecursiveMutex xmpToolkitMutex;

void lockXmpToolkit(void *data, bool lock)
{
    auto *mutex = static_cast<QRecursiveMutex *>(data);
    if (lock)
        mutex->lock();
    else
        mutex->unlock();
}

void logFromExiv2(int, const char *message)
{
    qDebug().noquote() << "Exiv2:" << QString::fromUtf8(message).trimmed();
}

} // namespace

// Once per process, before any thread uses the libraries: the XMP toolkit is set up
// with a lock so that parallel workers can share it, and only real errors
// reach the log (a batch of camera files would otherwise flood it with
// warnings about harmless oddities).
void initialiseMetadataLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        heif_init(nullptr);
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::error);
        Exiv2::LogMsg::setHandler(logFromExiv2);
        Exiv2::XmpParser::initialize(lockXmpToolkit, &xmpToolkitMutex);
        Exiv2::enableBMFF();
    });
}

namespace {

const Exiv2::byte *bytesOf(const QByteArray &data)
{
    return reinterpret_cast<const Exiv2::byte *>(data.constData());
}

template<typename Data, typename Drop>
void eraseIf(Data &data, Drop drop)
{
    for (auto it = data.begin(); it != data.end();)
        it = drop(*it) ? data.erase(it) : std::next(it);
}

bool startsWithAny(const std::string &key, const char *const *begin, const char *const *end)
{
    return std::any_of(begin, end, [&](const char *prefix) { return key.rfind(prefix, 0) == 0; });
}

void makeExifTrue(Exiv2::ExifData &exif, QSize size, bool removeLocation, bool upright)
{
    if (exif.empty())
        return;
    const Exiv2::ExifKey orientation("Exif.Image.Orientation");
    if (upright && exif.findKey(orientation) != exif.end())
        exif[orientation.key()] = uint16_t(1);
    exif["Exif.Photo.PixelXDimension"] = uint32_t(size.width());
    exif["Exif.Photo.PixelYDimension"] = uint32_t(size.height());
    Exiv2::ExifThumb(exif).erase();
    if (removeLocation)
        eraseIf(exif, [](const Exiv2::Exifdatum &d) { return d.groupName() == "GPSInfo" || d.key() == "Exif.Image.GPSTag"; });
}

void makeXmpTrue(Exiv2::XmpData &xmp, QSize size, bool removeLocation, bool upright)
{
    const auto setIfPresent = [&xmp](const char *key, const std::string &value) {
        if (xmp.findKey(Exiv2::XmpKey(key)) != xmp.end())
            xmp[key] = value;
    };
    if (upright)
        setIfPresent("Xmp.tiff.Orientation", "1");
    setIfPresent("Xmp.exif.PixelXDimension", std::to_string(size.width()));
    setIfPresent("Xmp.exif.PixelYDimension", std::to_string(size.height()));
    setIfPresent("Xmp.tiff.ImageWidth", std::to_string(size.width()));
    setIfPresent("Xmp.tiff.ImageLength", std::to_string(size.height()));
    eraseIf(xmp, [removeLocation](const Exiv2::Xmpdatum &d) {
        return d.key().rfind("Xmp.xmp.Thumbnails", 0) == 0
            || (removeLocation
                && startsWithAny(d.key(), std::begin(xmpLocationPrefixes), std::end(xmpLocationPrefixes)));
    });
}

void removeIptcLocation(Exiv2::IptcData &iptc)
{
    eraseIf(iptc, [](const Exiv2::Iptcdatum &d) {
        return d.groupName() == "Application2"
            && std::any_of(std::begin(iptcLocationTags), std::end(iptcLocationTags),
                           [&](const char *tag) { return d.tagName() == tag; });
    });
}

// Every block on its own, so that one that cannot be encoded costs no other.
template<typename Encode>
QByteArray encodedBlock(const char *block, const QString &sourcePath, Encode encode)
{
    try {
        return encode();
    } catch (const std::exception &e) {
        qDebug().noquote() << "Metadata: no" << block << "copied from" << sourcePath << ":" << e.what();
        return {};
    }
}

struct Stored
{
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    Exiv2::IptcData iptc;
    Exiv2::ByteOrder byteOrder = Exiv2::littleEndian;
    QByteArray icc;
    QStringList notes;
};

bool isHeifFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(64);
    const heif_filetype_result type = heif_check_filetype(bytesOf(head), int(head.size()));
    return type == heif_filetype_yes_supported || type == heif_filetype_yes_unsupported;
}

// Exiv2 0.27 misses the EXIF of many HEIF files (those libheif writes among
// them), so libheif reads the blocks of that family and Exiv2 decodes them.
// The file is read into memory once: libheif's file reader takes tens of
// seconds over a colour profile of some megabytes, byte by byte. Blocks over
// their limits are left before anything is decoded.
Stored readHeif(const QString &path, MetadataParts parts)
{
    const auto fail = [](const heif_error &error) {
        if (error.code != heif_error_Ok)
            throw std::runtime_error(error.message);
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(file.errorString().toStdString());
    const QByteArray data = file.readAll();
    std::unique_ptr<heif_context, void (*)(heif_context *)> context(heif_context_alloc(), heif_context_free);
    fail(heif_context_read_from_memory_without_copy(context.get(), data.constData(), size_t(data.size()), nullptr));
    heif_image_handle *handleRaw = nullptr;
    fail(heif_context_get_primary_image_handle(context.get(), &handleRaw));
    std::unique_ptr<heif_image_handle, void (*)(const heif_image_handle *)> handle(handleRaw, heif_image_handle_release);

    Stored stored;
    const heif_color_profile_type profile = heif_image_handle_get_color_profile_type(handle.get());
    if (parts.testFlag(MetadataPart::UnappliedColourProfile)
        && (profile == heif_color_profile_type_prof || profile == heif_color_profile_type_rICC)) {
        const qsizetype size = qsizetype(heif_image_handle_get_raw_color_profile_size(handle.get()));
        if (fits(QT_TRANSLATE_NOOP("PhotoMetadata", "colour profile"), size, maximumIccBytes, &stored.notes)) {
            stored.icc.resize(size);
            fail(heif_image_handle_get_raw_color_profile(handle.get(), stored.icc.data()));
        }
    }
    if (!parts.testFlag(MetadataPart::Blocks))
        return stored;
    const int count = heif_image_handle_get_number_of_metadata_blocks(handle.get(), nullptr);
    std::vector<heif_item_id> ids(size_t(qMax(count, 0)));
    heif_image_handle_get_list_of_metadata_block_IDs(handle.get(), nullptr, ids.data(), count);
    for (const heif_item_id id : ids) {
        const QByteArray type = heif_image_handle_get_metadata_type(handle.get(), id);
        const bool exif = type == "Exif";
        const bool xmp = type == "mime"
                         && QByteArray(heif_image_handle_get_metadata_content_type(handle.get(), id))
                                == "application/rdf+xml";
        const qsizetype size = qsizetype(heif_image_handle_get_metadata_size(handle.get(), id));
        if ((!exif && !xmp)
            || !fits(exif ? "EXIF" : "XMP", size, maximumBlockBytes, &stored.notes))
            continue;
        QByteArray block(size, Qt::Uninitialized);
        fail(heif_image_handle_get_metadata(handle.get(), id, block.data()));
        if (exif && block.size() > 4) {
            // The block begins with the offset of the TIFF header behind it.
            const qsizetype tiff = 4 + qsizetype(qFromBigEndian<quint32>(block.constData()));
            const QByteArray order = block.mid(tiff, 4);
            if (order != QByteArray("II*\0", 4) && order != QByteArray("MM\0*", 4))
                throw std::runtime_error("no TIFF header in the Exif block");
            stored.byteOrder = Exiv2::ExifParser::decode(stored.exif, bytesOf(block) + tiff,
                                                         uint32_t(block.size() - tiff));
        } else if (xmp) {
            Exiv2::XmpParser::decode(stored.xmp, block.toStdString());
        }
    }
    return stored;
}

Stored readWithExiv2(const QString &path, MetadataParts parts)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    image->readMetadata();
    Stored stored;
    if (parts.testFlag(MetadataPart::Blocks)) {
        stored.exif = image->exifData();
        stored.iptc = image->iptcData();
        if (fits("XMP", qsizetype(image->xmpPacket().size()), maximumBlockBytes, &stored.notes))
            stored.xmp = image->xmpData();
    }
    if (image->byteOrder() != Exiv2::invalidByteOrder)
        stored.byteOrder = image->byteOrder();
    const Exiv2::DataBuf *icc = image->iccProfile();
    if (parts.testFlag(MetadataPart::UnappliedColourProfile) && image->iccProfileDefined()
        && fits(QT_TRANSLATE_NOOP("PhotoMetadata", "colour profile"), icc->size_, maximumIccBytes, &stored.notes))
        stored.icc = QByteArray(reinterpret_cast<const char *>(icc->pData_), qsizetype(icc->size_));
    return stored;
}

Stored readStored(const QString &path, MetadataParts parts)
{
    return isHeifFile(path) ? readHeif(path, parts) : readWithExiv2(path, parts);
}

// Why pixels cannot carry the profile: an RGB device profile Little CMS
// can build a transform from goes with them; a broken one, a device link,
// an abstract profile or another colour model does not.
QString unsuitableProfile(const QByteArray &icc)
{
    cmsHPROFILE profile = cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size()));
    if (!profile)
        return QStringLiteral("Little CMS cannot open it");
    const cmsProfileClassSignature deviceClass = cmsGetDeviceClass(profile);
    QString reason;
    if (cmsGetColorSpace(profile) != cmsSigRgbData)
        reason = QStringLiteral("it is not an RGB profile");
    else if (deviceClass == cmsSigLinkClass || deviceClass == cmsSigAbstractClass
             || deviceClass == cmsSigNamedColorClass)
        reason = QStringLiteral("it describes no device");
    if (reason.isEmpty()) {
        // Building a transform reads the tables, which opening does not.
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
        const cmsHTRANSFORM transform = cmsCreateTransform(profile, TYPE_RGB_8, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL,
                                                           cmsFLAGS_NOOPTIMIZE | cmsFLAGS_NOCACHE);
        if (transform)
            cmsDeleteTransform(transform);
        else
            reason = QStringLiteral("Little CMS cannot use it");
        cmsCloseProfile(srgb);
    }
    cmsCloseProfile(profile);
    return reason;
}

bool writeInto(QByteArray *encoded, const Exiv2::ExifData &exif, const Exiv2::XmpData &xmp,
               const Exiv2::IptcData &iptc, const QByteArray &icc)
{
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(bytesOf(*encoded), long(encoded->size()));
        // Reading first keeps what the encoder wrote, its ICC profile above all.
        image->readMetadata();
        image->setExifData(exif);
        image->setXmpData(xmp);
        image->setIptcData(iptc);
        if (!icc.isEmpty()) {
            Exiv2::DataBuf profile(bytesOf(icc), long(icc.size()));
            image->setIccProfile(profile, false);
        }
        image->writeMetadata();
        Exiv2::BasicIo &io = image->io();
        if (io.open() != 0)
            return false;
        QByteArray result(qsizetype(io.size()), Qt::Uninitialized);
        const long read = io.read(reinterpret_cast<Exiv2::byte *>(result.data()), long(result.size()));
        io.close();
        if (read != long(result.size()))
            return false;
        *encoded = result;
        return true;
    } catch (const std::exception &e) {
        qDebug().noquote() << "Metadata: the encoded file refused it:" << e.what();
        return false;
    }
}

// A TIFF's readers take the EXIF's first directory as the picture's own
// tags: libtiff refuses a file with a tag of a type it does not know, and
// warns over tags of the wrong type or count. So only tags Exiv2 knows go in,
// with the type (or, for numbers, a wider or narrower unsigned type) and the
// count it gives them. A makernote is opaque bytes to those readers.
bool isWellFormedForTiff(const Exiv2::Exifdatum &datum)
{
    if (Exiv2::ExifTags::isMakerGroup(datum.groupName()))
        return true;
    const long count = datum.count();
    if (count <= 0 || datum.tagName().rfind("0x", 0) == 0)
        return false;
    const Exiv2::ExifKey key(datum.key());
    const Exiv2::TypeId expected = key.defaultTypeId();
    const Exiv2::TypeId type = datum.typeId();
    const auto isUnsigned = [](Exiv2::TypeId id) {
        return id == Exiv2::unsignedByte || id == Exiv2::unsignedShort || id == Exiv2::unsignedLong
               || id == Exiv2::tiffIfd;
    };
    const bool typeFits = type == expected || (isUnsigned(type) && isUnsigned(expected))
                          || (expected == Exiv2::comment && type == Exiv2::undefined);
    const int16_t expectedCount = Exiv2::ExifTags::defaultCount(key);
    return typeFits && (expectedCount <= 0 || count == expectedCount);
}

QByteArray pngChunk(const char *type, const QByteArray &data)
{
    const QByteArray typeAndData = QByteArray(type) + data;
    QByteArray chunk(4, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    chunk += typeAndData;
    chunk.resize(chunk.size() + 4);
    const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef *>(typeAndData.constData()),
                            uInt(typeAndData.size()));
    qToBigEndian<quint32>(quint32(crc), chunk.data() + chunk.size() - 4);
    return chunk;
}

// An iCCP chunk's data: a profile name, deflate (0), the zlib stream.
QByteArray iccpData(const QByteArray &icc)
{
    uLongf size = compressBound(uLong(icc.size()));
    QByteArray data = QByteArray("ICC profile\0\0", 13);
    const qsizetype head = data.size();
    data.resize(head + qsizetype(size));
    if (compress(reinterpret_cast<Bytef *>(data.data() + head), &size, reinterpret_cast<const Bytef *>(icc.constData()),
                 uLong(icc.size()))
        != Z_OK)
        return {};
    data.resize(head + qsizetype(size));
    return data;
}

// PNG gets its chunks here rather than from Exiv2: Exiv2 0.27 writes no
// eXIf chunk, and copying a large PNG through it takes hundreds of
// milliseconds. The profile, the EXIF and the XMP go right behind the header
// chunk, ahead of the pixels; PNG has no standard place for IPTC.
void addPngChunks(QByteArray *png, const PhotoMetadata &metadata)
{
    constexpr qsizetype afterHeader = 8 + 4 + 4 + 13 + 4;
    if (png->size() < afterHeader)
        return;
    QByteArray chunks;
    if (const QByteArray iccp = metadata.icc.isEmpty() ? QByteArray() : iccpData(metadata.icc); !iccp.isEmpty())
        chunks += pngChunk("iCCP", iccp);
    if (!metadata.exif.isEmpty())
        chunks += pngChunk("eXIf", metadata.exif);
    // Keyword, uncompressed, no language tag, no translated keyword.
    if (!metadata.xmp.isEmpty())
        chunks += pngChunk("iTXt", QByteArray("XML:com.adobe.xmp\0\0\0\0\0", 22) + metadata.xmp);
    png->insert(afterHeader, chunks);
}

} // namespace

bool colourProfileFits(qsizetype size, QStringList *notes)
{
    return fits(QT_TRANSLATE_NOOP("PhotoMetadata", "colour profile"), size, maximumIccBytes, notes);
}

PhotoMetadata readPhotoMetadata(const QString &sourcePath, QSize outputSize, bool removeLocation, MetadataParts parts)
{
    initialiseMetadataLibraries();
    Stored stored;
    try {
        stored = readStored(sourcePath, parts);
    } catch (const std::exception &e) {
        qDebug().noquote() << "Metadata: none copied from" << sourcePath << ":" << e.what();
        return {};
    }
    Exiv2::ExifData &exif = stored.exif;
    Exiv2::XmpData &xmp = stored.xmp;
    Exiv2::IptcData &iptc = stored.iptc;

    const bool upright = !(parts & MetadataPart::StoredOrientation);
    PhotoMetadata metadata;
    metadata.notes = stored.notes;
    if (!stored.icc.isEmpty()) {
        const QString unsuitable = unsuitableProfile(stored.icc);
        if (unsuitable.isEmpty())
            metadata.icc = stored.icc;
        else
            qDebug().noquote() << "Metadata: the colour profile of" << sourcePath << "is left out:" << unsuitable;
    }
    metadata.exif = encodedBlock("EXIF", sourcePath, [&] {
        makeExifTrue(exif, outputSize, removeLocation, upright);
        Exiv2::Blob blob;
        if (!exif.empty())
            Exiv2::ExifParser::encode(blob, stored.byteOrder, exif);
        return QByteArray(reinterpret_cast<const char *>(blob.data()), qsizetype(blob.size()));
    });
    metadata.xmp = encodedBlock("XMP", sourcePath, [&] {
        makeXmpTrue(xmp, outputSize, removeLocation, upright);
        std::string packet;
        if (!xmp.empty() && Exiv2::XmpParser::encode(packet, xmp) != 0)
            throw std::runtime_error("the XMP toolkit failed");
        return QByteArray::fromStdString(packet);
    });
    metadata.iptc = encodedBlock("IPTC", sourcePath, [&] {
        if (removeLocation)
            removeIptcLocation(iptc);
        if (iptc.empty())
            return QByteArray();
        const Exiv2::DataBuf records = Exiv2::IptcParser::encode(iptc);
        return QByteArray(reinterpret_cast<const char *>(records.pData_), qsizetype(records.size_));
    });
    const std::pair<const char *, QByteArray *> blocks[] = {
        {"EXIF", &metadata.exif}, {"XMP", &metadata.xmp}, {"IPTC", &metadata.iptc}};
    for (const auto &[name, block] : blocks) {
        if (!fits(name, block->size(), maximumBlockBytes, &metadata.notes))
            block->clear();
    }
    return metadata;
}

QDate photoDateTaken(const QString &sourcePath)
{
    initialiseMetadataLibraries();
    try {
        const Stored stored = readStored(sourcePath, MetadataPart::Blocks);
        // EXIF writes "YYYY:MM:DD HH:MM:SS"; XMP an ISO date.
        const auto exif = stored.exif.findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
        if (exif != stored.exif.end())
            return QDate::fromString(QString::fromStdString(exif->toString()).left(10), QStringLiteral("yyyy:MM:dd"));
        const auto xmp = stored.xmp.findKey(Exiv2::XmpKey("Xmp.exif.DateTimeOriginal"));
        if (xmp != stored.xmp.end())
            return QDate::fromString(QString::fromStdString(xmp->toString()).left(10), Qt::ISODate);
    } catch (const std::exception &e) {
        qDebug().noquote() << "Metadata: no date taken read from" << sourcePath << ":" << e.what();
    }
    return QDate();
}

QByteArray storedColourProfile(const QString &sourcePath)
{
    initialiseMetadataLibraries();
    try {
        return readStored(sourcePath, MetadataPart::UnappliedColourProfile).icc;
    } catch (const std::exception &e) {
        qDebug().noquote() << "Metadata: no colour profile read from" << sourcePath << ":" << e.what();
    }
    return {};
}

void embedPhotoMetadata(QByteArray *encoded, const PhotoMetadata &metadata)
{
    if (metadata.isEmpty())
        return;
    if (encoded->startsWith("\x89PNG")) {
        addPngChunks(encoded, metadata);
        return;
    }
    initialiseMetadataLibraries();
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    Exiv2::IptcData iptc;
    try {
        if (!metadata.exif.isEmpty())
            Exiv2::ExifParser::decode(exif, bytesOf(metadata.exif), uint32_t(metadata.exif.size()));
        if (!metadata.xmp.isEmpty())
            Exiv2::XmpParser::decode(xmp, metadata.xmp.toStdString());
        if (!metadata.iptc.isEmpty())
            Exiv2::IptcParser::decode(iptc, bytesOf(metadata.iptc), uint32_t(metadata.iptc.size()));
    } catch (const std::exception &e) {
        qDebug().noquote() << "Metadata: cannot decode the copied blocks:" << e.what();
    }
    if (encoded->startsWith(QByteArray("II*\0", 4)) || encoded->startsWith(QByteArray("MM\0*", 4)))
        eraseIf(exif, [](const Exiv2::Exifdatum &d) { return !isWellFormedForTiff(d); });
    if (writeInto(encoded, exif, xmp, iptc, metadata.icc))
        return;
    // XMP and IPTC are what a container refuses most (a JPEG segment holds
    // under 64 KB); the EXIF and the profile alone may still fit.
    if ((!xmp.empty() || !iptc.empty()) && (!exif.empty() || !metadata.icc.isEmpty())
        && writeInto(encoded, exif, {}, {}, metadata.icc))
        qDebug() << "Metadata: written without XMP and IPTC";
}

bool copyModificationTime(const QString &sourcePath, const QString &targetPath)
{
    const QDateTime modified = QFileInfo(sourcePath).lastModified();
    QFile target(targetPath);
    if (modified.isValid() && target.open(QIODevice::ReadWrite)
        && target.setFileTime(modified, QFileDevice::FileModificationTime))
        return true;
    qDebug().noquote() << "Cannot give" << targetPath << "the date of" << sourcePath << ":" << target.errorString();
    return false;
}

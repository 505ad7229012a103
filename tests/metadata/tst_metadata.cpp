#include <QtTest>

#include <QColorSpace>
#include <QImageReader>

#include <exiv2/exiv2.hpp>
#include <jxl/decode.h>
#include <lcms2.h>
#include <libheif/heif.h>
#include <tiffio.h>

#include "conversionsettings.h"
#include "convertfile.h"
#include "kxprofiles.h"
#include "kxtest.h"

namespace {

const QDateTime sourceTime(QDate(2001, 2, 3), QTime(4, 5, 6));

// Tag values of a file as Exiv2 reads them, EXIF and XMP alike: key -> text.
using Tags = QMap<QString, QString>;

template <typename Data>
void addTags(Tags &tags, const Data &data)
{
    for (const auto &datum : data)
        tags.insert(QString::fromStdString(datum.key()), QString::fromStdString(datum.toString()));
}

// Exiv2 0.27 misses the EXIF libheif writes, so libheif reads HEIF blocks back.
Tags readHeifTags(const QString &path)
{
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    heif_context *context = heif_context_alloc();
    heif_image_handle *handle = nullptr;
    heif_context_read_from_file(context, QFile::encodeName(path).constData(), nullptr);
    heif_context_get_primary_image_handle(context, &handle);
    heif_item_id ids[8];
    const int count = heif_image_handle_get_list_of_metadata_block_IDs(handle, nullptr, ids, 8);
    for (int i = 0; i < count; ++i) {
        QByteArray block(qsizetype(heif_image_handle_get_metadata_size(handle, ids[i])), Qt::Uninitialized);
        heif_image_handle_get_metadata(handle, ids[i], block.data());
        const auto *bytes = reinterpret_cast<const Exiv2::byte *>(block.constData());
        if (QByteArray(heif_image_handle_get_metadata_type(handle, ids[i])) == "Exif")
            Exiv2::ExifParser::decode(exif, bytes + 4 + qFromBigEndian<quint32>(bytes), uint32_t(block.size() - 4));
        else
            Exiv2::XmpParser::decode(xmp, block.toStdString());
    }
    heif_image_handle_release(handle);
    heif_context_free(context);
    Tags tags;
    addTags(tags, exif);
    addTags(tags, xmp);
    return tags;
}

// The ICC profile a file stores, byte for byte.
QByteArray storedProfile(const QString &path)
{
    QByteArray icc;
    const QByteArray data = kxtest::readFile(path);
    if (path.endsWith(".jxl")) {
        JxlDecoder *decoder = JxlDecoderCreate(nullptr);
        JxlDecoderSubscribeEvents(decoder, JXL_DEC_COLOR_ENCODING);
        JxlDecoderSetInput(decoder, reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()));
        size_t size = 0;
        if (JxlDecoderProcessInput(decoder) == JXL_DEC_COLOR_ENCODING
            && JxlDecoderGetICCProfileSize(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_ORIGINAL, &size) == JXL_DEC_SUCCESS) {
            icc.resize(qsizetype(size));
            JxlDecoderGetColorAsICCProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_ORIGINAL,
                                           reinterpret_cast<uint8_t *>(icc.data()), size);
        }
        JxlDecoderDestroy(decoder);
    } else if (QRegularExpression("\\.(heic|avif)$").match(path).hasMatch()) {
        heif_context *context = heif_context_alloc();
        heif_image_handle *handle = nullptr;
        heif_context_read_from_memory_without_copy(context, data.constData(), size_t(data.size()), nullptr);
        if (heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok) {
            icc.resize(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)));
            heif_image_handle_get_raw_color_profile(handle, icc.data());
            heif_image_handle_release(handle);
        }
        heif_context_free(context);
    } else {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        icc = QByteArray(reinterpret_cast<const char *>(image->iccProfile()->pData_), image->iccProfile()->size_);
    }
    return icc;
}

// An RGB profile Qt 6.4 cannot parse: sRGB as a 33-point CLUT to Lab, some
// hundred kilobytes, more than a JPEG segment holds. Made once, as its header
// holds the time it was made.
const QByteArray &lutProfile()
{
    static const QByteArray icc = [] {
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
        const QByteArray bytes = kxtest::lutProfileOf(srgb, 33);
        cmsCloseProfile(srgb);
        return bytes;
    }();
    return icc;
}

// What libtiff says while it reads every directory of a file, its EXIF one too.
QStringList libtiffComplaints(const QString &path)
{
    static QStringList complaints;
    complaints.clear();
    const auto note = [](const char *module, const char *format, va_list args) {
        complaints << QString::asprintf("%s: ", module) + QString::vasprintf(format, args);
    };
    const TIFFErrorHandler errors = TIFFSetErrorHandler(note);
    const TIFFErrorHandler warnings = TIFFSetWarningHandler(note);
    if (TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "r")) {
        toff_t exif = 0;
        if (TIFFGetField(tiff, TIFFTAG_EXIFIFD, &exif))
            TIFFReadEXIFDirectory(tiff, exif);
        TIFFClose(tiff);
    }
    TIFFSetErrorHandler(errors);
    TIFFSetWarningHandler(warnings);
    return complaints;
}

Tags readTags(const QString &path)
{
    if (QRegularExpression("\\.(heic|heif|avif)$").match(path).hasMatch())
        return readHeifTags(path);
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        Tags tags;
        addTags(tags, image->exifData());
        addTags(tags, image->xmpData());
        return tags;
    } catch (const Exiv2::AnyError &) {
        return {}; // a bare JPEG XL codestream has no place for metadata
    }
}

// A camera photo: stored sideways (Orientation 6) with date, camera, author,
// position and an XMP title; its pixels are in Display P3.
void addCameraMetadata(const QString &path)
{
    auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    image->readMetadata();
    Exiv2::ExifData &exif = image->exifData();
    exif["Exif.Photo.DateTimeOriginal"] = "2021:07:14 09:30:00";
    exif["Exif.Image.Model"] = "Kestrel X100";
    exif["Exif.Image.Artist"] = "Ann Example";
    exif["Exif.Image.Orientation"] = uint16_t(6);
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    exif["Exif.GPSInfo.GPSLongitudeRef"] = "E";
    exif["Exif.GPSInfo.GPSLatitude"] = "48/1 51/1 30/1";
    exif["Exif.GPSInfo.GPSLongitude"] = "2/1 17/1 40/1";
    image->xmpData()["Xmp.dc.title"] = "lang=\"x-default\" Harbour at dawn";
    image->writeMetadata();
}

} // namespace

class TestMetadata : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir tmp;

    // Converts one source through the per-file conversion the window and the command line share.
    QString convert(const QString &source, const QString &extension, const ConversionSettings &settings)
    {
        const QString target = tmp.filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + extension);
        QString error;
        return convertImageFile(source, target, formatForExtension(QFileInfo(target).suffix()), settings, &error)
                   ? target
                   : error;
    }

    // In Display P3, or with a lookup-table profile Qt cannot apply.
    QString cameraJpeg(bool lutProfile)
    {
        const QString path = tmp.filePath(lutProfile ? "lutcamera.jpg" : "camera.jpg");
        if (!QFileInfo::exists(path)) {
            QImage photo = kxtest::makePhotoLikeImage(64, 48);
            if (!lutProfile)
                photo.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
            photo.save(path);
            if (lutProfile) {
                auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
                const QByteArray icc = ::lutProfile();
                Exiv2::DataBuf profile(reinterpret_cast<const Exiv2::byte *>(icc.constData()), long(icc.size()));
                image->setIccProfile(profile);
                image->writeMetadata();
            }
            addCameraMetadata(path);
            QFile file(path);
            file.open(QIODevice::ReadWrite);
            file.setFileTime(sourceTime, QFileDevice::FileModificationTime);
        }
        return path;
    }

private slots:
    void keepsWhatThePhotoSays_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("keepDates");
        QTest::addColumn<bool>("lutProfile");
        QTest::addColumn<bool>("asStored");
        QTest::addColumn<int>("colours");
        for (const char *extension : {".jpg", ".png", ".webp", ".tiff", ".heic", ".avif", ".jxl"}) {
            QTest::addRow("%s", extension) << QString(extension) << int(MetadataKeepAll) << false << false << false << 0;
            QTest::addRow("%s no location, file date", extension)
                << QString(extension) << int(MetadataNoLocation) << true << false << false << 0;
            // The profile is kept as it is even without the metadata.
            QTest::addRow("%s LUT profile, profile only", extension)
                << QString(extension) << int(MetadataProfileOnly) << false << true << false << 0;
        }
        for (const char *extension : {".jpg", ".png"}) {
            // The pixels made sRGB, no profile; one Qt cannot apply stays with its pixels.
            QTest::addRow("%s none", extension) << QString(extension) << int(MetadataNone) << false << false << false << 0;
            QTest::addRow("%s LUT profile, none", extension)
                << QString(extension) << int(MetadataNone) << false << true << false << 0;
            QTest::addRow("%s as stored", extension) << QString(extension) << int(MetadataKeepAll) << false << false << true << 0;
        }
        // A GIF holds neither metadata nor a profile: its pixels are made sRGB.
        QTest::addRow(".gif") << ".gif" << int(MetadataKeepAll) << false << false << false << 0;
        // Pixels converted from it leave it behind.
        QTest::addRow(".jpg LUT profile to sRGB") << ".jpg" << int(MetadataKeepAll) << false << true << false << int(ColoursToSrgb);
    }

    void keepsWhatThePhotoSays()
    {
        QFETCH(QString, extension);
        QFETCH(int, choice);
        QFETCH(bool, keepDates);
        QFETCH(bool, lutProfile);
        QFETCH(bool, asStored);
        QFETCH(int, colours);
        ConversionSettings settings;
        setMetadataChoice(settings, choice);
        settings.colourHandling = colours;
        settings.keepFileDates = keepDates;
        settings.ignoreOrientation = asStored;
        const QString source = cameraJpeg(lutProfile);
        const QString output = convert(source, extension, settings);
        // Turned upright on loading unless asked not to, in its own colour space.
        QImageReader reader(output);
        reader.setAutoTransform(false);
        QCOMPARE(reader.size(), asStored ? QSize(64, 48) : QSize(48, 64));
        if (colours == ColoursToSrgb) {
            QVERIFY(storedProfile(output).isEmpty() || reader.read().colorSpace() == QColorSpace::SRgb);
        } else if (lutProfile) {
            QCOMPARE(storedProfile(output), ::lutProfile());
        } else if (choice == MetadataNone || extension == ".gif") {
            QVERIFY(storedProfile(output).isEmpty());
            // Orientation 6: a quarter turn clockwise, which Qt makes without the colour space.
            const QImage p3(source);
            const QTransform turn = QTransform().rotate(90);
            const QImage written = reader.read();
            const double toSrgb = kxtest::channelDifferences(
                written, p3.convertedToColorSpace(QColorSpace::SRgb).transformed(turn)).second;
            const double unconverted = kxtest::channelDifferences(written, p3.transformed(turn)).second;
            QVERIFY2(toSrgb < (extension == ".gif" ? 6 : 3) && toSrgb < unconverted / 2,
                     qPrintable(QString("%1 against %2").arg(toSrgb).arg(unconverted)));
        } else {
            QCOMPARE(reader.read().colorSpace().primaries(), QColorSpace::Primaries::DciP3D65);
        }
        const Tags tags = readTags(output);
        QStringList values;
        for (const char *key : {"Exif.Image.Model", "Exif.Photo.DateTimeOriginal", "Exif.Image.Artist",
                                "Exif.Image.Orientation", "Exif.Photo.PixelXDimension", "Xmp.dc.title"})
            values << tags.value(key);
        const bool keep = (choice == MetadataKeepAll || choice == MetadataNoLocation) && extension != ".gif";
        QCOMPARE(values, keep ? QStringList({"Kestrel X100", "2021:07:14 09:30:00", "Ann Example", asStored ? "6" : "1",
                                             asStored ? "64" : "48", "lang=\"x-default\" Harbour at dawn"})
                              : QStringList(6, QString()));
        QCOMPARE(!tags.keys().filter(QRegularExpression("^(Exif\\.GPSInfo|Xmp\\.exif\\.GPS)")).isEmpty(),
                 keep && choice == MetadataKeepAll);
        QCOMPARE(QFileInfo(output).lastModified() == sourceTime, keepDates);
    }

    // Metadata that cannot be copied costs only itself, never the picture.
    void badMetadataStillConverts_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("model");
        // An Exif segment whose first IFD lies far beyond its end.
        const QString photo = kxtest::photoFile(tmp.path(), "photo.jpg");
        const QByteArray segment = QByteArray("\xff\xe1\x00\x38" "Exif\0\0II*\0\xff\xff\xff\x0f", 18) + QByteArray(40, '\xee');
        QTest::newRow("corrupt EXIF") << kxtest::writeFile(tmp.filePath("corrupt.jpg"), kxtest::readFile(photo).insert(2, segment))
                                      << ".jpg" << QString();

        const auto withMetadata = [this](const QString &name, int xmpBytes,
                                         const std::function<void(Exiv2::ExifData &)> &addExif) {
            const QString path = tmp.filePath(name);
            kxtest::makePhotoLikeImage(48, 64).save(path);
            auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
            image->exifData()["Exif.Image.Model"] = "Kestrel X100";
            addExif(image->exifData());
            if (xmpBytes > 0)
                image->xmpData()["Xmp.dc.description"] = std::string(size_t(xmpBytes), 'x');
            image->writeMetadata();
            return path;
        };
        // A JPEG segment holds under 64 KB: the EXIF alone goes in.
        QTest::newRow("3 MB XMP") << withMetadata("hugexmp.png", 3 << 20, [](Exiv2::ExifData &) {}) << ".jpg"
                                  << "Kestrel X100";
        // A PNG could hold it, but a block that large is not copied.
        QTest::newRow("5 MB XMP") << withMetadata("hugerxmp.png", 5 << 20, [](Exiv2::ExifData &) {}) << ".png"
                                  << "Kestrel X100";
        // A TIFF's readers take EXIF tags of unknown type or of the wrong
        // count as the picture's own, and refuse or warn.
        QTest::newRow("hostile EXIF") << withMetadata("hostile.jpg", 0, [](Exiv2::ExifData &exif) {
            const Exiv2::Value::AutoPtr unknownType = Exiv2::Value::create(Exiv2::TypeId(99));
            unknownType->read("1 2 3");
            exif.add(Exiv2::ExifKey(0xc6f5, "Image"), unknownType.get());
            const Exiv2::Value::AutoPtr wrongCount = Exiv2::Value::create(Exiv2::unsignedShort);
            wrongCount->read("1 2 3 4 5 6 7");
            exif.add(Exiv2::ExifKey("Exif.Photo.ExifVersion"), wrongCount.get());
        }) << ".tiff" << "Kestrel X100";
        // A profile the decoder applies is bounded too.
        QByteArray profile = QColorSpace(QColorSpace::SRgb).iccProfile() + QByteArray(9 << 20, '\0');
        qToBigEndian(quint32(profile.size()), profile.data());
        QImage padded = kxtest::makePhotoLikeImage(48, 64);
        padded.setColorSpace(QColorSpace::fromIccProfile(profile));
        QVERIFY(padded.colorSpace().isValid() && padded.save(tmp.filePath("hugeprofile.jpg")));
        QTest::newRow("9 MB profile") << tmp.filePath("hugeprofile.jpg") << ".webp" << QString();
    }

    void badMetadataStillConverts()
    {
        QFETCH(QString, source);
        QFETCH(QString, extension);
        QFETCH(QString, model);
        const QString output = convert(source, extension, ConversionSettings());
        QCOMPARE(QImageReader(output).size().width(), QImageReader(source).size().width());
        const Tags tags = readTags(output);
        QCOMPARE(tags.value("Exif.Image.Model"), model);
        QVERIFY(!tags.contains("Xmp.dc.description"));
        QVERIFY(QFileInfo(output).size() < (1 << 20));
        if (extension == ".tiff")
            QCOMPARE(libtiffComplaints(output), QStringList());
    }
};

QTEST_MAIN(TestMetadata)
#include "tst_metadata.moc"

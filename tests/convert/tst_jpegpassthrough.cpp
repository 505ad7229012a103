// JPEG sources kept as JPEG data: the rule that decides it, JPEG XL files
// that give the JPEG back, and JPG turned upright without re-encoding.

#include "convertfile.h"
#include "jpegpassthrough.h"
#include "kxtest.h"
#include "photometadata.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include <jxl/decode.h>

#include <memory>

namespace {

QByteArray jpegOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    return writer.write(image) ? bytes : QByteArray();
}

// The JPEG a JPEG XL file holds, as libjxl's decoder rebuilds it; empty when it holds none.
QByteArray reconstructedJpeg(const QByteArray &jxl)
{
    const std::unique_ptr<JxlDecoder, void (*)(JxlDecoder *)> decoder(JxlDecoderCreate(nullptr), JxlDecoderDestroy);
    QByteArray jpeg(jxl.size() * 4 + (1 << 20), '\0');
    if (JxlDecoderSubscribeEvents(decoder.get(), JXL_DEC_JPEG_RECONSTRUCTION | JXL_DEC_FULL_IMAGE) != JXL_DEC_SUCCESS
        || JxlDecoderSetInput(decoder.get(), reinterpret_cast<const uint8_t *>(jxl.constData()), size_t(jxl.size()))
               != JXL_DEC_SUCCESS)
        return {};
    JxlDecoderCloseInput(decoder.get());
    bool reconstructing = false;
    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(decoder.get());
        if (status == JXL_DEC_JPEG_RECONSTRUCTION) {
            reconstructing = JxlDecoderSetJPEGBuffer(decoder.get(), reinterpret_cast<uint8_t *>(jpeg.data()),
                                                     size_t(jpeg.size()))
                             == JXL_DEC_SUCCESS;
        } else if (status == JXL_DEC_FULL_IMAGE && reconstructing) {
            jpeg.chop(qsizetype(JxlDecoderReleaseJPEGBuffer(decoder.get())));
            return jpeg;
        } else {
            return {};
        }
    }
}

QImage storedPixels(const QByteArray &jpeg)
{
    QImage image;
    image.loadFromData(jpeg, "jpeg");
    return image;
}

} // namespace

class TestJpegPassthrough : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kxtest::isolateUserData(); }
    void route_data();
    void route();
    void intoJpegXl_data();
    void intoJpegXl();
    void losslessTurn_data();
    void losslessTurn();
};

void TestJpegPassthrough::route_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QStringList>("changes"); // key=value settings
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("profile");
    QTest::addColumn<bool>("transformable");
    QTest::addColumn<int>("route");
    const int decoded = int(JpegRoute::Decoded);
    const int jxl = int(JpegRoute::IntoJpegXl);
    const int jpg = int(JpegRoute::Transformed);
    const QStringList lossless{"jxlLossless=true"};
    const QStringList keep{"jpegLossless=true"};
    QTest::newRow("jxl lossless") << "jxl" << lossless << 1 << false << true << jxl;
    QTest::newRow("jxl lossy") << "jxl" << QStringList() << 1 << false << true << decoded;
    QTest::newRow("jxl turn carried") << "jxl" << lossless << 6 << true << true << jxl;
    QTest::newRow("jxl left as stored") << "jxl" << lossless + QStringList{"ignoreOrientation=true"} << 1 << false
                                        << true << jxl;
    QTest::newRow("jxl left as stored, turned") << "jxl" << lossless + QStringList{"ignoreOrientation=true"} << 6
                                                << false << true << decoded;
    QTest::newRow("jxl CMYK") << "jxl" << lossless << 1 << false << false << decoded;
    QTest::newRow("jxl halved") << "jxl" << lossless + QStringList{"scaleImage=true", "scalePercentage=50"} << 1
                                << false << true << decoded;
    QTest::newRow("jxl scaled to its size") << "jxl" << lossless + QStringList{"scaleImage=true"} << 1 << false
                                            << true << jxl;
    QTest::newRow("jxl watermark") << "jxl" << lossless + QStringList{"textContent=(c)"} << 1 << false << true
                                   << decoded;
    QTest::newRow("jxl grey") << "jxl" << lossless + QStringList{"adjustGrayScale=1"} << 1 << false << true
                              << decoded;
    QTest::newRow("jxl no metadata") << "jxl" << lossless + QStringList{"metadata=3"} << 1 << false << true << jxl;
    QTest::newRow("jxl no metadata, profile") << "jxl" << lossless + QStringList{"metadata=3"} << 1 << true << true
                                              << decoded;
    QTest::newRow("jxl sRGB asked, profile") << "jxl" << lossless + QStringList{"colourHandling=1"} << 1 << true
                                             << true << decoded;
    QTest::newRow("jpg option off") << "jpg" << QStringList() << 6 << false << true << decoded;
    QTest::newRow("jpg turned") << "JPEG" << keep << 6 << false << true << jpg;
    QTest::newRow("jpg size limit") << "jpg" << keep + QStringList{"limitFileSize=true"} << 1 << false << true
                                    << decoded;
    QTest::newRow("png") << "png" << keep + lossless << 1 << false << true << decoded;
    // 2000 x 1000 stored, upright 1000 x 2000: the size asked is the upright one.
    const QStringList exact = keep + QStringList{"scaleImage=true", "scaleType=1", "scaleAbsoluteWitdh=1000",
                                                 "scaleAbsoluteHeight=2000"};
    QTest::newRow("jpg upright size kept") << "jpg" << exact << 6 << false << true << jpg;
    QTest::newRow("jpg stored size changed") << "jpg" << exact + QStringList{"ignoreOrientation=true"} << 6 << false
                                             << true << decoded;
}

void TestJpegPassthrough::route()
{
    QFETCH(QString, suffix);
    QFETCH(QStringList, changes);
    QFETCH(int, orientation);
    QFETCH(bool, profile);
    QFETCH(bool, transformable);
    QFETCH(int, route);
    ConversionSettings settings;
    for (const QString &change : std::as_const(changes)) {
        QString error;
        QVERIFY2(setSettingFromText(settings, change.section('=', 0, 0), change.section('=', 1), &error),
                 qPrintable(error));
    }
    const JpegSourceFacts facts{transformable, QSize(2000, 1000), orientation, profile};
    QCOMPARE(int(jpegRouteFor(settings, *formatForExtension(suffix), facts)), route);
}

void TestJpegPassthrough::intoJpegXl_data()
{
    QTest::addColumn<int>("metadata");
    QTest::addColumn<bool>("byteExact");
    QTest::addColumn<int>("orientation");
    QTest::newRow("all") << int(MetadataKeepAll) << true << 6;
    QTest::newRow("all, upright") << int(MetadataKeepAll) << true << 1;
    QTest::newRow("no location") << int(MetadataNoLocation) << false << 6;
    QTest::newRow("profile only") << int(MetadataProfileOnly) << false << 6;
}

void TestJpegPassthrough::intoJpegXl()
{
    QFETCH(int, metadata);
    QFETCH(bool, byteExact);
    QFETCH(int, orientation);
    QTemporaryDir dir;
    const QByteArray source = kxtest::jpegWithExifOrientation(jpegOf(kxtest::makePhotoLikeImage(70, 50)), orientation);
    const QString sourcePath = kxtest::writeFile(dir.filePath("photo.jpg"), source);
    ConversionSettings settings;
    settings.jxlLossless = true;
    setMetadataChoice(settings, metadata);
    QString error;
    QVERIFY2(convertImageFile(sourcePath, dir.filePath("photo.jxl"), formatForExtension("jxl"), settings, &error), qPrintable(error));

    const QByteArray jpeg = reconstructedJpeg(kxtest::readFile(dir.filePath("photo.jxl")));
    QVERIFY(!jpeg.isEmpty());
    QCOMPARE(jpeg == source, byteExact);
    QCOMPARE(kxtest::maxChannelDifference(storedPixels(jpeg), storedPixels(source)), 0);
    // The stored tag travels with the blocks kept, and the header turns the picture by it.
    const QString back = kxtest::writeFile(dir.filePath("back.jpg"), jpeg);
    QCOMPARE(readPhotoMetadata(back, QSize(70, 50), false).exif.isEmpty(), metadata == MetadataProfileOnly);
    QImageReader reader(dir.filePath("photo.jxl"));
    QCOMPARE(reader.transformation(), QImageIOHandler::Transformations(
                                          orientation == 6 ? QImageIOHandler::TransformationRotate90
                                                                 : QImageIOHandler::TransformationNone));
}

void TestJpegPassthrough::losslessTurn_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("turned");
    // 4:2:0, so blocks of 16 x 16: 70 x 50 has a partial column and row.
    const QSize whole(64, 48);
    const QSize partial(70, 50);
    const QSize sizes[] = {{64, 50}, {64, 48}, {70, 48}, {50, 70}, {48, 70}, {48, 64}, {50, 64}};
    for (int orientation = 2; orientation <= 8; ++orientation) {
        QTest::addRow("whole %d", orientation) << whole << orientation
                                               << (orientation >= 5 ? whole.transposed() : whole);
        QTest::addRow("partial %d", orientation) << partial << orientation << sizes[orientation - 2];
    }
}

void TestJpegPassthrough::losslessTurn()
{
    QFETCH(QSize, stored);
    QFETCH(int, orientation);
    QFETCH(QSize, turned);
    QTemporaryDir dir;
    const QByteArray source =
        kxtest::jpegWithExifOrientation(jpegOf(kxtest::makePhotoLikeImage(stored.width(), stored.height())),
                                        orientation);
    const QString sourcePath = kxtest::writeFile(dir.filePath("photo.jpg"), source);
    ConversionSettings settings;
    settings.jpegLossless = true;
    QString error;
    QString note;
    QVERIFY2(convertImageFile(sourcePath, dir.filePath("out.jpg"), formatForExtension("jpg"), settings, &error, &note), qPrintable(error));

    QImageReader reader(dir.filePath("out.jpg"));
    QCOMPARE(reader.transformation(), QImageIOHandler::TransformationNone);
    const QImage output = reader.read();
    QCOMPARE(output.size(), turned);
    QCOMPARE(note.isEmpty(), turned.width() + turned.height() == stored.width() + stored.height());
    // The source as Qt turns it, less the trimmed edges at the left and top.
    QImageReader sourceReader(sourcePath);
    sourceReader.setAutoTransform(true);
    const QImage upright = sourceReader.read();
    const QImage expected = upright.copy(QRect(QPoint(upright.width() - turned.width(),
                                                      upright.height() - turned.height()),
                                               turned));
    // The same blocks decode to within the rounding of a turned inverse DCT
    // and chroma upsampling, a little more along a trimmed edge; a wrong
    // turn or crop is off by 9 or more on average.
    QVERIFY(kxtest::meanChannelDifference(output, expected) < 0.5);
    if (turned.width() + turned.height() == stored.width() + stored.height())
        QVERIFY(kxtest::maxChannelDifference(output, expected) <= 3);
}

QTEST_MAIN(TestJpegPassthrough)
#include "tst_jpegpassthrough.moc"

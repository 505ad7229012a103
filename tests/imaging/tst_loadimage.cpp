// Source loading: every accepted type through the one reader road.

#include "codecfixtures.h"
#include "imagemagickutil.h"
#include "imagewriters.h"
#include "kxtest.h"

#include <gif_lib.h>

#include <QFile>
#include <QImageReader>

using namespace codecfixtures;

namespace {

QByteArray encodeSource(const QImage &image, const QString &suffix)
{
    if (suffix == "gif") {
        QTemporaryDir dir;
        const QString path = dir.filePath("fixture.gif");
        // One flat colour, so the palette holds it exactly.
        const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, QList<QRgb>{image.pixel(0, 0)});
        return writeGif(indexed, path) ? kxtest::readFile(path) : QByteArray();
    }
    const QByteArray format = suffix == "tif" ? QByteArray("tiff") : suffix.toLatin1();
    return encodeWithQt(image, format);
}

// Two flat frames, red then blue, through giflib: the program writes single frames only.
QByteArray twoFrameGif()
{
    QByteArray bytes;
    int error = 0;
    GifFileType *gif = EGifOpen(&bytes, [](GifFileType *file, const GifByteType *data, int length) {
        static_cast<QByteArray *>(file->UserData)->append(reinterpret_cast<const char *>(data), length);
        return length;
    }, &error);
    const GifColorType colours[2] = {{255, 0, 0}, {0, 0, 255}};
    ColorMapObject *map = GifMakeMapObject(2, colours);
    EGifPutScreenDesc(gif, 16, 12, 1, 0, map);
    for (const char index : {0, 1}) {
        QByteArray row(16, index);
        EGifPutImageDesc(gif, 0, 0, 16, 12, false, nullptr);
        for (int y = 0; y < 12; ++y)
            EGifPutLine(gif, reinterpret_cast<GifPixelType *>(row.data()), 16);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

} // namespace

class TestLoadImage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        return kxtest::writeFile(m_dir.filePath(name), bytes);
    }

    static QList<QString> sourceTypes()
    {
        return {"gif", "heif", "heic", "avif", "jxl", "jpg", "jpeg", "png", "tif", "tiff", "webp"};
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(m_dir.isValid());
    }

    void decodesEverySourceType_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<double>("tolerance");
        const QHash<QString, double> tolerance{{"gif", 0}, {"png", 0}, {"tif", 0}, {"tiff", 0}, {"avif", 5}, {"heic", 5}, {"heif", 5},
                                              {"jpg", 6},  {"jpeg", 6}, {"webp", 6}};
        for (const QString &suffix : sourceTypes())
            QTest::newRow(qPrintable(suffix)) << suffix << tolerance.value(suffix, 3);
    }

    void decodesEverySourceType()
    {
        QFETCH(QString, suffix);
        QFETCH(double, tolerance);
        // GIF fixtures carry one flat colour; the rest a photo-like picture.
        const QImage original = suffix == "gif" ? kxtest::makeBlocksImage(64, 48, {QColor(200, 40, 90)})
                                                : kxtest::makePhotoLikeImage(64, 48);
        const QString path = writeFile("source." + suffix, encodeSource(original, suffix));
        QVERIFY(!path.isEmpty());

        QImage loaded;
        QVERIFY(ImageMagickUtil().loadImage(path, loaded));
        QCOMPARE(loaded.size(), QSize(64, 48));
        QVERIFY2(kxtest::meanChannelDifference(loaded, original) <= tolerance,
                 qPrintable(QString::number(kxtest::meanChannelDifference(loaded, original))));
    }

    void animatedGifGivesItsFirstFrame()
    {
        const QString path = writeFile("animated.gif", twoFrameGif());
        QImageReader reader(path);
        QCOMPARE(reader.imageCount(), 2);
        QImage loaded;
        QVERIFY(ImageMagickUtil().loadImage(path, loaded));
        QCOMPARE(QColor(loaded.pixel(5, 5)), QColor(Qt::red));
    }

    // Orientation 6: stored sideways, shown a quarter turn clockwise, so the
    // stored bottom-left corner ends up top-left.
    void orientationIsApplied_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QByteArray>("bytes");
        QImage stored = kxtest::makeBlocksImage(64, 48, {Qt::blue});
        QPainter(&stored).fillRect(0, 32, 16, 16, Qt::red);
        QTest::newRow("jpg exif") << "jpg" << kxtest::jpegWithExifOrientation(encodeWithQt(stored, "jpg", 95), 6);
        QTest::newRow("heic irot") << "heic" << encodeHeif(stored, false, 6);
        QTest::newRow("avif irot") << "avif" << encodeHeif(stored, true, 6);
        QTest::newRow("jxl orientation") << "jxl" << encodeJxl(stored, 6);
    }

    void orientationIsApplied()
    {
        QFETCH(QString, suffix);
        QFETCH(QByteArray, bytes);
        const QString path = writeFile("oriented." + suffix, bytes);
        QImage loaded;
        QVERIFY(ImageMagickUtil().loadImage(path, loaded));
        QCOMPARE(loaded.size(), QSize(48, 64));
        QVERIFY(kxtest::meanChannelDifference(loaded.copy(2, 2, 10, 10), kxtest::makeBlocksImage(10, 10, {Qt::red})) <= 8);
        QVERIFY(kxtest::meanChannelDifference(loaded.copy(36, 50, 10, 10), kxtest::makeBlocksImage(10, 10, {Qt::blue}))
                <= 8);
    }

    void hugeImagesAreRefused_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QByteArray>("bytes");
        const QImage small = kxtest::makePhotoLikeImage(64, 48);
        QTest::newRow("heic") << "heic" << heifDeclaringSize(encodeWithQt(small, "heic"), 20000, 20000);
        QTest::newRow("avif") << "avif" << heifDeclaringSize(encodeWithQt(small, "avif"), 20000, 20000);
        QTest::newRow("jxl") << "jxl" << jxlHeaderDeclaringSize(20000, 20000);
    }

    void hugeImagesAreRefused()
    {
        QFETCH(QString, suffix);
        QFETCH(QByteArray, bytes);
        QVERIFY(!bytes.isEmpty());
        const QString path = writeFile("huge." + suffix, bytes);
        QCOMPARE(QImageReader(path).size(), QSize(20000, 20000));
        QImage loaded;
        QVERIFY(!ImageMagickUtil().loadImage(path, loaded));
    }

    void brokenFilesFail_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("mayGivePartialPicture");
        const QImage picture = kxtest::makePhotoLikeImage(64, 48);
        QByteArray garbage(3000, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919 + 13) % 251);
        for (const QString &suffix : sourceTypes()) {
            const QByteArray good = encodeSource(picture, suffix);
            QTest::newRow(qPrintable(suffix + " empty")) << suffix << QByteArray() << false;
            QTest::newRow(qPrintable(suffix + " garbage")) << suffix << garbage << false;
            QTest::newRow(qPrintable(suffix + " header only")) << suffix << good.left(16) << false;
            // Some decoders fill in what is missing from a cut-off file.
            QTest::newRow(qPrintable(suffix + " half")) << suffix << good.left(good.size() / 2) << true;
        }
    }

    void brokenFilesFail()
    {
        QFETCH(QString, suffix);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, mayGivePartialPicture);
        const QString path = writeFile("broken." + suffix, bytes);
        QImage loaded;
        const bool ok = ImageMagickUtil().loadImage(path, loaded);
        if (mayGivePartialPicture)
            QVERIFY(!ok || loaded.size() == QSize(64, 48));
        else
            QVERIFY(!ok);
    }

    // Phones save HEIC photos as .jpg; the content picks the decoder, whatever the name says.
    void misnamedFilesLoadByContent_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("heic as jpg") << "photo.jpg" << QByteArray("heic");
        QTest::newRow("png as jpg") << "image.jpg" << QByteArray("png");
        QTest::newRow("jxl as png") << "image.png" << QByteArray("jxl");
        QTest::newRow("webp as heic") << "image.heic" << QByteArray("webp");
        QTest::newRow("avif as heic") << "avif.heic" << QByteArray("avif");
        QTest::newRow("heic as bin") << "photo.bin" << QByteArray("heic");
        QTest::newRow("avif without suffix") << "photo" << QByteArray("avif");
        QTest::newRow("jxl as dat") << "photo.dat" << QByteArray("jxl");
    }

    void misnamedFilesLoadByContent()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, format);
        const QString path = writeFile(fileName, encodeWithQt(kxtest::makePhotoLikeImage(64, 48), format));
        QCOMPARE(QImageReader(path).format(), format);
        QImage loaded;
        QVERIFY(ImageMagickUtil().loadImage(path, loaded));
        QCOMPARE(loaded.size(), QSize(64, 48));
    }

    void notARegularFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("folder") << m_dir.path();
        QTest::newRow("missing") << m_dir.filePath("missing.png");
        QTest::newRow("dangling link") << m_dir.filePath("dangling.png");
    }

    void notARegularFile()
    {
        QFETCH(QString, path);
        QFile::link(m_dir.filePath("nowhere.png"), m_dir.filePath("dangling.png"));
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::green);
        const QImage before = image;
        QVERIFY(!ImageMagickUtil().loadImage(path, image));
        QCOMPARE(image, before);
    }
};

QTEST_GUILESS_MAIN(TestLoadImage)
#include "tst_loadimage.moc"

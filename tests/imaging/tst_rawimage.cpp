// Camera RAW sources: a colour-filter-array DNG written here through libtiff
// goes through the loader's road and LibRaw.

#include "formattable.h"
#include "imagemagickutil.h"
#include "kxtest.h"
#include "photometadata.h"
#include "sourceframes.h"

#include <QImageReader>

#include <tiffio.h>

namespace {

constexpr int storedWidth = 64;
constexpr int storedHeight = 48;

// Bands across the sensor's width, stored under orientation 6 (turned a
// quarter clockwise to show), so the upright picture has them from the top.
constexpr int greyFrom = 24;
constexpr int blueFrom = 40;
// How the camera saw white: its red and blue sites read less than green.
constexpr float neutral[3] = {0.5f, 1.0f, 0.7f};

// The camera's small rendering of the same bands, as 8-bit RGB.
constexpr int previewWidth = 16;
constexpr int previewHeight = 12;

void setMosaicFields(TIFF *tiff)
{
    const uint16_t repeat[2] = {2, 2};
    const uint8_t rggb[4] = {0, 1, 1, 2};
    TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, 0);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, storedWidth);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, storedHeight);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_CFA);
    TIFFSetField(tiff, TIFFTAG_CFAREPEATPATTERNDIM, repeat);
    TIFFSetField(tiff, TIFFTAG_CFAPATTERN, 4, rggb);
}

// A 16-bit RGGB mosaic in sensor orientation: red, grey and blue bands. The
// colour matrix is sRGB's, so the camera's colours are sRGB's once white
// balanced. With a preview, the first directory holds it and the mosaic is
// its sub-directory, as cameras write them. Some cameras chain a thumbnail's
// directory after the mosaic's instead (ThumbnailAfter).
enum class Preview { None, Bitmap, Jpeg, ThumbnailAfter };

bool writeDng(const QString &path, Preview preview)
{
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!tiff)
        return false;
    const uint8_t version[4] = {1, 4, 0, 0};
    const float xyzToCamera[9] = {3.2406f, -1.5372f, -0.4986f, -0.9689f, 1.8758f, 0.0415f, 0.0557f, -0.2040f, 1.0570f};
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_RIGHTTOP);
    TIFFSetField(tiff, TIFFTAG_MAKE, "Kestrix");
    TIFFSetField(tiff, TIFFTAG_MODEL, "Test Mosaic");
    TIFFSetField(tiff, TIFFTAG_DNGVERSION, version);
    TIFFSetField(tiff, TIFFTAG_UNIQUECAMERAMODEL, "Kestrix Test Mosaic");
    TIFFSetField(tiff, TIFFTAG_COLORMATRIX1, 9, xyzToCamera);
    TIFFSetField(tiff, TIFFTAG_CALIBRATIONILLUMINANT1, 21); // D65
    TIFFSetField(tiff, TIFFTAG_ASSHOTNEUTRAL, 3, neutral);
    bool written = true;
    if (preview == Preview::Bitmap || preview == Preview::Jpeg) {
        uint64_t subIfd[1] = {0};
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_REDUCEDIMAGE);
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, previewWidth);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, previewHeight);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tiff, TIFFTAG_SUBIFD, 1, subIfd);
        if (preview == Preview::Jpeg) {
            // Tables in the strip: the strip alone is a whole JPEG file.
            TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
            TIFFSetField(tiff, TIFFTAG_JPEGTABLESMODE, 0);
            TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, previewHeight);
        }
        for (int y = 0; y < previewHeight && written; ++y) {
            uint8_t row[previewWidth * 3];
            for (int x = 0; x < previewWidth; ++x) {
                const int sensorX = x * storedWidth / previewWidth;
                const QColor colour = sensorX < greyFrom ? QColor(230, 20, 20)
                                      : sensorX < blueFrom ? QColor(200, 200, 200)
                                                           : QColor(20, 20, 230);
                row[3 * x] = uint8_t(colour.red());
                row[3 * x + 1] = uint8_t(colour.green());
                row[3 * x + 2] = uint8_t(colour.blue());
            }
            written = TIFFWriteScanline(tiff, row, uint32_t(y)) == 1;
        }
        written = written && TIFFWriteDirectory(tiff);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    }
    setMosaicFields(tiff);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, storedHeight);
    for (int y = 0; y < storedHeight && written; ++y) {
        uint16_t row[storedWidth];
        for (int x = 0; x < storedWidth; ++x) {
            const int site = (y % 2) * 2 + x % 2; // 0 red, 1 and 2 green, 3 blue
            const int colour = site == 0 ? 0 : site == 3 ? 2 : 1;
            const bool lit = x < greyFrom ? colour == 0 : x < blueFrom || colour == 2;
            row[x] = uint16_t((lit ? 30000 : 300) * neutral[colour]);
        }
        written = TIFFWriteScanline(tiff, row, uint32_t(y)) == 1;
    }
    if (preview == Preview::ThumbnailAfter && written) {
        written = TIFFWriteDirectory(tiff);
        const uint8_t row[4 * 3] = {};
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_REDUCEDIMAGE);
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 4);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 4);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        for (uint32_t y = 0; y < 4 && written; ++y)
            written = TIFFWriteScanline(tiff, const_cast<uint8_t *>(row), y) == 1;
    }
    TIFFClose(tiff);
    return written;
}

QColor meanColour(const QImage &image, const QRect &area)
{
    double r = 0, g = 0, b = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            r += c.redF();
            g += c.greenF();
            b += c.blueF();
        }
    }
    const double n = double(area.width()) * area.height();
    return QColor::fromRgbF(float(r / n), float(g / n), float(b / n));
}

} // namespace

Q_DECLARE_METATYPE(Preview)

class TestRawImage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    void developsUpright_data()
    {
        QTest::addColumn<Preview>("preview");
        QTest::addColumn<int>("rawPictures");
        QTest::addColumn<QSize>("upright");
        QTest::addColumn<QImage::Format>("format");
        const QSize full(storedHeight, storedWidth);
        for (const Preview preview : {Preview::None, Preview::Jpeg}) {
            const char *file = preview == Preview::None ? "mosaic only" : "with preview";
            QTest::addRow("%s, full quality", file) << preview << int(RawFullQuality) << full << QImage::Format_RGBX64;
            QTest::addRow("%s, half size", file) << preview << int(RawHalfSize) << full / 2 << QImage::Format_RGBX64;
        }
        const QSize preview(previewHeight, previewWidth);
        QTest::newRow("JPEG preview") << Preview::Jpeg << int(RawEmbeddedPreview) << preview << QImage::Format_RGB32;
        QTest::newRow("bitmap preview") << Preview::Bitmap << int(RawEmbeddedPreview) << preview << QImage::Format_RGB888;
        // Without one, half size is the fast way.
        QTest::newRow("no preview to embed") << Preview::None << int(RawEmbeddedPreview) << full / 2
                                             << QImage::Format_RGBX64;
        // One picture, not two pages, for all its directories.
        QTest::newRow("thumbnail directory after the mosaic")
            << Preview::ThumbnailAfter << int(RawFullQuality) << full << QImage::Format_RGBX64;
    }

    void developsUpright()
    {
        QFETCH(Preview, preview);
        QFETCH(int, rawPictures);
        QFETCH(QSize, upright);
        QFETCH(QImage::Format, format);
        const QString path = m_dir.filePath("mosaic.dng");
        QVERIFY(writeDng(path, preview));
        QCOMPARE(uprightImageSize(path, defaultPdfSourceDpi, rawPictures), upright);
        QCOMPARE(sourcePageCount(path), 1);
        QImage loaded;
        QString reason;
        QVERIFY2(ImageMagickUtil().loadImage(path, loaded, &reason, nullptr, Rendering{QSize(), defaultPdfSourceDpi, rawPictures}), qPrintable(reason));
        QCOMPARE(loaded.size(), upright);
        QCOMPARE(loaded.format(), format);
        // Inside each band, away from the seams where demosaicing mixes them.
        const int w = upright.width();
        const int scale = storedWidth / upright.height();
        const auto band = [&](int from, int to) {
            return meanColour(loaded, QRect(w / 4, (from + 4) / scale, w / 2, (to - from - 8) / scale));
        };
        const QColor red = band(0, greyFrom), grey = band(greyFrom, blueFrom), blue = band(blueFrom, storedWidth);
        QVERIFY2(red.redF() > 0.6 && red.greenF() < 0.3 && red.blueF() < 0.3, qPrintable(red.name()));
        QVERIFY2(blue.blueF() > 0.6 && blue.redF() < 0.3 && blue.greenF() < 0.3, qPrintable(blue.name()));
        // The camera's white balance: grey stays grey.
        QVERIFY2(grey.greenF() > 0.6 && qAbs(grey.redF() - grey.greenF()) < 0.05 && qAbs(grey.blueF() - grey.greenF()) < 0.05,
                 qPrintable(grey.name()));
    }

    // Every RAW type the format table lists (and the loader develops whole)
    // has the RAW reader behind it.
    void everyListedTypeIsRead()
    {
        const QList<QByteArray> readable = QImageReader::supportedImageFormats();
        for (const QString &extension : formatForExtension("dng")->extensions)
            QVERIFY2(readable.contains(extension.toLatin1()), qPrintable(extension));
    }

    // A file cut short is refused, never developed with a part missing.
    void cutShortIsRefused()
    {
        const QString path = m_dir.filePath("cut.dng");
        QVERIFY(writeDng(path, Preview::None));
        QFile file(path);
        QVERIFY(file.resize(file.size() * 2 / 3));
        QImage loaded;
        QString reason;
        QVERIFY(!ImageMagickUtil().loadImage(path, loaded, &reason));
        QVERIFY(!reason.isEmpty());
    }

    // The file list's icons ask for a scaled picture, in stored orientation.
    void scaledRead()
    {
        const QString path = m_dir.filePath("icon.dng");
        QVERIFY(writeDng(path, Preview::None));
        QImageReader reader(path);
        reader.setAutoTransform(false);
        reader.setScaledSize(QSize(16, 12));
        const QImage icon = reader.read();
        QCOMPARE(icon.size(), QSize(16, 12));
        const QColor left = meanColour(icon, QRect(1, 2, 3, 8)), right = meanColour(icon, QRect(12, 2, 3, 8));
        QVERIFY2(left.redF() > 0.6 && left.blueF() < 0.3, qPrintable(left.name()));
        QVERIFY2(right.blueF() > 0.6 && right.redF() < 0.3, qPrintable(right.name()));
    }

    // The file's own EXIF goes with the developed picture, upright.
    void exifIsRead()
    {
        const QString path = m_dir.filePath("tagged.dng");
        QVERIFY(writeDng(path, Preview::Bitmap));
        const QByteArray exif = readPhotoMetadata(path, QSize(storedHeight, storedWidth), false).exif;
        QVERIFY(exif.contains("Test Mosaic"));
    }
};

QTEST_GUILESS_MAIN(TestRawImage)
#include "tst_rawimage.moc"

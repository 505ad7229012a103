// TIFF layouts through the libtiff decoder, on fixtures written with libtiff.

#include "kxtest.h"
#include "tiffdecoder.h"

#include <QColorSpace>

#include <tiffio.h>

#include <climits>
#include <cstring>

namespace {

using Tags = std::function<void(TIFF *)>;

// Writes the samples, interleaved or plane after plane when the tags make
// them separate, in strips or in tiles when the tags set a tile size. Whole
// bytes go in host order, narrower samples packed from the high bit down.
bool writeTiff(const QString &path, QSize size, int bits, int samples, int photometric, const QList<qint64> &values,
               const Tags &tags)
{
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, size.width());
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, size.height());
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (tags)
        tags(tiff);
    uint16_t planar = PLANARCONFIG_CONTIG;
    TIFFGetField(tiff, TIFFTAG_PLANARCONFIG, &planar);
    const int planes = planar == PLANARCONFIG_SEPARATE ? samples : 1;
    const int perRow = size.width() * samples / planes;
    const int rowBytes = (perRow * bits + 7) / 8;
    QByteArray data(rowBytes * size.height() * planes, '\0');
    for (int i = 0; i < values.size(); ++i) {
        const quint64 value = quint64(values[i]);
        char *row = data.data() + i / perRow * rowBytes;
        const int at = i % perRow;
        if (bits % 8 == 0)
            std::memcpy(row + at * bits / 8, &value, bits / 8); // little-endian host
        else
            for (int b = at * bits; b < (at + 1) * bits; ++b)
                row[b / 8] = char(row[b / 8] | (value >> ((at + 1) * bits - 1 - b) & 1) << (7 - b % 8));
    }
    bool ok = true;
    uint32_t tileWidth = 0, tileHeight = 0;
    if (TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth) && TIFFGetField(tiff, TIFFTAG_TILELENGTH, &tileHeight)) {
        const int pixelBytes = samples * bits / 8;
        for (int y = 0; y < size.height(); y += tileHeight)
            for (int x = 0; x < size.width(); x += tileWidth) {
                QByteArray tile(TIFFTileSize(tiff), '\0');
                for (int r = 0; r < int(tileHeight) && y + r < size.height(); ++r)
                    std::memcpy(tile.data() + r * tileWidth * pixelBytes, data.constData() + (y + r) * rowBytes + x * pixelBytes,
                                qMin(int(tileWidth), size.width() - x) * pixelBytes);
                ok = ok && TIFFWriteTile(tiff, tile.data(), x, y, 0, 0) >= 0;
            }
    } else {
        for (int row = 0; row < size.height() * planes; ++row)
            ok = ok && TIFFWriteScanline(tiff, data.data() + row * rowBytes, row % size.height(), row / size.height()) >= 0;
    }
    TIFFClose(tiff);
    return ok;
}

// The expected picture from its channels as the format stores them: grey,
// red green blue for RGB32, and with alpha for the 64-bit formats.
QImage expect(int width, QImage::Format format, const QList<qint64> &values)
{
    const bool grey = format == QImage::Format_Grayscale8 || format == QImage::Format_Grayscale16;
    const int channels = grey ? 1 : format == QImage::Format_RGB32 ? 3 : 4;
    QImage image(width, int(values.size()) / channels / width, format);
    for (int i = 0; i < values.size() / channels; ++i) {
        const qint64 *v = values.constData() + i * channels;
        uchar *line = image.scanLine(i / width);
        if (format == QImage::Format_Grayscale8)
            line[i % width] = uchar(v[0]);
        else if (grey)
            reinterpret_cast<quint16 *>(line)[i % width] = quint16(v[0]);
        else if (channels == 3)
            reinterpret_cast<QRgb *>(line)[i % width] = qRgb(int(v[0]), int(v[1]), int(v[2]));
        else
            reinterpret_cast<QRgba64 *>(line)[i % width] = QRgba64::fromRgba64(v[0], v[1], v[2], v[3]);
    }
    return image;
}

qint64 floatBits(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

} // namespace

class TestTiffDecoder : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    // The decoded pixels against the samples written; a null expectation
    // means the file is refused for the reason given.
    void decodes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QImage>("expected");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("tolerance"); // in 16-bit steps
        QTest::addColumn<QString>("reason");
        int count = 0;
        const auto row = [&](const char *name, QSize size, int bits, int samples, int photometric, const QList<qint64> &values,
                             const Tags &tags, const QImage &expected, int tolerance, int orientation = 1,
                             const QString &reason = QString()) {
            const QString path = m_dir.filePath(QString::number(++count) + ".tif");
            QVERIFY(writeTiff(path, size, bits, samples, photometric, values, tags));
            QTest::newRow(name) << path << expected << orientation << tolerance << reason;
        };
        const auto sample = [](int c, int x, int y) { return qint64((c * 20011 + x * 9001 + y * 3001) % 65536); };

        // Planes one after the other, in two strips each.
        QList<qint64> planar, planarPixels;
        for (int i = 0; i < 4 * 15; ++i) {
            planar << sample(i / 15, i % 5, i % 15 / 5);
            planarPixels << (i % 4 == 3 ? 65535 : sample(i % 4, i / 4 % 5, i / 20));
        }
        planar.resize(3 * 15);
        row("16-bit planar RGB strips", QSize(5, 3), 16, 3, PHOTOMETRIC_RGB, planar, [](TIFF *t) {
            TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE);
            TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 2);
        }, expect(5, QImage::Format_RGBX64, planarPixels), 0);

        // 20 x 18 in 16 x 16 tiles: the right and bottom tiles are partly outside.
        QList<qint64> tiled;
        for (int i = 0; i < 4 * 20 * 18; ++i)
            tiled << sample(i % 4, i / 4 % 20, i / 80);
        row("16-bit tiled RGBA", QSize(20, 18), 16, 4, PHOTOMETRIC_RGB, tiled, [](TIFF *t) {
            const uint16_t alpha = EXTRASAMPLE_UNASSALPHA;
            TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &alpha);
            TIFFSetField(t, TIFFTAG_TILEWIDTH, 16);
            TIFFSetField(t, TIFFTAG_TILELENGTH, 16);
        }, expect(20, QImage::Format_RGBA64, tiled), 0);

        QList<qint64> greyAlpha, greyAlphaPixels;
        for (int i = 0; i < 6; ++i) {
            greyAlpha << sample(0, i, 0) << sample(3, i, 0);
            greyAlphaPixels << sample(0, i, 0) << sample(0, i, 0) << sample(0, i, 0) << sample(3, i, 0);
        }
        row("16-bit grey and alpha", QSize(3, 2), 16, 2, PHOTOMETRIC_MINISBLACK, greyAlpha, [](TIFF *t) {
            const uint16_t alpha = EXTRASAMPLE_UNASSALPHA;
            TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &alpha);
        }, expect(3, QImage::Format_RGBA64, greyAlphaPixels), 0);

        // White, black, L* 50 and the sRGB primaries red and blue in D50 L*a*b*.
        QImage lab = expect(5, QImage::Format_RGB32, {255, 255, 255, 0, 0, 0, 119, 119, 119, 255, 0, 0, 0, 0, 255});
        lab.setColorSpace(QColorSpace::SRgb);
        row("8-bit CIELab", QSize(5, 1), 8, 3, PHOTOMETRIC_CIELAB, {255, 0, 0, 0, 0, 0, 128, 0, 0, 138, 81, 70, 75, 68, -112 & 0xff},
            {}, lab, 257);

        const QList<qint64> twelve = {0, 4095, 2048, 1, 100, 4000, 3000, 7};
        QList<qint64> twelveScaled;
        for (const qint64 v : twelve)
            twelveScaled << std::lround(v * 65535.0 / 4095.0);
        row("12-bit grey", QSize(4, 2), 12, 1, PHOTOMETRIC_MINISBLACK, twelve, {}, expect(4, QImage::Format_Grayscale16, twelveScaled), 1);

        // White, cyan, black, red, half black.
        row("16-bit CMYK", QSize(5, 1), 16, 4, PHOTOMETRIC_SEPARATED,
            {0, 0, 0, 0, 65535, 0, 0, 0, 0, 0, 0, 65535, 0, 65535, 65535, 0, 0, 0, 0, 32768}, {},
            expect(5, QImage::Format_RGBX64, {65535, 65535, 65535, 65535, 0, 65535, 65535, 65535, 0, 0, 0, 65535,
                                              65535, 0, 0, 65535, 32767, 32767, 32767, 65535}), 2);

        // Floating point is 0..1, clipped outside.
        row("32-bit float grey", QSize(6, 1), 32, 1, PHOTOMETRIC_MINISBLACK,
            {floatBits(0), floatBits(0.25), floatBits(0.5), floatBits(1), floatBits(2), floatBits(-1)},
            [](TIFF *t) { TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP); },
            expect(6, QImage::Format_Grayscale16, {0, 16384, 32768, 65535, 65535, 0}), 1);

        // Signed samples are shifted: the lowest is black, zero mid-grey.
        row("32-bit signed grey", QSize(4, 1), 32, 1, PHOTOMETRIC_MINISBLACK, {INT_MIN, -1, 0, INT_MAX},
            [](TIFF *t) { TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_INT); },
            expect(4, QImage::Format_Grayscale16, {0, 32767, 32768, 65535}), 1);

        QList<qint64> fax, faxPixels;
        for (int i = 0; i < 11 * 5; ++i) {
            fax << ((i % 11) * (i / 11 + 1) % 3 == 0);
            faxPixels << (fax.last() ? 0 : 255);
        }
        row("1-bit G4 min-is-white", QSize(11, 5), 1, 1, PHOTOMETRIC_MINISWHITE, fax,
            [](TIFF *t) { TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4); },
            expect(11, QImage::Format_Grayscale8, faxPixels), 0);

        // Through libtiff's RGBA interface; one flat colour in each JPEG block.
        QList<qint64> ycbcr;
        for (int i = 0; i < 32 * 16; ++i)
            ycbcr << (i % 32 < 16 ? 200 : 20) << 100 << (i % 32 < 16 ? 40 : 180);
        row("8-bit YCbCr JPEG", QSize(32, 16), 8, 3, PHOTOMETRIC_YCBCR, ycbcr, [](TIFF *t) {
            TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
            TIFFSetField(t, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
            TIFFSetField(t, TIFFTAG_YCBCRSUBSAMPLING, 1, 1);
            TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 16);
        }, expect(32, QImage::Format_RGB32, ycbcr), 3 * 257);

        // The pixels stay as stored; the loader turns them.
        const QList<qint64> corner = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9, 99, 99, 99, 200, 200, 200};
        for (int orientation = 2; orientation <= 8; ++orientation)
            row(qPrintable(QString("orientation %1").arg(orientation)), QSize(3, 2), 8, 3, PHOTOMETRIC_RGB, corner,
                [orientation](TIFF *t) { TIFFSetField(t, TIFFTAG_ORIENTATION, orientation); },
                expect(3, QImage::Format_RGB32, corner), 0, orientation);

        row("70000 pixels wide", QSize(70000, 2), 1, 1, PHOTOMETRIC_MINISBLACK, QList<qint64>(140000, 0), {}, QImage(), 0, 1,
            "the picture size 70000 x 2 is too large");
        row("32-bit complex grey", QSize(2, 1), 32, 1, PHOTOMETRIC_MINISBLACK, {1, 2},
            [](TIFF *t) { TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_COMPLEXINT); }, QImage(), 0, 1,
            "32-bit complex grey TIFF is not supported");
        // The last orientation fixture with its strip past the end, as in a file cut short.
        QByteArray cut = kxtest::readFile(m_dir.filePath(QString::number(count - 2) + ".tif"));
        const quint32 directory = qFromLittleEndian<quint32>(cut.constData() + 4);
        for (int i = 0; i < qFromLittleEndian<quint16>(cut.constData() + directory); ++i) {
            char *entry = cut.data() + directory + 2 + 12 * i;
            if (qFromLittleEndian<quint16>(entry) == TIFFTAG_STRIPOFFSETS)
                qToLittleEndian<quint32>(quint32(cut.size() - 4), entry + 8);
        }
        QTest::newRow("truncated") << kxtest::writeFile(m_dir.filePath("cut.tif"), cut) << QImage() << 1 << 0
                                   << QString("damaged or truncated");
    }

    void decodes()
    {
        QFETCH(QString, path);
        QFETCH(QImage, expected);
        QFETCH(int, orientation);
        QFETCH(int, tolerance);
        QFETCH(QString, reason);
        QImage decoded;
        int decodedOrientation = 0;
        QString why;
        QCOMPARE(decodeTiffFile(path, &decoded, &decodedOrientation, &why), !expected.isNull());
        QVERIFY2(why.contains(reason), qPrintable(why));
        if (expected.isNull())
            return;
        QVERIFY(why.isEmpty());
        QCOMPARE(decodedOrientation, orientation);
        QCOMPARE(decoded.format(), expected.format());
        if (expected.colorSpace().isValid())
            QCOMPARE(decoded.colorSpace(), expected.colorSpace());
        QCOMPARE(decoded.size(), expected.size());
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x) {
                const QRgba64 a = decoded.pixelColor(x, y).rgba64();
                const QRgba64 b = expected.pixelColor(x, y).rgba64();
                const int worst = qMax(qMax(qAbs(a.red() - b.red()), qAbs(a.green() - b.green())),
                                       qMax(qAbs(a.blue() - b.blue()), qAbs(a.alpha() - b.alpha())));
                QVERIFY2(worst <= tolerance, qPrintable(QString("(%1, %2) off by %3").arg(x).arg(y).arg(worst)));
            }
    }

    // The pages of a file asked in any order and again, each its own
    // picture; a file written anew is read anew.
    void pagesInAnyOrder()
    {
        const QString path = m_dir.filePath("pages.tif");
        const auto writePages = [&path](const QList<int> &widths) {
            TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
            for (const int width : widths) {
                TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
                TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 1);
                TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
                TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
                const QByteArray row(width, char(width));
                TIFFWriteScanline(tiff, const_cast<char *>(row.constData()), 0);
                TIFFWriteDirectory(tiff);
            }
            TIFFClose(tiff);
        };
        const auto widthOf = [&path](int page) {
            QImage decoded;
            int orientation = 0;
            QString why;
            return decodeTiffFile(path, &decoded, &orientation, &why, QSize(), page) ? decoded.width() : 0;
        };
        writePages({10, 11, 12, 13, 14});
        QCOMPARE(tiffPageCount(path), 5);
        for (const int page : {0, 2, 1, 4, 3, 3, 0, 1})
            QCOMPARE(widthOf(page), 10 + page);
        QCOMPARE(widthOf(5), 0);
        writePages({20, 21, 22});
        QCOMPARE(widthOf(1), 21);
        QCOMPARE(widthOf(3), 0);
    }
};

QTEST_GUILESS_MAIN(TestTiffDecoder)
#include "tst_tiffdecoder.moc"

// TIFF layouts through the libtiff decoder, on fixtures written with libtiff.

#include "kxtest.h"
#include "tiffdecoder.h"

#include <QColorSpace>

#include <tiffio.h>

#include <climits>
#include <cstring>

namespace {

using Tags = std::function<void(TIFF *)>;

// Samples row by row as libtiff takes them: whole bytes in host order,
// narrower samples packed from the high bit down, each row padded to a byte.
QByteArray pack(const QList<qint64> &values, int perRow, int bits)
{
    QByteArray bytes;
    for (int start = 0; start < values.size(); start += perRow) {
        QByteArray row((perRow * bits + 7) / 8, '\0');
        for (int i = 0; i < perRow; ++i) {
            const quint64 value = quint64(values[start + i]);
            if (bits % 8 == 0)
                std::memcpy(row.data() + i * bits / 8, &value, bits / 8); // little-endian host
            else
                for (int b = 0; b < bits; ++b)
                    if (value >> (bits - 1 - b) & 1)
                        row[(i * bits + b) / 8] = char(row[(i * bits + b) / 8] | 0x80 >> ((i * bits + b) % 8));
        }
        bytes += row;
    }
    return bytes;
}

quint32 floatBits(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

// Writes the samples (interleaved, or plane after plane when the tags make
// them separate) in strips, or in tiles when the tags set a tile size.
bool writeTiff(const QString &path, int width, int height, int bits, int samples, int photometric,
               const QList<qint64> &values, const Tags &tags)
{
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (tags)
        tags(tiff);
    uint16_t planar = PLANARCONFIG_CONTIG;
    TIFFGetField(tiff, TIFFTAG_PLANARCONFIG, &planar);
    const int planes = planar == PLANARCONFIG_SEPARATE ? samples : 1;
    const QByteArray data = pack(values, planes > 1 ? width : width * samples, bits);
    const tmsize_t rowBytes = data.size() / height / planes;
    bool ok = true;
    if (TIFFIsTiled(tiff)) {
        uint32_t tileWidth = 0, tileHeight = 0;
        TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth);
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &tileHeight);
        const int pixelBytes = samples * bits / 8;
        QByteArray tile(TIFFTileSize(tiff), '\0');
        for (uint32_t y = 0; y < uint32_t(height); y += tileHeight)
            for (uint32_t x = 0; x < uint32_t(width); x += tileWidth) {
                tile.fill('\0');
                for (uint32_t r = 0; r < tileHeight && y + r < uint32_t(height); ++r)
                    std::memcpy(tile.data() + r * tileWidth * pixelBytes, data.constData() + (y + r) * rowBytes + x * pixelBytes,
                                qMin(tileWidth, width - x) * pixelBytes);
                ok = ok && TIFFWriteTile(tiff, tile.data(), x, y, 0, 0) >= 0;
            }
    } else {
        for (int plane = 0; plane < planes; ++plane)
            for (int y = 0; y < height; ++y)
                ok = ok && TIFFWriteScanline(tiff, const_cast<char *>(data.constData()) + (plane * height + y) * rowBytes, y, plane) >= 0;
    }
    TIFFClose(tiff);
    return ok;
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
        const auto row = [&](const char *name, int width, int height, int bits, int samples, int photometric,
                             const QList<qint64> &values, const Tags &tags, const QImage &expected, int tolerance,
                             int orientation = 1, const QString &reason = QString()) {
            const QString path = m_dir.filePath(QString::number(++count) + ".tif");
            QVERIFY(writeTiff(path, width, height, bits, samples, photometric, values, tags));
            QTest::newRow(name) << path << expected << orientation << tolerance << reason;
        };
        const auto image = [](int width, int height, QImage::Format format, const QList<QRgba64> &pixels) {
            QImage result(width, height, format);
            for (int i = 0; i < pixels.size(); ++i) {
                // Qt would take grey through 8 bits.
                if (format == QImage::Format_Grayscale16)
                    reinterpret_cast<quint16 *>(result.scanLine(i / width))[i % width] = pixels[i].red();
                else
                    result.setPixelColor(i % width, i / width, QColor::fromRgba64(pixels[i]));
            }
            return result;
        };
        const auto grey16 = [](quint16 v) { return QRgba64::fromRgba64(v, v, v, 0xffff); };
        const auto rgb8 = [](int r, int g, int b) { return QRgba64::fromArgb32(qRgb(r, g, b)); };

        // Planes written one after the other, two strips each.
        QList<qint64> planar;
        QList<QRgba64> planarPixels;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                planarPixels << QRgba64::fromRgba64(x * 16000 + y, y * 30000 + x * 7, 65535 - x * 9000 - y * 11, 0xffff);
        for (int c = 0; c < 3; ++c)
            for (const QRgba64 &p : planarPixels)
                planar << (c == 0 ? p.red() : c == 1 ? p.green() : p.blue());
        row("16-bit planar RGB strips", 5, 3, 16, 3, PHOTOMETRIC_RGB, planar, [](TIFF *t) {
            TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE);
            TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 2);
        }, image(5, 3, QImage::Format_RGBX64, planarPixels), 0);

        // 20 x 18 in 16 x 16 tiles: the right and bottom tiles are partly outside.
        QList<qint64> tiled;
        QList<QRgba64> tiledPixels;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 20; ++x) {
                tiledPixels << QRgba64::fromRgba64(x * 3000, y * 3500, (x + y) * 1500, 65535 - x * 1000 - y * 500);
                tiled << tiledPixels.last().red() << tiledPixels.last().green() << tiledPixels.last().blue() << tiledPixels.last().alpha();
            }
        row("16-bit tiled RGBA", 20, 18, 16, 4, PHOTOMETRIC_RGB, tiled, [](TIFF *t) {
            const uint16_t alpha = EXTRASAMPLE_UNASSALPHA;
            TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &alpha);
            TIFFSetField(t, TIFFTAG_TILEWIDTH, 16);
            TIFFSetField(t, TIFFTAG_TILELENGTH, 16);
        }, image(20, 18, QImage::Format_RGBA64, tiledPixels), 0);

        // White, black, L* 50 and the sRGB primaries red and blue in D50 L*a*b*.
        QImage lab = image(5, 1, QImage::Format_RGB32, {rgb8(255, 255, 255), rgb8(0, 0, 0), rgb8(119, 119, 119), rgb8(255, 0, 0), rgb8(0, 0, 255)});
        lab.setColorSpace(QColorSpace::SRgb);
        row("8-bit CIELab", 5, 1, 8, 3, PHOTOMETRIC_CIELAB, {255, 0, 0, 0, 0, 0, 128, 0, 0, 138, 81, 70, 75, 68, -112 & 0xff}, {}, lab, 257);

        const QList<qint64> twelve = {0, 4095, 2048, 1, 100, 4000, 3000, 7};
        QList<QRgba64> twelvePixels;
        for (const qint64 v : twelve)
            twelvePixels << grey16(quint16(std::lround(v * 65535.0 / 4095.0)));
        row("12-bit grey", 4, 2, 12, 1, PHOTOMETRIC_MINISBLACK, twelve, {}, image(4, 2, QImage::Format_Grayscale16, twelvePixels), 1);

        // White, cyan, black, red, half black.
        row("16-bit CMYK", 5, 1, 16, 4, PHOTOMETRIC_SEPARATED,
            {0, 0, 0, 0, 65535, 0, 0, 0, 0, 0, 0, 65535, 0, 65535, 65535, 0, 0, 0, 0, 32768}, {},
            image(5, 1, QImage::Format_RGBX64, {grey16(65535), QRgba64::fromRgba64(0, 65535, 65535, 65535), grey16(0),
                                                QRgba64::fromRgba64(65535, 0, 0, 65535), grey16(32767)}), 2);

        // Floating point is 0..1, clipped outside.
        row("32-bit float grey", 6, 1, 32, 1, PHOTOMETRIC_MINISBLACK,
            {floatBits(0), floatBits(0.25), floatBits(0.5), floatBits(1), floatBits(2), floatBits(-1)},
            [](TIFF *t) { TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP); },
            image(6, 1, QImage::Format_Grayscale16, {grey16(0), grey16(16384), grey16(32768), grey16(65535), grey16(65535), grey16(0)}), 1);

        // Signed samples are shifted: the lowest is black, zero mid-grey.
        row("32-bit signed grey", 4, 1, 32, 1, PHOTOMETRIC_MINISBLACK, {INT_MIN, -1, 0, INT_MAX},
            [](TIFF *t) { TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_INT); },
            image(4, 1, QImage::Format_Grayscale16, {grey16(0), grey16(32767), grey16(32768), grey16(65535)}), 1);

        QList<qint64> fax;
        QList<QRgba64> faxPixels;
        for (int i = 0; i < 11 * 5; ++i) {
            fax << ((i % 11) * (i / 11 + 1) % 3 == 0);
            faxPixels << grey16(fax.last() ? 0 : 65535);
        }
        row("1-bit G4 min-is-white", 11, 5, 1, 1, PHOTOMETRIC_MINISWHITE, fax,
            [](TIFF *t) { TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4); },
            image(11, 5, QImage::Format_Grayscale8, faxPixels), 0);

        // Through libtiff's RGBA interface; one flat colour in each JPEG block.
        QList<qint64> ycbcr;
        QList<QRgba64> ycbcrPixels;
        for (int i = 0; i < 32 * 16; ++i) {
            ycbcr << (i % 32 < 16 ? 200 : 20) << 100 << (i % 32 < 16 ? 40 : 180);
            ycbcrPixels << rgb8(i % 32 < 16 ? 200 : 20, 100, i % 32 < 16 ? 40 : 180);
        }
        row("8-bit YCbCr JPEG", 32, 16, 8, 3, PHOTOMETRIC_YCBCR, ycbcr, [](TIFF *t) {
            TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
            TIFFSetField(t, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
            TIFFSetField(t, TIFFTAG_YCBCRSUBSAMPLING, 1, 1);
            TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 16);
        }, image(32, 16, QImage::Format_RGB32, ycbcrPixels), 3 * 257);

        // The pixels stay as stored; the loader turns them.
        const QList<qint64> corner = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9, 99, 99, 99, 200, 200, 200};
        const QImage stored = image(3, 2, QImage::Format_RGB32, {rgb8(255, 0, 0), rgb8(0, 255, 0), rgb8(0, 0, 255),
                                                                  rgb8(9, 9, 9), rgb8(99, 99, 99), rgb8(200, 200, 200)});
        for (int orientation = 2; orientation <= 8; ++orientation)
            row(qPrintable(QString("orientation %1").arg(orientation)), 3, 2, 8, 3, PHOTOMETRIC_RGB, corner,
                [orientation](TIFF *t) { TIFFSetField(t, TIFFTAG_ORIENTATION, orientation); }, stored, 0, orientation);

        row("70000 pixels wide", 70000, 2, 1, 1, PHOTOMETRIC_MINISBLACK, QList<qint64>(140000, 0), {}, QImage(), 0, 1,
            "The picture size 70000 x 2 is too large");
        row("32-bit complex grey", 2, 1, 32, 1, PHOTOMETRIC_MINISBLACK, {1, 2},
            [](TIFF *t) { TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_COMPLEXINT); }, QImage(), 0, 1,
            "32-bit complex grey TIFF is not supported.");
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
};

QTEST_GUILESS_MAIN(TestTiffDecoder)
#include "tst_tiffdecoder.moc"

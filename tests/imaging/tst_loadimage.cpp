// Source loading: every accepted type through the one reader road.

#include "codecfixtures.h"
#include "framefixtures.h"
#include "imagemagickutil.h"
#include "imagewriters.h"
#include "kxtest.h"
#include "photometadata.h"
#include "readerinterface.h"
#include "sourceframes.h"

#include <QColorSpace>

#include <webp/mux.h>
#include <zlib.h>

#include <cmath>

using namespace codecfixtures;

namespace {

QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    const QByteArray chunk = type + data;
    QByteArray length(4, '\0');
    QByteArray crc(4, '\0');
    qToBigEndian(quint32(data.size()), length.data());
    qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef *>(chunk.constData()), uInt(chunk.size()))), crc.data());
    return length + chunk + crc;
}

QByteArray encodeSource(const QImage &image, const QString &suffix)
{
    QTemporaryDir dir;
    if (suffix == "gif")
        return writeGif(image, dir.filePath("f.gif")) ? kxtest::readFile(dir.filePath("f.gif")) : QByteArray();
    return encodeWithQt(image, suffix == "tif" ? QByteArray("tiff") : suffix.toLatin1());
}

// The picture as a camera stores it under an EXIF orientation: each stored
// pixel from where the orientation's definition puts it in the upright one.
QImage storedUnder(const QImage &upright, int orientation)
{
    const int w = upright.width();
    const int h = upright.height();
    QImage stored = orientation >= 5 ? QImage(h, w, QImage::Format_RGB32) : QImage(w, h, QImage::Format_RGB32);
    for (int y = 0; y < stored.height(); ++y) {
        for (int x = 0; x < stored.width(); ++x) {
            const QPoint from[] = {{x, y},         {w - 1 - x, y}, {w - 1 - x, h - 1 - y}, {x, h - 1 - y},
                                   {y, x},         {w - 1 - y, x}, {w - 1 - y, h - 1 - x}, {y, h - 1 - x}};
            stored.setPixel(x, y, upright.pixel(from[orientation - 1]));
        }
    }
    return stored;
}

// EXIF as a TIFF structure holding only the orientation.
QByteArray exifWithOrientation(int orientation)
{
    QByteArray exif = QByteArray::fromHex("4d4d002a00000008" "0001" "011200030000000100000000" "00000000");
    exif[19] = char(orientation);
    return exif;
}

QByteArray webpWithExif(const QByteArray &webp, const QByteArray &exif)
{
    const WebPData image{reinterpret_cast<const uint8_t *>(webp.constData()), size_t(webp.size())};
    const WebPData chunk{reinterpret_cast<const uint8_t *>(exif.constData()), size_t(exif.size())};
    WebPMux *mux = WebPMuxCreate(&image, 1);
    WebPData assembled{};
    QByteArray result;
    if (mux && WebPMuxSetChunk(mux, "EXIF", &chunk, 1) == WEBP_MUX_OK && WebPMuxAssemble(mux, &assembled) == WEBP_MUX_OK)
        result = QByteArray(reinterpret_cast<const char *>(assembled.bytes), qsizetype(assembled.size));
    WebPDataClear(&assembled);
    WebPMuxDelete(mux);
    return result;
}

// gzip's framing, as .svgz files have it.
QByteArray gzipped(const QByteArray &text)
{
    QByteArray packed(int(compressBound(uLong(text.size()))) + 32, '\0');
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.constData()));
    stream.avail_in = uInt(text.size());
    stream.next_out = reinterpret_cast<Bytef *>(packed.data());
    stream.avail_out = uInt(packed.size());
    deflate(&stream, Z_FINISH);
    packed.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return packed;
}

} // namespace

class TestLoadImage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &bytes) { return kxtest::writeFile(m_dir.filePath(name), bytes); }

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    // Every source type goes through the plugins and Qt's own decoders on this
    // one road; a plain round trip of each type is the writer test's. Here the
    // sizes, depths, profiles, channel layouts, names and orientations that the
    // decoders or the loader treat specially.
    void decodes_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QImage>("expected");
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<QImage::Format>("pixels"); // Format_Invalid: any
        const auto row = [](const QString &tag, const QString &fileName, const QByteArray &bytes, const QImage &expected,
                            double tolerance, QImage::Format pixels = QImage::Format_Invalid) {
            QTest::newRow(qPrintable(tag)) << fileName << bytes << expected << tolerance << pixels;
        };
        const QImage photo = kxtest::makePhotoLikeImage(64, 48);
        const QImage odd = kxtest::makePhotoLikeImage(65, 47);
        const QImage dot = kxtest::makePhotoLikeImage(1, 1);
        const QImage deep = photo.convertToFormat(QImage::Format_RGBX64);
        // HEIF is HEIC's handler under another brand; tst_imagewriters writes both. A named
        // profile's round trip is the metadata test's (the camera photo's Display P3 in every format).
        for (const QString format : {"heic", "avif", "jxl"}) {
            const double tolerance = format == "jxl" ? 3.0 : 5.0;
            const QString name = "decoded." + format;
            row(format + " odd size", name, encodeWithQt(odd, format.toLatin1()), odd, tolerance);
            row(format + " 1x1", name, encodeWithQt(dot, format.toLatin1()), dot, tolerance);
            if (format != "avif")
                row(format + " from 16 bits", name, encodeWithQt(deep, format.toLatin1()), deep, tolerance);
        }

        // A profile libjxl cannot name (a tabulated curve) stays ICC, and lossy
        // pixels must be brought back from libjxl's standard space into it.
        QList<uint16_t> curve;
        for (int i = 0; i < 256; ++i)
            curve << uint16_t(std::pow(i / 255.0, 1.8) * 65535.0 + 0.5);
        QImage tabulated = photo;
        tabulated.setColorSpace(QColorSpace(QColorSpace::Primaries::AdobeRgb, curve));
        row("jxl unnamed profile", "decoded.jxl", encodeWithQt(tabulated, "jxl"), tabulated, 3.0, QImage::Format_RGB888);

        // Grey samples, so that the grey file holds exactly the picture.
        QImage grey(64, 48, QImage::Format_ARGB32);
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x)
                grey.setPixel(x, y, qRgba(x * 4, x * 4, x * 4, 255 - y * 5));
        const QImage opaqueGrey = grey.convertToFormat(QImage::Format_RGB32);
        row("jxl grey", "grey.jxl", encodeJxl(opaqueGrey, 1, true), opaqueGrey, 0.0);
        row("jxl grey and alpha", "grey.jxl", encodeJxl(grey, 1, true, true), grey, 0.0);

        // (Debian's libaom cannot encode 10-bit AVIF through libheif, so only HEVC here.)
        row("heic 10 bits", "deep.heic", encodeHeif(photo, false, 1, 10), photo, 5.0, QImage::Format_RGBX64);
        QImage white(32, 32, QImage::Format_RGB32);
        white.fill(Qt::white);
        row("heic 10-bit white", "deep.heic", encodeHeif(white, false, 1, 10), white, 0.0, QImage::Format_RGBX64);

        // 16-bit RGB with its colour at (0, 0) transparent, which Qt's reader garbles.
        QByteArray keyed = encodeWithQt(deep, "png");
        const QRgba64 key = deep.pixelColor(0, 0).rgba64();
        QByteArray colour(6, '\0');
        for (int c = 0; c < 3; ++c)
            qToBigEndian(quint16(c == 0 ? key.red() : c == 1 ? key.green() : key.blue()), colour.data() + 2 * c);
        keyed.insert(keyed.indexOf("IDAT") - 4, pngChunk("tRNS", colour));
        QImage keyedPixels = deep.convertToFormat(QImage::Format_RGBA64);
        for (int y = 0; y < deep.height(); ++y)
            for (int x = 0; x < deep.width(); ++x)
                if (deep.pixelColor(x, y).rgba64() == key)
                    keyedPixels.setPixelColor(x, y, Qt::transparent);
        row("png 16-bit with a transparent colour", "keyed.png", keyed, keyedPixels, 0.0, QImage::Format_RGBA64);

        // A drawing's viewBox goes centred on its canvas unless it asks to be
        // stretched; mm and pt are CSS's, 96 pixels an inch; without a viewBox
        // a user unit is a pixel.
        const auto drawing = [](const QString &root, const QString &rect) {
            return QString("<svg xmlns='http://www.w3.org/2000/svg' %1><rect %2 fill='red'/></svg>").arg(root, rect).toUtf8();
        };
        const auto redOn = [](const QSize &canvas, const QRect &red) {
            QImage image(canvas, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            QPainter(&image).fillRect(red, Qt::red);
            return image;
        };
        row("svg wide viewBox on a square", "wide.svg", drawing("width='40' height='40' viewBox='0 0 40 20'", "width='40' height='20'"),
            redOn({40, 40}, {0, 10, 40, 20}), 0.0);
        row("svg in mm", "mm.svg", drawing("width='10.5833mm' height='5.29167mm'", "width='20' height='20'"),
            redOn({40, 20}, {0, 0, 20, 20}), 0.0);
        row("svgz in mm", "mm.svgz", gzipped(drawing("width='10.5833mm' height='5.29167mm'", "width='20' height='20'")),
            redOn({40, 20}, {0, 0, 20, 20}), 0.0);
        row("svg in pt, stretched", "pt.svg",
            drawing("width='30pt' height='30pt' viewBox='0 0 40 20' preserveAspectRatio='none'", "width='40' height='20'"),
            redOn({40, 40}, {0, 0, 40, 40}), 0.0);

        // Nothing clear, so no alpha channel for the outputs to carry.
        const QImage blocks = kxtest::makeBlocksImage(6, 4, {Qt::red, Qt::green, Qt::blue}).convertToFormat(QImage::Format_RGB32);
        row("gif without transparency", "opaque.gif", encodeSource(blocks, "gif"), blocks, 0.0, QImage::Format_RGB32);
        // A screen of no size, as some writers leave it, takes the first frame's.
        const QByteArray unsized = encodeSource(blocks, "gif").replace(6, 4, QByteArray(4, '\0'));
        row("gif with a screen of no size", "unsized.gif", unsized, blocks, 0.0, QImage::Format_RGB32);

        // Phones save HEIC photos as .jpg: the content picks the decoder (content alone: tst_imageformats).
        row("heic as jpg", "photo.jpg", encodeWithQt(photo, "heic"), photo, 5.0);
    }

    void decodes()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QImage, expected);
        QFETCH(double, tolerance);
        QFETCH(QImage::Format, pixels);
        QImage loaded;
        QVERIFY(ImageMagickUtil().loadImage(writeFile(fileName, bytes), loaded));
        QCOMPARE(loaded.hasAlphaChannel(), expected.hasAlphaChannel());
        if (pixels != QImage::Format_Invalid)
            QCOMPARE(loaded.format(), pixels);
        if (expected.colorSpace().isValid())
            QCOMPARE(loaded.colorSpace(), expected.colorSpace());
        // Deep samples are widened to the full range: white stays 0xffff.
        if (expected.pixel(0, 0) == qRgb(255, 255, 255))
            QCOMPARE(loaded.pixelColor(0, 0).rgba64().red(), quint16(0xffff));
        const double difference = kxtest::meanChannelDifference(loaded, expected);
        QVERIFY2(difference <= tolerance, qPrintable(QString::number(difference)));
    }

    // How many pages or frames a source holds, each frame's delay, and one
    // page decoded by its index: a TIFF page and a PDF page of their own size,
    // a GIF frame over an earlier one disposed to the background.
    void pagesAndFrames_data()
    {
        using namespace framefixtures;
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("delays"); // of every frame; empty: no animation
        QTest::addColumn<int>("page");
        QTest::addColumn<QImage>("expected");
        QTest::addColumn<double>("tolerance");
        const QImage second = kxtest::makePhotoLikeImage(40, 30).convertToFormat(QImage::Format_RGB32);
        const QString tiff = m_dir.filePath("pages.tif");
        QVERIFY(writeTiffPages(tiff, {kxtest::makePhotoLikeImage(64, 48), second, kxtest::makePhotoLikeImage(9, 9)}));
        QTest::newRow("tiff page 2") << tiff << 3 << QList<int>() << 1 << second << 0.0;

        const auto filled = [](QSize size, QColor colour) {
            QImage image(size, QImage::Format_ARGB32);
            image.fill(colour);
            return image;
        };
        QImage shown = filled({8, 8}, Qt::blue);
        const QList<Frame> gifFrames = {{shown, {}, 100},
                                        {filled({4, 4}, Qt::red), {0, 0}, 200, DISPOSE_BACKGROUND},
                                        {filled({2, 2}, Qt::green), {6, 6}, 50}};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                shown.setPixel(x, y, x < 4 && y < 4 ? 0u : x >= 6 && y >= 6 ? qRgb(0, 255, 0) : qRgb(0, 0, 255));
        const QString gif = m_dir.filePath("moving.gif");
        QVERIFY(writeGif(gif, {8, 8}, gifFrames));
        QTest::newRow("gif frame 3 after disposal") << gif << 3 << QList<int>{100, 200, 50} << 2 << shown << 0.0;
        // Around a first frame smaller than the canvas, the canvas stays clear.
        QImage framed = filled({8, 8}, Qt::transparent);
        framed.setPixel(3, 2, qRgb(255, 0, 0));
        const QString smallFirst = m_dir.filePath("small-first.gif");
        QVERIFY(writeGif(smallFirst, {8, 8}, {{filled({1, 1}, Qt::red), {3, 2}, 100}, {shown, {}, 100}}));
        QTest::newRow("gif frame 1 on a clear canvas") << smallFirst << 2 << QList<int>{100, 100} << 0 << framed << 0.0;

        const QImage middle = kxtest::makePhotoLikeImage(16, 12).convertToFormat(QImage::Format_ARGB32);
        const QByteArray webp = encodeWebpAnimation(
                {{filled({16, 12}, Qt::red), {}, 70}, {middle, {}, 130}, {filled({16, 12}, Qt::blue), {}, 100}});
        QTest::newRow("webp frame 2") << writeFile("moving.webp", webp) << 3 << QList<int>{70, 130, 100} << 1 << middle
                                      << 0.0;

        // libheif reads no sequence; libavif does (lossy: a mean difference).
        const QByteArray avifs =
                encodeAvifSequence({{filled({16, 12}, Qt::red), {}, 40}, {middle, {}, 120}, {filled({16, 12}, Qt::blue), {}, 80}});
        QTest::newRow("avif sequence frame 2") << writeFile("moving.avif", avifs) << 3 << QList<int>{40, 120, 80} << 1
                                               << middle << 6.0;
        // Stored turned a quarter, shown upright.
        const QByteArray jxl = encodeJxlFrames({storedUnder(filled({16, 12}, Qt::red), 6), storedUnder(middle, 6),
                                                storedUnder(filled({16, 12}, Qt::blue), 6)},
                                               {7, 13, 10}, 6);
        QTest::newRow("animated jxl frame 2") << writeFile("moving.jxl", jxl) << 3 << QList<int>{70, 130, 100} << 1
                                              << middle << 0.0;

        // A second picture beside the primary one, of its own size.
        QTest::newRow("heic picture 2") << writeFile("pictures.heic", encodeHeif(shown, false, 1, 8, nullptr, second))
                                        << 2 << QList<int>() << 1 << second << 5.0;

        const QString pdf = m_dir.filePath("pages.pdf");
        // 200 x 100 points are 416.7 x 208.3 pixels: a part of a pixel counts whole.
        QVERIFY(writePdfPages(pdf, {{72, 144}, {200, 100}, {72, 72}}, {Qt::red, Qt::green, Qt::blue}));
        QTest::newRow("pdf page 2 at 150 dpi") << pdf << 3 << QList<int>() << 1 << filled({417, 209}, Qt::green) << 1.0;

        QTest::newRow("still picture") << writeFile("still.png", encodeWithQt(second, "png")) << 1 << QList<int>() << 0
                                       << second << 0.0;
    }

    void pagesAndFrames()
    {
        QFETCH(QString, path);
        QFETCH(int, count);
        QFETCH(QList<int>, delays);
        QFETCH(int, page);
        QFETCH(QImage, expected);
        QFETCH(double, tolerance);
        QCOMPARE(sourcePageCount(path), count);
        QCOMPARE(isAnimatedSource(path), !delays.isEmpty());
        FrameReader reader(path);
        QList<int> found;
        SourceFrame frame;
        QString reason;
        while (found.size() < reader.frameCount() && reader.next(&frame, &reason))
            found << frame.delayMs;
        QCOMPARE(found, delays);

        Rendering rendering;
        rendering.page = page;
        QImage loaded;
        QVERIFY2(ImageMagickUtil().loadImage(path, loaded, &reason, nullptr, rendering), qPrintable(reason));
        const double difference = kxtest::meanChannelDifference(loaded, expected);
        QVERIFY2(difference <= tolerance, qPrintable(QString::number(difference)));
        // Asked again, as the next file of a run would: the same picture.
        QImage again;
        QVERIFY(ImageMagickUtil().loadImage(path, again, &reason, nullptr, rendering) && again == loaded);
        rendering.page = count;
        QVERIFY(!ImageMagickUtil().loadImage(path, loaded, &reason, nullptr, rendering) && !reason.isEmpty());
    }

    // Every container's own orientation, applied once, in the picture and in
    // the header's size: WEBP's EXIF chunk and PNG's eXIf as much as JPEG's
    // EXIF, HEIF's rotation and mirror boxes and JPEG XL's codestream field.
    void orientations_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QImage>("upright");
        // Asked for as stored: JPEG, PNG and WEBP keep the pixels and their tag;
        // HEIF and JPEG XL, whose orientation no tag of an output could carry, come upright.
        QTest::addColumn<QImage>("asStored");
        // A quarter of each colour, wider than high: each orientation stores it differently.
        QImage upright(48, 32, QImage::Format_RGB32);
        QPainter painter(&upright);
        painter.fillRect(0, 0, 24, 16, Qt::red);
        painter.fillRect(24, 0, 24, 16, Qt::green);
        painter.fillRect(0, 16, 24, 16, Qt::blue);
        painter.fillRect(24, 16, 24, 16, Qt::white);
        painter.end();
        for (int orientation = 2; orientation <= 8; ++orientation) {
            const QImage stored = storedUnder(upright, orientation);
            const QByteArray exif = exifWithOrientation(orientation);
            QByteArray png = encodeWithQt(stored, "png");
            embedPhotoMetadata(&png, PhotoMetadata{exif, {}, {}});
            const auto row = [&](const char *format, const QByteArray &bytes) {
                const bool tagged = QByteArrayList{"jpg", "png", "webp"}.contains(format);
                QTest::addRow("%s %d", format, orientation)
                    << QString("oriented.") + format << bytes << upright << (tagged ? stored : upright);
            };
            row("jpg", kxtest::jpegWithExifOrientation(encodeWithQt(stored, "jpg", 95), orientation));
            row("png", png);
            row("webp", webpWithExif(encodeWithQt(stored, "webp", 100), exif));
            row("heic", encodeHeif(stored, false, orientation));
            row("avif", encodeHeif(stored, true, orientation));
            row("jxl", encodeJxl(stored, orientation));
        }
        // An eXIf after the image data, as some converters write it, is not
        // the stored pixels' orientation: browsers leave it unread too.
        QByteArray late = encodeWithQt(upright, "png");
        late.insert(late.size() - 12, pngChunk("eXIf", exifWithOrientation(6))); // before IEND
        QTest::newRow("png, eXIf after the image data") << "late.png" << late << upright << upright;
    }

    void orientations()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QImage, upright);
        QFETCH(QImage, asStored);
        const QString path = writeFile(fileName, bytes);
        Rendering rendering;
        for (const QImage &expected : {upright, asStored}) {
            QCOMPARE(uprightImageSize(path, defaultPdfSourceDpi, RawFullQuality, 0, rendering.storedOrientation),
                     expected.size());
            QImage loaded;
            QVERIFY(ImageMagickUtil().loadImage(path, loaded, nullptr, nullptr, rendering));
            const double difference = kxtest::meanChannelDifference(loaded, expected);
            QVERIFY2(difference <= 8.0, qPrintable(QString::number(difference)));
            rendering.storedOrientation = true;
        }
    }

    // A drawing shows pictures from its own folder and below, and those it
    // carries; none from elsewhere on the disk.
    void drawingPictures_data()
    {
        QTest::addColumn<QString>("href");
        QTest::addColumn<bool>("shown");
        QImage red(4, 4, QImage::Format_RGB32);
        red.fill(Qt::red);
        const QByteArray png = encodeWithQt(red, "png");
        QVERIFY(QDir(m_dir.path()).mkpath("drawings/sub"));
        for (const QString name : {"red.png", "drawings/red.png", "drawings/sub/red.png"})
            QVERIFY(!writeFile(name, png).isEmpty());
        QTest::newRow("beside") << "red.png" << true;
        QTest::newRow("below") << "sub/red.png" << true;
        QTest::newRow("carried") << "data:image/png;base64," + QString::fromLatin1(png.toBase64()) << true;
        QTest::newRow("parent") << "../red.png" << false;
        QTest::newRow("down and up past the folder") << "sub/../../red.png" << false;
        QTest::newRow("absolute") << m_dir.filePath("red.png") << false;
        QTest::newRow("file url") << QUrl::fromLocalFile(m_dir.filePath("red.png")).toString() << false;
    }

    void drawingPictures()
    {
        QFETCH(QString, href);
        QFETCH(bool, shown);
        const QString svg = writeFile("drawings/picture.svg",
                                      QString("<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink'"
                                              " width='4' height='4'><image width='4' height='4' xlink:href='%1'/></svg>")
                                              .arg(href.toHtmlEscaped())
                                              .toUtf8());
        QImage loaded;
        QVERIFY(ImageMagickUtil().loadImage(svg, loaded));
        QCOMPARE(loaded.pixelColor(2, 2) == QColor(Qt::red), shown);
    }

    // Each refusal names its cause; a picture the decoder completes with grey loads with a note.
    void reasons_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("text"); // the reason, or the note of a loaded picture
        const QImage photo = kxtest::makePhotoLikeImage(64, 48);
        const QByteArray jpeg = encodeWithQt(photo, "jpg");
        const QByteArray webp = encodeWithQt(photo, "webp");
        const QString unread = "The image could not be read: %1.";
        QTest::newRow("jpeg cut short") << "cut.jpg" << jpeg.left(jpeg.size() * 2 / 3) << true
                                        << "the file ends early; the missing part is grey";
        QTest::newRow("jpeg whole") << "whole.jpg" << jpeg << true << "";
        QTest::newRow("jpeg without its end marker") << "open.jpg" << jpeg.chopped(2) << true << "";
        // A motion photo's video after the picture may hold any bytes, a scan marker's too.
        QTest::newRow("jpeg with a video after it")
            << "motion.jpg" << jpeg + QByteArray("\0\0\0\x18" "ftypmp42\xff\xda\x01\x02", 16) << true << "";
        const QByteArray gif = encodeSource(photo, "gif");
        QTest::newRow("gif cut short") << "cut.gif" << gif.left(gif.size() * 9 / 10) << false
                                       << unread.arg("damaged or truncated");
        QTest::newRow("webp cut short") << "cut.webp" << webp.left(webp.size() / 2) << false
                                        << unread.arg("damaged or truncated");
        // A picture's own text under a plugin's refusal key tells nothing.
        QImage tagged = photo;
        tagged.setText(RefusalText::hdrTransfer, "PQ");
        const QByteArray png = encodeWithQt(tagged, "png");
        QVERIFY(png.contains(RefusalText::hdrTransfer));
        QTest::newRow("png cut short, with a refusal key in its text")
            << "tagged.png" << png.left(png.size() / 2) << false << unread.arg("damaged or truncated");
        QTest::newRow("text named png") << "notes.png" << QByteArray("Shopping list: milk, bread.\n") << false
                                        << unread.arg("its content is not a PNG picture: the file is damaged or misnamed");
        QTest::newRow("text named oddly") << "notes.qqq" << QByteArray("Shopping list: milk, bread.\n") << false
                                          << unread.arg("not a picture type this program reads");
        // An AVIF sequence with no still image beside it: the file type box and an empty movie.
        const QByteArray sequence = QByteArray("\0\0\0\x20" "ftypavis\0\0\0\0avismsf1miafMA1B", 32)
                                    + QByteArray("\0\0\0\x08moov", 8);
        QTest::newRow("avif sequence") << "animation.avifs" << sequence << false
                                       << unread.arg("a damaged or unsupported image sequence");
        QTest::newRow("text named svg") << "notes.svg" << QByteArray("Shopping list: milk, bread.\n") << false
                                        << unread.arg("damaged or not a drawing");
        QTest::newRow("pdf header only") << "cut.pdf" << QByteArray("%PDF-1.7\n1 0 obj\n<<") << false
                                         << unread.arg("damaged or truncated");
        const QByteArray cmyk = encodeJxl(photo, 1, false, false, QSize(), true);
        QVERIFY(!cmyk.isEmpty());
        QTest::newRow("cmyk jxl") << "print.jxl" << cmyk << false << unread.arg("CMYK JPEG XL is not supported");
        // Headers declaring 20000 x 20000 are refused before the pixels are allocated.
        const QString huge = unread.arg("at 20000 x 20000 pixels it needs more than 256 MB");
        QTest::newRow("huge heic") << "huge.heic" << heifDeclaringSize(encodeWithQt(photo, "heic"), 20000, 20000) << false
                                   << huge;
        QTest::newRow("huge jxl") << "huge.jxl" << encodeJxl(kxtest::makePhotoLikeImage(8, 8), 1, false, false, QSize(20000, 20000))
                                  << false << huge;
        QTest::newRow("side too long") << "long.png" << encodeWithQt(kxtest::makePhotoLikeImage(70000, 2), "png") << false
                                       << unread.arg("at 70000 x 2 pixels it is longer than 65535 pixels a side");
        // Every frame of an animation is composited on its canvas: the first is refused as the others would be.
        QByteArray wideCanvas = framefixtures::encodeWebpAnimation(
                {{kxtest::makePhotoLikeImage(8, 8), {}, 100}, {kxtest::makePhotoLikeImage(8, 8).mirrored(), {}, 100}});
        QVERIFY(wideCanvas.mid(12, 4) == "VP8X");
        for (int at : {24, 27})
            wideCanvas.replace(at, 3, QByteArray::fromHex("3f1f00")); // 7999 + 1 = 8000
        QTest::newRow("webp animation on a huge canvas") << "canvas.webp" << wideCanvas << false
                                                         << unread.arg("at 8000 x 8000 pixels it needs more than 256 MB");
        // A small compressed drawing that unfolds past the limit is refused before it is parsed.
        const QByteArray bomb = "<svg xmlns='http://www.w3.org/2000/svg' width='9' height='9'>" + QByteArray(65 << 20, ' ') + "</svg>";
        QTest::newRow("svgz unfolding too far") << "bomb.svgz" << gzipped(bomb) << false
                                                << unread.arg("the drawing's text is larger than 64 MB");
    }

    void reasons()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loads);
        QFETCH(QString, text);
        QImage loaded;
        QString reason;
        QString note;
        QCOMPARE(ImageMagickUtil().loadImage(writeFile(fileName, bytes), loaded, &reason, &note), loads);
        QCOMPARE(loads ? note : reason, text);
    }

    void brokenFilesFail_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("mayGivePartialPicture");
        QByteArray garbage(3000, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919 + 13) % 251);
        // The reader picks the decoder from content and suffix; one suffix per decoder.
        for (const QString suffix : {"gif", "heic", "avif", "jxl", "jpg", "png", "tif", "webp"}) {
            const QByteArray good = encodeSource(kxtest::makePhotoLikeImage(64, 48), suffix);
            QTest::newRow(qPrintable(suffix + " garbage")) << suffix << garbage << false;
            QTest::newRow(qPrintable(suffix + " header only")) << suffix << good.left(16) << false;
            // Some decoders fill in what is missing from a cut-off file.
            QTest::newRow(qPrintable(suffix + " half")) << suffix << good.left(good.size() / 2) << true;
            if (!QStringList{"heic", "avif", "jxl"}.contains(suffix))
                continue;
            // Damage inside our decoders' coded pixels: no crash, hang or garbage size.
            QByteArray scrambled = good;
            for (qsizetype i = 40; i < scrambled.size(); i += 7)
                scrambled[i] = char(scrambled[i] ^ 0x5a);
            QTest::newRow(qPrintable(suffix + " scrambled")) << suffix << scrambled << true;
        }
        const QByteArray ftyp("\0\0\0\x18" "ftypheic\0\0\0\0mif1heic", 24);
        QTest::newRow("heic absurd box size") << QString("heic") << ftyp + QByteArray("\xff\xff\xff\xf0meta", 8) + QByteArray(64, '\x01') << false;
        QTest::newRow("heic box of size 1") << QString("heic") << ftyp + QByteArray("\0\0\0\x01meta\xff\xff\xff\xff\xff\xff\xff\xff", 16) << false;
        QTest::newRow("jxl signature and garbage") << QString("jxl") << QByteArray("\xff\x0a", 2) + QByteArray(4096, '\xa5') << false;
        QTest::newRow("jxl container garbage") << QString("jxl") << QByteArray("\0\0\0\x0cJXL \x0d\x0a\x87\x0a", 12) + QByteArray(512, '\x33') << false;
    }

    void brokenFilesFail()
    {
        QFETCH(QString, suffix);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, mayGivePartialPicture);
        QImage loaded;
        const bool ok = ImageMagickUtil().loadImage(writeFile("broken." + suffix, bytes), loaded);
        QVERIFY(!ok || (mayGivePartialPicture && loaded.size() == QSize(64, 48)));
    }

    // An animation cut short in its last frame: the frames before it load,
    // the cut one is refused rather than left out without a word.
    void cutAnimationTellsOfTheDamage()
    {
        const QString whole = m_dir.filePath("whole.gif");
        QImage red(8, 8, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(framefixtures::writeGif(whole, {8, 8}, {{red, {}, 100}, {kxtest::makePhotoLikeImage(8, 8), {}, 100}}));
        const QByteArray bytes = kxtest::readFile(whole);
        const QString cut = writeFile("cut.gif", bytes.left(bytes.size() - 20));
        QCOMPARE(sourcePageCount(cut), 2);
        Rendering rendering;
        QImage loaded;
        QString reason;
        QVERIFY(ImageMagickUtil().loadImage(cut, loaded, &reason, nullptr, rendering));
        rendering.page = 1;
        QVERIFY(!ImageMagickUtil().loadImage(cut, loaded, &reason, nullptr, rendering));
        QCOMPARE(reason, QString("The image could not be read: damaged or truncated."));
    }

    // Only a regular file is read (a dangling link fails the same test); the picture passed in stays.
    void folderIsNotRead()
    {
        QImage image = kxtest::makeBlocksImage(3, 2, {Qt::green});
        const QImage before = image;
        QVERIFY(!ImageMagickUtil().loadImage(m_dir.path(), image));
        QCOMPARE(image, before);
    }
};

QTEST_GUILESS_MAIN(TestLoadImage)
#include "tst_loadimage.moc"

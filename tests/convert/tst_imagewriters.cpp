// The general image writer, the GIF writer and the animation writers.

#include "animationwriter.h"
#include "imagewriters.h"
#include "kxtest.h"
#include "targetformats.h"
#include "targetsize.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageWriter>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <gif_lib.h>

namespace {

// An indexed picture using every entry of a table of the given size; a 1-bit
// one with an odd width must have its packed rows become one index per pixel.
QImage paletteImage(int colours, const QSize &size = QSize(40, 30), QImage::Format format = QImage::Format_Indexed8)
{
    QImage image(size, format);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table << qRgb((i * 37) % 256, (i * 91 + 17) % 256, 255 - i);
    image.setColorTable(table);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, uint((y * size.width() + x) % colours));
    return image;
}

// A written GIF's colour tables as giflib reads them.
struct GifTables
{
    QList<QRgb> global;
    int local = 0;
    QList<QRect> images; // where each lies on the canvas
    bool extensions = false;
};

GifTables gifTables(const QString &path)
{
    GifTables tables;
    int error = 0;
    GifFileType *gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
    if (!gif)
        return tables;
    if (DGifSlurp(gif) == GIF_OK) {
        for (int i = 0; gif->SColorMap && i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType c = gif->SColorMap->Colors[i];
            tables.global << qRgb(c.Red, c.Green, c.Blue);
        }
        for (int i = 0; i < gif->ImageCount; ++i) {
            const GifImageDesc &image = gif->SavedImages[i].ImageDesc;
            tables.images << QRect(image.Left, image.Top, image.Width, image.Height);
        }
        const ColorMapObject *local = gif->ImageCount > 0 ? gif->SavedImages[0].ImageDesc.ColorMap : nullptr;
        tables.local = local ? local->ColorCount : 0;
        tables.extensions = gif->ImageCount > 0 && gif->SavedImages[0].ExtensionBlockCount > 0;
    }
    DGifCloseFile(gif, &error);
    return tables;
}

QByteArray encodedJpeg(const QImage &image, int quality, double fraction)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteOptions options;
    options.quality = quality;
    options.qualityFraction = fraction;
    QString error;
    return encodeJpeg(image, options, &buffer, &error) ? bytes : QByteArray();
}

} // namespace

class TestImageWriters : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // The row of the path's suffix, as the planner gives it to the writers.
    static const ImageFormat &rowOf(const QString &path)
    {
        return *formatForExtension(QFileInfo(path).suffix());
    }

    static bool write(const QImage &image, const QString &path, const WriteOptions &options = {},
                      QString *error = nullptr)
    {
        return writeImageFile(image, path, rowOf(path), options, error);
    }

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    // Per format: a round trip; its own setting reaching its encoder (the lower
    // setting writes the smaller file); an existing file replaced; and a failed
    // write (a null image from a source that failed to decode, or a disk that
    // fills up) leaving no file and an existing target whole.
    void formats_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<bool>("lossless");
        QTest::addColumn<int>("target"); // its quality setting; -1 its own settings; -2 none
        QTest::addColumn<bool>("fullDisk");
        QTest::newRow("avif") << "avif" << true << 5.0 << false << int(TargetAvif) << false;
        QTest::newRow("gif") << "gif" << false << 0.0 << false << -2 << true;
        QTest::newRow("heic") << "heic" << true << 5.0 << false << int(TargetHeic) << false;
        QTest::newRow("heif") << "heif" << true << 5.0 << false << int(TargetHeif) << false;
        QTest::newRow("jpg") << "jpg" << false << 6.0 << false << int(TargetJpg) << true;
        QTest::newRow("jxl") << "jxl" << true << 3.0 << false << int(TargetJpegXl) << false;
        QTest::newRow("jxl lossless") << "jxl" << true << 0.0 << true << -2 << false;
        QTest::newRow("png") << "png" << true << 0.0 << false << -1 << true;
        QTest::newRow("tiff") << "tiff" << false << 0.0 << false << -1 << true;
        // TIFF stores alpha premultiplied: faint pixels lose a little.
        QTest::newRow("tiff alpha") << "tiff" << true << 1.0 << false << -2 << false;
        QTest::newRow("webp") << "webp" << true << 6.0 << false << int(TargetWebp) << true;
        QTest::newRow("webp lossless") << "webp" << false << 0.0 << true << -2 << false;
    }

    // Qt's TIFF writer keeps a palette's colours but drops their alpha.
    void tiffPaletteKeepsTransparency()
    {
        QImage image = paletteImage(4);
        QList<QRgb> table = image.colorTable();
        table[0] = qRgba(0, 0, 0, 0);
        image.setColorTable(table);
        const QString path = m_dir.filePath("palette.tiff");
        QString error;
        QVERIFY2(write(image, path, {90, false}, &error), qPrintable(error));
        const QImage decoded = QImageReader(path).read();
        QCOMPARE(qAlpha(decoded.pixel(0, 0)), 0);
        QCOMPARE(decoded.pixel(1, 0), image.pixel(1, 0));
    }

    void formats()
    {
        QFETCH(QString, suffix);
        QFETCH(bool, alpha);
        QFETCH(double, tolerance);
        QFETCH(bool, lossless);
        QFETCH(int, target);
        QFETCH(bool, fullDisk);
        // GIF keeps a palette picture exactly; the others get a photo.
        const QImage original = suffix == "gif" ? paletteImage(200).convertToFormat(QImage::Format_RGB32)
                                                : kxtest::makePhotoLikeImage(64, 48, alpha);
        const QString path = m_dir.filePath(QString(QTest::currentDataTag()).replace(' ', '-') + "." + suffix);
        QString error;
        QVERIFY2(write(original, path, {90, lossless}, &error), qPrintable(error));
        const QImage decoded = QImageReader(path).read();
        QCOMPARE(decoded.hasAlphaChannel(), alpha);
        QVERIFY2(kxtest::meanChannelDifference(decoded, original) <= tolerance,
                 qPrintable(QString::number(kxtest::meanChannelDifference(decoded, original))));
        if (suffix == "jpg") // progressive
            QVERIFY(kxtest::readFile(path).contains(QByteArray("\xff\xc2", 2)));

        if (target > -2) {
            // LZW only pays on flat areas.
            const QImage image = suffix == "tiff" ? kxtest::makeBlocksImage(96, 64, {Qt::red, Qt::blue})
                                                  : kxtest::makePhotoLikeImage(96, 64);
            ConversionSettings low, high;
            if (target >= 0) {
                low.*targetQualityFor(target).quality = 20;
                high.*targetQualityFor(target).quality = 90;
            }
            low.pngCompressionLevel = 9;
            high.pngCompressionLevel = 0;
            low.tiffCompression = TiffLzwCompression;
            const QString lowPath = m_dir.filePath("low." + suffix), highPath = m_dir.filePath("high." + suffix);
            QVERIFY(write(image, lowPath, writeOptionsFor(low, rowOf(lowPath))));
            QVERIFY(write(image, highPath, writeOptionsFor(high, rowOf(highPath))));
            QVERIFY(QFileInfo(lowPath).size() < QFileInfo(highPath).size());
        }
        if (lossless || (suffix == "tiff" && alpha))
            return;

        // The general writer logs its two debug lines; the GIF writer has none.
        const auto expectLog = [&suffix](const QString &path) {
            if (suffix == "gif")
                return;
            QTest::ignoreMessage(QtDebugMsg, qPrintable("Cannot write: " + path + " Image is empty"));
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^QList\\(.*\\)$"));
        };
        const QString fresh = m_dir.filePath("null." + suffix);
        expectLog(fresh);
        error.clear();
        QVERIFY(!write(QImage(), fresh, {}, &error));
        QVERIFY(!QFile::exists(fresh) && !error.isEmpty());
        const QString kept = m_dir.filePath("kept." + suffix);
        QVERIFY(write(kxtest::makeBlocksImage(20, 10, {Qt::red}), kept));
        QVERIFY(write(kxtest::makeBlocksImage(8, 8, {Qt::blue}), kept));
        QCOMPARE(QImageReader(kept).size(), QSize(8, 8));
        const QByteArray before = kxtest::readFile(kept);
        expectLog(kept);
        QVERIFY(!write(QImage(), kept));
        QCOMPARE(kxtest::readFile(kept), before);
        if (!fullDisk)
            return;

        const QImage photo = kxtest::makePhotoLikeImage(640, 480);
        QString freshError, keptError;
        {
            kxtest::FileSizeLimit limit(4096);
            QVERIFY(!write(photo, m_dir.filePath("full." + suffix), {90}, &freshError));
            QVERIFY(!write(photo, kept, {90}, &keptError));
        }
        QCOMPARE(freshError, QString::fromLocal8Bit(std::strerror(EFBIG)));
        QCOMPARE(keptError, freshError);
        QCOMPARE(kxtest::readFile(kept), before);
        QVERIFY(QDir(m_dir.path()).entryList({"full." + suffix + "*", "kept." + suffix + "?*"}, QDir::Files).isEmpty());
    }

    // Lossless JPEG XL keeps 16-bit samples, which no 8-bit value matches.
    void losslessKeepsDepth_data()
    {
        QTest::addColumn<QImage>("image");
        QImage deep(40, 30, QImage::Format_RGBA64);
        for (int y = 0; y < deep.height(); ++y)
            for (int x = 0; x < deep.width(); ++x)
                deep.setPixelColor(x, y, QColor::fromRgba64(x * 1601 + 1, y * 2203 + 5, x * y * 37 + 3, 65535 - x * 811));
        deep.setColorSpace(QColorSpace::SRgb);
        QTest::newRow("jxl 16 bits") << deep.convertToFormat(QImage::Format_RGBX64);
        QTest::newRow("jxl 16 bits and alpha") << deep;
        QTest::newRow("jxl 16-bit grey") << deep.convertToFormat(QImage::Format_Grayscale16);
    }

    void losslessKeepsDepth()
    {
        QFETCH(QImage, image);
        const QString path = m_dir.filePath("deep.jxl");
        QString error;
        QVERIFY2(write(image, path, {90, true}, &error), qPrintable(error));
        const QImage decoded = QImageReader(path).read();
        QCOMPARE(decoded, image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_RGBA64 : QImage::Format_RGBX64));
    }

    // An animation written frame by frame plays back as given: a square moving
    // over flat colours, a hole that opens and closes again, each frame with
    // its delay, and the loop count (QImageReader counts the repeats). A GIF
    // stores only the changed rectangle of the frames after the first.
    void animations_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("photo");
        QTest::addColumn<bool>("lossless");
        QTest::addColumn<int>("loops");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("gif forever") << "gif" << false << false << 0 << 0.0;
        QTest::newRow("gif once") << "gif" << false << false << 1 << 0.0;
        QTest::newRow("gif photo 3 times") << "gif" << true << false << 3 << 6.0;
        QTest::newRow("webp 3 times") << "webp" << true << false << 3 << 6.0;
        QTest::newRow("webp lossless forever") << "webp" << false << true << 0 << 0.0;
    }

    void animations()
    {
        QFETCH(QString, suffix);
        QFETCH(bool, photo);
        QFETCH(bool, lossless);
        QFETCH(int, loops);
        QFETCH(double, tolerance);
        const QSize canvas(48, 32);
        const QList<int> delays{100, 250, 40, 30};
        QList<QImage> frames;
        for (int i = 0; i < delays.size(); ++i) {
            QImage frame = photo ? kxtest::makePhotoLikeImage(canvas.width(), canvas.height())
                                 : kxtest::makeBlocksImage(canvas.width(), canvas.height(), {Qt::darkBlue, Qt::yellow});
            QPainter painter(&frame);
            painter.fillRect(4 + 6 * i, 10, 8, 8, Qt::red);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            if (i == 2)
                painter.fillRect(2, 4, 30, 20, Qt::transparent);
            frames << frame;
        }
        const QString path = m_dir.filePath(QString(QTest::currentDataTag()).replace(' ', '-') + "." + suffix);
        QString error;
        const auto writer = AnimationWriter::create(path, rowOf(path), {80, lossless}, canvas, loops, &error);
        QVERIFY2(writer, qPrintable(error));
        for (int i = 0; i < frames.size(); ++i)
            QVERIFY2(writer->addFrame(frames[i], delays[i], &error), qPrintable(error));
        QVERIFY2(writer->finish(&error), qPrintable(error));

        QImageReader reader(path);
        QCOMPARE(reader.imageCount(), frames.size());
        QCOMPARE(reader.loopCount(), loops - 1);
        for (int i = 0; i < frames.size(); ++i) {
            const QImage decoded = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QCOMPARE(reader.nextImageDelay(), delays[i]);
            const double difference =
                kxtest::meanChannelDifference(decoded, frames[i].convertToFormat(QImage::Format_ARGB32_Premultiplied));
            QVERIFY2(difference <= tolerance, qPrintable(QString("frame %1: %2").arg(i).arg(difference)));
            if (suffix == "gif" && i > 0)
                QVERIFY(gifTables(path).images.at(i).width() < canvas.width());
        }
    }

    // The JPEG writer stores a whole quality exactly as Qt's writer would, for
    // every kind of picture; a fraction of a point lands in between, in steps.
    void jpegQualities_data()
    {
        QTest::addColumn<QImage>("image");
        QImage profiled = kxtest::makePhotoLikeImage(96, 64);
        profiled.setColorSpace(QColorSpace::DisplayP3);
        profiled.setDotsPerMeterX(11811);
        profiled.setDotsPerMeterY(11811);
        QTest::newRow("rgb with profile and density") << profiled;
        QTest::newRow("alpha") << kxtest::makePhotoLikeImage(96, 64, true);
        QTest::newRow("grey") << kxtest::makePhotoLikeImage(96, 64).convertToFormat(QImage::Format_Grayscale8);
        QTest::newRow("grey palette") << kxtest::makePhotoLikeImage(96, 64)
                                                 .convertToFormat(QImage::Format_Grayscale8)
                                                 .convertToFormat(QImage::Format_Indexed8);
        QTest::newRow("16 bits") << kxtest::makePhotoLikeImage(96, 64).convertToFormat(QImage::Format_RGBX64);
    }

    void jpegQualities()
    {
        QFETCH(QImage, image);
        for (const int quality : {5, 55, 95}) {
            QByteArray byQt;
            QBuffer buffer(&byQt);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setQuality(quality);
            writer.setOptimizedWrite(true);
            writer.setProgressiveScanWrite(true);
            QVERIFY(writer.write(image));
            QCOMPARE(encodedJpeg(image, quality, 0), byQt);
        }
    }

    void jpegTenthsClimbEvenly()
    {
        const QImage image = kxtest::makePhotoLikeImage(512, 384);
        QList<qsizetype> sizes;
        for (int tenth = 0; tenth <= 10; ++tenth)
            sizes << encodedJpeg(image, 60 + tenth / 10, tenth % 10 / 10.0).size();
        // Each tenth adds to the size (but for a few bytes of Huffman tables),
        // in steps of under 2 %.
        for (qsizetype i = 1; i < sizes.size(); ++i) {
            const double step = double(sizes.at(i)) / double(sizes.at(i - 1));
            QVERIFY2(step > 0.999 && step < 1.02, qPrintable(QDebug::toString(sizes)));
        }
        QVERIFY2(QSet<qsizetype>(sizes.cbegin(), sizes.cend()).size() >= 8, qPrintable(QDebug::toString(sizes)));
    }

    // A size limit on each lossy target, metadata counted: a size the encoder
    // can reach lands within [0.97 N, N]; half the size at the lowest quality
    // allowed is reached by scaling down, noted, or with shrinking off is
    // written at that quality and noted as over. A picture of a megapixel is
    // searched through a sample of its rows first.
    void sizeLimit_data()
    {
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("reference"); // N is share times the size at this quality
        QTest::addColumn<double>("share");
        QTest::addColumn<bool>("shrink");
        QTest::addColumn<QString>("note");
        const QSize small(256, 192);
        for (const char *suffix : {"jpg", "webp", "avif", "heic", "jxl"}) {
            QTest::addRow("%s reached", suffix) << small << suffix << 60 << 1.01 << true << "";
            QTest::addRow("%s scaled", suffix) << small << suffix << 40 << 0.5 << true << "scaled to ";
        }
        QTest::newRow("webp over") << small << "webp" << 40 << 0.5 << false << "over the size: ";
        for (const char *suffix : {"jpg", "webp"}) {
            QTest::addRow("%s sampled, reached", suffix) << QSize(1280, 800) << suffix << 70 << 1.01 << true << "";
            QTest::addRow("%s sampled, scaled", suffix) << QSize(1280, 800) << suffix << 40 << 0.5 << true
                                                        << "scaled to ";
        }
    }

    void sizeLimit()
    {
        QFETCH(QSize, pictureSize);
        QFETCH(QString, suffix);
        QFETCH(int, reference);
        QFETCH(double, share);
        QFETCH(bool, shrink);
        QFETCH(QString, note);
        const QImage image = kxtest::makePhotoLikeImage(pictureSize.width(), pictureSize.height());
        const QByteArray filler = QByteArray("caption ").repeated(64);
        PhotoMetadata metadata;
        metadata.xmp = "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?><x:xmpmeta xmlns:x=\"adobe:ns:meta/\">"
                       "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
                       "rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:source>"
                       + filler + "</dc:source></rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>";
        WriteOptions options;
        options.quality = reference;
        QByteArray bytes;
        QString error;
        const ImageFormat &format = *formatForExtension(suffix);
        QVERIFY2(encodeImage(image, format, options, metadata, &bytes, &error), qPrintable(error));
        const SizeGoal goal{qint64(bytes.size() * share), 40, 99, shrink};

        const QString path = m_dir.filePath(QString(QTest::currentDataTag()).replace(' ', '-') + "." + suffix);
        TargetSizeMemo memo;
        QString said;
        options.quality = 90;
        QVERIFY2(writeImageFileWithinSize(image, path, format, options, goal, [&](QSize) { return metadata; }, &memo,
                                          &error, &said),
                 qPrintable(error));
        const qint64 size = QFileInfo(path).size();
        const QImage decoded = QImageReader(path).read();
        QVERIFY2(note.isEmpty() ? said.isEmpty() : said.startsWith(note), qPrintable(said));
        QVERIFY(kxtest::readFile(path).contains(filler));
        QCOMPARE(decoded.width() < image.width(), note.startsWith("scaled"));
        if (note.startsWith("over"))
            QVERIFY(size > goal.maxBytes);
        else
            QVERIFY2(size <= goal.maxBytes && (!note.isEmpty() || size >= goal.lowestBytes()),
                     qPrintable(QStringLiteral("%1 of %2").arg(size).arg(goal.maxBytes)));
    }

    // Limits nothing meets as asked: scaling goes below a tenth until the file
    // fits, and fails the file past the smallest step; metadata larger than the
    // limit is left out with a note, or fails the file when it is to be kept.
    void sizeLimitEdges_data()
    {
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<double>("ofTenth"); // N against the file at a tenth of the size, at the floor
        QTest::addColumn<qint64>("maxBytes"); // or N itself
        QTest::addColumn<int>("filler");      // XMP of that many words
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QString>("said"); // the note, or the failure's reason
        QTest::newRow("below a tenth") << QSize(1600, 1200) << 0.6 << qint64(0) << 0 << false << "scaled to ";
        QTest::newRow("metadata left out") << QSize(256, 192) << 0.0 << qint64(3000) << 600 << false
                                           << "metadata left out to fit 3 KB";
        QTest::newRow("metadata kept") << QSize(256, 192) << 0.0 << qint64(3000) << 600 << true
                                       << "The metadata to keep (";
        QTest::newRow("nothing fits") << QSize(256, 192) << 0.0 << qint64(200) << 0 << false << "Does not fit 1 KB";
    }

    void sizeLimitEdges()
    {
        QFETCH(QSize, pictureSize);
        QFETCH(double, ofTenth);
        QFETCH(qint64, maxBytes);
        QFETCH(int, filler);
        QFETCH(bool, keep);
        QFETCH(QString, said);
        const QImage image = kxtest::makePhotoLikeImage(pictureSize.width(), pictureSize.height());
        const ImageFormat &jpg = *formatForExtension("jpg");
        WriteOptions options;
        options.quality = 40;
        if (ofTenth > 0) {
            QByteArray tenth;
            QString error;
            QVERIFY(encodeImage(image.scaled(pictureSize / 10), jpg, options, {}, &tenth, &error));
            maxBytes = qint64(tenth.size() * ofTenth);
        }
        const QByteArray words = QByteArray("caption ").repeated(filler);
        PhotoMetadata metadata;
        if (filler)
            metadata.xmp = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/"
                           "22-rdf-syntax-ns#\"><rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/"
                           "elements/1.1/\"><dc:source>"
                           + words + "</dc:source></rdf:Description></rdf:RDF></x:xmpmeta>";
        SizeGoal goal{maxBytes, 40, 100, true, keep, 10, true};
        const QString path = m_dir.filePath(QString(QTest::currentDataTag()).replace(' ', '-') + ".jpg");
        TargetSizeMemo memo;
        QString error, note;
        SizeFit fit;
        const bool written = writeImageFileWithinSize(image, path, jpg, options, goal, [&](QSize) { return metadata; },
                                                      &memo, &error, &note, &fit);
        QVERIFY2((written ? note : error).startsWith(said), qPrintable(written ? note : error));
        QCOMPARE(QFile::exists(path), written);
        if (!written)
            return;
        QVERIFY(QFileInfo(path).size() <= maxBytes);
        if (filler)
            QCOMPARE(kxtest::readFile(path).contains(words), !said.startsWith("metadata left out"));
        if (ofTenth > 0)
            QVERIFY(QImageReader(path).size().width() < pictureSize.width() / 10);
    }

    void failuresAreLoggedAndExplained()
    {
        const QString unknown = m_dir.filePath("missing/picture.png");
        QString error;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Cannot write: " + QRegularExpression::escape(unknown) + " .+"));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^QList\\(.*\"png\".*\\)$"));
        QVERIFY(!write(kxtest::makePhotoLikeImage(16, 16), unknown, {}, &error));
        QVERIFY(!error.isEmpty() && !QFile::exists(unknown));
        error.clear();
        const QString still = m_dir.filePath("animation.png");
        QVERIFY(!AnimationWriter::create(still, rowOf(still), {}, QSize(8, 8), 0, &error) && !error.isEmpty());

        // GIF stores its sides in 16 bits.
        const QString wide = m_dir.filePath("wide.gif");
        QVERIFY(!writeGif(paletteImage(2, QSize(70000, 2)), wide, &error));
        QCOMPARE(error, QStringLiteral("A GIF picture can be at most 65,535 pixels wide and high"));
        QVERIFY(!QFile::exists(wide));
    }

    // A table is padded with black to the next power of two, at least 2. What
    // the pipeline hands over (a photograph with alpha, or grayscale output) is
    // quantised to 256 entries (usedEntries -1); transparent pixels show their
    // entry's colour, so only the opaque picture is compared.
    void gifColourTable_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<int>("tableSize");
        QTest::addColumn<int>("usedEntries");
        QTest::newRow("3 colours") << paletteImage(3) << 4 << 3;
        QTest::newRow("1 colour") << paletteImage(1) << 2 << 1;
        QTest::newRow("256 colours") << paletteImage(256) << 256 << 256;
        QTest::newRow("1 bit") << paletteImage(2, QSize(37, 11), QImage::Format_Mono) << 2 << 2;
        const QImage photo = kxtest::makePhotoLikeImage(64, 48, true);
        QTest::newRow("photo with alpha") << photo << 256 << -1;
        QTest::newRow("grey photo") << photo.convertToFormat(QImage::Format_Grayscale8) << 256 << -1;
    }

    void gifColourTable()
    {
        QFETCH(QImage, image);
        QFETCH(int, tableSize);
        QFETCH(int, usedEntries);
        const QString path = m_dir.filePath("table.gif");
        QVERIFY(writeGif(image, path));
        QVERIFY(kxtest::readFile(path).startsWith("GIF89a"));
        const GifTables gif = gifTables(path);
        QVERIFY(gif.global.size() == tableSize && gif.images.size() == 1);
        const QImage decoded = QImageReader(path).read();
        QVERIFY(decoded.size() == image.size() && !decoded.hasAlphaChannel());
        if (usedEntries < 0) {
            if (!image.hasAlphaChannel())
                QVERIFY(kxtest::meanChannelDifference(decoded, image) <= 6);
            return;
        }
        QVERIFY(gif.local == tableSize && !gif.extensions);
        for (int i = 0; i < tableSize; ++i)
            QCOMPARE(gif.global.at(i), i < usedEntries ? image.color(i) : qRgb(0, 0, 0));
        QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), image.convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_GUILESS_MAIN(TestImageWriters)
#include "tst_imagewriters.moc"

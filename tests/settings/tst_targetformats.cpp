#include <QtTest>

#include "kxtest.h"
#include "pathutil.h"
#include "targetformats.h"

class TestTargetFormats : public QObject
{
    Q_OBJECT

private slots:
    void tableOrder()
    {
        QStringList labels;
        for (const TargetFormat &f : targetFormats())
            labels << f.label + f.extension;
        QCOMPARE(labels, (QStringList{"AVIF.avif", "GIF.gif", "HEIC.heic", "HEIF.heif", "JPG.jpg", "JPEG XL.jxl",
                                      "PNG.png", "TIFF.tiff", "WEBP.webp", "PDF.pdf"}));
        QCOMPARE(targetFormatAt(12).label + targetFormatAt(-1).label, QStringLiteral("AVIFAVIF"));
    }

    void targetPath_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("target");
        QTest::newRow("first dot") << "/in/photo.final.PNG" << "D" << ".webp" << "D/photo.webp";
        QTest::newRow("year") << "/in/holiday.2020.jpg" << "/out" << ".png" << "/out/holiday.png";
        QTest::newRow("backslash folder") << "/in/a.jpg" << "C:\\out" << ".gif" << "C:\\out/a.gif";
        QTest::newRow("trailing slash kept") << "/in/a.jpg" << "/out/" << ".jxl" << "/out//a.jxl";
    }

    void targetPath()
    {
        QFETCH(QString, source);
        QFETCH(QString, folder);
        QFETCH(QString, extension);
        QFETCH(QString, target);
        QCOMPARE(targetPathFor(source, folder, extension), target);
    }

    void pathRules()
    {
        QCOMPARE(pdfFileNameWithExtension("album"), QStringLiteral("album.pdf"));
        QCOMPARE(pdfFileNameWithExtension("album.Pdf"), QStringLiteral("album.Pdf"));
        QTemporaryDir dir;
        QVERIFY(isValidImageOutputFolder(dir.path()));
        QVERIFY(!isValidImageOutputFolder("/"));
        QVERIFY(!isValidImageOutputFolder(dir.path() + "/missing"));
        QVERIFY(isValidPdfOutput(dir.path(), dir.path() + "/a.pdf"));
        QVERIFY(!isValidPdfOutput(QString(), dir.path() + "/a.pdf"));
        QVERIFY(!isValidPdfOutput(dir.path(), dir.path() + "/missing/a.pdf"));
        QVERIFY(isGifTargetPath("/out/a.GIF"));
        QVERIFY(!isGifTargetPath("/out.gif/a.png"));
    }
};

QTEST_GUILESS_MAIN(TestTargetFormats)
#include "tst_targetformats.moc"

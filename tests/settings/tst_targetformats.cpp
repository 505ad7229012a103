#include <QtTest>

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

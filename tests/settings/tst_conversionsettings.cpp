#include <QtTest>

#include "conversionsettings.h"
#include "kxtest.h"

class TestConversionSettings : public QObject
{
    Q_OBJECT

private:
    QFont labelFont() const { return QFont(QStringLiteral("DejaVu Sans"), 9); }


private slots:
    void initTestCase() { kxtest::isolateUserData(); }
    void init() { kxtest::clearSettingsStore(); }

    void emptyStoreGivesDefaults()
    {
        ConversionSettings s;
        s.targeFileType = 7;
        s.textPosition = 3;
        loadConversionSettings(s, labelFont());
        QCOMPARE(s.targeFileType, 0);
        QCOMPARE(s.targeFileQuality, 95);
        QCOMPARE(s.pdfQuality, 2);
        QCOMPARE(s.pdfPaperMarginSize, 20);
        QCOMPARE(s.pdfSmoothEdges, true);
        QCOMPARE(s.resizeImageToPaper, false);
        QCOMPARE(s.textPosition, 8);
        QCOMPARE(s.imagePosition, 8);
        QCOMPARE(s.qrCodePosition, 8);
        QCOMPARE(s.scaleAbsoluteWitdh, 1920);
        QCOMPARE(s.scaleRelativeHeight, 1080);
        QCOMPARE(s.imageSize, 100);
        QCOMPARE(s.qrCodeSize, 100);
        QCOMPARE(s.textColor, QColor(Qt::black));
        QCOMPARE(s.textFont, labelFont());
        QVERIFY(s.outputFolder.isEmpty());
    }

    void roundTripKeepsValuesAndTypes()
    {
        ConversionSettings saved;
        saved.lastPicturesDir = "/pics";
        saved.targeFileType = 5;
        saved.targeFileQuality = 42;
        saved.outputFolder = "/out put";
        saved.pdfFileName = "album.pdf";
        saved.pdfPaperSize = 3;
        saved.resizeImageToPaper = true;
        saved.pdfSmoothEdges = false;
        saved.pdfQuality = 5;
        saved.pdfPaperOrientation = 1;
        saved.pdfPaperMargin = 1;
        saved.pdfPaperMarginSize = 33;
        saved.scaleImage = true;
        saved.scaleType = 2;
        saved.scalePercentage = 250;
        saved.scaleAbsoluteWitdh = 640;
        saved.scaleAbsoluteHeight = 480;
        saved.scaleRelativeTo = 1;
        saved.scaleRelativeWidth = 800;
        saved.scaleRelativeHeight = 600;
        saved.textContent = QString::fromUtf8("© Kestrix, 2026");
        saved.textFont = fontFromDescription("Liberation Serif");
        saved.textSize = 48;
        saved.textColor = QColor(0x12, 0x34, 0x56);
        saved.textPosition = 0;
        saved.textOpacity = 55;
        saved.textMargin = 7;
        saved.imagePath = "/logo.png";
        saved.imageSize = 20;
        saved.imagePosition = 4;
        saved.imageOpacity = 60;
        saved.imageMargin = 9;
        saved.qrCodeText = "https://example.org/\nline two";
        saved.qrCodeSize = 300;
        saved.qrCodePosition = 2;
        saved.qrCodeMargin = 11;
        saved.adjustGrayScale = 1;
        saved.adjustSepia = 1;
        saved.adjustContrast = -40;
        saved.adjustBrightness = 25;
        saved.adjustGamma = 650;
        saved.adjustInvertColours = 128;
        saved.setBlurRadius = 50;
        for (int id : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                       23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 100, 101, 102, 103, 104, 105, 108})
            saveConversionSetting(saved, id);

        QSettings raw("Kestrix", "ConvertImage");
        raw.beginGroup("MainApp");
        QCOMPARE(raw.value("scaleImage").toString(), QStringLiteral("true"));
        QCOMPARE(raw.value("textFont").toString().section(',', 0, 0), QStringLiteral("Liberation Serif"));
        QCOMPARE(raw.value("textColor").toString(), QStringLiteral("#123456"));
        raw.endGroup();

        ConversionSettings loaded;
        loadConversionSettings(loaded, labelFont());
        QCOMPARE(loaded.lastPicturesDir, saved.lastPicturesDir);
        QCOMPARE(loaded.targeFileType, 5);
        QCOMPARE(loaded.targeFileQuality, 42);
        QCOMPARE(loaded.outputFolder, saved.outputFolder);
        QCOMPARE(loaded.pdfFileName, saved.pdfFileName);
        QCOMPARE(loaded.pdfPaperSize, 3);
        QCOMPARE(loaded.resizeImageToPaper, true);
        QCOMPARE(loaded.pdfSmoothEdges, false);
        QCOMPARE(loaded.pdfQuality, 5);
        QCOMPARE(loaded.pdfPaperOrientation, 1);
        QCOMPARE(loaded.pdfPaperMargin, 1);
        QCOMPARE(loaded.pdfPaperMarginSize, 33);
        QCOMPARE(loaded.scaleImage, true);
        QCOMPARE(loaded.scaleType, 2);
        QCOMPARE(loaded.scalePercentage, 250);
        QCOMPARE(loaded.scaleAbsoluteWitdh, 640);
        QCOMPARE(loaded.scaleAbsoluteHeight, 480);
        QCOMPARE(loaded.scaleRelativeTo, 1);
        QCOMPARE(loaded.scaleRelativeWidth, 800);
        QCOMPARE(loaded.scaleRelativeHeight, 600);
        QCOMPARE(loaded.textContent, saved.textContent);
        QCOMPARE(loaded.textFont.family(), QStringLiteral("Liberation Serif"));
        QCOMPARE(loaded.textSize, 48);
        QCOMPARE(loaded.textColor, saved.textColor);
        QCOMPARE(loaded.textPosition, 0);
        QCOMPARE(loaded.textOpacity, 55);
        QCOMPARE(loaded.textMargin, 7);
        QCOMPARE(loaded.imagePath, saved.imagePath);
        QCOMPARE(loaded.imageSize, 20);
        QCOMPARE(loaded.imagePosition, 4);
        QCOMPARE(loaded.imageOpacity, 60);
        QCOMPARE(loaded.imageMargin, 9);
        QCOMPARE(loaded.qrCodeText, saved.qrCodeText);
        QCOMPARE(loaded.qrCodeSize, 300);
        QCOMPARE(loaded.qrCodePosition, 2);
        QCOMPARE(loaded.qrCodeMargin, 11);
        QCOMPARE(loaded.adjustGrayScale, 1);
        QCOMPARE(loaded.adjustSepia, 1);
        QCOMPARE(loaded.adjustContrast, -40);
        QCOMPARE(loaded.adjustBrightness, 25);
        QCOMPARE(loaded.adjustGamma, 650);
        QCOMPARE(loaded.adjustInvertColours, 128);
        QCOMPARE(loaded.setBlurRadius, 50);
    }

    void positionsOutsideTheListLoadAsBottomRight_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("0 stays") << QVariant(0) << 0;
        QTest::newRow("8 stays") << QVariant(8) << 8;
        QTest::newRow("9") << QVariant(9) << 8;
        QTest::newRow("-1") << QVariant(-1) << 8;
        QTest::newRow("text reads as 0") << QVariant("abc") << 0;
    }

    void positionsOutsideTheListLoadAsBottomRight()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, loaded);
        {
            QSettings raw("Kestrix", "ConvertImage");
            raw.beginGroup("MainApp");
            raw.setValue("textPosition", stored);
            raw.setValue("imagePosition", stored);
            raw.setValue("qrCodePosition", stored);
        }
        ConversionSettings s;
        loadConversionSettings(s, labelFont());
        QCOMPARE(s.textPosition, loaded);
        QCOMPARE(s.imagePosition, loaded);
        QCOMPARE(s.qrCodePosition, loaded);
    }

    void idOneWritesThreeKeys()
    {
        ConversionSettings s;
        s.pdfFileName = "report";
        s.resizeImageToPaper = true;
        s.pdfSmoothEdges = false;
        s.outputFolder = "/not/written";
        saveConversionSetting(s, SettingPdfFile);
        QSettings raw("Kestrix", "ConvertImage");
        raw.beginGroup("MainApp");
        QCOMPARE(raw.childKeys().size(), 3);
        QCOMPARE(raw.value("pdfFileName").toString(), QStringLiteral("report"));
        QCOMPARE(raw.value("resizeImageToPaper").toBool(), true);
        QCOMPARE(raw.value("pdfSmoothEdges").toBool(), false);
    }

    void everyOtherIdWritesOneKeyAtMost_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("key");
        QTest::newRow("0") << 0 << "outputFolder";
        QTest::newRow("6") << 6 << "scaleAbsoluteWitdh";
        QTest::newRow("14") << 14 << "textColor";
        QTest::newRow("33") << 33 << "setBlurRadius";
        QTest::newRow("100") << 100 << "targeFileType";
        QTest::newRow("102") << 102 << "lastPicturesDir";
        QTest::newRow("108") << 108 << "pdfQuality";
        QTest::newRow("unknown 106") << 106 << "";
    }

    void everyOtherIdWritesOneKeyAtMost()
    {
        QFETCH(int, id);
        QFETCH(QString, key);
        saveConversionSetting(ConversionSettings(), id);
        QSettings raw("Kestrix", "ConvertImage");
        raw.beginGroup("MainApp");
        QCOMPARE(raw.childKeys(), key.isEmpty() ? QStringList() : QStringList{key});
    }

    void snapshotCarriesTheRunFlag()
    {
        setOutputIsPdf(true);
        QCOMPARE(snapshotSettings().outputIsPdf, true);
        setOutputIsPdf(false);
        QCOMPARE(snapshotSettings().outputIsPdf, false);
    }
};

QTEST_GUILESS_MAIN(TestConversionSettings)
#include "tst_conversionsettings.moc"

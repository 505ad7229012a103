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

    // Every key's own round trip goes through the form's controls (form test);
    // here the value types in the store, and the fields whose type the store
    // could change: booleans, texts with line breaks, the font and the colour.
    void roundTripKeepsValuesAndTypes()
    {
        ConversionSettings saved;
        saved.outputFolder = "/out put";
        saved.resizeImageToPaper = true;
        saved.pdfSmoothEdges = false;
        saved.scaleImage = true;
        saved.scalePercentage = 250;
        saved.scaleRelativeWidth = 800;
        saved.textContent = QString::fromUtf8("© Kestrix, 2026");
        saved.textFont = fontFromDescription("Liberation Serif");
        saved.textColor = QColor(0x12, 0x34, 0x56);
        saved.qrCodeText = "https://example.org/\nline two";
        saved.adjustContrast = -40;
        for (int id : {0, 1, 3, 5, 9, 11, 12, 14, 23, 29})
            saveConversionSetting(saved, id);

        QSettings raw("Kestrix", "ConvertImage");
        raw.beginGroup("MainApp");
        QCOMPARE(raw.value("scaleImage").toString(), QStringLiteral("true"));
        QCOMPARE(raw.value("textFont").toString().section(',', 0, 0), QStringLiteral("Liberation Serif"));
        QCOMPARE(raw.value("textColor").toString(), QStringLiteral("#123456"));
        raw.endGroup();

        ConversionSettings loaded;
        loadConversionSettings(loaded, labelFont());
        QCOMPARE(QVariantList({loaded.outputFolder, loaded.resizeImageToPaper, loaded.pdfSmoothEdges,
                               loaded.scaleImage, loaded.scalePercentage, loaded.scaleRelativeWidth,
                               loaded.textContent, loaded.textFont.family(), loaded.textColor, loaded.qrCodeText,
                               loaded.adjustContrast}),
                 QVariantList({saved.outputFolder, true, false, true, 250, 800, saved.textContent,
                               "Liberation Serif", saved.textColor, saved.qrCodeText, -40}));
    }

    // A damaged store never drives the pipeline out of range: amounts load
    // clamped to their control's range, positions as bottom right, and
    // choices keep their number (each user of them reads any other value).
    void storedNumbersLoadWithinTheirControls_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("text size") << "textSize" << QVariant(2147483647) << 999;
        QTest::newRow("contrast") << "adjustContrast" << QVariant(-2147483647) << -255;
        QTest::newRow("gamma") << "adjustGamma" << QVariant(700) << 699;
        QTest::newRow("blur") << "setBlurRadius" << QVariant(-1) << 0;
        QTest::newRow("image size") << "imageSize" << QVariant(0) << 1;
        QTest::newRow("qr size") << "qrCodeSize" << QVariant(1001) << 1000;
        QTest::newRow("text margin") << "textMargin" << QVariant(1000) << 999;
        QTest::newRow("percentage") << "scalePercentage" << QVariant(100000) << 400;
        QTest::newRow("absolute width") << "scaleAbsoluteWitdh" << QVariant(2147483647) << 65535;
        QTest::newRow("relative height") << "scaleRelativeHeight" << QVariant(-5) << 0;
        QTest::newRow("quality") << "targeFileQuality" << QVariant(100) << 99;
        QTest::newRow("in range stays") << "textOpacity" << QVariant(37) << 37;
        QTest::newRow("text reads as 0") << "imageOpacity" << QVariant("abc") << 0;
        QTest::newRow("position 0 stays") << "textPosition" << QVariant(0) << 0;
        QTest::newRow("position 9") << "imagePosition" << QVariant(9) << 8;
        QTest::newRow("position -1") << "qrCodePosition" << QVariant(-1) << 8;
        QTest::newRow("choice kept") << "scaleType" << QVariant(7) << 7;
        QTest::newRow("switch kept") << "adjustGrayScale" << QVariant(2) << 2;
    }

    void storedNumbersLoadWithinTheirControls()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(int, loaded);
        QSettings("Kestrix", "ConvertImage").setValue("MainApp/" + key, stored);
        ConversionSettings s;
        loadConversionSettings(s, labelFont());
        QTemporaryDir dir;
        QSettings exported(dir.filePath("exported.ini"), QSettings::IniFormat);
        saveConversionSettings(exported, s);
        QCOMPARE(exported.value("MainApp/" + key).toInt(), loaded);
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
};

QTEST_GUILESS_MAIN(TestConversionSettings)
#include "tst_conversionsettings.moc"

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
};

QTEST_GUILESS_MAIN(TestConversionSettings)
#include "tst_conversionsettings.moc"

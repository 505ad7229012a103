#include <QtTest>

#include "conversionsettings.h"
#include "kxtest.h"
#include "sourcefiles.h"
#include "targetformats.h"

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
        QCOMPARE(QVariantList({s.targeFileType, s.targeFileQuality, s.pdfQuality, s.pdfPaperMarginSize, s.pdfSmoothEdges,
                               s.resizeImageToPaper, s.textPosition, s.imagePosition, s.qrCodePosition,
                               s.scaleAbsoluteWitdh, s.scaleRelativeHeight, s.imageSize, s.qrCodeSize, s.textColor,
                               s.textFont, s.outputFolder}),
                 QVariantList({0, 95, 2, 20, true, false, 8, 8, 8, 1920, 1080, 100, 100, QColor(Qt::black), labelFont(),
                               QString()}));
    }

    // The stored value types, and fields whose type the store could change.
    // Each id writes its own keys only (id 1, the PDF file, three); the unknown 106 none.
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
        saved.pdfFileName = "report";
        for (int id : {0, 1, 3, 5, 9, 11, 12, 14, 23, 29, 102, 106, 108})
            saveConversionSetting(saved, id);

        QSettings raw("Kestrix", "ConvertImage");
        raw.beginGroup("MainApp");
        QCOMPARE(raw.childKeys(), (QStringList{"adjustContrast", "lastPicturesDir", "outputFolder", "pdfFileName",
                                               "pdfQuality", "pdfSmoothEdges", "qrCodeText", "resizeImageToPaper",
                                               "scaleImage", "scalePercentage", "scaleRelativeWidth", "textColor",
                                               "textContent", "textFont"}));
        QCOMPARE(raw.value("scaleImage").toString(), QStringLiteral("true"));
        QCOMPARE(raw.value("textFont").toString().section(',', 0, 0), QStringLiteral("Liberation Serif"));
        QCOMPARE(raw.value("textColor").toString(), QStringLiteral("#123456"));
        raw.endGroup();

        ConversionSettings loaded;
        loadConversionSettings(loaded, labelFont());
        QCOMPARE(QVariantList({loaded.outputFolder, loaded.resizeImageToPaper, loaded.pdfSmoothEdges,
                               loaded.scaleImage, loaded.scalePercentage, loaded.scaleRelativeWidth,
                               loaded.textContent, loaded.textFont.family(), loaded.textColor, loaded.qrCodeText,
                               loaded.adjustContrast, loaded.pdfFileName}),
                 QVariantList({saved.outputFolder, true, false, true, 250, 800, saved.textContent,
                               "Liberation Serif", saved.textColor, saved.qrCodeText, -40, "report"}));
    }

    // A damaged store never drives the pipeline out of range: amounts clamp to
    // their control, positions fall back to bottom right, choices stay as stored.
    void storedNumbersLoadWithinTheirControls_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("text size") << "textSize" << QVariant(2147483647) << 999;
        QTest::newRow("contrast") << "adjustContrast" << QVariant(-2147483647) << -255;
        QTest::newRow("absolute width") << "scaleAbsoluteWitdh" << QVariant(2147483647) << 65535;
        QTest::newRow("in range stays") << "textOpacity" << QVariant(37) << 37;
        QTest::newRow("text reads as 0") << "imageOpacity" << QVariant("abc") << 0;
        QTest::newRow("position 0 stays") << "textPosition" << QVariant(0) << 0;
        QTest::newRow("position 9") << "imagePosition" << QVariant(9) << 8;
        QTest::newRow("choice kept") << "scaleType" << QVariant(7) << 7;
        // The metadata choice read from an older store's booleans, and written back into them.
        using Map = QVariantMap;
        QTest::newRow("old: all but location") << "metadata" << QVariant(Map{{"removeLocation", true}}) << 1;
        QTest::newRow("old: not kept") << "metadata" << QVariant(Map{{"keepMetadata", false}, {"removeLocation", true}}) << 2;
        QTest::newRow("choice over booleans") << "metadata" << QVariant(Map{{"metadata", 3}, {"keepMetadata", true}}) << 3;
        QTest::newRow("choice: none not kept") << "keepMetadata" << QVariant(Map{{"metadata", 3}, {"keepMetadata", true}}) << 0;
        QTest::newRow("choice: no location") << "removeLocation" << QVariant(Map{{"metadata", 1}}) << 1;
    }

    void storedNumbersLoadWithinTheirControls()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(int, loaded);
        QSettings store("Kestrix", "ConvertImage");
        const QVariantMap keys = stored.typeId() == QMetaType::QVariantMap ? stored.toMap() : QVariantMap{{key, stored}};
        for (auto it = keys.cbegin(); it != keys.cend(); ++it)
            store.setValue("MainApp/" + it.key(), it.value());
        store.sync();
        ConversionSettings s;
        loadConversionSettings(s, labelFont());
        QTemporaryDir dir;
        QSettings exported(dir.filePath("exported.ini"), QSettings::IniFormat);
        saveConversionSettings(exported, s);
        QCOMPARE(exported.value("MainApp/" + key).toInt(), loaded);
    }

    // A settings file is checked the way --set checks a value, each problem with its line.
    void settingsFileProblems_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("problems");
        QTemporaryDir dir;
        {
            QSettings exported(dir.filePath("exported.ini"), QSettings::IniFormat);
            ConversionSettings s;
            s.textFont = labelFont();
            s.textColor = QColor(0x12, 0x34, 0x56);
            saveConversionSettings(exported, s);
        }
        QTest::newRow("an export") << kxtest::readFile(dir.filePath("exported.ini")) << "";
        QTest::newRow("wrong types") << QByteArray("[MainApp]\n\ntextSize=big\nkeepMetadata=yes\ntextColor=#12\nx=1\n")
                                     << "3 textSize, 4 keepMetadata, 5 textColor, 6 x";
        QTest::newRow("unquoted comma") << QByteArray("[MainApp]\ntextContent=Hello, world\n") << "2 textContent";
        QTest::newRow("other groups unread") << QByteArray("[General]\nfoo=1\n[MainApp]\ntextSize = 12\n") << "";
    }

    void settingsFileProblems()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, problems);
        QTemporaryDir dir;
        const QString path = kxtest::writeFile(dir.filePath("settings.ini"), text);
        QStringList found;
        for (const SettingsFileProblem &problem : ::settingsFileProblems(path))
            found << QStringLiteral("%1 %2").arg(problem.line).arg(problem.key);
        QCOMPARE(found.join(", "), problems);
    }

    // The stored target index picks the format in this order; the dialogs
    // list the types in their old order, and every spelling of a readable
    // row is accepted, in any letter case.
    void formatTable()
    {
        QStringList labels;
        for (const ImageFormat &f : targetFormats())
            labels << f.label + f.targetExtension();
        QCOMPARE(labels, (QStringList{"AVIF.avif", "GIF.gif", "HEIC.heic", "HEIF.heif", "JPG.jpg", "JPEG XL.jxl",
                                      "PNG.png", "TIFF.tiff", "WEBP.webp", "PDF.pdf"}));
        QCOMPARE(targetFormatAt(12).label + targetFormatAt(-1).label, QStringLiteral("AVIFAVIF"));
        QCOMPARE(imageFileDialogFilter(),
                 QStringLiteral("Image Files (*.avif *.avifs *.gif *.heic *.heif *.jpg *.jpeg *.jxl *.png *.tif *.tiff "
                                "*.webp *.pdf *.svg *.svgz *.dng *.cr2 *.cr3 *.crw *.nef *.nrw *.arw *.srf *.sr2 *.orf *.raf *.rw2 "
                                "*.rwl *.pef *.kdc *.dcr *.srw *.3fr *.fff *.erf *.mrw *.mef *.mos *.iiq)"));
        for (const ImageFormat &f : imageFormats()) {
            for (const QString &extension : f.extensions)
                QVERIFY2(hasSupportedImageExtension("a." + extension.toUpper()) == f.canRead, qPrintable(extension));
        }
    }

    void pathRules()
    {
        // The PDF name's suffix rule and the one-character, missing and empty
        // output folders are the convert command's (tst_convertcommand).
        QTemporaryDir dir;
        QVERIFY(!isValidPdfOutput(dir.path(), dir.path() + "/missing/a.pdf"));
    }
};

QTEST_GUILESS_MAIN(TestConversionSettings)
#include "tst_conversionsettings.moc"

// The predicted output against the run's, and the newest request winning.

#include <QtTest>

#include <QTemporaryDir>

#include "conversionrun.h"
#include "kxtest.h"
#include "outputprediction.h"
#include "targetformats.h"

class TestOutputPrediction : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(folder.isValid());
        // A JPEG source with a camera's EXIF, so the metadata route is taken too.
        source = kxtest::writeFile(folder.filePath("photo.jpg"),
                                   kxtest::jpegWithExifOrientation(jpegPhoto(), 1));
    }

    // What a conversion of the file writes is what was predicted, byte for
    // byte; a PDF holds its making time, so there the size is compared.
    void predictionIsTheRunsOutput_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("limitKb"); // 0: no size limit
        QTest::addColumn<QString>("expectedFormat");
        QTest::newRow("AVIF") << int(TargetAvif) << 0 << "AVIF q70";
        QTest::newRow("GIF") << int(TargetGif) << 0 << "GIF";
        QTest::newRow("HEIC") << int(TargetHeic) << 0 << "HEIC q60";
        QTest::newRow("HEIF") << int(TargetHeif) << 0 << "HEIF q60";
        QTest::newRow("JPG") << int(TargetJpg) << 0 << "JPG q95";
        QTest::newRow("JPEG XL") << int(TargetJpegXl) << 0 << "JPEG XL q90";
        QTest::newRow("PNG") << int(TargetPng) << 0 << "PNG";
        QTest::newRow("TIFF") << int(TargetTiff) << 0 << "TIFF";
        QTest::newRow("WEBP") << int(TargetWebp) << 0 << "WEBP q75";
        QTest::newRow("WEBP within 20 KB") << int(TargetWebp) << 20 << "";
        QTest::newRow("PDF") << int(TargetPdf) << 0 << "";
    }

    void predictionIsTheRunsOutput()
    {
        QFETCH(int, target);
        QFETCH(int, limitKb);
        QFETCH(QString, expectedFormat);
        ConversionSettings settings;
        settings.targeFileType = target;
        settings.scaleImage = true;
        settings.scalePercentage = 50;
        settings.limitFileSize = limitKb > 0;
        settings.fileSizeLimitKb = qMax(limitKb, 1);
        settings.fileSizeMinQuality = 1;
        const std::atomic_bool cancel{false};
        const PredictedOutput predicted = predictOutput({source, settings, predictionPictureGeneration()}, cancel);
        QVERIFY2(predicted.error.isEmpty(), qPrintable(predicted.error));

        QTemporaryDir out;
        ConversionJob job;
        job.sources = {source};
        const QString extension = targetFormatAt(target).targetExtension();
        settings.outputFolder = out.path();
        settings.pdfFileName = "run";
        job.settings = {settings};
        job.outputFolder = out.path();
        job.targetExtension = extension;
        const ConversionResult run = runConversion(job);
        QCOMPARE(run.files.size(), 1);
        QCOMPARE(run.files.first().outputs.size(), 1);
        const QByteArray written = kxtest::readFile(run.files.first().outputs.first());
        if (target == TargetPdf) {
            QCOMPARE(predicted.bytes.size(), written.size());
            QVERIFY(predicted.pdfPage);
            return;
        }
        QVERIFY(predicted.bytes == written);
        QCOMPARE(predicted.pixels, QSize(320, 240));
        if (limitKb > 0) {
            // The search's landing is told, and it is the one whose file fits.
            QVERIFY(written.size() <= limitKb * 1000);
            QVERIFY(predicted.quality > 1 && predicted.quality < 100);
        } else {
            QCOMPARE(outputFormatText(predicted), expectedFormat);
        }
    }

    // Settings changed while an encode runs: the older requests are
    // cancelled and only the newest is told, with its own answer.
    void newestRequestWins()
    {
        OutputPredictor predictor;
        QSignalSpy told(&predictor, &OutputPredictor::predicted);
        QSignalSpy busy(&predictor, &OutputPredictor::busyChanged);
        ConversionSettings settings;
        settings.targeFileType = TargetWebp;
        for (const int quality : {90, 60, 20}) {
            settings.webpQuality = quality;
            predictor.request({source, settings, predictionPictureGeneration()});
        }
        QVERIFY(predictor.isBusy());
        QVERIFY(kxtest::waitUntil([&] { return !predictor.isBusy(); }, 60000));
        QCOMPARE(told.size(), 1);
        const auto told20 = told.first().first().value<PredictedOutput>();
        QCOMPARE(told20.quality, 20.0);
        const std::atomic_bool cancel{false};
        QVERIFY(told20.bytes == predictOutput({source, settings, predictionPictureGeneration()}, cancel).bytes);
        QCOMPARE(busy.first().first().toBool(), true);
        QCOMPARE(busy.last().first().toBool(), false);
    }

    void predictionText_data()
    {
        QTest::addColumn<qint64>("sourceBytes");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<double>("quality");
        QTest::addColumn<QString>("expected");
        QTest::newRow("smaller") << qint64(1441000) << 245000 << 75.0 << "≈ 245 KB (−83 %), 1600 × 1067, WEBP q75";
        QTest::newRow("larger, a fraction of a point")
                << qint64(1000000) << 1250001 << 62.5 << "≈ 1.3 MB (+25 %), 1600 × 1067, WEBP q62.5";
        QTest::newRow("no source size, bytes round up") << qint64(0) << 1 << -1.0 << "≈ 1 KB, 1600 × 1067, WEBP";
    }

    void predictionText()
    {
        QFETCH(qint64, sourceBytes);
        QFETCH(int, bytes);
        QFETCH(double, quality);
        QFETCH(QString, expected);
        PredictedOutput output;
        output.sourceBytes = sourceBytes;
        output.bytes = QByteArray(bytes, 'x');
        output.quality = quality;
        output.format = "WEBP";
        output.pixels = QSize(1600, 1067);
        QCOMPARE(::predictionText(output), expected);
    }

private:
    static QByteArray jpegPhoto()
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        kxtest::makePhotoLikeImage(640, 480).save(&buffer, "JPG", 90);
        return bytes;
    }

    QTemporaryDir folder;
    QString source;
};

QTEST_MAIN(TestOutputPrediction)
#include "tst_outputprediction.moc"

// The preview worker on its own; the cache answers it works with, and the
// cache file it allocates, are checked through the form.

#include <QtTest>

#include <QSignalSpy>

#include "kxtest.h"
#include "loadpreviewimagethread.h"
#include "thumbnailcache.h"

class TestLoadPreviewImageThread : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(dir.isValid());
    }

    void shrinksIntoBoundsAndWritesGivenFile_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("4:3") << QSize(4000, 3000) << QSize(308, 231);
        QTest::newRow("small") << QSize(200, 100) << QSize(200, 100);
        // A source that cannot be decoded: a null image, and no cache file.
        QTest::newRow("undecodable") << QSize() << QSize(0, 0);
    }

    void shrinksIntoBoundsAndWritesGivenFile()
    {
        QFETCH(QSize, source);
        QFETCH(QSize, expected);
        const QString path = source.isValid()
                                 ? kxtest::photoFile(dir.path(), QString("src_%1.jpg").arg(source.width()), source)
                                 : kxtest::writeFile(dir.filePath("broken.jpg"), "not a picture");
        QVERIFY(!path.isEmpty());
        const QString cacheFile = dir.filePath(QString("given_%1.webp").arg(source.width()));

        LoadPreviewImageThread worker{ConversionSettings()};
        worker.hasThumbnailPath = true;
        worker.thumbnailFilePath = cacheFile;
        QSignalSpy spy(&worker, &LoadPreviewImageThread::updatePreviewImage);
        worker.createPreviewImage(path, QSize(400, 231));

        QCOMPARE(spy.count(), 1);
        const QImage image = spy.at(0).at(0).value<QImage>();
        QCOMPARE(image.size(), expected);
        QCOMPARE(QFile::exists(cacheFile), !expected.isEmpty());
        if (!expected.isEmpty())
            QCOMPARE(QImage(cacheFile).size(), expected);
    }

    void stoppedWorkerReportsNullAndSavesNothing()
    {
        const QString path = kxtest::photoFile(dir.path(), "stopped.jpg", QSize(640, 480));
        const QString cacheFile = dir.filePath("stopped.webp");
        const int before = thumbnailRecords().size();

        LoadPreviewImageThread worker{ConversionSettings()};
        worker.stop = true;
        QSignalSpy spy(&worker, &LoadPreviewImageThread::updatePreviewImage);
        worker.createPreviewImage(path, QSize(400, 231));
        QCOMPARE(spy.count(), 1);
        QVERIFY(spy.at(0).at(0).value<QImage>().isNull());
        QVERIFY(!QFile::exists(cacheFile));
        QCOMPARE(thumbnailRecords().size(), before);
    }

    void usesItsSettingsSnapshot()
    {
        const QString path = kxtest::photoFile(dir.path(), "scaled.jpg", QSize(600, 300));
        ConversionSettings settings;
        settings.scaleImage = true;
        settings.scaleType = ScaleByPercentage;
        settings.scalePercentage = 50;
        LoadPreviewImageThread worker(settings);
        worker.hasThumbnailPath = true;
        worker.thumbnailFilePath = dir.filePath("scaled.webp");
        // The process-wide record says otherwise; the worker must not look at it.
        conversionSettings().scaleImage = false;
        QSignalSpy spy(&worker, &LoadPreviewImageThread::updatePreviewImage);
        worker.createPreviewImage(path, QSize(400, 231));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<QImage>().size(), QSize(300, 150));
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestLoadPreviewImageThread)
#include "tst_loadpreviewimagethread.moc"

// The inline preview through the form: the countdown, the cache answers and
// the workers' life; what a selection shows is checked through the window.

#include <QtTest>

#include "convertimageform.h"
#include "convertimagepreviewlabel.h"
#include "kxdialogs.h"
#include "kxtest.h"
#include "loadpreviewimagethread.h"
#include "thumbnailcache.h"

namespace {

QStringList messages;

void collectMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg)
        messages.append(message);
}

int countMessages(const QString &text, bool prefix = false)
{
    int n = 0;
    for (const QString &message : std::as_const(messages))
        n += (prefix ? message.startsWith(text) : message == text) ? 1 : 0;
    return n;
}

} // namespace

class TestConvertImageFormPreview : public QObject
{
    Q_OBJECT

private:
    ConvertImageForm *form = nullptr;
    QTemporaryDir dir;

    ConvertImagePreviewLabel *label() { return form->findChild<ConvertImagePreviewLabel *>("previewImage"); }

    void tick(int n)
    {
        for (int i = 0; i < n; ++i)
            form->on_updateTimer();
    }

    void runRequest(const QString &path, bool refresh)
    {
        form->loadImage(path, refresh);
        tick(16);
    }

    void waitIdle() { QTRY_VERIFY_WITH_TIMEOUT(!form->previewLoading, 20000); }

    static QString cachePath(const ThumbnailRecord &record)
    {
        return thumbnailFolder() + QString::number(record.number) + ".webp";
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        qInstallMessageHandler(collectMessages);
    }

    void init()
    {
        messages.clear();
        form = new ConvertImageForm;
    }

    void cleanup()
    {
        delete form;
        form = nullptr;
    }

    void countdownRunsOnlyTheLastRequestOnce()
    {
        const QString run = "ConvertImageForm::_loadImage: ";
        // Ticks of 75 ms: 500 ms between requests is six to seven ticks.
        form->loadImage(dir.filePath("a.jpg"), false);
        QCOMPARE(countMessages("start Timer"), 1);
        tick(7);
        form->loadImage(dir.filePath("b.jpg"), false);
        tick(7);
        form->loadImage(dir.filePath("c.jpg"), false);
        QCOMPARE(countMessages("start Timer"), 1);
        tick(15);
        QCOMPARE(countMessages(run, true), 0);
        tick(1);
        QCOMPARE(countMessages(run, true), 1);
        QCOMPARE(countMessages(run + dir.filePath("c.jpg")), 1);
        tick(40);
        QCOMPARE(countMessages(run, true), 1);
    }

    // A cached picture asked for after a slow one shows at once, without a
    // worker, and stays; a pending refresh is kept by the request that
    // replaces it; closing waits for a running worker.
    void latestRequestWins()
    {
        const QString small = kxtest::photoFile(dir.path(), "small.jpg", QSize(200, 100));
        runRequest(small, false);
        waitIdle();
        QCOMPARE(label()->pixmap().size(), QSize(200, 100));
        const QString big = kxtest::photoFile(dir.path(), "big.jpg", QSize(4000, 3000));
        runRequest(big, false);
        QVERIFY(form->previewLoading);
        runRequest(small, false);
        QCOMPARE(label()->pixmap().size(), QSize(200, 100));
        waitIdle();
        QCoreApplication::processEvents();
        QCOMPARE(label()->pixmap().size(), QSize(200, 100));

        // A settings change, then another selection: the cached file is rendered again.
        messages.clear();
        form->loadImage(big, true);
        runRequest(small, false);
        QCOMPARE(countMessages("thumbnailFilePath: ", true), 1);
        QCOMPARE(countMessages("thumbnailFilePath: "), 0); // into the file it has, not a new one
        waitIdle();

        QSignalSpy closeApp(form, &ConvertImageForm::closeApp);
        runRequest(big, true);
        QVERIFY(form->previewLoading);
        form->requestStopForClose();
        QCOMPARE(closeApp.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(closeApp.count(), 1, 20000);
        QVERIFY(!form->previewLoading);
        // Left rendering: cleanup() destroys the form, which stops and waits for the worker.
        runRequest(big, true);
        QVERIFY(form->previewLoading);
    }

    void worker_data()
    {
        QTest::addColumn<QSize>("source"); // invalid: not a picture
        QTest::addColumn<bool>("stop");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("undecodable") << QSize() << false << QSize(0, 0);
        QTest::newRow("stopped") << QSize(640, 480) << true << QSize(0, 0);
        QTest::newRow("halved by its own settings") << QSize(600, 300) << false << QSize(300, 150);
    }

    // The worker on its own: its settings snapshot, a source it cannot decode
    // (no cache file), a stop before it starts (no cache record).
    void worker()
    {
        QFETCH(QSize, source);
        QFETCH(bool, stop);
        QFETCH(QSize, expected);
        const QString name = QTest::currentDataTag() + QStringLiteral(".jpg");
        const QString path = source.isValid() ? kxtest::photoFile(dir.path(), name, source)
                                              : kxtest::writeFile(dir.filePath(name), "not a picture");
        ConversionSettings settings;
        settings.scaleImage = true;
        settings.scaleType = ScaleByPercentage;
        settings.scalePercentage = 50;
        conversionSettings().scaleImage = false; // the process-wide record must not be read
        LoadPreviewImageThread worker(settings);
        worker.stop = stop;
        const qsizetype before = thumbnailRecords().size();
        QSignalSpy spy(&worker, &LoadPreviewImageThread::updatePreviewImage);
        worker.createPreviewImage(path, QSize(400, 231));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<QImage>().size(), expected);
        QCOMPARE(thumbnailRecords().size(), before + (stop ? 0 : 1));
        if (!stop)
            QCOMPARE(QImage(cachePath(thumbnailRecords().last())).size(), expected);
    }
};

QTEST_MAIN(TestConvertImageFormPreview)
#include "tst_convertimageformpreview.moc"

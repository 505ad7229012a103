// The inline preview through the form: the countdown, the cache answers and
// the workers' life. What a selection shows is checked through the window in
// tests/app.

#include <QtTest>

#include "convertimageform.h"
#include "convertimagepreviewlabel.h"
#include "kxdialogs.h"
#include "kxtest.h"
#include "previewdialog.h"
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

    // A request driven through its whole countdown.
    void runRequest(const QString &path, bool refresh)
    {
        form->loadImage(path, refresh);
        tick(16);
    }

    void waitIdle() { QTRY_VERIFY_WITH_TIMEOUT(!form->previewLoading, 20000); }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(dir.isValid());
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

    // The three cache answers through the form; a pending refresh is kept by
    // the request that replaces it.
    void showReuseAndNewAnswers()
    {
        const QString path = kxtest::photoFile(dir.path(), "answers.jpg", QSize(1920, 1080));
        const int before = thumbnailRecords().size();

        // New: the worker allocates a cache file and registers it.
        runRequest(path, false);
        QCOMPARE(countMessages("thumbnailFilePath: "), 1);
        QVERIFY(form->previewLoading);
        waitIdle();
        QCOMPARE(label()->pixmap().size(), QSize(399, 224));
        QCOMPARE(thumbnailRecords().size(), before + 1);
        const QString cacheFile = thumbnailFolder() + QString::number(thumbnailRecords().last().number) + ".webp";
        QVERIFY(QFile::exists(cacheFile));

        // Show: the cached file is shown at once, without a worker.
        label()->setText("Preview");
        messages.clear();
        runRequest(path, false);
        QVERIFY(!form->previewLoading);
        QCOMPARE(countMessages("thumbnailFilePath: ", true), 0);
        QVERIFY(!thumbnailRecords().last().stale);
        QVERIFY(label()->hasImage);
        QCOMPARE(label()->pixmap().size(), QSize(399, 224));

        // Reuse: a settings change followed by a new selection; everything is
        // stale and the worker renders into the same file.
        form->loadImage(path, true);
        runRequest(path, false);
        QCOMPARE(countMessages("thumbnailFilePath: " + cacheFile), 1);
        QVERIFY(form->previewLoading);
        waitIdle();
        for (const ThumbnailRecord &record : thumbnailRecords())
            QVERIFY(record.stale);
        QCOMPARE(thumbnailRecords().size(), before + 1);
        QVERIFY(label()->hasImage);
    }

    void outdatedResultIsNotShown()
    {
        const QString small = kxtest::photoFile(dir.path(), "small.jpg", QSize(200, 100));
        runRequest(small, false);
        waitIdle();
        QCOMPARE(label()->pixmap().size(), QSize(200, 100));

        // A slow picture is started, then the cached small one is asked for: the
        // small one shows at once and the slow one, when it arrives, must not
        // replace it.
        const QString big = kxtest::photoFile(dir.path(), "big.jpg", QSize(4000, 3000));
        runRequest(big, false);
        QVERIFY(form->previewLoading);
        runRequest(small, false);
        QCOMPARE(label()->pixmap().size(), QSize(200, 100));
        waitIdle();
        QCoreApplication::processEvents();
        QCOMPARE(label()->pixmap().size(), QSize(200, 100));
        // Left rendering: cleanup() destroys the form, which stops and waits for the worker.
        runRequest(big, true);
        QVERIFY(form->previewLoading);
    }

    void closingWaitsForThePreviewWorker()
    {
        const QString path = kxtest::photoFile(dir.path(), "closing.jpg", QSize(3000, 2000));
        QSignalSpy closeApp(form, &ConvertImageForm::closeApp);
        runRequest(path, true);
        QVERIFY(form->previewLoading);
        form->requestStopForClose();
        QCOMPARE(closeApp.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(closeApp.count(), 1, 20000);
        QVERIFY(!form->previewLoading);
    }

    // Escape hides the dialog like its close button, so a double-click opens it again.
    void escapeThenDoubleClickOpensAgain()
    {
        runRequest(writeJpeg("full.jpg", 64, 48), false);
        waitIdle();
        int opened = 0;
        for (int i = 0; i < 2; ++i) {
            kxtest::whenModalShown<PreviewDialog>([&opened](PreviewDialog *dialog) {
                ++opened;
                QTest::keyClick(dialog, Qt::Key_Escape);
            });
            form->on_PreviewImage_DoubleClick();
        }
        QCOMPARE(opened, 2);
    }
};

QTEST_MAIN(TestConvertImageFormPreview)
#include "tst_convertimageformpreview.moc"

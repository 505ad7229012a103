#include <QtTest>

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>

#include "convertimageform.h"
#include "convertimagepreviewlabel.h"
#include "kxtest.h"
#include "thumbnailcache.h"

namespace {

QStringList messages;

void collectMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg)
        messages.append(message);
}

int countMessages(const QString &text)
{
    int n = 0;
    for (const QString &message : std::as_const(messages))
        n += message == text ? 1 : 0;
    return n;
}

int countPrefixed(const QString &prefix)
{
    int n = 0;
    for (const QString &message : std::as_const(messages))
        n += message.startsWith(prefix) ? 1 : 0;
    return n;
}

// Closes the modal dialog by Escape once it is running; notes that it ran.
void escapeModalLater(int *opened)
{
    QTimer::singleShot(50, [opened] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            ++*opened;
            QTest::keyClick(modal, Qt::Key_Escape);
        }
    });
}

} // namespace

class TestConvertImageFormPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void countdownRunsOnlyTheLastRequestOnce();
    void timerRunsTheRequestByItself();
    void latestRefreshFlagWins();
    void showReuseAndNewAnswers();
    void outdatedResultIsNotShown();
    void closingWaitsForThePreviewWorker();
    void destroyingFormWhileRendering();
    void escapeThenDoubleClickOpensAgain();
    void fitIconDrawnOnlyOverPicture();

private:
    void tick(int n);
    void runRequest(const QString &path, bool refresh);
    void waitIdle();
    QString writeJpeg(const QString &name, int width, int height);
    ConvertImagePreviewLabel *label() { return form->findChild<ConvertImagePreviewLabel *>("previewImage"); }

    ConvertImageForm *form = nullptr;
    QTemporaryDir dir;
};

void TestConvertImageFormPreview::initTestCase()
{
    kxtest::isolateUserData();
    QVERIFY(dir.isValid());
    qInstallMessageHandler(collectMessages);
}

void TestConvertImageFormPreview::init()
{
    messages.clear();
    form = new ConvertImageForm;
}

void TestConvertImageFormPreview::cleanup()
{
    delete form;
    form = nullptr;
}

void TestConvertImageFormPreview::tick(int n)
{
    for (int i = 0; i < n; ++i)
        form->on_updateTimer();
}

// A request driven through its whole countdown.
void TestConvertImageFormPreview::runRequest(const QString &path, bool refresh)
{
    form->loadImage(path, refresh);
    tick(16);
}

void TestConvertImageFormPreview::waitIdle()
{
    QTRY_VERIFY_WITH_TIMEOUT(!form->previewLoading, 20000);
}

QString TestConvertImageFormPreview::writeJpeg(const QString &name, int width, int height)
{
    const QString path = dir.filePath(name);
    if (!kxtest::makePhotoLikeImage(width, height).save(path, "JPG", 80))
        return {};
    return path;
}

void TestConvertImageFormPreview::countdownRunsOnlyTheLastRequestOnce()
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
    QCOMPARE(countPrefixed(run), 0);
    tick(1);
    QCOMPARE(countPrefixed(run), 1);
    QCOMPARE(countMessages(run + dir.filePath("c.jpg")), 1);
    tick(40);
    QCOMPARE(countPrefixed(run), 1);
}

void TestConvertImageFormPreview::timerRunsTheRequestByItself()
{
    form->loadImage(dir.filePath("timed.jpg"), false);
    QTRY_COMPARE_WITH_TIMEOUT(countPrefixed("ConvertImageForm::_loadImage: "), 1, 5000);
}

void TestConvertImageFormPreview::latestRefreshFlagWins()
{
    const QString path = writeJpeg("refresh.jpg", 640, 480);
    runRequest(path, false);
    waitIdle();
    const int records = thumbnailRecords().size();

    // A settings change followed by a new selection: the selection's flag wins,
    // nothing is marked stale and the cached picture is shown without a worker.
    messages.clear();
    form->loadImage(path, true);
    form->loadImage(path, false);
    tick(16);
    QVERIFY(!form->previewLoading);
    QCOMPARE(countPrefixed("thumbnailFilePath: "), 0);
    for (const ThumbnailRecord &record : thumbnailRecords()) {
        if (record.sourcePath == path)
            QVERIFY(!record.stale);
    }

    // The other way round the refresh wins: everything is stale and re-rendered.
    form->loadImage(path, false);
    form->loadImage(path, true);
    tick(16);
    QVERIFY(form->previewLoading);
    waitIdle();
    for (const ThumbnailRecord &record : thumbnailRecords())
        QVERIFY(record.stale);
    QCOMPARE(thumbnailRecords().size(), records);
}

void TestConvertImageFormPreview::showReuseAndNewAnswers()
{
    const QString path = writeJpeg("answers.jpg", 1920, 1080);
    const int before = thumbnailRecords().size();

    // New: the worker allocates a cache file and registers it.
    label()->setText("Preview");
    runRequest(path, false);
    QCOMPARE(countMessages("thumbnailFilePath: "), 1);
    QVERIFY(form->previewLoading);
    waitIdle();
    QVERIFY(label()->hasImage);
    QCOMPARE(label()->pixmap().size(), QSize(399, 224));
    QCOMPARE(thumbnailRecords().size(), before + 1);
    const ThumbnailRecord record = thumbnailRecords().last();
    const QString cacheFile = thumbnailFolder() + QString::number(record.number) + ".webp";
    QVERIFY(QFile::exists(cacheFile));

    // Show: the cached file, at once, without a worker.
    label()->setText("Preview");
    messages.clear();
    runRequest(path, false);
    QVERIFY(!form->previewLoading);
    QCOMPARE(countPrefixed("thumbnailFilePath: "), 0);
    QVERIFY(label()->hasImage);
    QCOMPARE(label()->pixmap().size(), QSize(399, 224));

    // Reuse: after a settings change the worker renders into the same file.
    messages.clear();
    runRequest(path, true);
    QCOMPARE(countMessages("thumbnailFilePath: " + cacheFile), 1);
    QVERIFY(form->previewLoading);
    waitIdle();
    QCOMPARE(thumbnailRecords().size(), before + 1);
    QVERIFY(label()->hasImage);
}

void TestConvertImageFormPreview::outdatedResultIsNotShown()
{
    const QString small = writeJpeg("small.jpg", 200, 100);
    runRequest(small, false);
    waitIdle();
    QCOMPARE(label()->pixmap().size(), QSize(200, 100));

    // A slow picture is started, then the cached small one is asked for: the
    // small one shows at once and the slow one, when it arrives, must not
    // replace it.
    const QString big = writeJpeg("big.jpg", 4000, 3000);
    runRequest(big, false);
    QVERIFY(form->previewLoading);
    runRequest(small, false);
    QCOMPARE(label()->pixmap().size(), QSize(200, 100));
    waitIdle();
    QCoreApplication::processEvents();
    QCOMPARE(label()->pixmap().size(), QSize(200, 100));
}

void TestConvertImageFormPreview::closingWaitsForThePreviewWorker()
{
    const QString path = writeJpeg("closing.jpg", 3000, 2000);
    QSignalSpy closeApp(form, &ConvertImageForm::closeApp);
    runRequest(path, true);
    QVERIFY(form->previewLoading);
    form->requestStopForClose();
    QCOMPARE(closeApp.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(closeApp.count(), 1, 20000);
    QVERIFY(!form->previewLoading);
}

void TestConvertImageFormPreview::destroyingFormWhileRendering()
{
    const QString path = writeJpeg("destroy.jpg", 3000, 2000);
    runRequest(path, true);
    runRequest(path, true);
    QVERIFY(form->previewLoading);
    // The destructor stops and waits for both workers.
    delete form;
    form = nullptr;
    QTest::qWait(20);
}

// Escape hides the dialog like its close button, so a double-click or a
// click on the fit icon opens it again.
void TestConvertImageFormPreview::escapeThenDoubleClickOpensAgain()
{
    int opened = 0;
    escapeModalLater(&opened);
    form->on_PreviewImage_DoubleClick();
    QCOMPARE(opened, 1);
    escapeModalLater(&opened);
    form->on_PreviewImage_DoubleClick();
    QCOMPARE(opened, 2);
    escapeModalLater(&opened);
    QTest::mouseClick(label(), Qt::LeftButton, {}, QPoint(label()->width() - 20, 20));
    QCOMPARE(opened, 3);
}

void TestConvertImageFormPreview::fitIconDrawnOnlyOverPicture()
{
    const auto iconPixels = [this] {
        const QImage shot = label()->grab().toImage();
        int differing = 0;
        for (int y = 10; y < 34; ++y) {
            for (int x = label()->width() - 34; x < label()->width() - 10; ++x)
                differing += shot.pixel(x, y) != qRgb(255, 0, 0) ? 1 : 0;
        }
        return differing;
    };
    QPixmap red(400, 231);
    red.fill(Qt::red);
    label()->setPreviewPixmap(red);
    QVERIFY(iconPixels() > 20);
    label()->setPreviewPixmap(QPixmap());
    QCOMPARE(iconPixels(), 0);
}

QTEST_MAIN(TestConvertImageFormPreview)
#include "tst_convertimageformpreview.moc"

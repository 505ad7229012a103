#include <QtTest>

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>

#include "convertimagefullpreviewlabel.h"
#include "kxtest.h"
#include "previewdialog.h"

namespace {

// Vertical one-pixel stripes: a nearest-pixel copy of a copy differs from a
// copy of the original, so the tests can tell where a zoom was scaled from.
QImage stripes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = (x % 3 == 0) ? qRgb(255, 0, 0) : qRgb(x % 256, y % 256, 0);
    }
    return image;
}

} // namespace

class TestPreviewDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void constructionSetsShownFlagAndTexts();
    void fits4000x3000();
    void smallImageIsEnlarged();
    void nullImageShowsZeroSize();
    void zoomOutLowerBound();
    void tenZoomStepsScaleFromFullPicture();
    void refusedStepChangesNothing();
    void resizeAfterZoomRefits();
    void panByDragging();
    void hidingClearsShownFlag_data();
    void hidingClearsShownFlag();
    void missingFileChangesNothing();
    void loadsFileThroughWorker();
    void latestFileWins();
    void destroyWhileLoading();

private:
    QLabel *sizeLabel() { return dialog->findChild<QLabel *>("sizeInfoLabel"); }
    QLabel *percentLabel() { return dialog->findChild<QLabel *>("percentResizeLabel"); }
    ConvertImageFullPreviewLabel *picture() { return dialog->findChild<ConvertImageFullPreviewLabel *>("previewLabel"); }
    QScrollArea *scrollArea() { return dialog->findChild<QScrollArea *>("scrollArea"); }
    QSize area() { return scrollArea()->size() - QSize(16, 4); }
    QString writeImage(const QString &name, const QImage &image);

    PreviewDialog *dialog = nullptr;
    bool shown = false;
    QTemporaryDir dir;
};

void TestPreviewDialog::initTestCase()
{
    kxtest::isolateUserData();
    QVERIFY(dir.isValid());
}

void TestPreviewDialog::init()
{
    shown = false;
    dialog = new PreviewDialog(nullptr, &shown);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    // Let the refit that follows the first resize pass.
    QTRY_VERIFY(!dialog->refitPending());
}

void TestPreviewDialog::cleanup()
{
    delete dialog;
    dialog = nullptr;
}

QString TestPreviewDialog::writeImage(const QString &name, const QImage &image)
{
    const QString path = dir.filePath(name);
    if (!image.save(path))
        return {};
    return path;
}

void TestPreviewDialog::constructionSetsShownFlagAndTexts()
{
    QVERIFY(shown);
    QCOMPARE(dialog->windowTitle(), QString("Preview"));
    QCOMPARE(picture()->text(), QString("Loading image. Please wait..."));
    QCOMPARE(sizeLabel()->text(), QString("TextLabel"));
    QCOMPARE(percentLabel()->text(), QString("TextLabel"));
    // The loading text survives the resize that comes with showing the dialog.
    QTest::qWait(30);
    QCOMPARE(picture()->text(), QString("Loading image. Please wait..."));
}

void TestPreviewDialog::fits4000x3000()
{
    dialog->handleFullPreviewImageReady(stripes(4000, 3000));
    QCOMPARE(sizeLabel()->text(), QString("4000x3000"));
    const QSize a = area();
    const float rw = 4000.0f / a.width();
    const float rh = 3000.0f / a.height();
    const QPixmap shownPixmap = picture()->pixmap();
    if (rh > rw)
        QCOMPARE(shownPixmap.height(), a.height());
    else
        QCOMPARE(shownPixmap.width(), a.width());
    QCOMPARE(percentLabel()->text(), QString::number(shownPixmap.width() / 4000.0 * 100.0, 'g', 6) + "%");
    QCOMPARE(picture()->size(), a);
}

void TestPreviewDialog::smallImageIsEnlarged()
{
    dialog->handleFullPreviewImageReady(stripes(20, 10));
    QVERIFY(picture()->pixmap().width() > 20);
}

void TestPreviewDialog::nullImageShowsZeroSize()
{
    dialog->handleFullPreviewImageReady(stripes(400, 300));
    dialog->handleFullPreviewImageReady(QImage());
    QCOMPARE(sizeLabel()->text(), QString("0x0"));
    QCOMPARE(percentLabel()->text(), QString("0%"));
    QVERIFY(picture()->pixmap().isNull());
    // Zooming an empty picture does nothing.
    dialog->onNeedToResizeImage(1);
    dialog->onNeedToResizeImage(-1);
    QCOMPARE(percentLabel()->text(), QString("0%"));
}

void TestPreviewDialog::zoomOutLowerBound()
{
    // A tall picture fitted by height: its displayed width is a tenth of the full width.
    const int h = area().height() * 10;
    dialog->handleFullPreviewImageReady(stripes(440, h));
    QCOMPARE(picture()->pixmap().width(), 44);
    dialog->onNeedToResizeImage(-1);
    QCOMPARE(picture()->pixmap().width(), 44);

    dialog->handleFullPreviewImageReady(stripes(450, h));
    QCOMPARE(picture()->pixmap().width(), 45);
    dialog->onNeedToResizeImage(-1);
    QCOMPARE(picture()->pixmap().width(), 40);
    QCOMPARE(percentLabel()->text(), QString::number(40.0 / 450.0 * 100.0, 'g', 6) + "%");
}

void TestPreviewDialog::tenZoomStepsScaleFromFullPicture()
{
    const QImage full = stripes(1000, 800);
    dialog->handleFullPreviewImageReady(full);
    const QPixmap fullPixmap = QPixmap::fromImage(full);
    int width = picture()->pixmap().width();
    for (int i = 0; i < 10; ++i) {
        dialog->onNeedToResizeImage(1);
        width = int(width + width * 0.1);
        const QPixmap zoomed = picture()->pixmap();
        QCOMPARE(zoomed.width(), width);
        const QImage expected = fullPixmap.scaledToWidth(width, Qt::FastTransformation).toImage();
        QCOMPARE(kxtest::maxChannelDifference(zoomed.toImage(), expected), 0);
    }
    QCOMPARE(percentLabel()->text(), QString::number(width / 1000.0 * 100.0, 'g', 6) + "%");
    // The content grows with the picture so that the area scrolls.
    QCOMPARE(picture()->width(), qMax(width, area().width()));
}

void TestPreviewDialog::refusedStepChangesNothing()
{
    // A tiny picture reaches four times its size well before the screen's width.
    dialog->handleFullPreviewImageReady(stripes(40, 30));
    for (int i = 0; i < 200; ++i)
        dialog->onNeedToResizeImage(1);
    const QPixmap before = picture()->pixmap();
    const QString percent = percentLabel()->text();
    const QSize size = picture()->size();
    dialog->onNeedToResizeImage(1);
    QCOMPARE(picture()->pixmap().width(), before.width());
    QCOMPARE(percentLabel()->text(), percent);
    QCOMPARE(picture()->size(), size);
}

void TestPreviewDialog::resizeAfterZoomRefits()
{
    dialog->handleFullPreviewImageReady(stripes(1000, 800));
    for (int i = 0; i < 3; ++i)
        dialog->onNeedToResizeImage(1);
    const int zoomedWidth = picture()->pixmap().width();
    dialog->resize(dialog->width() + 40, dialog->height() + 30);
    QTRY_VERIFY(picture()->pixmap().width() != zoomedWidth);
    QTRY_VERIFY(!dialog->refitPending());
    const QSize a = area();
    const QSize fitted = picture()->pixmap().size();
    QVERIFY(fitted.width() == a.width() || fitted.height() == a.height());
    QCOMPARE(picture()->size(), a);
}

void TestPreviewDialog::panByDragging()
{
    dialog->handleFullPreviewImageReady(stripes(1000, 800));
    for (int i = 0; i < 10; ++i)
        dialog->onNeedToResizeImage(1);
    QCoreApplication::processEvents();
    QScrollBar *h = scrollArea()->horizontalScrollBar();
    QScrollBar *v = scrollArea()->verticalScrollBar();
    h->setValue(100);
    v->setValue(100);

    dialog->onStartDragImage(QPoint(500, 400));
    dialog->onMouseMove(QPoint(480, 390), QPoint());
    QCOMPARE(h->value(), 120);
    QCOMPARE(v->value(), 110);
    dialog->onMouseMove(QPoint(490, 395), QPoint());
    QCOMPARE(h->value(), 110);
    QCOMPARE(v->value(), 105);
    dialog->onEndDragImage();
    dialog->onMouseMove(QPoint(0, 0), QPoint());
    QCOMPARE(h->value(), 110);
    QCOMPARE(v->value(), 105);
}

void TestPreviewDialog::hidingClearsShownFlag_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("close button") << false;
    QTest::newRow("Escape") << true;
}

// Every way of hiding the dialog clears the flag, so it can be opened again.
void TestPreviewDialog::hidingClearsShownFlag()
{
    QFETCH(bool, escape);
    QSignalSpy closed(dialog, &PreviewDialog::previewDialogClosed);
    if (escape)
        QTest::keyClick(dialog, Qt::Key_Escape);
    else
        dialog->close();
    QVERIFY(!dialog->isVisible());
    QVERIFY(!shown);
    QCOMPARE(closed.count(), 1);
    dialog->show();
    QVERIFY(shown);
}

void TestPreviewDialog::missingFileChangesNothing()
{
    dialog->setImageFile(dir.filePath("missing.png"));
    QCOMPARE(dialog->windowTitle(), QString("Preview"));
    QTest::qWait(50);
    QCOMPARE(picture()->text(), QString("Loading image. Please wait..."));
}

void TestPreviewDialog::loadsFileThroughWorker()
{
    const QString path = writeImage("photo.png", kxtest::makePhotoLikeImage(640, 480));
    QVERIFY(!path.isEmpty());
    dialog->setImageFile(path);
    QCOMPARE(dialog->windowTitle(), QString("Preview - photo.png"));
    QTRY_COMPARE(sizeLabel()->text(), QString("640x480"));
    QVERIFY(!picture()->pixmap().isNull());
}

void TestPreviewDialog::latestFileWins()
{
    const QString big = writeImage("big.png", kxtest::makePhotoLikeImage(3000, 2000));
    const QString small = writeImage("small.png", kxtest::makePhotoLikeImage(64, 48));
    dialog->setImageFile(big);
    dialog->updateImage(small);
    QTRY_COMPARE(sizeLabel()->text(), QString("64x48"));
    // Wait long enough for the earlier, larger file to have been processed too.
    QTest::qWait(1000);
    QCOMPARE(sizeLabel()->text(), QString("64x48"));
    QCOMPARE(dialog->windowTitle(), QString("Preview - small.png"));
}

void TestPreviewDialog::destroyWhileLoading()
{
    const QString big = writeImage("large.png", kxtest::makePhotoLikeImage(3000, 2000));
    dialog->setImageFile(big);
    dialog->updateImage(big);
    // The destructor stops and waits for both workers; nothing arrives afterwards.
    delete dialog;
    dialog = nullptr;
    QTest::qWait(50);
}

QTEST_MAIN(TestPreviewDialog)
#include "tst_previewdialog.moc"

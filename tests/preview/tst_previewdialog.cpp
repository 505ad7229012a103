#include <QtTest>

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>

#include "convertimagefullpreviewlabel.h"
#include "kxtest.h"
#include "loadfullpreviewimagethread.h"
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
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(dir.isValid());
    }

    void init()
    {
        shown = false;
        dialog = new PreviewDialog(nullptr, &shown);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        // Let the refit that follows the first resize pass.
        QTRY_VERIFY(!dialog->refitPending());
    }

    void cleanup()
    {
        delete dialog;
        dialog = nullptr;
    }

    // The picture fills the area by its tighter side, small ones enlarged.
    void fitsTheArea_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("4000x3000") << QSize(4000, 3000);
        QTest::newRow("small") << QSize(20, 10);
    }

    void fitsTheArea()
    {
        QFETCH(QSize, size);
        dialog->handleFullPreviewImageReady(stripes(size.width(), size.height()));
        QCOMPARE(sizeLabel()->text(), QString("%1x%2").arg(size.width()).arg(size.height()));
        const QSize a = area();
        const QSize shownSize = picture()->pixmap().size();
        QVERIFY(shownSize.boundedTo(a) == shownSize);
        QVERIFY(shownSize.width() == a.width() || shownSize.height() == a.height());
        QCOMPARE(picture()->size(), a);
    }

    void nullImageShowsZeroSize()
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

    void zoomOutLowerBound()
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
    }

    // Every step scales the full picture, not the previous step's copy.
    void zoomStepsScaleFromFullPicture()
    {
        const QImage full = stripes(1000, 800);
        dialog->handleFullPreviewImageReady(full);
        const QPixmap fullPixmap = QPixmap::fromImage(full);
        int width = picture()->pixmap().width();
        for (int i = 0; i < 10; ++i) {
            dialog->onNeedToResizeImage(1);
            const QPixmap zoomed = picture()->pixmap();
            QVERIFY(zoomed.width() > width);
            width = zoomed.width();
            const QImage expected = fullPixmap.scaledToWidth(width, Qt::FastTransformation).toImage();
            QCOMPARE(kxtest::maxChannelDifference(zoomed.toImage(), expected), 0);
        }
        // The content grows with the picture so that the area scrolls.
        QCOMPARE(picture()->width(), qMax(width, area().width()));
    }

    // + and - zoom by a step, 0 fits again.
    void zoomKeys()
    {
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        dialog->handleFullPreviewImageReady(stripes(1000, 800));
        const int fitted = picture()->pixmap().width();
        QTest::keyClick(dialog, Qt::Key_Plus);
        QCOMPARE(picture()->pixmap().width(), int(fitted + fitted * 0.1));
        QTest::keyClick(dialog, Qt::Key_0);
        QCOMPARE(picture()->pixmap().width(), fitted);
        QTest::keyClick(dialog, Qt::Key_Minus);
        QVERIFY(picture()->pixmap().width() < fitted);
    }

    void resizeAfterZoomRefits()
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

    void panByDragging()
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

    void hidingClearsShownFlag_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("close button") << false;
        QTest::newRow("Escape") << true;
    }

    // Every way of hiding the dialog clears the flag, so it can be opened again.
    void hidingClearsShownFlag()
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

    // Only the latest request is shown; a missing file starts none.
    void loadsTheLatestFileThroughAWorker()
    {
        dialog->setImageFile(dir.filePath("missing.png"));
        QCOMPARE(dialog->windowTitle(), QString("Preview"));
        const QString path = kxtest::photoFile(dir.path(), "photo.png");
        dialog->updateImage(path);
        QCOMPARE(dialog->windowTitle(), QString("Preview - photo.png"));
        // A worker of an earlier request reports after this one has started.
        auto *earlier = new LoadFullPreviewImageThread(ConversionSettings());
        connect(earlier, &LoadFullPreviewImageThread::previewImageReady, dialog,
                &PreviewDialog::handleFullPreviewImageReady);
        emit earlier->previewImageReady(stripes(300, 200));
        QCOMPARE(picture()->text(), QString("Loading image. Please wait..."));
        QTRY_COMPARE(sizeLabel()->text(), QString("64x48"));
        QVERIFY(!picture()->pixmap().isNull());
        // Left loading: cleanup() destroys the dialog, which stops and waits for the worker.
        const QString big = kxtest::photoFile(dir.path(), "large.png", QSize(3000, 2000));
        dialog->updateImage(big);
    }

private:
    QLabel *sizeLabel() { return dialog->findChild<QLabel *>("sizeInfoLabel"); }
    QLabel *percentLabel() { return dialog->findChild<QLabel *>("percentResizeLabel"); }
    ConvertImageFullPreviewLabel *picture() { return dialog->findChild<ConvertImageFullPreviewLabel *>("previewLabel"); }
    QScrollArea *scrollArea() { return dialog->findChild<QScrollArea *>("scrollArea"); }
    QSize area() { return scrollArea()->size() - QSize(16, 4); }

    PreviewDialog *dialog = nullptr;
    bool shown = false;
    QTemporaryDir dir;
};

QTEST_MAIN(TestPreviewDialog)
#include "tst_previewdialog.moc"

#include <QtTest>

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

#include "convertimagefullpreviewlabel.h"
#include "kxtest.h"
#include "loadfullpreviewimagethread.h"
#include "previewdialog.h"

class TestPreviewDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    void init()
    {
        shown = false;
        dialog = new PreviewDialog(nullptr, &shown);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QTRY_VERIFY(!dialog->refitPending()); // the refit after the first resize
    }

    void cleanup()
    {
        delete dialog;
        dialog = nullptr;
    }

    // A small picture is enlarged to fill the area by its tighter side.
    void fitsTheArea()
    {
        dialog->handleFullPreviewImageReady(kxtest::makePhotoLikeImage(20, 10));
        QCOMPARE(sizeLabel()->text(), QString("20x10"));
        verifyFitted();
    }

    // Keys and the wheel zoom, each step from the full picture rather than the
    // previous step's copy (the picture's fine detail tells them apart); a right-button drag pans; 0 or a resize fits again.
    void zoomPanAndFit()
    {
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        const QImage full = kxtest::makePhotoLikeImage(1000, 800);
        dialog->handleFullPreviewImageReady(full);
        verifyFitted();
        const int fitted = picture()->pixmap().width();
        for (int i = 0; i < 10; ++i) {
            const int width = picture()->pixmap().width();
            QTest::keyClick(dialog, Qt::Key_Plus);
            const QPixmap zoomed = picture()->pixmap();
            QVERIFY(zoomed.width() > width);
            const QImage expected = QPixmap::fromImage(full).scaledToWidth(zoomed.width(), Qt::FastTransformation).toImage();
            QCOMPARE(kxtest::maxChannelDifference(zoomed.toImage(), expected), 0);
        }
        QCOMPARE(picture()->width(), picture()->pixmap().width()); // the area scrolls
        const int zoomedWidth = picture()->pixmap().width();
        QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(picture(), &wheel);
        QVERIFY(picture()->pixmap().width() < zoomedWidth);

        QScrollBar *h = scrollArea()->horizontalScrollBar();
        QScrollBar *v = scrollArea()->verticalScrollBar();
        h->setValue(100);
        v->setValue(100);
        const auto mouse = [this](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
            QMouseEvent event(type, QPointF(10, 10), global, Qt::RightButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(picture(), &event);
        };
        mouse(QEvent::MouseButtonPress, QPoint(500, 400), Qt::RightButton);
        mouse(QEvent::MouseMove, QPoint(480, 390), Qt::RightButton);
        QCOMPARE(QPoint(h->value(), v->value()), QPoint(120, 110));
        mouse(QEvent::MouseMove, QPoint(490, 395), Qt::RightButton);
        QCOMPARE(QPoint(h->value(), v->value()), QPoint(110, 105));
        mouse(QEvent::MouseButtonRelease, QPoint(490, 395), Qt::NoButton);
        mouse(QEvent::MouseMove, QPoint(0, 0), Qt::NoButton);
        QCOMPARE(QPoint(h->value(), v->value()), QPoint(110, 105));

        QTest::keyClick(dialog, Qt::Key_0);
        QCOMPARE(picture()->pixmap().width(), fitted);
        // Steps out stop before the picture gets narrower than 40 pixels.
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(dialog, Qt::Key_Minus);
        const int shrunk = picture()->pixmap().width();
        QVERIFY(shrunk >= 40 && shrunk <= 44);
        dialog->resize(dialog->width() + 40, dialog->height() + 30);
        QTRY_VERIFY(picture()->pixmap().width() != shrunk);
        QTRY_VERIFY(!dialog->refitPending());
        verifyFitted();
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
        emit earlier->previewImageReady(kxtest::makePhotoLikeImage(300, 200));
        QCOMPARE(picture()->text(), QString("Loading image. Please wait..."));
        QTRY_COMPARE(sizeLabel()->text(), QString("64x48"));
        QVERIFY(!picture()->pixmap().isNull());
        // Left loading: cleanup() destroys the dialog, which stops and waits for the worker.
        const QString big = kxtest::photoFile(dir.path(), "large.png", QSize(3000, 2000));
        dialog->updateImage(big);
    }

private:
    void verifyFitted()
    {
        const QSize a = area();
        const QSize shown = picture()->pixmap().size();
        QVERIFY(shown.boundedTo(a) == shown);
        QVERIFY(shown.width() == a.width() || shown.height() == a.height());
        QCOMPARE(picture()->size(), a);
    }

    QLabel *sizeLabel() { return dialog->findChild<QLabel *>("sizeInfoLabel"); }
    ConvertImageFullPreviewLabel *picture() { return dialog->findChild<ConvertImageFullPreviewLabel *>("previewLabel"); }
    QScrollArea *scrollArea() { return dialog->findChild<QScrollArea *>("scrollArea"); }
    QSize area() { return scrollArea()->size() - QSize(16, 4); }

    PreviewDialog *dialog = nullptr;
    bool shown = false;
    QTemporaryDir dir;
};

QTEST_MAIN(TestPreviewDialog)
#include "tst_previewdialog.moc"

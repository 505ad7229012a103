// The preview's size, zoom and hit rules, the inline label and the full preview dialog.

#include <QtTest>

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

#include <memory>

#include "convertimagefullpreviewlabel.h"
#include "convertimagepreviewlabel.h"
#include "kxtest.h"
#include "loadfullpreviewimagethread.h"
#include "previewdialog.h"
#include "previewgeometry.h"

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kxtest::isolateUserData(); }
    void cleanup() { dialog.reset(); }

    // Into the inline label, 400x231.
    void fitSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("expected");
        // 1920 / 400 in single precision is a hair above 4.8, and the result is truncated.
        QTest::newRow("full HD") << QSize(1920, 1080) << QSize(399, 224);
        QTest::newRow("small stays") << QSize(200, 100) << QSize(200, 100);
        QTest::newRow("one side just over") << QSize(100, 232) << QSize(99, 231);
        QTest::newRow("null image") << QSize(0, 0) << QSize(0, 0);
        QTest::newRow("very thin keeps a pixel") << QSize(1, 5000) << QSize(1, 231);
    }

    void fitSize()
    {
        QFETCH(QSize, size);
        QFETCH(QSize, expected);
        QCOMPARE(::fitSize(size, QSize(400, 231)), expected);
    }

    void fitIconHit_data()
    {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<bool>("hit");
        // Label width 400: the icon covers x in (366, 390), y in [11, 33].
        QTest::newRow("right edge excluded") << QPoint(390, 20) << false;
        QTest::newRow("left edge excluded") << QPoint(366, 20) << false;
        QTest::newRow("above") << QPoint(380, 10) << false;
        QTest::newRow("below") << QPoint(380, 34) << false;
        QTest::newRow("first pixel, top edge") << QPoint(367, 11) << true;
        QTest::newRow("last pixel, bottom edge") << QPoint(389, 33) << true;
    }

    void fitIconHit()
    {
        QFETCH(QPoint, pos);
        QFETCH(bool, hit);
        QCOMPARE(::fitIconHit(pos, 400), hit);
    }

    // What the dialog shows at a width, and the width a step takes it to.
    void zoomStepWidthAndPercent_data()
    {
        QTest::addColumn<int>("displayed");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("full");
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("percent");
        QTest::newRow("out from 44 refused") << 44 << -1 << 4000 << 1920 << -1 << "1.1%";
        QTest::newRow("out from 45 to 40") << 45 << -1 << 4000 << 1920 << 40 << "1.125%";
        QTest::newRow("no step") << 100 << 0 << 300 << 1920 << 100 << "33.3333%";
        QTest::newRow("in beyond 4x but narrower than screen") << 400 << 1 << 100 << 1920 << 440 << "400%";
        QTest::newRow("in to exactly 4x on a narrow screen") << 364 << 1 << 100 << 300 << 400 << "364%";
        QTest::newRow("in just over 4x on a narrow screen") << 365 << 1 << 100 << 300 << -1 << "365%";
        QTest::newRow("null image") << 0 << 0 << 0 << 1920 << 0 << "0%";
    }

    void zoomStepWidthAndPercent()
    {
        QFETCH(int, displayed);
        QFETCH(int, step);
        QFETCH(int, full);
        QFETCH(int, screen);
        QFETCH(int, expected);
        QFETCH(QString, percent);
        QCOMPARE(::zoomStepWidth(displayed, step, full, screen), expected);
        QCOMPARE(::zoomPercentText(displayed, full), percent);
    }

    void wheelZoomStep_data()
    {
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<int>("step");
        QTest::newRow("half of eight rounds away from zero") << QPoint(0, 4) << 1;
        QTest::newRow("below half, sideways ignored") << QPoint(120, 3) << 0;
        QTest::newRow("negative half") << QPoint(0, -4) << -1;
    }

    void wheelZoomStep()
    {
        QFETCH(QPoint, delta);
        QFETCH(int, step);
        QCOMPARE(::wheelZoomStep(delta), step);
    }

    // The fit icon goes with a shown picture only; a null picture keeps the old
    // one on screen without the icon. A click on the icon, even over the
    // placeholder, or a double-click anywhere asks for the full preview.
    void inlineLabel()
    {
        ConvertImagePreviewLabel label;
        label.setFixedSize(400, 231);
        QPixmap pixmap(400, 231);
        pixmap.fill(Qt::red);
        const QImage plain = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
        const auto shot = [&label] { return label.grab().toImage().convertToFormat(QImage::Format_RGB32); };
        label.setPreviewPixmap(pixmap);
        QVERIFY(shot() != plain); // the icon
        label.setPreviewPixmap(QPixmap());
        QCOMPARE(shot(), plain);

        label.setPreviewPixmap(pixmap);
        label.setText("Preview");
        QVERIFY(!label.hasImage);
        QSignalSpy opened(&label, &ConvertImagePreviewLabel::mouseDoubleClick);
        QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(label.width() - 20, 20));
        QTest::mouseDClick(&label, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(opened.count(), 2);
    }

    // Keys and the wheel zoom, each step from the full picture rather than the
    // previous step's copy (the picture's fine detail tells them apart); a
    // right-button drag pans; 0 or a resize fits again.
    void zoomPanAndFit()
    {
        openDialog();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        const QImage full = kxtest::makePhotoLikeImage(1000, 800);
        dialog->handleFullPreviewImageReady(full, {});
        verifyFitted();
        const int fitted = picture()->pixmap().width();
        for (int i = 0; i < 10; ++i) {
            const int width = picture()->pixmap().width();
            QTest::keyClick(dialog.get(), Qt::Key_Plus);
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

        QTest::keyClick(dialog.get(), Qt::Key_0);
        QCOMPARE(picture()->pixmap().width(), fitted);
        // Steps out stop before the picture gets narrower than 40 pixels.
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(dialog.get(), Qt::Key_Minus);
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
        openDialog();
        dialog->setImageFile(dir.filePath("missing.png"));
        QCOMPARE(dialog->windowTitle(), QString("Preview"));
        const QString path = kxtest::photoFile(dir.path(), "photo.png");
        dialog->updateImage(path);
        QCOMPARE(dialog->windowTitle(), QString("Preview - photo.png"));
        // A worker of an earlier request reports after this one has started.
        auto *earlier = new LoadFullPreviewImageThread(ConversionSettings());
        connect(earlier, &LoadFullPreviewImageThread::previewImageReady, dialog.get(),
                &PreviewDialog::handleFullPreviewImageReady);
        emit earlier->previewImageReady(kxtest::makePhotoLikeImage(300, 200), {});
        QCOMPARE(picture()->text(), QString("Loading image. Please wait..."));
        QTRY_COMPARE(sizeLabel()->text(), QString("64x48"));
        verifyFitted(); // enlarged to fill the area by its tighter side
        // Left loading: cleanup() destroys the dialog, which stops and waits for the worker.
        const QString big = kxtest::photoFile(dir.path(), "large.png", QSize(3000, 2000));
        dialog->updateImage(big);
    }

private:
    // A shown full preview, its refit after the first resize done.
    void openDialog()
    {
        shown = false;
        dialog = std::make_unique<PreviewDialog>(nullptr, &shown);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QTRY_VERIFY(!dialog->refitPending());
    }

    void verifyFitted()
    {
        const QSize a = area();
        const QSize fitted = picture()->pixmap().size();
        QVERIFY(fitted.boundedTo(a) == fitted);
        QVERIFY(fitted.width() == a.width() || fitted.height() == a.height());
        QCOMPARE(picture()->size(), a);
    }

    QLabel *sizeLabel() { return dialog->findChild<QLabel *>("sizeInfoLabel"); }
    ConvertImageFullPreviewLabel *picture() { return dialog->findChild<ConvertImageFullPreviewLabel *>("previewLabel"); }
    QScrollArea *scrollArea() { return dialog->findChild<QScrollArea *>("scrollArea"); }
    QSize area() { return scrollArea()->size() - QSize(16, 4); }

    std::unique_ptr<PreviewDialog> dialog;
    bool shown = false;
    QTemporaryDir dir;
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"

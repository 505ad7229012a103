#include <QtTest>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QWheelEvent>

#include "convertimagefullpreviewlabel.h"
#include "convertimagepreviewlabel.h"

class TestPreviewLabels : public QObject
{
    Q_OBJECT

private slots:
    // The fit icon goes with a shown picture only; a null picture keeps the old
    // one on screen without the icon.
    void pictureAndPlaceholder()
    {
        ConvertImagePreviewLabel label;
        label.setFixedSize(400, 231);
        // Pixels of the icon's square that are not the red picture.
        const auto iconPixels = [&label] {
            const QImage shot = label.grab().toImage();
            int differing = 0;
            for (int y = 10; y < 34; ++y) {
                for (int x = label.width() - 34; x < label.width() - 10; ++x)
                    differing += shot.pixel(x, y) != qRgb(255, 0, 0) ? 1 : 0;
            }
            return differing;
        };
        QVERIFY(!label.hasImage);
        QPixmap pixmap(400, 231);
        pixmap.fill(Qt::red);
        label.setPreviewPixmap(pixmap);
        QVERIFY(label.hasImage);
        QCOMPARE(label.pixmap().size(), QSize(400, 231));
        QVERIFY(iconPixels() > 20);

        label.setPreviewPixmap(QPixmap());
        QVERIFY(!label.hasImage);
        QCOMPARE(label.pixmap().size(), QSize(400, 231));
        QCOMPARE(iconPixels(), 0);

        label.setPreviewPixmap(pixmap);
        label.setText("Preview");
        QVERIFY(!label.hasImage);
        QCOMPARE(label.text(), QString("Preview"));
        QVERIFY(label.pixmap().isNull());
    }

    // A single click on the fit icon (the zone itself is tested in tst_previewgeometry),
    // even over the placeholder, or a double-click anywhere; the wheel zooms.
    void clicksAndWheelAreSignalled()
    {
        ConvertImagePreviewLabel label;
        label.setFixedSize(400, 231);
        label.setText("Preview");
        QSignalSpy opened(&label, &ConvertImagePreviewLabel::mouseDoubleClick);
        QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(label.width() - 20, 20));
        QTest::mouseDClick(&label, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(opened.count(), 2);

        ConvertImageFullPreviewLabel full;
        QSignalSpy zoom(&full, &ConvertImageFullPreviewLabel::needToResizeImage);
        QWheelEvent event(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&full, &event);
        QCOMPARE(zoom.count(), 1);
        QCOMPARE(zoom.at(0).at(0).toInt(), -1);
    }

    void fullLabelDrag()
    {
        ConvertImageFullPreviewLabel label;
        label.resize(100, 100);
        QSignalSpy start(&label, &ConvertImageFullPreviewLabel::startDragImage);
        QSignalSpy move(&label, &ConvertImageFullPreviewLabel::mouseMove);
        QSignalSpy end(&label, &ConvertImageFullPreviewLabel::endDragImage);

        QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(510, 310), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(&label, &press);
        QMouseEvent moveEvent(QEvent::MouseMove, QPointF(20, 15), QPointF(520, 315), Qt::NoButton, Qt::RightButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&label, &moveEvent);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(20, 15), QPointF(520, 315), Qt::RightButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&label, &release);

        QCOMPARE(start.count(), 1);
        QCOMPARE(start.at(0).at(0).toPoint(), QPoint(510, 310));
        QCOMPARE(move.count(), 1);
        QCOMPARE(move.at(0).at(0).toPoint(), QPoint(520, 315));
        QCOMPARE(move.at(0).at(1).toPoint(), QPoint(20, 15));
        QCOMPARE(end.count(), 1);
    }
};

QTEST_MAIN(TestPreviewLabels)
#include "tst_previewlabels.moc"

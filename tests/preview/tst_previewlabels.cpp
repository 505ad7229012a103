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
    void pictureAndPlaceholder();
    void clicksThatOpenTheFullPreview();
    void fullLabelWheel_data();
    void fullLabelWheel();
    void fullLabelDrag();
};

// The fit icon goes with a shown picture only; a null picture keeps the old
// one on screen without the icon.
void TestPreviewLabels::pictureAndPlaceholder()
{
    ConvertImagePreviewLabel label;
    QVERIFY(!label.hasImage);
    QPixmap pixmap(200, 100);
    pixmap.fill(Qt::red);
    label.setPreviewPixmap(pixmap);
    QVERIFY(label.hasImage);
    QCOMPARE(label.pixmap().size(), QSize(200, 100));

    label.setPreviewPixmap(QPixmap());
    QVERIFY(!label.hasImage);
    QCOMPARE(label.pixmap().size(), QSize(200, 100));

    label.setPreviewPixmap(pixmap);
    label.setText("Preview");
    QVERIFY(!label.hasImage);
    QCOMPARE(label.text(), QString("Preview"));
    QVERIFY(label.pixmap().isNull());
}

// A double-click anywhere, or a single click on the icon's zone even while
// the placeholder is shown.
void TestPreviewLabels::clicksThatOpenTheFullPreview()
{
    ConvertImagePreviewLabel label;
    label.setFixedSize(400, 231);
    label.setText("Preview");
    QSignalSpy opened(&label, &ConvertImagePreviewLabel::mouseDoubleClick);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(label.width() - 10, 20));
    QCOMPARE(opened.count(), 0);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(label.width() - 20, 20));
    QCOMPARE(opened.count(), 1);
    QTest::mouseDClick(&label, Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(opened.count(), 2);
}

void TestPreviewLabels::fullLabelWheel_data()
{
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<int>("emitted");
    QTest::newRow("up") << QPoint(0, 120) << 1;
    QTest::newRow("down") << QPoint(0, -120) << -1;
    QTest::newRow("sideways") << QPoint(120, 0) << 0;
}

void TestPreviewLabels::fullLabelWheel()
{
    QFETCH(QPoint, delta);
    QFETCH(int, emitted);
    ConvertImageFullPreviewLabel label;
    label.resize(100, 100);
    QSignalSpy spy(&label, &ConvertImageFullPreviewLabel::needToResizeImage);
    QWheelEvent event(QPointF(50, 50), QPointF(50, 50), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&label, &event);
    QVERIFY(event.isAccepted());
    if (emitted == 0) {
        QCOMPARE(spy.count(), 0);
    } else {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), emitted);
    }
}

void TestPreviewLabels::fullLabelDrag()
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

QTEST_MAIN(TestPreviewLabels)
#include "tst_previewlabels.moc"

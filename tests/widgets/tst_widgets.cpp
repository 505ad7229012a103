#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "aboutdialog.h"
#include "cocoacode.h"
#include "kxcolorwidget.h"
#include "kxdialogs.h"
#include "kxtest.h"

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    // The swatch starts white; only a left press opens the dialog, and every
    // accepted colour is reported, the one already shown included.
    void colorWidgetPick_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QColor>("chosen"); // invalid: the dialog is cancelled
        QTest::addColumn<bool>("reported");
        QTest::newRow("right click") << Qt::RightButton << QColor(10, 200, 30) << false;
        QTest::newRow("new colour") << Qt::LeftButton << QColor(10, 200, 30) << true;
        QTest::newRow("same colour") << Qt::LeftButton << QColor(Qt::white) << true;
        QTest::newRow("cancelled") << Qt::LeftButton << QColor() << false;
    }

    void colorWidgetPick()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QColor, chosen);
        QFETCH(bool, reported);
        KXColorWidget swatch;
        swatch.resize(24, 24);
        QSignalSpy updated(&swatch, &KXColorWidget::colorUpdated);
        bool dialogOpened = false;
        // A dialog runs modally inside the press; the answer comes from a timer.
        QPointer<QTimer> watcher = kxtest::whenModalShown<QColorDialog>([&](QColorDialog *dialog) {
            dialogOpened = true;
            dialog->setCurrentColor(chosen.isValid() ? chosen : QColor(Qt::red));
            chosen.isValid() ? dialog->accept() : dialog->reject();
        });
        QTest::mousePress(&swatch, button);
        delete watcher.data();
        QCOMPARE(dialogOpened, button == Qt::LeftButton);
        QCOMPARE(updated.count(), reported ? 1 : 0);
        QVERIFY(!reported || updated.at(0).at(0).value<QColor>() == chosen);
        QCOMPARE(swatch.color, reported ? chosen : QColor(Qt::white));
    }

    // The chooser reports once, an empty path when cancelled (a chosen folder
    // is reported through the form in tst_convertcommand).
    void folderChooserCancelled()
    {
        CocoaCode chooser;
        QSignalSpy selected(&chooser, &CocoaCode::folderSelected);
        kxtest::whenModalShown<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
        chooser.selectFolder();
        QCOMPARE(selected.count(), 1);
        QVERIFY(selected.at(0).at(0).toString().isEmpty());
    }

    // The address stands a space after its title; the close button ends the
    // box and deletes it.
    void aboutBox()
    {
        QPointer<AboutDialog> about = new AboutDialog;
        const QLabel *title = about->findChild<QLabel *>("websiteTitleLabel");
        QVERIFY(about->findChild<QLabel *>("webLabel")->x()
                >= title->x() + title->fontMetrics().horizontalAdvance("Website: "));
        QTimer::singleShot(0, about->findChild<QPushButton *>("closeButton"), &QPushButton::click);
        about->exec();
        QTRY_VERIFY(about.isNull());
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"

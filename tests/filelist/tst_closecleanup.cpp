#include <QtTest>

#include "kxtest.h"
#include "mainwindow.h"
#include "removethumbnailsdialog.h"
#include "thumbnailcache.h"

// The first close of the main window runs the thumbnail clean-up once, however
// often it is asked for; later closes go straight through. A close during a run
// is driven in tests/app.
class TestCloseCleanUp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        kxtest::clearSettingsStore();
    }

    void firstCloseCleansUpOnceThenLaterClosesGoThrough()
    {
        QFile file(thumbnailFolder() + "0.webp");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(thumbnailCleanupPending());
        {
            MainWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QVERIFY(!window.close());
            QVERIFY(window.findChild<RemoveThumbnailsDialog *>());
            QVERIFY(!window.close());
            QCOMPARE(window.findChildren<RemoveThumbnailsDialog *>().size(), 1);
            QTRY_VERIFY(!window.isVisible());
            QVERIFY(!file.exists());
        }
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.close());
        QVERIFY(!window.findChild<RemoveThumbnailsDialog *>());
    }
};

QTEST_MAIN(TestCloseCleanUp)
#include "tst_closecleanup.moc"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QtTest>

#include "convertimageform.h"
#include "kxtest.h"
#include "mainwindow.h"
#include "removethumbnailsdialog.h"
#include "thumbnailcache.h"

// The first close of the main window empties the thumbnail folder through the
// clean-up dialog and then closes the window; later closes go straight through.
class TestCloseCleanUp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        kxtest::clearSettingsStore();
    }

    void firstCloseCleansUpThenCloses()
    {
        const QString folder = thumbnailFolder();
        for (const QString &name : {QStringLiteral("0.webp"), QStringLiteral("1.webp")}) {
            QFile file(folder + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(folder).mkpath("keep"));
        QVERIFY(thumbnailCleanupPending());

        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        auto *dialog = window.findChild<RemoveThumbnailsDialog *>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        // A second request while the clean-up runs makes no second dialog.
        QVERIFY(!window.close());
        QCOMPARE(window.findChildren<RemoveThumbnailsDialog *>().size(), 1);

        QTRY_VERIFY(!window.isVisible());
        QVERIFY(!dialog->isVisible());
        QVERIFY(!thumbnailCleanupPending());
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
        QVERIFY(QFileInfo(folder + "keep").isDir());
    }

    void laterClosesGoStraightThrough()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.close());
        QVERIFY(!window.findChild<RemoveThumbnailsDialog *>());
    }
};

QTEST_MAIN(TestCloseCleanUp)
#include "tst_closecleanup.moc"

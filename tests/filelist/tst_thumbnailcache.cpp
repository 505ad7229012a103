#include <QPushButton>
#include <QtTest>

#include "kxtest.h"
#include "removethumbnailsdialog.h"
#include "thumbnailcache.h"

class TestThumbnailCache : public QObject
{
    Q_OBJECT

private:
    QString folder;

    void write(const QString &name) { QVERIFY(!kxtest::writeFile(folder + name, "webp").isEmpty()); }

    void emptyFolder() { QVERIFY(QDir(folder).removeRecursively() && QDir().mkpath(folder)); }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        folder = thumbnailFolder();
        // Never beside the program, even where that folder is writable.
        QCOMPARE(folder, QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/Thumbnails/");
        QVERIFY(QFileInfo(folder).isDir());
    }

    void init() { emptyFolder(); }
    void cleanupTestCase() { emptyFolder(); }

    void newFileTakesFirstNumberNotWrittenToday()
    {
        for (const char *name : {"0.webp", "1.webp", "2.webp", "4.webp"})
            write(name);
        QFile yesterday(folder + "2.webp");
        QVERIFY(yesterday.open(QIODevice::ReadWrite));
        QVERIFY(yesterday.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        QCOMPARE(allocateThumbnailFile("/pics/first.png"), folder + "2.webp");
        // 2 is handed out but not written yet; it must not be given twice.
        QCOMPARE(allocateThumbnailFile("/pics/second.png"), folder + "3.webp");
    }

    void lookupAnswers()
    {
        const QString source = "/pics/lookup.png";
        QCOMPARE(lookupThumbnail(source, false).answer, ThumbnailLookup::New);
        const QString file = allocateThumbnailFile(source);
        // Not written yet (for example a folder without write access): nothing to show.
        QCOMPARE(lookupThumbnail(source, false).answer, ThumbnailLookup::New);
        write(QFileInfo(file).fileName());
        // A refreshing request renders again into the file it had, and so does a
        // later plain request: the record stays stale.
        for (const auto &[refresh, answer] : {std::pair{false, ThumbnailLookup::Show}, {true, ThumbnailLookup::Reuse},
                                               {false, ThumbnailLookup::Reuse}}) {
            const ThumbnailLookup lookup = lookupThumbnail(source, refresh);
            QCOMPARE(lookup.answer, answer);
            QCOMPARE(lookup.fileName, file);
        }
        // After the refresh every earlier record is stale, whatever its source.
        for (const ThumbnailRecord &record : thumbnailRecords())
            QVERIFY(record.stale);
    }

    // The clean-up deletes the thumbnails and keeps folders and other files; a
    // cancelled one deletes nothing. Either way the app closes once.
    void cleanUp_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("run") << false;
        QTest::newRow("cancelled") << true;
    }

    void cleanUp()
    {
        QFETCH(bool, cancel);
        QVERIFY(QDir(folder).mkdir("sub"));
        for (const char *name : {"a.webp", "0.webp", "sub/1.webp", "notes.txt"})
            write(name);
        setThumbnailCleanupPending(true);
        RemoveThumbnailsDialog dialog;
        QSignalSpy closeApp(&dialog, &RemoveThumbnailsDialog::closeApp);
        dialog.show();
        if (cancel)
            dialog.findChild<QPushButton *>("cancelButton")->click();
        dialog.removeThumbnails();
        QCOMPARE(closeApp.count(), 1);
        QVERIFY(!thumbnailCleanupPending());
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), cancel ? 3 : 1);
        QVERIFY(QFileInfo::exists(folder + "notes.txt") && QFileInfo::exists(folder + "sub/1.webp"));
    }
};

QTEST_MAIN(TestThumbnailCache)
#include "tst_thumbnailcache.moc"

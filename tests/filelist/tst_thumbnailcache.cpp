#include <QPushButton>
#include <QtTest>

#include "kxtest.h"
#include "removethumbnailsdialog.h"
#include "thumbnailcache.h"

namespace {

void writeFile(const QString &path, const QDateTime &modified = QDateTime())
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("webp");
    file.flush();
    if (modified.isValid())
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

void emptyFolder(const QString &folder)
{
    QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
        QVERIFY(dir.remove(name));
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        QVERIFY(QDir(dir.filePath(name)).removeRecursively());
}

} // namespace

class TestThumbnailCache : public QObject
{
    Q_OBJECT

private:
    QString folder;

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        folder = thumbnailFolder();
        // Never beside the program, even where that folder is writable.
        QCOMPARE(folder, QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/Thumbnails/");
        QVERIFY(QFileInfo(folder).isDir());
    }

    void init() { emptyFolder(folder); }
    void cleanupTestCase() { emptyFolder(folder); }

    void newFileTakesFirstNumberNotWrittenToday()
    {
        writeFile(folder + "0.webp");
        writeFile(folder + "1.webp");
        writeFile(folder + "2.webp", QDateTime::currentDateTime().addDays(-1));
        writeFile(folder + "4.webp");
        QCOMPARE(allocateThumbnailFile("/pics/first.png"), folder + "2.webp");
        // 2 is handed out but not written yet; it must not be given twice.
        QCOMPARE(allocateThumbnailFile("/pics/second.png"), folder + "3.webp");
        const QList<ThumbnailRecord> records = thumbnailRecords();
        QVERIFY(records.size() >= 2);
        QCOMPARE(records.at(records.size() - 2).sourcePath, QStringLiteral("/pics/first.png"));
        QCOMPARE(records.at(records.size() - 2).number, 2);
        QCOMPARE(records.last().number, 3);
        QVERIFY(!records.last().stale);
    }

    void lookupAnswers()
    {
        const QString source = "/pics/lookup.png";
        QCOMPARE(lookupThumbnail(source, false).answer, ThumbnailLookup::New);
        const QString file = allocateThumbnailFile(source);
        // Not written yet (for example a folder without write access): nothing to show.
        QCOMPARE(lookupThumbnail(source, false).answer, ThumbnailLookup::New);
        writeFile(file);
        ThumbnailLookup lookup = lookupThumbnail(source, false);
        QCOMPARE(lookup.answer, ThumbnailLookup::Show);
        QCOMPARE(lookup.fileName, file);

        // A refreshing request renders again into the file it had.
        lookup = lookupThumbnail(source, true);
        QCOMPARE(lookup.answer, ThumbnailLookup::Reuse);
        QCOMPARE(lookup.fileName, file);
        // So does a later plain request: the record stays stale.
        lookup = lookupThumbnail(source, false);
        QCOMPARE(lookup.answer, ThumbnailLookup::Reuse);
        QCOMPARE(lookup.fileName, file);

        // After the refresh every earlier record is stale, whatever its source.
        for (const ThumbnailRecord &record : thumbnailRecords())
            QVERIFY(record.stale);
        QCOMPARE(lookupThumbnail("/pics/other.png", true).answer, ThumbnailLookup::New);
    }

    void cleanUpDeletesFilesAndKeepsFolders()
    {
        writeFile(folder + "a.webp");
        writeFile(folder + "0.webp");
        QVERIFY(QDir(folder).mkdir("sub"));
        writeFile(folder + "sub/1.webp");
        writeFile(folder + "notes.txt");
        setThumbnailCleanupPending(true);

        RemoveThumbnailsDialog dialog;
        QSignalSpy closeApp(&dialog, &RemoveThumbnailsDialog::closeApp);
        dialog.show();
        dialog.removeThumbnails();

        QCOMPARE(closeApp.count(), 1);
        QVERIFY(!thumbnailCleanupPending());
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"notes.txt"});
        QVERIFY(QFileInfo::exists(folder + "sub/1.webp"));
    }

    void cancelledCleanUpStillClosesTheApp()
    {
        writeFile(folder + "0.webp");
        setThumbnailCleanupPending(true);
        RemoveThumbnailsDialog dialog;
        QSignalSpy closeApp(&dialog, &RemoveThumbnailsDialog::closeApp);
        dialog.findChild<QPushButton *>("cancelButton")->click();
        dialog.removeThumbnails();
        QCOMPARE(closeApp.count(), 1);
        QVERIFY(!thumbnailCleanupPending());
        QVERIFY(QFileInfo::exists(folder + "0.webp"));
    }
};

QTEST_MAIN(TestThumbnailCache)
#include "tst_thumbnailcache.moc"

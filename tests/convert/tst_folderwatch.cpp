#include <QBuffer>
#include <QImageReader>

#include <memory>

#include "folderwatch.h"
#include "kxtest.h"

// The watcher over timed arrivals, with the test as the host: a file handed
// over is decoded, and fails when it does not decode.
class TestFolderWatch : public QObject
{
    Q_OBJECT

    static constexpr int settleMs = 300;

    static QByteArray pngBytes(const QSize &size)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        kxtest::makePhotoLikeImage(size.width(), size.height()).save(&buffer, "PNG");
        return bytes;
    }

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    void timedArrivals_data()
    {
        // Steps "MS ACTION PATH": MS -1 before the watch starts; slow writes
        // a picture in three chunks 100 ms apart (less than the settle
        // interval), change writes it anew at another size.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("moveOriginals");
        // In order of handing over; "!" marks a file that did not decode.
        QTest::addColumn<QStringList>("handed");
        // What is left below the folder, hidden files aside.
        QTest::addColumn<QStringList>("files");
        QTest::newRow("written slowly: once, when complete")
            << QStringList{"0 slow a.png"} << false << QStringList{"a.png"} << QStringList{"a.png"};
        QTest::newRow("writer pauses longer than the settle time: once it closed the file")
            << QStringList{"0 held a.png"} << false << QStringList{"a.png"} << QStringList{"a.png"};
        QTest::newRow("present at start, new sub-folder; hidden and output left alone")
            << QStringList{"-1 write a.png", "100 write new/sub/b.png", "100 write .c.png", "100 write out/d.png",
                           "500 write new/sub/e.png"}
            << false << QStringList{"a.png", "new/sub/b.png", "new/sub/e.png"}
            << QStringList{"a.png", "new/sub/b.png", "new/sub/e.png", "out/d.png"};
        QTest::newRow("restart: journaled skipped, changed and new taken")
            << QStringList{"-1 write a.png", "-1 write b.png", "900 stop", "950 change b.png", "950 write c.png",
                           "1000 start"}
            << false << QStringList{"a.png", "b.png", "b.png", "c.png"} << QStringList{"a.png", "b.png", "c.png"};
        QTest::newRow("failed, then written on: taken again")
            << QStringList{"-1 garbage a.png", "700 write a.png"} << false << QStringList{"a.png!", "a.png"}
            << QStringList{"a.png"};
        QTest::newRow("moved: done and failed with its reason")
            << QStringList{"-1 write sub/a.png", "-1 garbage bad.jpg", "0 write done/x.png"} << true
            << QStringList{"bad.jpg!", "sub/a.png"}
            << QStringList{"done/sub/a.png", "done/x.png", "failed/bad.jpg", "failed/bad.jpg.txt"};
    }

    void timedArrivals()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, moveOriginals);
        QFETCH(QStringList, handed);
        QFETCH(QStringList, files);

        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        const QByteArray picture = pngBytes(QSize(160, 120));
        QHash<QString, QByteArray> written; // what each picture holds once complete
        QStringList seen;
        int partial = 0;
        std::unique_ptr<FolderWatch> watch;
        std::unique_ptr<QFile> held; // a writer that keeps its file open
        const auto write = [&](const QString &name, const QByteArray &bytes, QIODevice::OpenMode mode) {
            dir.mkpath(QFileInfo(dir.filePath(name)).path());
            QFile file(dir.filePath(name));
            QVERIFY(file.open(mode) && file.write(bytes) == bytes.size());
        };
        const auto start = [&] {
            watch = std::make_unique<FolderWatch>(dir.path(), dir.filePath("out"), moveOriginals, settleMs);
            connect(watch.get(), &FolderWatch::filesReady, this, [&](const QStringList &paths) {
                for (const QString &path : paths) {
                    QImageReader reader(path);
                    const bool decoded = !reader.read().isNull();
                    const QString name = dir.relativeFilePath(path);
                    partial += kxtest::readFile(path) != written.value(name);
                    seen << name + (decoded ? "" : "!");
                    ConversionFile file{path, decoded ? ConversionFile::Converted : ConversionFile::Failed};
                    file.failures << reader.errorString();
                    watch->fileDone(file);
                }
                watch->batchDone();
            });
            QString error;
            QVERIFY2(watch->start(&error), qPrintable(error));
        };
        int pendingSteps = 0;
        for (const QString &step : std::as_const(steps)) {
            const QStringList parts = step.split(' ');
            const QString name = parts.value(2);
            const std::function<void()> act = [&, action = parts.at(1), name] {
                if (action == "stop")
                    watch.reset();
                else if (action == "start")
                    start();
                else if (action == "garbage")
                    write(name, written[name] = "not a picture", QIODevice::WriteOnly);
                else if (action == "change")
                    write(name, written[name] = pngBytes(QSize(80, 60)), QIODevice::WriteOnly);
                else if (action == "write")
                    write(name, written[name] = picture, QIODevice::WriteOnly);
                else if (action == "held") {
                    written[name] = picture;
                    held = std::make_unique<QFile>(dir.filePath(name));
                    QVERIFY(held->open(QIODevice::WriteOnly));
                    held->write(picture.left(picture.size() / 2));
                    held->flush();
                    QTimer::singleShot(4 * settleMs, this, [&, name] {
                        held->write(picture.mid(picture.size() / 2));
                        held.reset();
                    });
                } else if (action == "slow") {
                    written[name] = picture;
                    const qsizetype third = picture.size() / 3;
                    write(name, picture.left(third), QIODevice::WriteOnly);
                    QTimer::singleShot(100, this,
                                       [&, name, third] { write(name, picture.mid(third, third), QIODevice::Append); });
                    QTimer::singleShot(200, this,
                                       [&, name, third] { write(name, picture.mid(2 * third), QIODevice::Append); });
                }
                --pendingSteps;
            };
            ++pendingSteps;
            if (parts.at(0).toInt() < 0)
                act();
            else
                QTimer::singleShot(parts.at(0).toInt(), this, act);
        }
        start();
        QVERIFY(kxtest::waitUntil([&] { return pendingSteps == 0 && seen.size() >= handed.size(); }, 8000));
        // Nothing handed over twice: a while longer than a file takes to settle.
        kxtest::waitUntil([] { return false; }, 2 * settleMs);
        QCOMPARE(seen, handed);
        QCOMPARE(partial, 0);

        QStringList left;
        QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            left << dir.relativeFilePath(it.next());
        left.sort();
        QCOMPARE(left, files);
        if (moveOriginals)
            QVERIFY(!kxtest::readFile(dir.filePath("failed/bad.jpg.txt")).trimmed().isEmpty());
    }

    // One watch a folder: a second is refused while the first runs, and
    // allowed once it ended.
    void secondWatchRefused()
    {
        QTemporaryDir tmp;
        auto first = std::make_unique<FolderWatch>(tmp.path(), tmp.filePath("out"), false, settleMs);
        QString error;
        QVERIFY2(first->start(&error), qPrintable(error));
        FolderWatch second(tmp.path(), tmp.filePath("out2"), false, settleMs);
        QVERIFY(!second.start(&error));
        QVERIFY2(error.contains("another watch"), qPrintable(error));
        first.reset();
        FolderWatch third(tmp.path(), tmp.filePath("out"), false, settleMs);
        QVERIFY2(third.start(&error), qPrintable(error));
    }

    // The watched folder removed: the watch says so, waits, and takes up
    // what lands in it once it is back.
    void folderGoneAndBack()
    {
        QTemporaryDir tmp;
        const QString folder = tmp.filePath("watched");
        QVERIFY(QDir().mkpath(folder));
        FolderWatch watch(folder, tmp.filePath("out"), false, settleMs);
        QStringList said;
        QStringList handed;
        connect(&watch, &FolderWatch::problem, this, [&said](const QString &message) { said << message; });
        connect(&watch, &FolderWatch::filesReady, this, [&](const QStringList &paths) {
            handed << paths;
            for (const QString &path : paths)
                watch.fileDone(ConversionFile{path, ConversionFile::Converted});
            watch.batchDone();
        });
        QString error;
        QVERIFY2(watch.start(&error), qPrintable(error));
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(kxtest::waitUntil([&] { return said.size() == 1; }, 5000));
        QVERIFY2(said.first().contains("gone"), qPrintable(said.first()));
        QVERIFY(QDir().mkpath(folder));
        kxtest::writeFile(folder + "/a.png", pngBytes(QSize(16, 16)));
        QVERIFY(kxtest::waitUntil([&] { return !handed.isEmpty(); }, 8000));
        QCOMPARE(handed, QStringList{QFileInfo(folder).canonicalFilePath() + "/a.png"});
        QVERIFY2(said.last().contains("is back"), qPrintable(said.join('\n')));
        QVERIFY(QFileInfo::exists(folder + "/.kestrix-watch.journal"));
    }
};

QTEST_MAIN(TestFolderWatch)
#include "tst_folderwatch.moc"

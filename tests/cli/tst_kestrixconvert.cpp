#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <csignal>

#include "conversionsettings.h"
#include "imagemagickutil.h"
#include "kxtest.h"

class TestKestrixConvert : public QObject
{
    Q_OBJECT

private:
    struct Result { int exitCode; QJsonObject json; QByteArray out, err; };

    static Result convert(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(KESTRIX_CONVERT), arguments);
        process.waitForFinished(60000);
        const QByteArray out = process.readAllStandardOutput();
        return {process.exitCode(), QJsonDocument::fromJson(out).object(), out, process.readAllStandardError()};
    }

    static int total(const QJsonObject &json, const char *key)
    {
        return json.value("totals").toObject().value(QLatin1String(key)).toInt();
    }

    static QString photos(const QString &folder, int count, QSize size = QSize(64, 48))
    {
        QDir().mkpath(folder);
        for (int i = 0; i < count; ++i)
            kxtest::photoFile(folder, QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0')), size);
        return folder;
    }

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    // A broken file fails alone, with its reason; a rerun with --existing skip converts nothing.
    void brokenFileAmongGoodAndRerun()
    {
        QTemporaryDir tmp;
        const QString in = photos(tmp.filePath("in/sub"), 3);
        const QString broken = kxtest::writeFile(tmp.filePath("in/broken.jpg"), "not a picture");
        const QString out = tmp.filePath("out");
        Result r = convert({"--to", "webp", "-o", out, "--json", tmp.filePath("in")});
        QCOMPARE(r.exitCode, 1);
        const QJsonObject first = r.json["files"].toArray().first().toObject();
        QCOMPARE(first["source"].toString() + first["status"].toString(), broken + "failed");
        QVERIFY(!first["reason"].toString().isEmpty());
        QCOMPARE(total(r.json, "converted"), 3);
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), 3);
        QFile::remove(broken);
        r = convert({"--to", "webp", "-o", out, "--existing", "skip", "--json", in});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(total(r.json, "skipped"), 3);
        QCOMPARE(total(r.json, "converted"), 0);
    }

    void usageErrorWritesNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown key") << QStringList{"--set", "noSuchKey=1"};
        QTest::newRow("out of range") << QStringList{"--set", "textSize=1000"};
        QTest::newRow("not a number") << QStringList{"--quality", "high"};
        QTest::newRow("unknown format") << QStringList{"--to", "bmp"};
        QTest::newRow("bad shard") << QStringList{"--shard", "3/2"};
        QTest::newRow("missing input") << QStringList{"no-such-folder"};
    }

    void usageErrorWritesNothing()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir tmp;
        const QString in = photos(tmp.filePath("in"), 1);
        const Result r = convert(arguments + QStringList{"-o", tmp.filePath("out"), in});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY(!r.err.isEmpty());
        QVERIFY(!QFileInfo::exists(tmp.filePath("out")));
    }

    // A settings file in the store's format gives the window's pipeline pixels.
    void settingsFileGivesThePipelinePixels()
    {
        QTemporaryDir tmp;
        const QString source = kxtest::photoFile(tmp.path(), "photo.png", QSize(160, 120));
        const QString file = tmp.filePath("watermark.ini");
        {
            QSettings store(file, QSettings::IniFormat);
            store.beginGroup("MainApp");
            store.setValue("textContent", "Kestrix 2026");
            store.setValue("textSize", 60);
            store.setValue("textFont", "DejaVu Sans");
            store.setValue("textColor", "#ff2000");
            store.setValue("textPosition", 4);
            store.setValue("targeFileType", 6); // PNG
            store.setValue("outputFolder", tmp.filePath("out"));
        }
        const Result r = convert({"--settings", file, source});
        QCOMPARE(r.exitCode, 0);

        QSettings store(file, QSettings::IniFormat);
        ConversionSettings s;
        loadConversionSettings(store, s, QGuiApplication::font());
        const QImage expected = ImageMagickUtil().processImage(source, false, s);
        const QImage written(tmp.filePath("out/photo.png"));
        QCOMPARE(written.convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
        QVERIFY(written != QImage(source).convertToFormat(written.format()));
    }

    // Ctrl+C ends the run after the file being written: whole files, a summary, status 130.
    void interruptLeavesOnlyWholeFiles()
    {
        QTemporaryDir tmp;
        const QString in = photos(tmp.filePath("in"), 20, QSize(640, 480));
        const QString out = tmp.filePath("out");
        QProcess process;
        process.start(QStringLiteral(KESTRIX_CONVERT), {"--to", "webp", "-o", out, "--json", in});
        QVERIFY(process.waitForStarted());
        QByteArray lines;
        QTRY_VERIFY_WITH_TIMEOUT((lines += process.readAllStandardError()).contains("[1/20]"), 30000);
        ::kill(process.processId(), SIGINT);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 130);
        const QJsonObject json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        QVERIFY(json["stopped"].toBool());
        const QStringList written = QDir(out).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(written.size(), total(json, "converted"));
        QVERIFY(written.size() < 20);
        for (const QString &name : written)
            QVERIFY2(name.endsWith(".webp") && !QImage(out + "/" + name).isNull(), qPrintable(name));
    }

    // Two cards' pictures of the same names, shards run one after another
    // into an output folder inside the input: whatever the shard count, the
    // files and their bytes are one run's, with collisions renamed, one
    // counter and one root folder.
    void shardsEqualOneRun_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("rename, folder structure")
            << QStringList{"--existing", "rename", "--set", "keepFolderStructure=true"};
        QTest::newRow("skip, counter") << QStringList{"--set", "fileNamePattern={counter}"};
    }

    void shardsEqualOneRun()
    {
        QFETCH(QStringList, options);
        QTemporaryDir tmp;
        int width = 8;
        for (const QString &name : {"a/IMG_0000.jpg", "a/IMG_0000.png", "a/IMG_0001.jpg", "b/IMG_0000.jpg",
                                    "b/IMG_0001.jpg", "b/c/IMG_0001.jpg", "b/IMG_0002.jpg"}) {
            QDir().mkpath(QFileInfo(tmp.filePath("in/" + name)).absolutePath());
            kxtest::photoFile(tmp.filePath("in"), name, QSize(width++, 8));
        }
        const QString out = tmp.filePath("in/out");
        QMap<QString, QByteArray> oneRun;
        for (const int count : {1, 3, 7}) {
            QDir(out).removeRecursively();
            int converted = 0;
            for (int shard = 1; shard <= count; ++shard) {
                const QString part = QString("%1/%2").arg(shard).arg(count);
                const Result r = convert(options + QStringList{"--to", "png", "-o", out, "--json", "--shard", part,
                                                               tmp.filePath("in")});
                QCOMPARE(r.exitCode, 0);
                converted += total(r.json, "converted");
            }
            QCOMPARE(converted, 7);
            QMap<QString, QByteArray> files;
            for (QDirIterator it(out, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
                const QString path = it.next();
                files.insert(QDir(out).relativeFilePath(path), kxtest::readFile(path));
            }
            if (count == 1)
                oneRun = files;
            QCOMPARE(files.size(), 7);
            QCOMPARE(files, oneRun);
        }
    }
};

QTEST_MAIN(TestKestrixConvert)
#include "tst_kestrixconvert.moc"

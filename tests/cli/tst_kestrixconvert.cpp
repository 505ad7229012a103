#include <QtTest>

#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

#include "conversionsettings.h"
#include "convertfile.h"
#include "convertimageform.h"
#include "imagemagickutil.h"
#include "kxtest.h"
#include "presets.h"
#include "targetformats.h"

class TestKestrixConvert : public QObject
{
    Q_OBJECT

private:
    struct Result { int exitCode; QJsonObject json; QByteArray out, err; };

    static Result convert(const QStringList &arguments, const QByteArray &input = {})
    {
        QProcess process;
        process.start(QStringLiteral(KESTRIX_CONVERT), arguments);
        process.write(input);
        process.closeWriteChannel();
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

    // Every file is reported in list order whatever the timing: a broken file,
    // a name that is not UTF-8 (made through the POSIX API) and a named file
    // of a type this program does not read fail, each with its reason; the
    // rest converts. --existing wins over the settings' policy, which applies without it.
    void brokenFileAmongGoodAndRerun()
    {
        QTemporaryDir tmp;
        const QString in = photos(tmp.filePath("in/sub"), 3);
        const QString broken = kxtest::writeFile(tmp.filePath("in/broken.jpg"), "not a picture");
        const QByteArray notUtf8 = QFile::encodeName(tmp.filePath("in")) + "/caf\xe9.png";
        const int fd = ::open(notUtf8.constData(), O_CREAT | O_WRONLY, 0644);
        const auto removeIt = qScopeGuard([&notUtf8] { ::unlink(notUtf8.constData()); }); // out of QDir's reach
        QVERIFY(fd >= 0 && ::close(fd) == 0);
        const QString bmp = kxtest::writeFile(tmp.filePath("x.bmp"), "BM");
        const QString out = tmp.filePath("out");
        // A piped list may name a file removed since: it fails alone.
        Result r = convert({"--to", "webp", "-o", out, "--json", tmp.filePath("in"), bmp, "-"},
                           tmp.filePath("gone.png").toUtf8() + "\n");
        QCOMPARE(r.exitCode, 1);
        QStringList records;
        for (const QJsonValue &file : r.json["files"].toArray())
            records << QFileInfo(file["source"].toString()).fileName() + " " + file["status"].toString();
        QCOMPARE(records, (QStringList{"gone.png failed", "broken.jpg failed", QString::fromUtf8("caf\uFFFD.png failed"),
                                       "p00.png converted", "p01.png converted", "p02.png converted",
                                       "x.bmp failed"}));
        const QJsonArray files = r.json["files"].toArray();
        QVERIFY(!files[1]["reason"].toString().isEmpty());
        QVERIFY(files[2]["reason"].toString().contains("UTF-8"));
        QCOMPARE(files[6]["reason"].toString(), QStringLiteral("not a picture type this program reads"));
        QCOMPARE(files[3]["bytesWritten"].toInteger(), QFileInfo(out + "/p00.webp").size());
        QCOMPARE(files[3]["bytesRead"].toInteger(), QFileInfo(in + "/p00.png").size());
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), 3);
        QFile::remove(broken);
        r = convert({"--to", "webp", "-o", out, "--existing", "skip", "--set", "existingFilePolicy=1", "--json", in});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(total(r.json, "skipped"), 3);
        QCOMPARE(total(r.json, "converted"), 0);
        r = convert({"--to", "webp", "-o", out, "--set", "existingFilePolicy=1", "--json", in});
        QCOMPARE(total(r.json, "converted"), 3);
    }

    // In German the report's lines are German, while the JSON report, read by
    // programs, keeps its English words and reasons.
    void germanReportEnglishJson()
    {
        QTemporaryDir tmp;
        const QString bmp = kxtest::writeFile(tmp.filePath("x.bmp"), "BM");
        qputenv("LANGUAGE", "de");
        const auto english = qScopeGuard([] { qputenv("LANGUAGE", ""); });
        const Result r = convert({"-o", tmp.filePath("out"), "--json", bmp});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("x.bmp fehlgeschlagen: "), r.err);
        const QJsonObject file = r.json["files"].toArray().at(0).toObject();
        QCOMPARE(file["status"].toString(), QStringLiteral("failed"));
        QCOMPARE(file["reason"].toString(), QStringLiteral("not a picture type this program reads"));
    }

    void usageErrorWritesNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("settingsFile"); // written to s.ini and given with --settings
        QTest::addColumn<QByteArray>("named");        // what the message names
        QTest::newRow("unknown key") << QStringList{"--set", "noSuchKey=1"} << QByteArray() << QByteArray("noSuchKey");
        QTest::newRow("out of range") << QStringList{"--set", "textSize=1000"} << QByteArray()
                                      << QByteArray("textSize");
        QTest::newRow("not a number") << QStringList{"--quality", "high"} << QByteArray() << QByteArray("high");
        QTest::newRow("unknown format") << QStringList{"--to", "bmp"} << QByteArray() << QByteArray("bmp");
        QTest::newRow("unknown raw mode") << QStringList{"--raw", "quarter"} << QByteArray() << QByteArray("quarter");
        QTest::newRow("unknown colours mode") << QStringList{"--colours", "cmyk"} << QByteArray() << QByteArray("cmyk");
        QTest::newRow("unknown pages mode") << QStringList{"--pages", "all"} << QByteArray() << QByteArray("all");
        QTest::newRow("size limit on a lossless target") << QStringList{"--to", "png", "--max-size", "300K"}
                                                         << QByteArray() << QByteArray("needs a lossy target");
        QTest::newRow("bad shard") << QStringList{"--shard", "3/2"} << QByteArray() << QByteArray("3/2");
        QTest::newRow("missing input") << QStringList{"no-such-folder"} << QByteArray() << QByteArray("no-such-folder");
        QTest::newRow("watch and sources") << QStringList{"--watch", "."} << QByteArray()
                                           << QByteArray("--watch takes no other input");
        QTest::newRow("watch beside the sources") << QStringList{"--watch", ".", "--beside-source", "--to", "webp"}
                                                  << QByteArray() << QByteArray("not beside the sources");
        QTest::newRow("moving without watch") << QStringList{"--move-originals"} << QByteArray()
                                              << QByteArray("--move-originals goes with --watch");
        QTest::newRow("file: misspelt key") << QStringList() << QByteArray("[MainApp]\nremoveLocations=true\n")
                                           << QByteArray("s.ini:2: unknown key \"removeLocations\"");
        QTest::newRow("unknown preset") << QStringList{"--preset", "Nope"} << QByteArray() << QByteArray("\"Nope\"");
        QTest::newRow("second preset beside a PDF")
            << QStringList{"--preset", "Web: 1600 px WEBP", "--preset", "Web: 1600 px WEBP", "--pdf", "doc.pdf"}
            << QByteArray() << QByteArray("cannot be written with extra outputs");
        QTest::newRow("beside, onto itself") << QStringList{"--beside-source", "--to", "png"} << QByteArray()
                                             << QByteArray("p00.png over itself");
        QTest::newRow("unknown metadata") << QStringList{"--metadata", "gps"} << QByteArray() << QByteArray("gps");
        QTest::newRow("file: wrong type") << QStringList() << QByteArray("[MainApp]\ntextSize=12\nkeepMetadata=no\n")
                                         << QByteArray("s.ini:3: keepMetadata");
    }

    void usageErrorWritesNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, settingsFile);
        QFETCH(QByteArray, named);
        QTemporaryDir tmp;
        const QString in = photos(tmp.filePath("in"), 1);
        if (!settingsFile.isEmpty())
            arguments << "--settings" << kxtest::writeFile(tmp.filePath("s.ini"), settingsFile);
        const Result r = convert(arguments + QStringList{"-o", tmp.filePath("out"), in});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains(named), r.err.constData());
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

    // An installed preset applied in the window and named on the command line
    // gives the same bytes, also as one output of several from one decode;
    // --list-presets names it on a line of its own.
    void presetAsInTheWindow_data()
    {
        QTest::addColumn<QStringList>("presets");
        QTest::newRow("webp") << QStringList{"Web: 1600 px WEBP"};
        QTest::newRow("jpeg") << QStringList{"E-mail: 1024 px JPEG, no location"};
        QTest::newRow("jpeg xl") << QStringList{"Archive: lossless JPEG XL, keep metadata"};
        QTest::newRow("all three at once") << QStringList{"Web: 1600 px WEBP", "E-mail: 1024 px JPEG, no location",
                                                          "Archive: lossless JPEG XL, keep metadata"};
    }

    void presetAsInTheWindow()
    {
        QFETCH(QStringList, presets);
        QTemporaryDir tmp;
        const QString source = kxtest::photoFile(tmp.path(), "photo.png", QSize(1200, 900));
        QStringList arguments{"-o", tmp.filePath("out"), source};
        for (const QString &preset : presets)
            arguments << "--preset" << preset;
        const Result r = convert(arguments);
        QCOMPARE(r.exitCode, 0);
        for (const QString &preset : presets) {
            QVERIFY(convert({"--list-presets"}).out.split('\n').contains(preset.toUtf8()));
            ConvertImageForm form;
            QVERIFY(form.importSettings(presetPath(preset)));
            const ConversionSettings window = snapshotSettings();
            const QString extension = targetFormatAt(window.targeFileType).targetExtension();
            QString error;
            QVERIFY2(convertImageFile(source, tmp.filePath("window") + extension, &targetFormatAt(window.targeFileType),
                                      window, &error),
                     qPrintable(error));
            QCOMPARE(kxtest::readFile(tmp.filePath("out/photo") + extension),
                     kxtest::readFile(tmp.filePath("window") + extension));
        }
    }

    // Ctrl+C ends the run after the files being written: whole files, a
    // summary, status 130. A stopped PDF is not written; an earlier one stays.
    void interruptLeavesOnlyWholeFiles_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("images") << false;
        QTest::newRow("pdf") << true;
    }

    void interruptLeavesOnlyWholeFiles()
    {
        QFETCH(bool, pdf);
        QTemporaryDir tmp;
        const QString in = photos(tmp.filePath("in"), 20, QSize(640, 480));
        kxtest::writeFile(in + "/a-broken.jpg", "not a picture"); // reported first, while the rest runs
        const QString out = tmp.filePath("out");
        QDir().mkpath(out);
        const QString earlier = out + "/album.pdf";
        if (pdf)
            kxtest::writeFile(earlier, "an earlier document");
        QProcess process;
        const QStringList target =
            pdf ? QStringList{"--pdf", earlier, "--existing", "overwrite"} : QStringList{"--to", "webp", "-o", out};
        process.start(QStringLiteral(KESTRIX_CONVERT), target + QStringList{"--json", in});
        QVERIFY(process.waitForStarted());
        QByteArray lines;
        QTRY_VERIFY_WITH_TIMEOUT((lines += process.readAllStandardError()).contains("[1/21]"), 30000);
        ::kill(process.processId(), SIGINT);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 130);
        const QJsonObject json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        QVERIFY(json["stopped"].toBool());
        const QStringList written = QDir(out).entryList(QDir::Files | QDir::Hidden);
        if (pdf) {
            QCOMPARE(written, QStringList{"album.pdf"});
            QCOMPARE(kxtest::readFile(earlier), QByteArray("an earlier document"));
            QCOMPARE(total(json, "converted"), 0);
            return;
        }
        QCOMPARE(written.size(), total(json, "converted"));
        QVERIFY(written.size() < 20);
        for (const QString &name : written)
            QVERIFY2(name.endsWith(".webp") && !QImage(out + "/" + name).isNull(), qPrintable(name));
    }

    // Files the size limit scaled down or left over it are marked and counted
    // apart in the JSON and on standard error; a file that fits is neither.
    void sizeLimitCountedApart_data()
    {
        QTest::addColumn<QStringList>("limit");
        QTest::addColumn<QString>("mark"); // the file's flag and the total counting it
        QTest::addColumn<QString>("line");
        QTest::newRow("fits") << QStringList{"--max-size", "2000K"} << QString() << QString();
        QTest::newRow("scaled") << QStringList{"--max-size", "2K"} << "scaledToFit"
                                << "Files scaled down to fit the size limit: 1";
        QTest::newRow("left over") << QStringList{"--max-size", "2K", "--no-shrink"} << "overSizeLimit"
                                   << "Files left over the size limit: 1";
    }

    void sizeLimitCountedApart()
    {
        QFETCH(QStringList, limit);
        QFETCH(QString, mark);
        QFETCH(QString, line);
        QTemporaryDir tmp;
        const QString photo = kxtest::photoFile(tmp.path(), "photo.png", QSize(640, 480));
        const Result r = convert(limit + QStringList{"--to", "jpg", "-o", tmp.filePath("out"), "--json", photo});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject file = r.json["files"].toArray().at(0).toObject();
        for (const char *key : {"scaledToFit", "overSizeLimit"}) {
            QCOMPARE(file[key].toBool(), mark == key);
            QCOMPARE(total(r.json, key), mark == key ? 1 : 0);
        }
        QCOMPARE(r.err.contains("size limit"), !line.isEmpty());
        QVERIFY2(line.isEmpty() || r.err.contains(line.toUtf8()), r.err.constData());
    }

    // --list-presets shows only presets --preset takes (not a user's preset
    // with a misspelt key); an unknown name is answered with those, one a
    // line, and echoed with its control characters escaped.
    void presetsListedAsTheyAreTaken()
    {
        QTemporaryDir data;
        QVERIFY(QDir().mkpath(data.filePath("Kestrix/ConvertImage/presets")));
        kxtest::writeFile(data.filePath("Kestrix/ConvertImage/presets/Broken.ini"), "[MainApp]\nnoSuchKey=1\n");
        const QByteArray before = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", before); });
        const QList<QByteArray> listed = convert({"--list-presets"}).out.split('\n');
        QVERIFY(listed.contains("Web: 1600 px WEBP") && !listed.contains("Broken"));
        QCOMPARE(convert({"--preset", "Broken", "x.png"}).exitCode, 2);
        const Result r = convert({"--preset", "No\x1b[2Jpe", "x.png"});
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains("\"No\\x1b[2Jpe\"") && !r.err.contains('\x1b'), r.err.constData());
        QVERIFY2(r.err.contains("\n  Web: 1600 px WEBP\n") && !r.err.contains("Broken"), r.err.constData());
    }

    // A JPEG cut short is converted with the same note into an image file and into a document.
    void cutShortJpegNotedForEveryTarget()
    {
        QTemporaryDir tmp;
        const QByteArray jpeg = kxtest::readFile(kxtest::photoFile(tmp.path(), "whole.jpg"));
        const QString cut = kxtest::writeFile(tmp.filePath("cut.jpg"), jpeg.left(jpeg.size() * 2 / 3));
        for (const QStringList &target : {QStringList{"--to", "png", "-o", tmp.path()}, QStringList{"--pdf", tmp.filePath("doc.pdf")}}) {
            const Result r = convert(target + QStringList{"--json", cut});
            QCOMPARE(r.json["files"].toArray().at(0)["reason"].toString(),
                     QStringLiteral("the file ends early; the missing part is grey"));
        }
    }

    // A watch stopped while a batch converts leaves whole files and journals
    // exactly the files done; a restart converts the rest and repeats nothing,
    // not even the failure. Killed outright, it has journaled each file as it
    // was done, so that a restart repeats at most the files in flight.
    // Outputs inside the folder are never taken up. A preset gives the
    // settings, as it would to a run over files.
    void watchStoppedAndRestarted_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("Ctrl+C") << int(SIGINT);
        QTest::newRow("killed") << int(SIGKILL);
    }

    void watchStoppedAndRestarted()
    {
        QFETCH(int, signal);
        QTemporaryDir tmp;
        const QString in = photos(tmp.filePath("in"), 20, QSize(640, 480));
        kxtest::writeFile(in + "/a-broken.jpg", "not a picture"); // reported first, while the rest runs
        const QString out = in + "/out";
        const QStringList arguments{"--watch", in, "--preset", "Web", "-o", out, "--jobs", "1"};
        QProcess process;
        process.start(QStringLiteral(KESTRIX_CONVERT), arguments);
        QByteArray lines;
        QTRY_VERIFY_WITH_TIMEOUT((lines += process.readAllStandardError()).contains("[1/21]"), 30000);
        if (signal == SIGKILL)
            QTRY_VERIFY_WITH_TIMEOUT(QDir(out).entryList(QDir::Files).size() >= 3, 30000);
        ::kill(process.processId(), signal);
        QVERIFY(process.waitForFinished(60000));
        const qsizetype first = QDir(out).entryList(QDir::Files).size();
        QVERIFY(first < 20);
        const qsizetype journaled = kxtest::readFile(in + "/.kestrix-watch.journal").count('\n');
        if (signal == SIGKILL) {
            // The file in flight may be written and not yet journaled.
            QVERIFY2(journaled >= first && journaled <= first + 1, qPrintable(QString::number(journaled)));
            return;
        }
        QCOMPARE(process.exitCode(), 130);
        QCOMPARE(journaled, first + 1);

        process.start(QStringLiteral(KESTRIX_CONVERT), arguments);
        QTRY_COMPARE_WITH_TIMEOUT(QDir(out).entryList(QDir::Files).size(), 20, 30000);
        ::kill(process.processId(), SIGTERM);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 143);
        lines = process.readAllStandardError();
        QCOMPARE(lines.count(" -> "), 20 - first);
        QVERIFY2(!lines.contains("skipped") && !lines.contains("failed"), lines.constData());
        for (const QString &name : QDir(out).entryList(QDir::Files))
            QVERIFY2(name.endsWith(".webp") && !QImage(out + "/" + name).isNull(), qPrintable(name));
    }

    // A watched file is taken whole: one cut short waits for the rest of it,
    // and one rewritten after its conversion is converted again over its own
    // target. A second watch on the folder is refused.
    void watchTakesFilesWhole()
    {
        QTemporaryDir tmp;
        const QString in = tmp.filePath("in");
        const QString out = tmp.filePath("out");
        QVERIFY(QDir().mkpath(in) && QDir().mkpath(tmp.filePath("whole")));
        kxtest::photoFile(in, "a.png", QSize(64, 48));
        const QByteArray jpeg = kxtest::readFile(kxtest::photoFile(tmp.filePath("whole"), "c.jpg", QSize(320, 240)));
        QProcess process;
        process.start(QStringLiteral(KESTRIX_CONVERT), {"--watch", in, "--to", "png", "-o", out});
        QTRY_COMPARE_WITH_TIMEOUT(QImageReader(out + "/a.png").size(), QSize(64, 48), 30000);
        const Result second = convert({"--watch", in, "--to", "png", "-o", out});
        QCOMPARE(second.exitCode, 2);
        QVERIFY2(second.err.contains("another watch"), second.err.constData());

        // Written over in place: no new name in the folder tells of it.
        QVERIFY(kxtest::makePhotoLikeImage(80, 60).save(in + "/a.png"));
        QTRY_COMPARE_WITH_TIMEOUT(QImageReader(out + "/a.png").size(), QSize(80, 60), 30000);
        kxtest::writeFile(in + "/c.jpg", jpeg.left(jpeg.size() * 2 / 3));
        QTest::qWait(2500);
        QVERIFY(!QFileInfo::exists(out + "/c.png"));
        kxtest::writeFile(in + "/c.jpg", jpeg);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(out + "/c.png"), 30000);
        ::kill(process.processId(), SIGTERM);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 143);
        QCOMPARE(QDir(out).entryList(QDir::Files), (QStringList{"a.png", "c.png"}));
        const QByteArray lines = process.readAllStandardError();
        QVERIFY2(!lines.contains("failed") && !lines.contains("ends early"), lines.constData());
    }

    // Saving through a link would replace whatever it points at.
    void pdfTargetThatIsALinkIsRefused()
    {
        QTemporaryDir tmp;
        const QString victim = kxtest::writeFile(tmp.filePath("victim.txt"), "precious");
        QVERIFY(QFile::link(victim, tmp.filePath("linked.pdf")));
        const Result r = convert({"--pdf", tmp.filePath("linked.pdf"), "--existing", "overwrite",
                                  photos(tmp.filePath("in"), 1)});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("the target is a symbolic link"), r.err.constData());
        QCOMPARE(kxtest::readFile(victim), QByteArray("precious"));
    }

    // SIGTERM while '-' waits for more lines ends the run at once and converts
    // nothing, not even the paths read before it.
    void signalWhileReadingStandardInput()
    {
        QTemporaryDir tmp;
        const QString source = kxtest::photoFile(tmp.path(), "photo.png");
        QProcess process;
        process.start(QStringLiteral(KESTRIX_CONVERT), {"--to", "png", "-o", tmp.filePath("out"), "-"});
        QVERIFY(process.waitForStarted());
        process.write(source.toUtf8() + "\n");
        // Once the handler is in place (SigCgt of /proc), the signal is the program's to handle.
        const auto catchesTerm = [&process] {
            const QByteArray status = kxtest::readFile(QStringLiteral("/proc/%1/status").arg(process.processId()));
            const qsizetype at = status.indexOf("SigCgt:");
            return at >= 0 && (status.mid(at + 7, 17).trimmed().toULongLong(nullptr, 16) & (1ULL << (SIGTERM - 1)));
        };
        QTRY_VERIFY_WITH_TIMEOUT(catchesTerm(), 30000);
        ::kill(process.processId(), SIGTERM);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 143);
        QVERIFY(!QFileInfo::exists(tmp.filePath("out")));
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

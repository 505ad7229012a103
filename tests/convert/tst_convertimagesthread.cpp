#include <QtTest>

#include <QColorSpace>
#include <QImageReader>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <sys/stat.h>

#include "conversionjobs.h"
#include "conversionrun.h"
#include "conversionsettings.h"
#include "convertimagesthread.h"
#include "framefixtures.h"
#include "kxtest.h"
#include "kxpdf.h"
#include "targetformats.h"

class TestConvertImagesThread : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir tmp;
    QString in;
    QString out;

    QString source(const QString &name, QSize size = QSize(64, 48)) { return kxtest::photoFile(in, name, size); }

    ConversionSettings settingsFor(const QString &folder) const
    {
        ConversionSettings s;
        s.outputFolder = folder;
        s.pdfFileName = "doc.pdf";
        return s;
    }

    // What a run returned, and the sources it started and told finished, in order.
    struct Run
    {
        QStringList names;
        QStringList finished;
        ConversionResult result;

        QStringList withOutcome(ConversionFile::Outcome outcome) const
        {
            QStringList sources;
            for (const ConversionFile &file : result.files) {
                if (file.outcome == outcome)
                    sources << file.source;
            }
            return sources;
        }
        QStringList failed() const { return withOutcome(ConversionFile::Failed); }
        QStringList notes() const
        {
            QStringList notes;
            for (const ConversionFile &file : result.files) {
                for (const QString &note : file.notes)
                    notes << file.source + ": " + note;
            }
            return notes;
        }
        QStringList existing() const
        {
            QStringList targets;
            for (const PlannedFile &file : result.existing)
                targets << file.target;
            return targets;
        }
    };

    // One run of job; a stop is requested when the run reaches stopAt.
    static Run run(ConversionJob job, const QString &stopAt = {})
    {
        Run r;
        std::atomic_bool stop{false};
        job.stop = &stop;
        ConversionObserver observer;
        observer.started = [&](const QString &source) {
            r.names << source;
            if (source == stopAt)
                stop = true;
        };
        observer.finished = [&r](const ConversionFile &file) { r.finished << file.source; };
        r.result = runConversion(job, observer);
        return r;
    }

    // One pass over sources into the folder (or the PDF) of the settings.
    Run convert(const QStringList &sources, const QString &extension, ConversionSettings s = {},
                const QString &stopAt = {})
    {
        if (s.outputFolder.isEmpty())
            s = settingsFor(out);
        const bool pdf = extension.compare(".pdf", Qt::CaseInsensitive) == 0;
        return run(ConversionJob{sources, {}, {s}, pdf ? pdfPath() : s.outputFolder, extension}, stopAt);
    }

    QString pdfPath() const { return out + "/doc.pdf"; }

    // The picture as CMYK JPEG through libjpeg, its values inverted as Adobe's
    // programs store them (no black ink), with or without Adobe's marker.
    static QByteArray cmykJpeg(const QImage &picture, bool adobeMarker)
    {
        jpeg_compress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        unsigned char *data = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&info, &data, &size);
        info.image_width = JDIMENSION(picture.width());
        info.image_height = JDIMENSION(picture.height());
        info.input_components = 4;
        info.in_color_space = JCS_CMYK;
        jpeg_set_defaults(&info);
        info.write_Adobe_marker = adobeMarker;
        jpeg_start_compress(&info, TRUE);
        QByteArray row(picture.width() * 4, char(255));
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb pixel = picture.pixel(x, y);
                row[4 * x] = char(qRed(pixel));
                row[4 * x + 1] = char(qGreen(pixel));
                row[4 * x + 2] = char(qBlue(pixel));
            }
            JSAMPROW line = reinterpret_cast<JSAMPROW>(row.data());
            jpeg_write_scanlines(&info, &line, 1);
        }
        jpeg_finish_compress(&info);
        const QByteArray jpeg(reinterpret_cast<const char *>(data), qsizetype(size));
        jpeg_destroy_compress(&info);
        std::free(data);
        return jpeg;
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        in = tmp.path() + "/in";
        QVERIFY(QDir().mkpath(in));
    }

    void init()
    {
        out = tmp.path() + "/out-" + QTest::currentTestFunction() + "-" + QTest::currentDataTag();
        QDir(out).removeRecursively();
        QVERIFY(QDir().mkpath(out));
    }

    // Same base name in two sources and a folder named like a target are both
    // reported as existing, and skipped files are counted too.
    void imageRunWritesEverySource()
    {
        QVERIFY(QDir(out).mkdir("dir.webp"));
        const QStringList sources = {source("first.png"), source("photo.2020.jpg", QSize(40, 30)),
                                     source("photo.png"), source("dir.png")};
        const Run r = convert(sources, ".webp");
        QVERIFY(!r.result.stopped);
        QCOMPARE(r.names, sources);
        QCOMPARE(r.existing(), (QStringList{out + "/photo.webp", out + "/dir.webp"}));
        QCOMPARE(r.result.existing.at(1).source, sources.at(3));
        QCOMPARE(r.withOutcome(ConversionFile::Skipped), sources.mid(2));
        QCOMPARE(QImageReader(out + "/photo.webp").read().size(), QSize(40, 30));
        QCOMPARE(QDir(out).entryList(QDir::Files), (QStringList{"first.webp", "photo.webp"}));
    }

    // An existing target under each policy (planning itself is
    // tst_outputplan's) and the outcome the run gives it; a target made after
    // the plan (policy -1: a given plan that does not replace) is left alone.
    void existingFilePolicies_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("reason");
        QTest::newRow("overwrite") << int(ExistingOverwrite) << QStringList{"a.png=40x30"}
                                   << int(ConversionFile::Converted) << "";
        QTest::newRow("keep both") << int(ExistingKeepBoth) << QStringList{"a-1.png=40x30", "a.png=old"}
                                   << int(ConversionFile::Renamed) << "the target exists";
        QTest::newRow("skip") << int(ExistingSkip) << QStringList{"a.png=old"} << int(ConversionFile::Skipped)
                              << "the target exists";
        QTest::newRow("made meanwhile") << -1 << QStringList{"a.png=old"} << int(ConversionFile::Skipped)
                                        << "the target was made by another program meanwhile";
    }

    void existingFilePolicies()
    {
        QFETCH(int, policy);
        QFETCH(QStringList, files);
        QFETCH(int, outcome);
        QFETCH(QString, reason);
        QVERIFY(QDir().mkpath(in + "/x"));
        const QString a = source("x/a.png", QSize(40, 30));
        QVERIFY(!kxtest::writeFile(out + "/a.png", "old").isEmpty());
        ConversionSettings s = settingsFor(out);
        s.existingFilePolicy = qMax(policy, 0);
        ConversionJob job{{a}, {}, {s}, out, ".png"};
        if (policy < 0) {
            PlannedFile given{a, out + "/a.png"};
            given.format = formatForExtension("png");
            job.plan = {given};
        }
        const Run r = run(job);
        QCOMPARE(r.result.files.size(), 1);
        const ConversionFile &file = r.result.files.first();
        QCOMPARE(int(file.outcome), outcome);
        QCOMPARE(file.reason(), reason);
        QCOMPARE(r.finished, QStringList{a});
        QStringList found;
        for (const QString &name : QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
            const QSize size = QImageReader(out + "/" + name).size();
            found << name + "=" + (size.isValid() ? QString("%1x%2").arg(size.width()).arg(size.height())
                                                  : QString(kxtest::readFile(out + "/" + name)));
        }
        QCOMPARE(found, files);
    }

    // Three files at once write the same bytes as one after another; each
    // file is finished once and a broken one among them reported once. After
    // a stop the files that started finish whole and none starts.
    void parallelRunAndStop()
    {
        QStringList sources;
        for (int i = 0; i < 5; ++i)
            sources << source(QStringLiteral("j%1.png").arg(i), QSize(40 + 37 * i, 30 + 23 * i));
        sources.insert(1, kxtest::writeFile(in + "/j-broken.png", "garbage"));
        QStringList folders;
        for (const int jobs : {1, 3}) {
            ConversionSettings s = settingsFor(out + QString::number(jobs));
            QVERIFY(QDir().mkpath(s.outputFolder));
            s.convertJobs = jobs;
            const Run r = convert(sources, ".png", s);
            QVERIFY(!r.result.stopped);
            QCOMPARE(r.names, sources);
            QCOMPARE(QSet<QString>(r.finished.cbegin(), r.finished.cend()).size(), r.finished.size());
            QCOMPARE(r.finished.size(), sources.size());
            QCOMPARE(r.failed(), QStringList{sources.at(1)});
            folders << s.outputFolder;
        }
        const QStringList written = QDir(folders.first()).entryList(QDir::Files);
        QCOMPARE(written.size(), 5);
        QCOMPARE(QDir(folders.last()).entryList(QDir::Files), written);
        for (const QString &name : written)
            QVERIFY2(kxtest::readFile(folders.first() + "/" + name) == kxtest::readFile(folders.last() + "/" + name),
                     qPrintable(name));

        QVERIFY(QDir(out).mkdir("j0.png")); // an existing target found before the stop is not reported
        ConversionSettings s = settingsFor(out);
        s.convertJobs = 3;
        const Run r = convert(sources, ".png", s, sources.at(3));
        QVERIFY(r.result.stopped);
        QCOMPARE(r.names, sources.mid(0, 4));
        QCOMPARE(r.withOutcome(ConversionFile::NotStarted), sources.mid(4));
        QCOMPARE(r.result.files.size(), sources.size());
        QCOMPARE(QDir(out).entryList(QDir::Files), (QStringList{"j1.png", "j2.png"}));
        QCOMPARE(kxtest::readFile(out + "/j2.png"), kxtest::readFile(folders.first() + "/j2.png"));
    }

    // How many files may be in flight: the job count, then the memory budget;
    // the first file always starts, however large.
    void schedulingRule_data()
    {
        QTest::addColumn<int>("inFlight");
        QTest::addColumn<qint64>("inFlightBytes");
        QTest::addColumn<qint64>("fileBytes");
        QTest::addColumn<bool>("mayStart");
        QTest::newRow("first file over the budget") << 0 << qint64(0) << qint64(5000) << true;
        QTest::newRow("room for one more") << 2 << qint64(600) << qint64(400) << true;
        QTest::newRow("budget would be passed") << 2 << qint64(600) << qint64(401) << false;
        QTest::newRow("all jobs busy") << 3 << qint64(3) << qint64(1) << false;
    }

    void schedulingRule()
    {
        QFETCH(int, inFlight);
        QFETCH(qint64, inFlightBytes);
        QFETCH(qint64, fileBytes);
        QFETCH(bool, mayStart);
        QCOMPARE(mayStartFile(inFlight, inFlightBytes, fileBytes, 3, 1000), mayStart);
        if (QTest::currentDataTag() != QByteArray("all jobs busy"))
            return;
        QCOMPARE(conversionJobCount(0, 6), 6);
        QCOMPARE(conversionJobCount(1, 6), 1);
        QCOMPARE(conversionJobCount(500, 6), 64);
        QCOMPARE(conversionMemoryBudget(qint64(4) << 30), qint64(1) << 30);
        QCOMPARE(conversionMemoryBudget(qint64(64) << 30), qint64(2) << 30);
    }

    // 24 MP photos with 8 jobs in a 2 GB budget: the estimate lets in no more
    // files than the measured peaks fit (JPEG XL about 320 MB a file, AVIF
    // 570 MB, PNG 95 MB), and no fewer than half of that.
    void filesInFlight_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qint64>("fileBytes");
        QTest::addColumn<int>("least");
        QTest::addColumn<int>("most");
        const QSize photo(6000, 4000);
        QTest::newRow("PNG") << ".png" << photo << qint64(0) << 8 << 8;
        QTest::newRow("JPEG XL") << ".JXL" << photo << qint64(0) << 3 << 6;
        QTest::newRow("AVIF") << ".avif" << photo << qint64(0) << 2 << 3;
        QTest::newRow("an unknown target counts as the hungriest") << ".xyz" << photo << qint64(0) << 2 << 3;
        // A 50 MB XMP packet costs most of a gigabyte to read.
        QTest::newRow("small picture, huge metadata") << ".png" << QSize(320, 240) << qint64(50 << 20) << 2 << 2;
    }

    void filesInFlight()
    {
        QFETCH(QString, extension);
        QFETCH(QSize, size);
        QFETCH(qint64, fileBytes);
        QFETCH(int, least);
        QFETCH(int, most);
        const qint64 bytes = estimatedFileBytes(size, extension, fileBytes);
        int inFlight = 0;
        while (inFlight < 8 && mayStartFile(inFlight, inFlight * bytes, bytes, 8, qint64(2) << 30))
            ++inFlight;
        QVERIFY2(inFlight >= least && inFlight <= most, qPrintable(QString::number(inFlight)));
    }

    // The worker delivers the whole result with its end signal, also when
    // stopped before it began, and leaves the process's own values alone.
    void workerDeliversTheResult()
    {
        setLastOutputLocation("/somewhere/else");
        for (const bool stopFirst : {true, false}) {
            ConversionSettings s = settingsFor(out);
            ConvertImagesThread worker(ConversionJob{{source("early.png")}, {}, {s}, pdfPath(), ".pdf"});
            worker.stopRequested = stopFirst;
            QList<ConversionResult> ended;
            const auto keep = [&ended](const ConversionResult &result) { ended << result; };
            connect(&worker, &ConvertImagesThread::threadTerminated, &worker, keep, Qt::DirectConnection);
            connect(&worker, &ConvertImagesThread::threadCompleted, &worker, keep, Qt::DirectConnection);
            worker.start();
            worker.wait();
            QCOMPARE(ended.size(), 1);
            QCOMPARE(ended.first().stopped, stopFirst);
            QCOMPARE(ended.first().outputLocation, stopFirst ? QString() : pdfPath());
            QCOMPARE(ended.first().files.size(), stopFirst ? 0 : 1);
        }
        QCOMPARE(lastOutputLocation(), QStringLiteral("/somewhere/else"));
        QVERIFY(!outputIsPdf());
    }

    // Three outputs of two sources from one decode each: an extra output of
    // the main one's type and folder gets a name of its own, one naming a
    // folder writes there. A PDF cannot be an extra output.
    void recipeDecodesEachSourceOnce()
    {
        const QStringList sources = {source("r1.png", QSize(80, 60)), source("r2.jpg", QSize(80, 60))};
        ConversionSettings half = settingsFor(QString());
        half.targeFileType = TargetPng;
        half.scaleImage = true;
        half.scalePercentage = 50;
        ConversionSettings jpeg = settingsFor(out + "/jpeg");
        jpeg.targeFileType = TargetJpg;
        QVERIFY(QDir().mkpath(out + "/jpeg"));
        ConversionJob job{sources, {}, {settingsFor(out), half, jpeg}, out, ".png"};
        QStringList decoded;
        ConversionObserver observer;
        observer.decoded = [&decoded](const QString &source) { decoded << source; };
        ConversionResult r = runConversion(job, observer);
        decoded.sort(); // files finish in any order
        // Each source's bytes count once, its three files' all.
        QCOMPARE(r.files.at(0).bytesRead, QFileInfo(sources.at(0)).size());
        QCOMPARE(r.files.at(0).bytesWritten, QFileInfo(out + "/r1.png").size() + QFileInfo(out + "/r1-1.png").size()
                                                 + QFileInfo(out + "/jpeg/r1.jpg").size());
        QCOMPARE(decoded, sources);
        QCOMPARE(r.files.size(), 2);
        QCOMPARE(r.files.at(0).outputs, (QStringList{out + "/r1.png", out + "/r1-1.png", out + "/jpeg/r1.jpg"}));
        QCOMPARE(r.files.at(1).outputs, (QStringList{out + "/r2.png", out + "/r2-1.png", out + "/jpeg/r2.jpg"}));
        QCOMPARE(QImageReader(out + "/r2-1.png").size(), QSize(40, 30));
        QCOMPARE(QImageReader(out + "/jpeg/r2.jpg").size(), QSize(80, 60));
        job.settings.last().targeFileType = TargetPdf;
        r = runConversion(job);
        QCOMPARE(r.files.at(1).failures, QStringList{"a PDF document cannot be an extra output"});
    }

    // A missing output folder fails every source and is not made.
    void missingOutputFolderFailsEverySource()
    {
        const QString missing = out + "/missing";
        for (const QString extension : {".webp", ".pdf"}) {
            const Run r = convert({source("m1.png"), source("m2.png")}, extension, settingsFor(missing));
            QVERIFY(!r.result.stopped);
            QCOMPARE(r.failed().size(), 2);
            QVERIFY(!QFileInfo::exists(missing));
        }
    }

    // A JPEG cut short is converted, its grey rest told in the report, in both passes.
    void cutShortSourceIsConvertedWithNote()
    {
        const QByteArray whole = kxtest::readFile(source("whole.jpg"));
        const QString cut = kxtest::writeFile(in + "/cut.jpg", whole.left(whole.size() * 2 / 3));
        for (const QString extension : {".png", ".pdf"}) {
            const Run r = convert({cut, source("whole.jpg")}, extension);
            QCOMPARE(r.failed(), QStringList());
            QCOMPARE(r.notes(), QStringList{cut + ": the file ends early; the missing part is grey"});
        }
        QVERIFY(QFileInfo::exists(out + "/cut.png"));
        // A watched file may still be written: refused, marked, nothing written.
        QDir(out).removeRecursively();
        QVERIFY(QDir().mkpath(out));
        ConversionJob job{{cut}, {}, {settingsFor(out)}, out, ".png"};
        job.refuseIncomplete = true;
        const Run r = run(job);
        QCOMPARE(r.failed(), QStringList{cut});
        QVERIFY(r.result.files.first().incomplete);
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // Every page: a 3-page TIFF gives a file for each page, of its own size,
    // and is reported as one source; in a PDF each page is a page.
    void everyPageOfTiff()
    {
        const QString tiff = in + "/three.tif";
        QVERIFY(framefixtures::writeTiffPages(tiff, {kxtest::makePhotoLikeImage(64, 48), kxtest::makePhotoLikeImage(50, 40),
                                                     kxtest::makePhotoLikeImage(30, 20)}));
        const QStringList sources = {tiff, source("one.png")};
        ConversionSettings s = settingsFor(out);
        s.pagesAndFrames = PagesEach;
        const Run r = convert(sources, ".png", s);
        QCOMPARE(r.failed(), QStringList());
        QCOMPARE(r.names, sources);
        QCOMPARE(r.finished.size(), 2);
        // The source's bytes count once for its three files.
        QCOMPARE(r.result.files.first().pages, 3);
        QCOMPARE(r.result.files.first().bytesRead, QFileInfo(tiff).size());
        QCOMPARE(QDir(out).entryList(QDir::Files), (QStringList{"one.png", "three-1.png", "three-2.png", "three-3.png"}));
        QCOMPARE(QImageReader(out + "/three-2.png").size(), QSize(50, 40));
        QCOMPARE(convert(sources, ".pdf", s).finished, sources);
        QCOMPARE(kxtest::pdfPages(pdfPath()).size(), 4);

        // A stop is taken between pages: the source ends with the pages written.
        ConversionSettings stopping = settingsFor(out + "/stopped");
        QVERIFY(QDir().mkpath(stopping.outputFolder));
        stopping.pagesAndFrames = PagesEach;
        const Run stopped = convert({tiff}, ".png", stopping, tiff);
        QVERIFY(stopped.result.stopped);
        QCOMPARE(QDir(stopping.outputFolder).entryList(QDir::Files), QStringList{"three-1.png"});
        QCOMPARE(stopped.notes(), QStringList{tiff + ": stopped after page 1 of 3"});
        QCOMPARE(stopped.finished, QStringList{tiff});

        // A later page that cannot be written fails the source; the pages
        // written before it are still reported.
        const QString wide = in + "/wide.tif";
        QVERIFY(framefixtures::writeTiffPages(wide, {kxtest::makePhotoLikeImage(64, 48), kxtest::makePhotoLikeImage(70000, 2)}));
        ConversionSettings gif = settingsFor(out + "/gif");
        QVERIFY(QDir().mkpath(gif.outputFolder));
        gif.pagesAndFrames = PagesEach;
        const ConversionFile partly = convert({wide}, ".gif", gif).result.files.value(0);
        QCOMPARE(partly.outcome, ConversionFile::Failed);
        QCOMPARE(partly.outputs, QStringList{gif.outputFolder + "/wide-1.gif"});
        QVERIFY2(partly.reason().endsWith("(files written: 1)"), qPrintable(partly.reason()));

        // Kept animations: a document's pages do not become one, and the report says so.
        s.pagesAndFrames = PagesKeepAnimations;
        QCOMPARE(convert({tiff}, ".webp", s).notes(),
                 QStringList{tiff + ": only the first of its 3 pages was written: pages are not made into an animation"});
    }

    // Keep animations: a GIF written as WEBP plays with its frames, delays
    // and loop count, each frame scaled; a PNG target takes the first frame
    // and the report says so.
    void keptAnimation()
    {
        QImage blue(8, 8, QImage::Format_ARGB32);
        blue.fill(Qt::blue);
        QImage red(4, 4, QImage::Format_ARGB32);
        red.fill(Qt::red);
        const QString gif = in + "/moving.gif";
        QVERIFY(framefixtures::writeGif(gif, {8, 8}, {{blue, {}, 100}, {red, {4, 4}, 250}, {red, {0, 0}, 40}}, 2));
        ConversionSettings s = settingsFor(out);
        s.pagesAndFrames = PagesKeepAnimations;
        s.webpLossless = true;
        s.scaleImage = true;
        s.scalePercentage = 50;
        Run r = convert({gif}, ".webp", s);
        QCOMPARE(r.failed(), QStringList());
        QImageReader reader(out + "/moving.webp");
        QCOMPARE(reader.imageCount(), 3);
        QCOMPARE(reader.loopCount(), 2); // three plays: the GIF's two repeats
        QList<int> delays;
        QImage last;
        while (reader.read(&last))
            delays << reader.nextImageDelay();
        QCOMPARE(delays, (QList<int>{100, 250, 40}));
        QCOMPARE(last.size(), QSize(4, 4));
        QCOMPARE(last.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(last.pixel(3, 3), qRgb(255, 0, 0));
        QCOMPARE(last.pixel(3, 0), qRgb(0, 0, 255));
        r = convert({gif}, ".png", s);
        QCOMPARE(r.notes(), QStringList{gif + ": animation kept as its first frame"});
        QCOMPARE(QImageReader(out + "/moving.png").size(), QSize(4, 4));
    }

    // One page per source drawn: a failed source and a stop leave no blank
    // page, and a document without a page is not written.
    void pdfPages_data()
    {
        QTest::addColumn<int>("sources");
        QTest::addColumn<int>("stopAt");
        QTest::addColumn<int>("broken");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("keepJpeg");
        QTest::newRow("stop at the second of five") << 5 << 1 << -1 << 2 << false;
        QTest::newRow("empty list") << 0 << -1 << -1 << 0 << false;
        QTest::newRow("failed first source gets no page") << 3 << -1 << 0 << 2 << false;
        QTest::newRow("JPEG data kept, stop at the second of five") << 5 << 1 << -1 << 2 << true;
        QTest::newRow("JPEG data kept, failed first source") << 3 << -1 << 0 << 2 << true;
    }

    void pdfPages()
    {
        QFETCH(int, sources);
        QFETCH(int, stopAt);
        QFETCH(int, broken);
        QFETCH(int, pages);
        QFETCH(bool, keepJpeg);
        // Widths tell the pages apart: they follow the list, though three are prepared at once.
        QStringList paths;
        for (int i = 0; i < sources; ++i) {
            const QString name = QStringLiteral("p%1.%2").arg(i).arg(keepJpeg ? "jpg" : "png");
            const QString brokenPath = in + "/broken-" + name;
            // The JPEG check must not open a FIFO either: it would wait for a writer.
            if (i == broken && keepJpeg)
                QCOMPARE(::mkfifo(QFile::encodeName(brokenPath).constData(), 0600), 0);
            paths << (i != broken ? source(name, QSize(200 - 30 * i, 48))
                      : keepJpeg  ? brokenPath
                                  : kxtest::writeFile(brokenPath, "garbage"));
        }
        ConversionSettings s = settingsFor(out);
        s.convertJobs = 3;
        s.pdfKeepJpeg = keepJpeg;
        const Run r = convert(paths, ".PDF", s, stopAt >= 0 ? paths.at(stopAt) : QString());
        QCOMPARE(r.result.stopped, stopAt >= 0);
        QCOMPARE(r.result.stoppedDocumentPages, stopAt >= 0 ? pages : -1);
        QVERIFY(r.result.existing.isEmpty());
        QCOMPARE(r.failed(), broken >= 0 ? QStringList{paths.at(broken)} : QStringList());
        // A failed page is told at once, the others once the document is written.
        if (broken == 0 && stopAt < 0)
            QCOMPARE(r.finished, paths);
        QCOMPARE(QFileInfo::exists(pdfPath()), pages > 0);
        if (pages > 0) {
            QVERIFY(kxtest::readFile(pdfPath()).startsWith("%PDF-1.6"));
            const QList<kxtest::PdfPage> written = kxtest::pdfPages(pdfPath());
            QCOMPARE(written.size(), pages);
            QCOMPARE(written.first().points.toSize(), QSize(612, 792)); // the default paper: Letter, portrait
            // The sources narrow along the list, so the pages must narrow too.
            for (qsizetype i = 1; i < written.size(); ++i)
                QVERIFY(written.at(i).drawn.width() < written.at(i - 1).drawn.width());
        }
    }

    // Every source fails with the system's reason; the earlier document stays.
    void pdfOnFullDiskKeepsEarlierDocument()
    {
        kxtest::writeFile(pdfPath(), "old document");
        const QStringList sources = {source("f1.png", QSize(320, 240)), source("f2.jpg", QSize(320, 240))};
        for (const bool keepJpeg : {false, true}) {
            ConversionSettings s = settingsFor(out);
            s.pdfKeepJpeg = keepJpeg;
            Run r;
            {
                kxtest::FileSizeLimit limit(4096);
                r = convert(sources, ".pdf", s);
            }
            QCOMPARE(r.failed(), sources);
            QCOMPARE(r.result.files.first().reason(),
                     "Cannot write " + pdfPath() + ": " + QString::fromLocal8Bit(std::strerror(EFBIG)));
            QCOMPARE(kxtest::readFile(pdfPath()), QByteArray("old document"));
            QCOMPARE(QDir(out).entryList(QDir::Files), QStringList{"doc.pdf"});
        }
    }

    // A4 landscape with a margin, the picture resized to the paper (at the
    // default 300 dpi); the fit and margin rules' own cases (a margin leaving
    // no area among them) are in tst_pdflayout, here they must reach the page.
    void pdfPageSetup()
    {
        ConversionSettings s = settingsFor(out);
        s.pdfPaperSize = PaperA4;
        s.pdfPaperOrientation = OrientationLandscape;
        s.pdfPaperMargin = AddMargin;
        s.pdfPaperMarginSize = 20;
        s.resizeImageToPaper = true;
        s.pdfSmoothEdges = false;
        QCOMPARE(convert({source("fit.jpg", QSize(1000, 500))}, ".pdf", s).failed(), QStringList());
        const QList<kxtest::PdfPage> pages = kxtest::pdfPages(pdfPath());
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages.first().points.toSize(), QSize(842, 595));
        // 200 pixels in from the left and the top of the 3508 x 2480 page, 3108 x 1554.
        const QRectF r = pages.first().drawn;
        const QRectF expected(200 / 3508.0, 200 / 2480.0, 3108 / 3508.0, 1554 / 2480.0);
        for (const auto &[got, want] : {std::pair{r.left(), expected.left()}, {r.top(), expected.top()},
                                        {r.right(), expected.right()}, {r.bottom(), expected.bottom()}})
            QVERIFY2(qAbs(got - want) < 0.006, qPrintable(QStringLiteral("%1 for %2").arg(got).arg(want)));
    }

    // With JPEG data kept, a JPEG that nothing changes goes into the document
    // byte for byte; any other source is drawn. Either way the page and the
    // picture on it are those of the drawn document.
    void pdfKeepsJpegData_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("watermark");
        QTest::addColumn<bool>("resize");
        QTest::addColumn<bool>("kept");
        // The PDF renderer turns CMYK into RGB by a profile, not by Qt's plain formula.
        QTest::addColumn<double>("colourTolerance");
        QTest::newRow("JPEG resized to the paper") << "keep.jpg" << "" << true << true << 2.0;
        QTest::newRow("JPEG at its own size") << "keep.jpg" << "" << false << true << 2.0;
        QTest::newRow("watermarked JPEG") << "keep.jpg" << "(c) Kestrix" << true << false << 2.0;
        QTest::newRow("JPEG turned by EXIF") << "turned.jpg" << "" << true << false << 2.0;
        QTest::newRow("PNG with alpha") << "alpha.png" << "" << true << false << 2.0;
        QTest::newRow("Adobe CMYK JPEG") << "cmyk-adobe.jpg" << "" << true << true << 20.0;
        QTest::newRow("CMYK JPEG without Adobe's marker") << "cmyk-plain.jpg" << "" << true << false << 2.0;
        // Unconverted, its colours are off by 5.
        QTest::newRow("JPEG with a Display P3 profile") << "p3.jpg" << "" << true << true << 3.0;
    }

    void pdfKeepsJpegData()
    {
        QFETCH(QString, name);
        QFETCH(QString, watermark);
        QFETCH(bool, resize);
        QFETCH(bool, kept);
        QFETCH(double, colourTolerance);
        const QString path = in + "/" + name;
        QImage photo = kxtest::makePhotoLikeImage(1000, 500, name.endsWith(".png"));
        photo.setColorSpace(QColorSpace::SRgb);
        if (name.startsWith("cmyk"))
            QVERIFY(!kxtest::writeFile(path, cmykJpeg(photo, name == "cmyk-adobe.jpg")).isEmpty());
        else if (name == "p3.jpg")
            QVERIFY(QImage(photo).convertedToColorSpace(QColorSpace::DisplayP3).save(path));
        else
            QVERIFY(photo.save(path));
        if (name == "turned.jpg")
            kxtest::writeFile(path, kxtest::jpegWithExifOrientation(kxtest::readFile(path), 6));
        ConversionSettings s = settingsFor(out);
        s.pdfPaperSize = PaperA4;
        s.pdfPaperOrientation = OrientationLandscape;
        s.pdfPaperMargin = AddMargin;
        s.pdfPaperMarginSize = 20;
        s.resizeImageToPaper = resize;
        s.textContent = watermark;
        QCOMPARE(convert({path}, ".pdf", s).failed(), QStringList());
        const QList<kxtest::PdfPage> drawn = kxtest::pdfPages(pdfPath());
        s.pdfKeepJpeg = true;
        const Run r = convert({path}, ".pdf", s);
        QCOMPARE(r.withOutcome(ConversionFile::Converted), QStringList{path});
        QCOMPARE(kxtest::readFile(pdfPath()).contains(kxtest::readFile(path)), kept);
        const QList<kxtest::PdfPage> pages = kxtest::pdfPages(pdfPath());
        QVERIFY(pages.size() == 1 && drawn.size() == 1);
        QCOMPARE(pages.first().points, drawn.first().points);
        const QRectF a = pages.first().drawn;
        const QRectF b = drawn.first().drawn;
        for (const auto &[got, want] :
             {std::pair{a.left(), b.left()}, {a.top(), b.top()}, {a.right(), b.right()}, {a.bottom(), b.bottom()}})
            QVERIFY2(qAbs(got - want) < 0.003, qPrintable(QStringLiteral("%1 for %2").arg(got).arg(want)));
        const double difference = kxtest::meanChannelDifference(pages.first().rendered, drawn.first().rendered);
        QVERIFY2(difference < colourTolerance, qPrintable(QString::number(difference)));
        if (name != "p3.jpg")
            return;
        // Both show the colours the profile gives: those of the picture in sRGB.
        const QString plain = in + "/srgb.jpg";
        QVERIFY(photo.save(plain));
        QCOMPARE(convert({plain}, ".pdf", s).failed(), QStringList());
        const QImage reference = kxtest::pdfPages(pdfPath()).first().rendered;
        for (const QImage &rendered : {pages.first().rendered, drawn.first().rendered}) {
            const double off = kxtest::meanChannelDifference(rendered, reference);
            QVERIFY2(off < colourTolerance, qPrintable(QString::number(off)));
        }
    }
};

QTEST_MAIN(TestConvertImagesThread)
#include "tst_convertimagesthread.moc"

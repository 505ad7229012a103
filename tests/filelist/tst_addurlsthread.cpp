#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

#include "convertimageaddurlsthread.h"
#include "kxtest.h"

namespace {

void writeImage(const QString &path, int width, int height)
{
    QDir().mkpath(QFileInfo(path).path());
    QVERIFY2(kxtest::makePhotoLikeImage(width, height).save(path), qPrintable(path));
}

QStringList pathCells(const QStandardItemModel &model)
{
    QStringList paths;
    for (int row = 0; row < model.rowCount(); ++row)
        paths << model.item(row, 1)->text();
    return paths;
}

// Hands URLs to the running worker, or to a new one when there is none or the
// running one has closed its queue (as the form does).
class Adder
{
public:
    explicit Adder(QStandardItemModel *model) : model(model) {}
    ~Adder() { qDeleteAll(workers); }

    void add(const QList<QUrl> &urls)
    {
        if (!workers.isEmpty() && workers.last()->appendPendingUrls(urls))
            return;
        auto *worker = new ConvertImageAddUrlsThread(nullptr, model);
        QObject::connect(worker, &ConvertImageAddUrlsThread::addUrlsFinish, worker, [this] { ++finishReports; });
        QVERIFY(worker->appendPendingUrls(urls));
        workers << worker;
        worker->start();
    }

    bool allFinished() const
    {
        for (const auto *worker : workers) {
            if (!worker->isFinished())
                return false;
        }
        return true;
    }

    QStandardItemModel *model;
    QList<ConvertImageAddUrlsThread *> workers;
    int finishReports = 0;
};

} // namespace

class TestAddUrlsThread : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    // What one worker reported over its whole run.
    struct Batch
    {
        QList<QList<QVariant>> finishes; // addUrlsFinish
        QList<QList<QVariant>> icons;    // processFinish
    };

    // Runs one worker over the URLs to its end.
    Batch runBatch(QStandardItemModel *model, const QList<QUrl> &urls)
    {
        ConvertImageAddUrlsThread worker(nullptr, model);
        QSignalSpy finish(&worker, &ConvertImageAddUrlsThread::addUrlsFinish);
        QSignalSpy icons(&worker, &ConvertImageAddUrlsThread::processFinish);
        QSignalSpy ended(&worker, &QThread::finished);
        worker.appendPendingUrls(urls);
        worker.start();
        [&] { QVERIFY(ended.wait(10000)); }();
        return {finish, icons};
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(dir.isValid());
        writeImage(dir.filePath("tree/a.png"), 40, 30);
        writeImage(dir.filePath("tree/sub/b.webp"), 30, 40);
        QFile text(dir.filePath("tree/readme.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a picture");
    }

    void folderAddsItsImages()
    {
        QStandardItemModel model;
        const Batch batch = runBatch(&model, {QUrl::fromLocalFile(dir.filePath("tree"))});
        QStringList paths = pathCells(model);
        std::sort(paths.begin(), paths.end());
        QCOMPARE(paths, (QStringList{dir.filePath("tree/a.png"), dir.filePath("tree/sub/b.webp")}));
        for (int row = 0; row < model.rowCount(); ++row)
            QCOMPARE(model.item(row, 0)->text(), QFileInfo(model.item(row, 1)->text()).fileName());
        QCOMPARE(batch.finishes.size(), 1);
        QCOMPARE(batch.finishes.at(0).at(0).toString(), model.item(1, 1)->text());
    }

    void listedPathIsRefused()
    {
        QStandardItemModel model;
        const QString a = dir.filePath("tree/a.png");
        model.appendRow({new QStandardItem("a.png"), new QStandardItem(a)});
        // a.png is listed already and named twice more; the web link is skipped.
        const Batch batch = runBatch(&model, {QUrl::fromLocalFile(a), QUrl("https://example.com/c.png"),
                                              QUrl::fromLocalFile(dir.filePath("tree")),
                                              QUrl::fromLocalFile(dir.filePath("tree/sub/b.webp"))});
        QCOMPARE(pathCells(model), (QStringList{a, dir.filePath("tree/sub/b.webp")}));
        QCOMPARE(batch.finishes.at(0).at(0).toString(), dir.filePath("tree/sub/b.webp"));
    }

    void batchWithoutImagesStillReports()
    {
        QStandardItemModel model;
        const Batch batch = runBatch(&model, {QUrl::fromLocalFile(dir.filePath("tree/readme.txt"))});
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(batch.finishes.size(), 1);
        QCOMPARE(batch.finishes.at(0).at(0).toString(), QString());
        QCOMPARE(batch.icons.size(), 0);
    }

    void thumbnailsGiveIconAndSize()
    {
        writeImage(dir.filePath("thumbs/portrait.png"), 1000, 2000);
        QFile broken(dir.filePath("thumbs/broken.png"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("this is no png");
        broken.close();

        QStandardItemModel model;
        const Batch batch = runBatch(&model, {QUrl::fromLocalFile(dir.filePath("thumbs/portrait.png")),
                                              QUrl::fromLocalFile(dir.filePath("thumbs/broken.png"))});
        QCOMPARE(batch.icons.size(), 2);
        const QList<QVariant> portrait = batch.icons.at(0);
        QCOMPARE(portrait.at(0).value<QImage>().size(), QSize(64, 128));
        QCOMPARE(portrait.at(1).toString(), QStringLiteral("portrait.png"));
        QCOMPARE(portrait.at(2).toString(), dir.filePath("thumbs"));
        QCOMPARE(portrait.at(3).toString(), QStringLiteral("1000x2000"));
        QCOMPARE(portrait.at(4).toInt(), 0);
        const QList<QVariant> unreadable = batch.icons.at(1);
        QVERIFY(unreadable.at(0).value<QImage>().isNull());
        QCOMPARE(unreadable.at(3).toString(), QStringLiteral("0x0"));
        QCOMPARE(unreadable.at(4).toInt(), 1);
    }

    // Small batches dropped one after another, many of them while the previous
    // batch is ending: every file is listed exactly once.
    void droppedUrlsAreNeverLost()
    {
        const int fileCount = 300;
        QList<QUrl> urls;
        for (int i = 0; i < fileCount; ++i) {
            const QString path = dir.filePath(QStringLiteral("stress/%1.png").arg(i));
            writeImage(path, 4, 4);
            urls << QUrl::fromLocalFile(path);
        }
        QStandardItemModel model;
        Adder adder(&model);
        auto *random = QRandomGenerator::global();
        for (int i = 0; i < fileCount;) {
            const int take = 1 + int(random->bounded(3));
            adder.add(urls.mid(i, take));
            i += take;
            switch (random->bounded(3)) {
            case 0: // straight on: joins the running batch
                break;
            case 1: { // right after the batch reports, while it ends or makes thumbnails
                const int reports = adder.finishReports;
                QVERIFY(kxtest::waitUntil([&] { return adder.finishReports > reports || adder.allFinished(); }, 10000));
                break;
            }
            default: // after the batch has ended
                QVERIFY(kxtest::waitUntil([&] { return adder.allFinished(); }, 10000));
                break;
            }
        }
        QVERIFY(kxtest::waitUntil([&] { return adder.allFinished(); }, 30000));
        QCoreApplication::processEvents();
        const QStringList paths = pathCells(model);
        QCOMPARE(paths.size(), fileCount);
        QCOMPARE(QSet<QString>(paths.cbegin(), paths.cend()).size(), fileCount);
        QVERIFY(adder.workers.size() > 1);
        qInfo() << "batches:" << adder.workers.size();
    }

    // The GUI thread may stop a busy worker and wait for it without handling
    // any event (the form does so when it is destroyed): no deadlock.
    void stopWhileBusyEndsPromptly()
    {
        for (int i = 0; i < 600; ++i)
            writeImage(dir.filePath(QStringLiteral("many/%1.png").arg(i)), 4, 4);
        QStandardItemModel model;
        auto *worker = new ConvertImageAddUrlsThread(this, &model);
        worker->appendPendingUrls({QUrl::fromLocalFile(dir.filePath("many"))});
        worker->start();
        QVERIFY(kxtest::waitUntil([&] { return model.rowCount() > 0; }, 10000));
        worker->requestStop();
        QVERIFY(worker->wait(5000));
        QVERIFY(!worker->appendPendingUrls({QUrl::fromLocalFile(dir.filePath("tree"))}));
        QVERIFY(model.rowCount() <= 600);
        delete worker;
        // A call it abandoned does nothing when the event loop runs again.
        const int rows = model.rowCount();
        QCoreApplication::processEvents();
        QCOMPARE(model.rowCount(), rows);
    }
};

QTEST_MAIN(TestAddUrlsThread)
#include "tst_addurlsthread.moc"

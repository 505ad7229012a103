// The add worker on its own: the duplicate rule, the report of every batch and
// the hand-over between batches. The folder walk and the thumbnails it
// delivers are checked through the window in tests/app.

#include <QRandomGenerator>
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

    // Runs one worker over the URLs to its end; the last path of each report.
    QStringList runBatch(QStandardItemModel *model, const QList<QUrl> &urls)
    {
        ConvertImageAddUrlsThread worker(nullptr, model);
        QSignalSpy finish(&worker, &ConvertImageAddUrlsThread::addUrlsFinish);
        QSignalSpy ended(&worker, &QThread::finished);
        worker.appendPendingUrls(urls);
        worker.start();
        [&] { QVERIFY(ended.wait(10000)); }();
        QStringList reported;
        for (const QList<QVariant> &report : std::as_const(finish))
            reported << report.at(0).toString();
        return reported;
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
    }

    void listedPathIsRefused()
    {
        QStandardItemModel model;
        const QString a = dir.filePath("tree/a.png");
        model.appendRow({new QStandardItem("a.png"), new QStandardItem(a)});
        // a.png is listed already and named twice more; the web link is skipped.
        const QStringList reported = runBatch(&model, {QUrl::fromLocalFile(a), QUrl("https://example.com/c.png"),
                                                       QUrl::fromLocalFile(dir.filePath("tree")),
                                                       QUrl::fromLocalFile(dir.filePath("tree/sub/b.webp"))});
        QCOMPARE(pathCells(model), (QStringList{a, dir.filePath("tree/sub/b.webp")}));
        QCOMPARE(reported, QStringList{dir.filePath("tree/sub/b.webp")});
    }

    void batchWithoutImagesStillReports()
    {
        QStandardItemModel model;
        QCOMPARE(runBatch(&model, {QUrl::fromLocalFile(dir.filePath("tree/readme.txt"))}), QStringList{QString()});
        QCOMPARE(model.rowCount(), 0);
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
};

QTEST_MAIN(TestAddUrlsThread)
#include "tst_addurlsthread.moc"

// The add worker on its own: the duplicate rule, the report of every batch and
// the hand-over between batches. The folder walk and the thumbnails it
// delivers are checked through the window in tests/app.

#include <QRandomGenerator>
#include <QtTest>

#include "convertimageaddurlsthread.h"
#include "kxtest.h"

namespace {

QStringList pathCells(const QStandardItemModel &model)
{
    QStringList paths;
    for (int row = 0; row < model.rowCount(); ++row)
        paths << model.item(row, 1)->text();
    return paths;
}

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
        worker.appendPendingUrls(urls);
        worker.start();
        kxtest::waitUntil([&] { return worker.isFinished(); }, 10000);
        QStringList reported;
        for (const QList<QVariant> &report : std::as_const(finish))
            reported << report.at(0).toString();
        return reported;
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(QDir().mkpath(dir.filePath("tree/sub")) && QDir().mkpath(dir.filePath("stress")));
        QVERIFY(kxtest::makePhotoLikeImage(40, 30).save(dir.filePath("tree/a.png")));
        QVERIFY(kxtest::makePhotoLikeImage(30, 40).save(dir.filePath("tree/sub/b.webp")));
        QVERIFY(!kxtest::writeFile(dir.filePath("tree/readme.txt"), "text").isEmpty());
    }

    void listedPathIsRefused()
    {
        QStandardItemModel model;
        const QString a = dir.filePath("tree/a.png");
        const QString b = dir.filePath("tree/sub/b.webp");
        model.appendRow({new QStandardItem("a.png"), new QStandardItem(a)});
        // a.png is listed already and named twice more; the web link is skipped.
        const QStringList reported = runBatch(&model, {QUrl::fromLocalFile(a), QUrl("https://example.com/c.png"),
                                                       QUrl::fromLocalFile(dir.filePath("tree")),
                                                       QUrl::fromLocalFile(b)});
        QCOMPARE(pathCells(model), (QStringList{a, b}));
        QCOMPARE(reported, QStringList{b});
        // A batch without pictures still reports.
        QCOMPARE(runBatch(&model, {QUrl::fromLocalFile(dir.filePath("tree/readme.txt"))}), QStringList{QString()});
        QCOMPARE(model.rowCount(), 2);
    }

    // Small batches dropped one after another, many of them while the previous
    // batch is ending: every file is listed exactly once. URLs go to the running
    // worker, or to a new one once it has closed its queue, as the form does.
    void droppedUrlsAreNeverLost()
    {
        const int fileCount = 300;
        QList<QUrl> urls;
        for (int i = 0; i < fileCount; ++i) {
            const QString path = dir.filePath(QStringLiteral("stress/%1.png").arg(i));
            QVERIFY(kxtest::makePhotoLikeImage(4, 4).save(path));
            urls << QUrl::fromLocalFile(path);
        }
        QStandardItemModel model;
        int reports = 0;
        std::vector<std::unique_ptr<ConvertImageAddUrlsThread>> workers;
        const auto allFinished = [&] {
            return std::all_of(workers.cbegin(), workers.cend(), [](const auto &w) { return w->isFinished(); });
        };
        auto *random = QRandomGenerator::global();
        for (int i = 0; i < fileCount;) {
            const int take = 1 + int(random->bounded(3));
            if (workers.empty() || !workers.back()->appendPendingUrls(urls.mid(i, take))) {
                auto &worker = workers.emplace_back(new ConvertImageAddUrlsThread(nullptr, &model));
                connect(worker.get(), &ConvertImageAddUrlsThread::addUrlsFinish, this, [&] { ++reports; });
                QVERIFY(worker->appendPendingUrls(urls.mid(i, take)));
                worker->start();
            }
            i += take;
            const int before = reports;
            switch (random->bounded(3)) {
            case 0: // straight on: joins the running batch
                break;
            case 1: // right after the batch reports, while it ends or makes thumbnails
                QVERIFY(kxtest::waitUntil([&] { return reports > before || allFinished(); }, 10000));
                break;
            default: // after the batch has ended
                QVERIFY(kxtest::waitUntil(allFinished, 10000));
            }
        }
        QVERIFY(kxtest::waitUntil(allFinished, 30000));
        QCoreApplication::processEvents();
        const QStringList paths = pathCells(model);
        QCOMPARE(paths.size(), fileCount);
        QCOMPARE(QSet<QString>(paths.cbegin(), paths.cend()).size(), fileCount);
        QVERIFY(workers.size() > 1);
    }
};

QTEST_MAIN(TestAddUrlsThread)
#include "tst_addurlsthread.moc"

#include <QMimeData>
#include <QtTest>

#include "convertimageframe.h"
#include "convertimagetreeview.h"
#include "kxtest.h"

// Drags from another program reach both targets: the first URL decides for the
// whole drop (its cases are in tst_fileentry), and a drop hands on every URL.
class TestDropTargets : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QUrl url(const QString &name) { return QUrl::fromLocalFile(dir.filePath(name)); }

    bool enterAccepted(QWidget *target, const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
        return event.isAccepted();
    }

    QList<QUrl> dropped(QWidget *target, QObject *emitter, const QList<QUrl> &urls)
    {
        QSignalSpy spy(emitter, SIGNAL(addURLs(QList<QUrl>)));
        QMimeData data;
        data.setUrls(urls);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
        if (spy.count() != 1)
            return {};
        return spy.at(0).at(0).value<QList<QUrl>>();
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        QVERIFY(kxtest::makePhotoLikeImage(8, 8).save(dir.filePath("a.png")));
        QVERIFY(!kxtest::writeFile(dir.filePath("readme.txt"), "text").isEmpty());
    }

    void bothTargets_data()
    {
        QTest::addColumn<bool>("list");
        QTest::newRow("drop zone") << false;
        QTest::newRow("list") << true;
    }

    void bothTargets()
    {
        QFETCH(bool, list);
        ConvertImageFrame frame;
        QStandardItemModel model;
        ConvertImageTreeView view;
        view.setModel(&model);
        view.setAcceptDrops(true);
        view.setDragDropMode(QAbstractItemView::InternalMove);
        QWidget *target = list ? view.viewport() : &frame;
        QVERIFY(target->acceptDrops());
        QVERIFY(enterAccepted(target, {url("a.png"), url("readme.txt")}));
        QVERIFY(!enterAccepted(target, {url("readme.txt"), url("a.png")}));
        const QList<QUrl> all{url("a.png"), url("readme.txt"), url("folder")};
        QCOMPARE(dropped(target, list ? static_cast<QObject *>(&view) : &frame, all), all);
    }
};

QTEST_MAIN(TestDropTargets)
#include "tst_droptargets.moc"

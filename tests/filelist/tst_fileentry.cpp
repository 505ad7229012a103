#include <QMimeData>
#include <QtTest>

#include "convertimageframe.h"
#include "convertimagetreeview.h"
#include "fileentry.h"
#include "kxtest.h"

class TestFileEntry : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(QDir(dir.path()).mkdir("folder.png"));
        for (const char *name : {"a.png", "readme.txt", "photo.final.JPG", "photo", "photo.png.txt", "animation.avifs"})
            QVERIFY(!kxtest::writeFile(dir.filePath(name), "x").isEmpty());
    }

    // Every accepted type in lower case goes through the folder walk in tests/app.
    void supportedImageFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("supported");
        QTest::newRow("two dots, last counts") << "photo.final.JPG" << true;
        QTest::newRow("AVIF sequence") << "animation.avifs" << true;
        QTest::newRow("no extension") << "photo" << false;
        QTest::newRow("image word before other suffix") << "photo.png.txt" << false;
        QTest::newRow("folder") << "folder.png" << false;
    }

    void supportedImageFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, supported);
        QCOMPARE(isSupportedImageFile(dir.filePath(name)), supported);
    }

    void entryPathRule_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("pathCell");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three lines, no path cell") << "a.jpg\n800x600\nC:/Pics" << "" << "C:/Pics/a.jpg";
        QTest::newRow("one line takes the path cell") << "a.jpg" << "/home/u/a.jpg" << "/home/u/a.jpg";
        QTest::newRow("root folder") << "a.jpg\n1x1\n/" << "" << "/a.jpg";
        QTest::newRow("nothing known") << "a.jpg" << "" << "";
    }

    void entryPathRule()
    {
        QFETCH(QString, label);
        QFETCH(QString, pathCell);
        QFETCH(QString, expected);
        QCOMPARE(entryPath(label, pathCell), expected);
    }

    // The first URL decides for the whole drop, on the drop zone and the list
    // alike; a drop hands on every URL.
    void firstUrlDecidesTheDrop_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("image first, text later") << QStringList{"a.png", "readme.txt", "folder.png"} << true;
        QTest::newRow("text first, image later") << QStringList{"readme.txt", "a.png"} << false;
        QTest::newRow("folder first, text later") << QStringList{"folder.png", "readme.txt"} << true;
        QTest::newRow("web link first") << QStringList{"http://example.com/a.png", "a.png"} << false;
        QTest::newRow("nothing") << QStringList{} << false;
    }

    void firstUrlDecidesTheDrop()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, accepted);
        QList<QUrl> urls;
        for (const QString &name : names)
            urls << (name.startsWith("http") ? QUrl(name) : QUrl::fromLocalFile(dir.filePath(name)));

        ConvertImageFrame frame;
        QStandardItemModel model;
        ConvertImageTreeView view;
        view.setModel(&model);
        view.setAcceptDrops(true);
        view.setDragDropMode(QAbstractItemView::InternalMove);
        QMimeData data;
        data.setUrls(urls);
        for (QWidget *target : {static_cast<QWidget *>(&frame), view.viewport()}) {
            QVERIFY(target->acceptDrops());
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data,
                                  Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &enter);
            QCOMPARE(enter.isAccepted(), accepted);
            if (!accepted)
                continue;
            QObject *emitter = target == &frame ? static_cast<QObject *>(&frame) : &view;
            QSignalSpy spy(emitter, SIGNAL(addURLs(QList<QUrl>)));
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &drop);
            QCOMPARE(spy.count(), 1);
            QCOMPARE(spy.at(0).at(0).value<QList<QUrl>>(), urls);
        }
    }

    void thumbnailOfFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("stored");    // empty: a file that is no picture
        QTest::addColumn<int>("orientation"); // EXIF orientation, 0 for none
        QTest::addColumn<QSize>("icon");
        QTest::addColumn<QString>("sizeText");
        QTest::newRow("portrait png") << "portrait.png" << QSize(1000, 2000) << 0 << QSize(64, 128) << "1000x2000";
        QTest::newRow("landscape jpeg, decoded small") << "landscape.jpg" << QSize(300, 200) << 0 << QSize(96, 64)
                                                       << "300x200";
        QTest::newRow("jpeg turned by its orientation") << "turned.jpg" << QSize(200, 100) << 6 << QSize(64, 128)
                                                        << "100x200";
        QTest::newRow("small jpeg grows") << "small.jpg" << QSize(40, 20) << 0 << QSize(128, 64) << "40x20";
        QTest::newRow("unreadable") << "broken.png" << QSize() << 0 << QSize(0, 0) << "0x0";
    }

    void thumbnailOfFile()
    {
        QFETCH(QString, name);
        QFETCH(QSize, stored);
        QFETCH(int, orientation);
        QFETCH(QSize, icon);
        QFETCH(QString, sizeText);
        const QString path = stored.isEmpty() ? kxtest::writeFile(dir.filePath(name), "no picture")
                                              : kxtest::photoFile(dir.path(), name, stored);
        if (orientation)
            kxtest::writeFile(path, kxtest::jpegWithExifOrientation(kxtest::readFile(path), orientation));
        const ListThumbnail thumbnail = readListThumbnail(path);
        QCOMPARE(thumbnail.icon.size(), icon);
        QCOMPARE(thumbnail.sizeStr, sizeText);
    }
};

QTEST_MAIN(TestFileEntry)
#include "tst_fileentry.moc"

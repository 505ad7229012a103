#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "fileentry.h"
#include "kxtest.h"

class TestFileEntry : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString touch(const QString &name)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("x");
        return path;
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(dir.isValid());
        QDir(dir.path()).mkdir(QStringLiteral("folder.png"));
    }

    // Every accepted type in lower case goes through the folder walk in tests/app.
    void supportedImageFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("supported");
        QTest::newRow("upper TIF") << "photo.TIF" << true;
        QTest::newRow("two dots, last counts") << "photo.final.JPG" << true;
        QTest::newRow("bmp") << "photo.bmp" << false;
        QTest::newRow("no extension") << "photo" << false;
        QTest::newRow("image word before other suffix") << "photo.png.txt" << false;
        QTest::newRow("folder") << "folder.png" << false;
        QTest::newRow("missing file") << "missing.png" << false;
        QTest::newRow("no path") << "" << false;
    }

    void supportedImageFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, supported);
        const QString path = name.isEmpty() ? QString() : dir.filePath(name);
        if (!name.startsWith("missing") && !name.isEmpty())
            touch(name); // fails quietly on the folder
        QCOMPARE(isSupportedImageFile(path), supported);
    }

    void entryPathRule_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("pathCell");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three lines, no path cell") << "a.jpg\n800x600\nC:/Pics" << "" << "C:/Pics/a.jpg";
        QTest::newRow("one line takes the path cell") << "a.jpg" << "/home/u/a.jpg" << "/home/u/a.jpg";
        QTest::newRow("three lines agree with path cell") << "a.jpg\n800x600\n/home/u" << "/home/u/a.jpg"
                                                          << "/home/u/a.jpg";
        QTest::newRow("root folder") << "a.jpg\n1x1\n/" << "" << "/a.jpg";
        QTest::newRow("line break in the file name") << "odd\nname.png\n8x8\n/tmp" << "/tmp/odd\nname.png"
                                                     << "/tmp/odd\nname.png";
        QTest::newRow("nothing known") << "a.jpg" << "" << "";
    }

    void entryPathRule()
    {
        QFETCH(QString, label);
        QFETCH(QString, pathCell);
        QFETCH(QString, expected);
        QCOMPARE(entryPath(label, pathCell), expected);
    }

    void firstUrlDecidesTheDrop_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("image") << QStringList{"a.png"} << true;
        QTest::newRow("text first, image later") << QStringList{"readme.txt", "a.png"} << false;
        QTest::newRow("folder first, text later") << QStringList{"folder.png", "readme.txt"} << true;
        QTest::newRow("bmp first") << QStringList{"photo.bmp", "a.png"} << false;
        QTest::newRow("web link first") << QStringList{"http://example.com/a.png", "a.png"} << false;
        QTest::newRow("nothing") << QStringList{} << false;
    }

    void firstUrlDecidesTheDrop()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, accepted);
        touch(QStringLiteral("a.png"));
        touch(QStringLiteral("readme.txt"));
        touch(QStringLiteral("photo.bmp"));
        QList<QUrl> urls;
        for (const QString &name : names)
            urls.append(name.startsWith(QLatin1String("http")) ? QUrl(name) : QUrl::fromLocalFile(dir.filePath(name)));
        QCOMPARE(acceptsDroppedUrls(urls), accepted);
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
        QTest::newRow("square png") << "square.png" << QSize(500, 500) << 0 << QSize(64, 64) << "500x500";
        QTest::newRow("unreadable") << "broken.png" << QSize() << 0 << QSize(0, 0) << "0x0";
    }

    void thumbnailOfFile()
    {
        QFETCH(QString, name);
        QFETCH(QSize, stored);
        QFETCH(int, orientation);
        QFETCH(QSize, icon);
        QFETCH(QString, sizeText);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!stored.isEmpty())
            QVERIFY(kxtest::makePhotoLikeImage(stored.width(), stored.height())
                        .save(&buffer, name.endsWith(".png") ? "PNG" : "JPEG"));
        else
            bytes = "no picture";
        if (orientation)
            bytes = kxtest::jpegWithExifOrientation(bytes, orientation);
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        const ListThumbnail thumbnail = readListThumbnail(file.fileName());
        QCOMPARE(thumbnail.icon.size(), icon);
        QCOMPARE(thumbnail.sizeStr, sizeText);
    }
};

QTEST_MAIN(TestFileEntry)
#include "tst_fileentry.moc"

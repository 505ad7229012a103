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

    void supportedImageFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("supported");
        QTest::newRow("png") << "a.png" << true;
        QTest::newRow("upper TIF") << "photo.TIF" << true;
        QTest::newRow("two dots, last counts") << "photo.final.JPG" << true;
        QTest::newRow("jpeg") << "b.jpeg" << true;
        QTest::newRow("heic") << "c.heic" << true;
        QTest::newRow("heif") << "c.heif" << true;
        QTest::newRow("avif") << "d.avif" << true;
        QTest::newRow("jxl") << "e.jxl" << true;
        QTest::newRow("gif") << "f.gif" << true;
        QTest::newRow("tiff") << "g.tiff" << true;
        QTest::newRow("webp") << "h.webp" << true;
        QTest::newRow("bmp") << "photo.bmp" << false;
        QTest::newRow("no extension") << "photo" << false;
        QTest::newRow("text") << "readme.txt" << false;
        QTest::newRow("image word before other suffix") << "photo.png.txt" << false;
    }

    void supportedImageFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, supported);
        QCOMPARE(isSupportedImageFile(touch(name)), supported);
    }

    void folderAndMissingFileAreNotImages()
    {
        QVERIFY(!isSupportedImageFile(dir.filePath(QStringLiteral("folder.png"))));
        QVERIFY(!isSupportedImageFile(dir.filePath(QStringLiteral("missing.png"))));
        QVERIFY(!isSupportedImageFile(QString()));
    }

    void entryLabels()
    {
        QCOMPARE(entryLabel(QStringLiteral("/home/u/Pics/a.jpg")), QStringLiteral("a.jpg"));
        QCOMPARE(thumbnailEntryLabel(QStringLiteral("a.jpg"), QStringLiteral("1920x1080"), QStringLiteral("/home/u/Pics")),
                 QStringLiteral("a.jpg\n1920x1080\n/home/u/Pics"));
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

    void listIcon_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("icon");
        QTest::addColumn<QString>("sizeText");
        QTest::newRow("portrait") << QSize(1000, 2000) << QSize(64, 128) << "1000x2000";
        QTest::newRow("landscape") << QSize(3000, 2000) << QSize(96, 64) << "3000x2000";
        QTest::newRow("square") << QSize(500, 500) << QSize(64, 64) << "500x500";
        QTest::newRow("small picture grows") << QSize(16, 8) << QSize(128, 64) << "16x8";
    }

    void listIcon()
    {
        QFETCH(QSize, source);
        QFETCH(QSize, icon);
        QFETCH(QString, sizeText);
        QImage image(source, QImage::Format_RGB32);
        image.fill(Qt::red);
        QCOMPARE(makeListIcon(image).size(), icon);
        QCOMPARE(imageSizeText(image.size()), sizeText);
    }

    void unreadablePictureHasNoIcon()
    {
        QVERIFY(makeListIcon(QImage()).isNull());
        QCOMPARE(imageSizeText(QImage().size()), QStringLiteral("0x0"));
    }
};

QTEST_MAIN(TestFileEntry)
#include "tst_fileentry.moc"

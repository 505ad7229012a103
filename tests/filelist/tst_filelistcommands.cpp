#include <QStandardItemModel>
#include <QtTest>

#include "filelistcommands.h"
#include "kxtest.h"

using kxtest::appendListEntries;
using kxtest::listOrder;

class TestFileListCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    void deleteList_data()
    {
        QTest::addColumn<QList<int>>("indexRows");
        QTest::addColumn<QList<int>>("deleteList");
        // Both columns of every selected row come in, each row twice.
        QTest::newRow("three rows mixed") << QList<int>{2, 0, 5, 2, 0, 5} << QList<int>{5, 2, 0};
        QTest::newRow("nothing") << QList<int>{} << QList<int>{};
    }

    void deleteList()
    {
        QFETCH(QList<int>, indexRows);
        QFETCH(QList<int>, deleteList);
        QCOMPARE(buildDeleteList(indexRows), deleteList);
    }

    // The order after the move as "e0 e2 e1 ...", and the current row (or the new rows) it reports.
    void moveByOne_data()
    {
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("current");
        QTest::newRow("up rows 0 and 2") << true << 3 << QList<int>{0, 2} << "e0 e2 e1" << 0;
        QTest::newRow("up, block at the top stays") << true << 4 << QList<int>{1, 0} << "e0 e1 e2 e3" << 0;
        QTest::newRow("up, block moves together") << true << 5 << QList<int>{3, 2} << "e0 e2 e3 e1 e4" << 1;
        QTest::newRow("down, block at the bottom stays") << false << 4 << QList<int>{2, 3} << "e0 e1 e2 e3" << 3;
        QTest::newRow("down, block moves together") << false << 5 << QList<int>{1, 2} << "e0 e3 e1 e2 e4" << 2;
    }

    void moveByOne()
    {
        QFETCH(bool, up);
        QFETCH(int, count);
        QFETCH(QList<int>, rows);
        QFETCH(QString, after);
        QFETCH(int, current);
        QStandardItemModel model;
        appendListEntries(&model, count);
        QCOMPARE(up ? moveRowsUp(&model, rows) : moveRowsDown(&model, rows), current);
        QCOMPARE(listOrder(model).join(' '), after);
    }

    void dragMove_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("below");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QList<int>>("newRows");
        QTest::newRow("last above first") << QList<int>{4} << 0 << false << "e4 e0 e1 e2 e3" << QList<int>{0};
        QTest::newRow("first below last") << QList<int>{0} << 4 << true << "e1 e2 e3 e4 e0" << QList<int>{4};
        QTest::newRow("two apart, below 2") << QList<int>{3, 0} << 2 << true << "e1 e2 e0 e3 e4" << QList<int>{2, 3};
        QTest::newRow("above itself") << QList<int>{2} << 2 << false << "e0 e1 e2 e3 e4" << QList<int>{2};
    }

    void dragMove()
    {
        QFETCH(QList<int>, rows);
        QFETCH(int, target);
        QFETCH(bool, below);
        QFETCH(QString, after);
        QFETCH(QList<int>, newRows);
        QStandardItemModel model;
        appendListEntries(&model, 5);
        QCOMPARE(moveRowsTo(&model, rows, target, below), newRows);
        QCOMPARE(listOrder(model).join(' '), after);
    }

    // A delivery finds its row by the Path cell; the row it was made for is a
    // hint only. An unreadable file still gets its three lines.
    void thumbnailLandsOnItsFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("madeFor");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<int>("row");
        QTest::newRow("row moved meanwhile") << "e1.png" << 1 << true << 2;
        QTest::newRow("unreadable") << "e3.png" << 3 << false << 3;
        QTest::newRow("row removed meanwhile") << "e4.png" << 4 << true << -1;
    }

    void thumbnailLandsOnItsFile()
    {
        QFETCH(QString, name);
        QFETCH(int, madeFor);
        QFETCH(bool, readable);
        QFETCH(int, row);
        QStandardItemModel model;
        appendListEntries(&model, 5);
        moveRowsTo(&model, {1}, 3, false);
        model.removeRow(4);
        QImage icon(readable ? QSize(64, 64) : QSize(), QImage::Format_RGB32);
        icon.fill(Qt::blue);
        const QString size = readable ? "64x64" : "0x0";
        QCOMPARE(applyListThumbnail(&model, icon, name, "/p", size, madeFor), row);
        QCOMPARE(listOrder(model), (QStringList{"e0", "e2", "e1", "e3"}));
        for (int r = 0; r < model.rowCount(); ++r) {
            const QStandardItem *item = model.item(r, 0);
            QCOMPARE(item->text(), r != row ? model.item(r, 1)->text().mid(3)
                                            : name + "\n" + (readable ? size : "Cannot be read") + "\n/p");
            QCOMPARE(item->icon().isNull(), r != row);
            QCOMPARE(item->toolTip(), r == row && !readable ? "Cannot be read" : "");
        }
    }
};

QTEST_MAIN(TestFileListCommands)
#include "tst_filelistcommands.moc"

// Where each source of a run goes: file name pattern and folder structure.

#include "kxtest.h"
#include "outputplan.h"

class TestOutputPlan : public QObject
{
    Q_OBJECT

private:
    static SourceFacts fixedFacts()
    {
        return {[](const QString &) { return QSize(1600, 900); }, [](const QString &) { return QDate(2024, 7, 3); }};
    }

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    void patternExpansion_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        QTest::newRow("counter padded to the list") << "{name}-{counter}" << 6 << 120 << "holiday-007";
        QTest::newRow("size and date") << "{date}_{width}x{height}" << 0 << 1 << "2024-07-03_1600x900";
        QTest::newRow("unknown token stays") << "{name}{nope}" << 0 << 1 << "holiday{nope}";
        QTest::newRow("slash replaced") << "a/{name}" << 0 << 1 << "a_holiday";
        QTest::newRow("dots give name") << ".." << 0 << 1 << "holiday";
    }

    void patternExpansion()
    {
        QFETCH(QString, pattern);
        QFETCH(int, position);
        QFETCH(int, count);
        QFETCH(QString, expected);
        QCOMPARE(expandFileNamePattern(pattern, "/pics/holiday.2020.jpg", position, count, fixedFacts()), expected);
    }

    // Sources in nested folders, one with a name made of dots and slash-like
    // characters: targets mirror the tree below the deepest common folder and
    // never leave the output folder.
    void folderStructure_data()
    {
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("targets");
        QTest::newRow("nested") << QStringList{"/in/trip/a.jpg", "/in/trip/day1/b.jpg", "/in/trip/day2/x/c.jpg"}
                                << "{name}" << QStringList{"/out/a.png", "/out/day1/b.png", "/out/day2/x/c.png"};
        QTest::newRow("roots differ") << QStringList{"/in/a/p.jpg", "/other/q.jpg"} << "{name}"
                                      << QStringList{"/out/in/a/p.png", "/out/other/q.png"};
        QTest::newRow("dotted and slash-like names")
            << QStringList{"/in/../in/s/..x.jpg", QString::fromUtf8("/in/t/a\u2215b.jpg")} << "../../{name}"
            << QStringList{"/out/s/.._.._.png", QString::fromUtf8("/out/t/.._.._a\u2215b.png")};
    }

    void folderStructure()
    {
        QFETCH(QStringList, sources);
        QFETCH(QString, pattern);
        QFETCH(QStringList, targets);
        ConversionSettings s;
        s.keepFolderStructure = true;
        s.fileNamePattern = pattern;
        QStringList planned;
        for (const PlannedFile &file : planOutputs(sources, "/out", ".png", s, false, fixedFacts()))
            planned << file.target;
        QCOMPARE(planned, targets);
    }
};

QTEST_GUILESS_MAIN(TestOutputPlan)
#include "tst_outputplan.moc"

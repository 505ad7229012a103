// Where each source of a run goes: file name pattern, folder structure, and
// what a run does with sources, files already there, links and its own
// collisions.

#include "kxtest.h"
#include "outputplan.h"

class TestOutputPlan : public QObject
{
    Q_OBJECT

private:
    static SourceFacts fixedFacts()
    {
        return {[](const QString &, int page) { return page == 0 ? QSize(1600, 900) : QSize(800, 600); },
                [](const QString &) { return QDate(2024, 7, 3); },
                [](const QString &source) { return QFileInfo(source).baseName() == "doc" ? 3 : 1; }};
    }

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    void patternExpansion_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("expected");
        QTest::newRow("counter padded to the list") << "{name}-{counter}" << 6 << 120 << 0 << 1 << "holiday-007";
        QTest::newRow("size and date") << "{date}_{width}x{height}" << 0 << 1 << 0 << 1 << "2024-07-03_1600x900";
        QTest::newRow("unknown token stays") << "{name}{nope}" << 0 << 1 << 0 << 1 << "holiday{nope}";
        QTest::newRow("slash replaced") << "a/{name}" << 0 << 1 << 0 << 1 << "a_holiday";
        QTest::newRow("dots give name") << ".." << 0 << 1 << 0 << 1 << "holiday";
        QTest::newRow("page padded to the pages") << "{name}_p{page}" << 0 << 1 << 2 << 12 << "holiday_p03";
        QTest::newRow("page's own size") << "{page}-{width}" << 0 << 1 << 1 << 3 << "2-800";
        QTest::newRow("pages without token numbered") << "{name}" << 0 << 1 << 9 << 12 << "holiday-10";
        QTest::newRow("dots give name, numbered") << ".." << 0 << 1 << 1 << 2 << "holiday-2";
        QTest::newRow("one page keeps its name") << "{name}" << 0 << 1 << 0 << 1 << "holiday";
    }

    void patternExpansion()
    {
        QFETCH(QString, pattern);
        QFETCH(int, position);
        QFETCH(int, count);
        QFETCH(int, page);
        QFETCH(int, pages);
        QFETCH(QString, expected);
        QCOMPARE(expandFileNamePattern(pattern, "/pics/holiday.2020.jpg", position, count, fixedFacts(), page, pages),
                 expected);
    }

    // Sources in nested folders, one with a name made of dots and slash-like
    // characters: targets mirror the tree below the deepest common folder (or
    // the root given) and never leave the output folder.
    void folderStructure_data()
    {
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<QString>("root");
        QTest::newRow("nested") << QStringList{"/in/trip/a.jpg", "/in/trip/day1/b.jpg", "/in/trip/day2/x/c.jpg"}
                                << "{name}" << QStringList{"/out/a.png", "/out/day1/b.png", "/out/day2/x/c.png"}
                                << QString();
        QTest::newRow("roots differ") << QStringList{"/in/a/p.jpg", "/other/q.jpg"} << "{name}"
                                      << QStringList{"/out/in/a/p.png", "/out/other/q.png"} << QString();
        QTest::newRow("dotted and slash-like names")
            << QStringList{"/in/../in/s/..x.jpg", QString::fromUtf8("/in/t/a\u2215b.jpg")} << "../../{name}"
            << QStringList{"/out/s/.._.._.png", QString::fromUtf8("/out/t/.._.._a\u2215b.png")} << QString();
        QTest::newRow("root given: one file deep below it")
            << QStringList{"/in/trip/day1/b.jpg"} << "{name}" << QStringList{"/out/trip/day1/b.png"} << "/in";
    }

    void folderStructure()
    {
        QFETCH(QStringList, sources);
        QFETCH(QString, pattern);
        QFETCH(QStringList, targets);
        QFETCH(QString, root);
        ConversionSettings s;
        s.keepFolderStructure = true;
        s.fileNamePattern = pattern;
        QStringList planned;
        for (const PlannedFile &file : planOutputs(sources, "/out", ".png", s, false, fixedFacts(), root))
            planned << file.target;
        QCOMPARE(planned, targets);
    }

    // Files made in a fresh folder: sources under in/, "path" an existing
    // file, "path->link target" a symbolic link. Each planned file reads
    // "target[ action][ replaces][ renamed][: reason]", relative to the folder.
    void planOnDisk_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("planned");
        const QString source = "the target is one of the sources";
        const QStringList run = {"in/a.jpg", "in/a.png", "in/x/a.jpg"};
        QTest::newRow("overwrite, source in the output folder")
            << int(ExistingOverwrite) << QStringList{"in/web.webp"} << QStringList{} << "in" << "{name}"
            << QStringList{"in/web-1.webp renamed: " + source};
        QTest::newRow("skip, source through ..")
            << int(ExistingSkip) << QStringList{"in/web.webp"} << QStringList{} << "in/x/../" << "{name}"
            << QStringList{"in/web.webp skipped: " + source};
        QTest::newRow("keep both, link to a source")
            << int(ExistingKeepBoth) << QStringList{"in/web.jpg"} << QStringList{"out/web.webp->../in/web.jpg"}
            << "out" << "{name}" << QStringList{"out/web-1.webp renamed: " + source};
        QTest::newRow("ask, link to a source")
            << int(ExistingAsk) << QStringList{"in/web.jpg"} << QStringList{"out/web.webp->../in/web.jpg"} << "out"
            << "{name}" << QStringList{"out/web.webp skipped: " + source};
        QTest::newRow("skip, collisions in the run")
            << int(ExistingSkip) << run << QStringList{"out/a-1.webp"} << "out" << "{name}"
            << QStringList{"out/a.webp", "out/a-1.webp skipped renamed: the target exists",
                           "out/a-2.webp renamed: a.jpg also becomes a.webp"};
        QTest::newRow("keep both, collisions in the run")
            << int(ExistingKeepBoth) << run << QStringList{"out/a.webp"} << "out" << "{name}"
            << QStringList{"out/a-3.webp renamed: the target exists", "out/a-1.webp renamed: a.jpg also becomes a.webp",
                           "out/a-2.webp renamed: a.jpg also becomes a.webp"};
        QTest::newRow("ask, collisions in the run")
            << int(ExistingAsk) << run << QStringList{} << "out" << "{name}"
            << QStringList{"out/a.webp", "out/a.webp existing", "out/a.webp existing"};
        QTest::newRow("rerun with overwrite")
            << int(ExistingOverwrite) << run << QStringList{"out/a.webp", "out/a-1.webp", "out/a-2.webp"} << "out"
            << "{name}"
            << QStringList{"out/a.webp replaces", "out/a-1.webp replaces renamed: a.jpg also becomes a.webp",
                           "out/a-2.webp replaces renamed: a.jpg also becomes a.webp"};
        QTest::newRow("overwrite, linked target")
            << int(ExistingOverwrite) << QStringList{"in/a.jpg", "in/b.jpg"}
            << QStringList{"elsewhere.webp", "out/a.webp->../elsewhere.webp", "out/b.webp->../gone.webp"} << "out"
            << "{name}"
            << QStringList{"out/a.webp refused: the target is a symbolic link",
                           "out/b.webp refused: the target is a symbolic link"};
        QTest::newRow("keep both, linked target")
            << int(ExistingKeepBoth) << QStringList{"in/a.jpg"} << QStringList{"out/a.webp->../in/none.webp"}
            << "out" << "{name}" << QStringList{"out/a-1.webp renamed: the target exists"};
        // Output "" puts each target beside its source; a pattern that names a source as
        // its own target is refused before anything is planned.
        QTest::newRow("beside, pattern") << int(ExistingSkip) << QStringList{"in/a.jpg", "in/x/a.jpg", "in/a.webp"}
                                         << QStringList{"in/x/a-web.webp"} << "" << "{name}-web"
                                         << QStringList{"in/a-web.webp", "in/x/a-web.webp skipped: the target exists",
                                                        "in/a-web-1.webp renamed: a.jpg also becomes a-web.webp"};
        QTest::newRow("beside, another source's name") << int(ExistingOverwrite) << QStringList{"in/a.jpg", "in/x/a.png"}
                                                       << QStringList{"in/a.webp->x/a.png"} << "" << "{name}"
                                                       << QStringList{"in/a-1.webp renamed: " + source, "in/x/a.webp"};
        QTest::newRow("beside, onto itself") << int(ExistingOverwrite) << QStringList{"in/a.jpg", "in/x/b.webp"}
                                             << QStringList{} << "" << "{name}" << QStringList{"onto itself: in/x/b.webp"};
        QTest::newRow("skip, every page of a document")
            << int(ExistingSkip) << QStringList{"in/doc.tif", "in/doc-2.png"} << QStringList{"out/doc-1.webp"}
            << "out" << "{name}"
            << QStringList{"out/doc-1.webp skipped: the target exists", "out/doc-2.webp", "out/doc-3.webp",
                           "out/doc-2-1.webp renamed: doc.tif also becomes doc-2.webp"};
        const QString long249(249, QLatin1Char('n')); // with "a.webp", the longest name the file system takes
        QTest::newRow("name too long") << int(ExistingSkip) << QStringList{"in/a.jpg", "in/bb.jpg"} << QStringList{}
                                       << "out" << long249 + "{name}"
                                       << QStringList{"out/" + long249 + "a.webp",
                                                      "out/" + long249 + "bb.webp refused: the file name is too long"};
    }

    void planOnDisk()
    {
        QFETCH(int, policy);
        QFETCH(QStringList, sources);
        QFETCH(QStringList, existing);
        QFETCH(QString, output);
        QFETCH(QString, pattern);
        QFETCH(QStringList, planned);
        QTemporaryDir dir;
        const QString root = QFileInfo(dir.path()).canonicalFilePath();
        QVERIFY(QDir(root).mkpath("in/x") && QDir(root).mkpath("out"));
        for (QString &path : sources)
            path = kxtest::writeFile(root + "/" + path, "source");
        for (const QString &entry : std::as_const(existing)) {
            const QStringList parts = entry.split("->");
            if (parts.size() == 2)
                QVERIFY(QFile::link(parts.at(1), root + "/" + parts.at(0)));
            else
                QVERIFY(!kxtest::writeFile(root + "/" + entry, "earlier").isEmpty());
        }
        ConversionSettings s;
        s.existingFilePolicy = policy;
        s.fileNamePattern = pattern;
        s.outputBesideSource = output.isEmpty();
        // Sources of one page plan the same whether every page becomes a file or not.
        s.pagesAndFrames = PagesEach;
        static const QStringList actions = {"", " existing", " skipped", " superseded", " refused"};
        QStringList found;
        if (const QString itself = sourceNamedAsItsTarget(sources, ".webp", s, fixedFacts()); !itself.isEmpty())
            found << "onto itself: " + QDir(root).relativeFilePath(itself);
        for (const PlannedFile &file : found.isEmpty() ? planOutputs(sources, root + "/" + output, ".webp", s, false, fixedFacts())
                                                       : QList<PlannedFile>()) {
            QString line = QDir(root).relativeFilePath(QDir::cleanPath(file.target)) + actions.at(file.action);
            line += QString(file.replaces ? " replaces" : "") + (file.renamed ? " renamed" : "");
            found << line + (file.reason.isEmpty() ? "" : ": " + file.reason);
        }
        QCOMPARE(found, planned);
    }
};

QTEST_GUILESS_MAIN(TestOutputPlan)
#include "tst_outputplan.moc"

#include <QtTest>

#include "kxtest.h"
#include "presets.h"

class TestPresets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kxtest::isolateUserData(); }
    void init() { QDir(presetFolder()).removeRecursively(); }

    // Steps are "save NAME[=TEXT]" (TEXT, else NAME, becomes the preset's
    // textContent), "rename FROM>TO" and "delete NAME". The result lists the
    // user's presets as NAME=their textContent, or the first refusal.
    void presets_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("result");
        QTest::newRow("none") << QStringList() << "";
        QTest::newRow("natural order") << QStringList{"save Web 10", "save web 2", "save Web 1"}
                                       << "Web 1=Web 1|web 2=web 2|Web 10=Web 10";
        QTest::newRow("replaced") << QStringList{"save A=old", "save A=new"} << "A=new";
        QTest::newRow("renamed") << QStringList{"save A", "save C", "rename A>B"} << "B=A|C=C";
        QTest::newRow("rename onto another") << QStringList{"save A", "save B", "rename A>B"} << "already";
        QTest::newRow("rename onto installed") << QStringList{"save A", "rename A>Web: 1600 px WEBP"}
                                               << "Web: 1600 px WEBP=A";
        QTest::newRow("deleted") << QStringList{"save A", "save B", "delete A"} << "B=B";
        QTest::newRow("characters some systems refuse") << QStringList{"save a:b*?\"<>|%.", "save con", "save 50%"}
                                                        << "50%=50%|a:b*?\"<>|%.=a:b*?\"<>|%.|con=con";
        QTest::newRow("separator") << QStringList{"save a/b"} << "/";
        QTest::newRow("backslash") << QStringList{"save a\\b"} << "/";
        QTest::newRow("dot dot") << QStringList{"save .."} << "cannot name";
        QTest::newRow("empty") << QStringList{"save  "} << "needs a name";
        QTest::newRow("rename to a bad name") << QStringList{"save A", "rename A>"} << "needs a name";
        QTest::newRow("own hides installed") << QStringList{"save Web: 1600 px WEBP=mine"} << "Web: 1600 px WEBP=mine";
        QTest::newRow("installed not deleted") << QStringList{"delete Web: 1600 px WEBP"} << "your own";
        QTest::newRow("installed back after delete")
            << QStringList{"save Web: 1600 px WEBP=mine", "delete Web: 1600 px WEBP"} << "";
    }

    void presets()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, result);
        QTemporaryDir tmp;
        QString error;
        for (const QString &step : std::as_const(steps)) {
            const QString verb = step.section(' ', 0, 0);
            const QString argument = step.section(' ', 1);
            bool done = false;
            if (verb == "save") {
                ConversionSettings settings;
                settings.textContent = argument.contains('=') ? argument.section('=', 1) : argument;
                const QString name = argument.section('=', 0, 0);
                done = savePreset(name, settings, &error);
                // A preset is what "Export settings…" writes.
                if (done) {
                    QVERIFY(writeSettingsFile(tmp.filePath("export.ini"), settings));
                    QCOMPARE(kxtest::readFile(presetPath(name)), kxtest::readFile(tmp.filePath("export.ini")));
                }
            } else if (verb == "rename") {
                done = renamePreset(argument.section('>', 0, 0), argument.section('>', 1), &error);
            } else {
                done = deletePreset(argument, &error);
            }
            if (!done)
                break;
        }
        QStringList listed;
        for (const QString &name : presetNames()) {
            if (!isUserPreset(name))
                continue;
            ConversionSettings loaded;
            QVERIFY(loadSettingsFile(presetPath(name), loaded, QFont()));
            listed << name + "=" + loaded.textContent;
        }
        if (error.isEmpty())
            QCOMPARE(listed.join('|'), result);
        else
            QVERIFY2(error.contains(result), qPrintable(error));
        // Whatever the names, the files are named as every system allows.
        const QRegularExpression refused("[:*?\"<>|]|^con\\.", QRegularExpression::CaseInsensitiveOption);
        for (const QString &file : QDir(presetFolder()).entryList(QDir::Files))
            QVERIFY2(!file.contains(refused), qPrintable(file));
        // The installed presets are listed once each and read without a problem.
        const QStringList installed{"Archive: lossless JPEG XL, keep metadata", "E-mail: 1024 px JPEG, no location",
                                    "Web: 1600 px WEBP"};
        for (const QString &name : installed) {
            QCOMPARE(presetNames().count(name), 1);
            QVERIFY(settingsFileProblems(presetPath(name)).isEmpty());
            // Those for sharing pictures publish no location.
            if (isUserPreset(name))
                continue;
            ConversionSettings loaded;
            QVERIFY(loadSettingsFile(presetPath(name), loaded, QFont()));
            QCOMPARE(loaded.metadata, name.startsWith("Archive") ? int(MetadataKeepAll) : int(MetadataNoLocation));
        }
    }
};

QTEST_MAIN(TestPresets)
#include "tst_presets.moc"

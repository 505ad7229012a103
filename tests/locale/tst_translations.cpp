#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include "translations.h"

namespace {

struct Entry
{
    QString context;
    QString source;
    QString comment;
    QString translation;
    bool finished = false;
    bool numerus = false;
};

QList<Entry> readEntries(const QString &tsFile)
{
    QList<Entry> entries;
    QFile file(tsFile);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            Entry entry{context, {}, {}, {}, false, xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes")};
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source")) {
                    entry.source = xml.readElementText();
                } else if (xml.name() == QLatin1String("comment")) {
                    entry.comment = xml.readElementText();
                } else if (xml.name() == QLatin1String("translation")) {
                    entry.finished = xml.attributes().value(QLatin1String("type")).isEmpty();
                    entry.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                } else {
                    xml.skipCurrentElement();
                }
            }
            entries << entry;
        }
    }
    return entries;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("%(\\d+|n)"));
    QStringList found;
    for (const QRegularExpressionMatch &match : pattern.globalMatch(text))
        found << match.captured();
    found.sort();
    found.removeDuplicates();
    return found;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void chosenLanguage_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("German") << QStringList{"de-DE"} << "de";
        QTest::newRow("Austrian German") << QStringList{"de-AT", "fr"} << "de";
        QTest::newRow("English first") << QStringList{"en-US", "de"} << "";
        QTest::newRow("C locale") << QStringList{"C"} << "";
        QTest::newRow("C, then French") << QStringList{"C", "fr-FR"} << "fr";
        QTest::newRow("unshipped passed over") << QStringList{"ja-JP", "fr-CA"} << "fr";
        QTest::newRow("regional file first") << QStringList{"pt-BR"} << "pt_BR";
        QTest::newRow("other region") << QStringList{"pt-PT"} << "";
    }

    void chosenLanguage()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, chosen);
        QCOMPARE(::chosenLanguage(uiLanguages, {"de", "fr", "pt_BR"}), chosen);
    }

    // Every text marked in the sources has a finished translation that keeps
    // the source's placeholders, and the program carries that translation.
    void complete_data()
    {
        QTest::addColumn<QString>("tsFile");
        const QStringList files = QStringLiteral(KX_TS_FILES).split(QLatin1Char('|'));
        for (const QString &file : files)
            QTest::newRow(qPrintable(QFileInfo(file).completeBaseName())) << file;
        QCOMPARE(shippedLanguages().size(), files.size());
    }

    void complete()
    {
        QFETCH(QString, tsFile);
        QTemporaryDir dir;
        const QString updated = dir.filePath(QFileInfo(tsFile).fileName());
        QVERIFY(QFile::copy(tsFile, updated));
        QProcess lupdate;
        lupdate.start(QStringLiteral(KX_LUPDATE),
                      QStringLiteral(KX_LUPDATE_ARGUMENTS).split(QLatin1Char('|')) << QStringLiteral("-ts") << updated);
        QVERIFY(lupdate.waitForFinished(60000));
        QCOMPARE(lupdate.exitCode(), 0);

        QTranslator shipped;
        QVERIFY(shipped.load(QFileInfo(tsFile).completeBaseName(), QStringLiteral(":/i18n")));
        const QList<Entry> entries = readEntries(updated);
        QVERIFY(!entries.isEmpty());
        QStringList faults;
        for (const Entry &entry : entries) {
            const QString where = entry.context + QLatin1String(": ") + entry.source;
            if (!entry.finished || entry.translation.isEmpty())
                faults << QStringLiteral("untranslated: ") + where;
            else if (placeholders(entry.translation) != placeholders(entry.source))
                faults << QStringLiteral("placeholders differ: ") + where;
            else if (!entry.numerus
                     && shipped.translate(entry.context.toUtf8().constData(), entry.source.toUtf8().constData(),
                                          entry.comment.isEmpty() ? nullptr : entry.comment.toUtf8().constData())
                            != entry.translation)
                faults << QStringLiteral("not in the program's copy: ") + where;
        }
        if (!faults.isEmpty())
            QFAIL(qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"

// The progress page on its own. Whole runs through the window, with the
// overwrite dialog and the failure summary, are driven in tst_endtoend.

#include <QtTest>

#include <QDesktopServices>
#include <QImageReader>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>

#include "conversionsettings.h"
#include "convertprogressform.h"
#include "kxtest.h"
#include "overwritefiledialog.h"
#include "pdfprobe.h"
#include "toplevels.h"

// Receives the file URLs that "Open Folder" hands to the desktop, instead of the desktop.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestConvertProgressForm : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir tmp;
    QString out;

    QString source(const QString &name, QSize size = QSize(64, 48))
    {
        return kxtest::photoFile(tmp.path(), name, size);
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(tmp.isValid());
    }

    void init()
    {
        out = tmp.path() + "/out-" + QTest::currentTestFunction() + "-" + QTest::currentDataTag();
        QVERIFY(QDir().mkpath(out));
        conversionSettings().outputFolder = out;
        conversionSettings().pdfFileName = "doc.pdf";
    }

    void messageTexts_data()
    {
        QTest::addColumn<int>("failed");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("text");
        QTest::newRow("one of one") << 1 << 1 << "1 of 1 file could not be converted.";
        QTest::newRow("two of five") << 2 << 5 << "2 of 5 files could not be converted.";
        QTest::newRow("all of three") << 3 << 3 << "3 of 3 files could not be converted.";
    }

    void messageTexts()
    {
        QFETCH(int, failed);
        QFETCH(int, total);
        QFETCH(QString, text);
        QCOMPARE(failureSummaryText(failed, total), text);
        QCOMPARE(completionMessageText(0), QStringLiteral("The conversion process is completed."));
        QCOMPARE(completionMessageText(1), QStringLiteral("The conversion process is completed."));
        QCOMPARE(completionMessageText(2), QStringLiteral("The conversion processes are completed."));
        QCOMPARE(failureDetailsText({{"/a.png", "bad"}, {"/b.png", "worse"}}),
                 QStringLiteral("/a.png: bad\n/b.png: worse"));
        QCOMPARE(outputCountsText(0, 0), QString());
        QCOMPARE(outputCountsText(1, 3), QStringLiteral("1 file was skipped because its target exists.\n"
                                                        "3 files were written under new names."));
    }

    // The second pass writes the targets the first one planned, though the
    // counter of the pattern would number the one ticked source otherwise.
    void secondPassWritesThePlannedTargets()
    {
        conversionSettings().fileNamePattern = "{counter}-{name}";
        QVERIFY(!kxtest::writeFile(out + "/2-b.png", "old").isEmpty());
        auto *form = new ConvertProgressForm;
        form->startConvert({source("a.png"), source("b.png")}, out, "X", ".png", false);
        auto *dialog = toplevels::waitFor<OverwriteFileDialog>();
        QVERIFY(dialog);
        dialog->findChild<QPushButton *>("overwriteButton")->click();
        QMessageBox *box = toplevels::completionBox();
        conversionSettings().fileNamePattern = "{name}";
        QVERIFY(box);
        QCOMPARE(QDir(out).entryList(QDir::Files), (QStringList{"1-a.png", "2-b.png"}));
        QVERIFY(QImageReader(out + "/2-b.png").canRead());
        box->button(QMessageBox::Ok)->click();
    }

    void openFolderOpensTheOutput_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("opened");
        QTest::newRow("image run opens the folder") << ".webp" << "";
        QTest::newRow("pdf run opens the document") << ".pdf" << "/doc.pdf";
    }

    void openFolderOpensTheOutput()
    {
        QFETCH(QString, extension);
        QFETCH(QString, opened);
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("file", &recorder, "open");
        auto *form = new ConvertProgressForm;
        QSignalSpy finish(form, &ConvertProgressForm::finishConvertSignal);
        form->startConvert({source("open.png")}, out, "X", extension, false);
        QMessageBox *box = toplevels::completionBox();
        QVERIFY(box);
        toplevels::buttonWithText(box, "Open Folder")->click();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(finish.count(), 1);
        QCOMPARE(recorder.urls, QList<QUrl>{QUrl::fromLocalFile(out + opened)});
    }

    // Cancel during the run, or a stop before the worker even began: the
    // form finishes and goes, without a completion message; a stopped PDF
    // says how many pages the document holds.
    void stopEndsTheRun_data()
    {
        QTest::addColumn<bool>("beforeStart");
        QTest::addColumn<QString>("extension");
        QTest::newRow("cancel button") << false << ".webp";
        QTest::newRow("stop before the worker runs") << true << ".webp";
        QTest::newRow("cancel a pdf") << false << ".pdf";
    }

    void stopEndsTheRun()
    {
        QFETCH(bool, beforeStart);
        QFETCH(QString, extension);
        QStringList sources;
        for (int i = 0; i < (beforeStart ? 1 : 20); ++i)
            sources << source(QStringLiteral("big%1.png").arg(i), QSize(800, 600));
        auto *form = new ConvertProgressForm;
        QPointer<ConvertProgressForm> guard(form);
        QSignalSpy finish(form, &ConvertProgressForm::finishConvertSignal);
        form->startConvert(sources, out, "X", extension, false);
        if (beforeStart) {
            form->stopConversion();
        } else {
            QTRY_VERIFY(form->findChild<QProgressBar *>()->value() > 0);
            QTest::mouseClick(form->findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
        }
        if (extension == ".pdf") {
            QMessageBox *box = toplevels::completionBox();
            QVERIFY(box);
            const int pages = pdfprobe::pageCount(kxtest::readFile(out + "/doc.pdf"));
            QVERIFY(pages > 0 && pages < sources.size());
            QCOMPARE(box->text(), QStringLiteral("The conversion was stopped. %1/doc.pdf holds %2 page%3.")
                                      .arg(out).arg(pages).arg(pages > 1 ? "s" : ""));
            box->button(QMessageBox::Ok)->click();
        }
        QTRY_COMPARE_WITH_TIMEOUT(finish.count(), 1, 20000);
        QTRY_VERIFY(guard.isNull());
        QVERIFY(!toplevels::visible<QMessageBox>());
        QVERIFY(QDir(out).entryList(QDir::Files).size() < (beforeStart ? 1 : sources.size()));
    }
};

QTEST_MAIN(TestConvertProgressForm)
#include "tst_convertprogressform.moc"

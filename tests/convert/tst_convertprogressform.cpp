// The progress page on its own. Whole runs through the window, with the
// overwrite dialog and the failure summary, are driven in tst_endtoend.

#include <QtTest>

#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <QTreeWidget>

#include "conversionsettings.h"
#include "convertprogressform.h"
#include "framefixtures.h"
#include "kxtest.h"
#include "kxpdf.h"
#include "overwritefiledialog.h"
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

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    void init()
    {
        out = tmp.path() + "/out-" + QTest::currentTestFunction() + "-" + QTest::currentDataTag();
        QVERIFY(QDir().mkpath(out));
        conversionSettings().outputFolder = out;
        conversionSettings().pdfFileName = "doc.pdf";
    }

    // The singular texts and the output counts; the plural ones are checked
    // by the stop case and the end-to-end run.
    void messageTexts()
    {
        QCOMPARE(failureSummaryText(1, 1), QStringLiteral("1 of 1 file could not be converted."));
        QCOMPARE(completionMessageText(1), QStringLiteral("The conversion process is completed."));
        QCOMPARE(outputCountsText(0, 0), QString());
        QLocale::setDefault(QLocale::c());
        QCOMPARE(sizeSummaryText(24, 182'350'000, 31'000'000), QStringLiteral("24 files, 182 MB \u2192 31 MB, \u221283 %"));
        QCOMPARE(sizeSummaryText(1, 2'000'000, 2'100'000), QStringLiteral("1 file, 2.0 MB \u2192 2.1 MB, +5 %"));
        // The window's sizes take the locale's numbers.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(sizeSummaryText(1, 1'500'000, 2'100'000).contains(QStringLiteral("1,5 MB \u2192 2,1 MB")));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(outputCountsText(1, 3), QStringLiteral("1 file was skipped because its target exists.\n"
                                                        "3 files were written under new names."));
    }

    // The second pass writes the targets the first one planned, though the
    // counter of the pattern would number the ticked sources otherwise, each
    // from its page; the unticked one counts as skipped. Cancel ends the run
    // without a message, also after a failure, the targets as they were.
    void overwriteDialogAnswer_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("overwrite writes the planned target") << "overwriteButton";
        QTest::newRow("cancel ends without a message") << "cancelButton";
    }

    void overwriteDialogAnswer()
    {
        QFETCH(QString, answer);
        conversionSettings().fileNamePattern = "{counter}-{name}";
        conversionSettings().pagesAndFrames = PagesEach;
        for (const char *name : {"/1-a.png", "/2-doc-1.png", "/2-doc-2.png"})
            QVERIFY(!kxtest::writeFile(out + name, "old").isEmpty());
        auto *form = new ConvertProgressForm;
        QSignalSpy finish(form, &ConvertProgressForm::finishConvertSignal);
        const QString doc = tmp.path() + "/doc.tif";
        QVERIFY(framefixtures::writeTiffPages(doc, {kxtest::makePhotoLikeImage(64, 48), kxtest::makePhotoLikeImage(30, 20)}));
        const QStringList sources{kxtest::photoFile(tmp.path(), "a.png"), doc,
                                  kxtest::writeFile(tmp.path() + "/broken.png", "not a picture")};
        form->startConvert(sources, out, "X", ".png", false);
        auto *dialog = toplevels::waitFor<OverwriteFileDialog>();
        QVERIFY(dialog);
        dialog->findChild<QTreeWidget *>()->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        dialog->findChild<QPushButton *>(answer)->click();
        const bool overwrite = answer == "overwriteButton";
        QMessageBox *box = toplevels::completionBox(overwrite ? 20000 : 200);
        conversionSettings().fileNamePattern = "{name}";
        conversionSettings().pagesAndFrames = PagesFirstOnly;
        QCOMPARE(box != nullptr, overwrite);
        QCOMPARE(finish.count(), overwrite ? 0 : 1);
        QCOMPARE(QDir(out).entryList(QDir::Files), (QStringList{"1-a.png", "2-doc-1.png", "2-doc-2.png"}));
        QCOMPARE(QImageReader(out + "/1-a.png").canRead(), overwrite);
        QVERIFY(!QImageReader(out + "/2-doc-1.png").canRead());
        QCOMPARE(QImageReader(out + "/2-doc-2.png").size(), overwrite ? QSize(30, 20) : QSize());
        if (!box)
            return;
        QCOMPARE(box->informativeText(), QStringLiteral("1 file was skipped because its target exists."));
        // The details and the sizes cover both passes: the first one's failure, the second one's files.
        QVERIFY(box->detailedText().startsWith(sources.at(2) + ": "));
        QVERIFY(box->parentWidget()->findChild<QLabel *>("sizeLabel")->text().startsWith("2 files, "));
        box->button(QMessageBox::Ok)->click();
    }

    // The box says how many files the size limit scaled down or left over it,
    // with a warning icon, without its details being opened.
    void sizeLimitCountsInTheBox_data()
    {
        QTest::addColumn<bool>("shrink");
        QTest::addColumn<QString>("line");
        QTest::newRow("scaled down") << true << "Files scaled down to fit the size limit: 1";
        QTest::newRow("left over") << false << "Files left over the size limit: 1";
    }

    void sizeLimitCountsInTheBox()
    {
        QFETCH(bool, shrink);
        QFETCH(QString, line);
        ConversionSettings &settings = conversionSettings();
        settings.limitFileSize = true;
        settings.fileSizeLimitKb = 2;
        settings.shrinkToFileSize = shrink;
        auto *form = new ConvertProgressForm;
        form->startConvert({kxtest::photoFile(tmp.path(), "large.png", QSize(640, 480))}, out, "X", ".jpg", false);
        QMessageBox *box = toplevels::completionBox();
        settings.limitFileSize = false;
        settings.shrinkToFileSize = true;
        QVERIFY(box);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->text(), completionMessageText(1) + "\n" + line);
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
        form->startConvert({kxtest::photoFile(tmp.path(), "open.png")}, out, "X", extension, false);
        QMessageBox *box = toplevels::completionBox();
        QVERIFY(box);
        toplevels::buttonWithText(box, "Open Folder")->click();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(finish.count(), 1);
        QCOMPARE(recorder.urls, QList<QUrl>{QUrl::fromLocalFile(out + opened)});
    }

    // Cancel says at once that the page stops, then how many files were
    // converted, and a stopped PDF how many pages it holds; failures so far
    // are listed on the page. The window closing ends without a message,
    // whether its stop came before the worker began or after its last file.
    void stop_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("windowCloses");
        QTest::newRow("cancel button") << ".webp" << QString();
        QTest::newRow("stopped PDF says its pages") << ".pdf" << QString();
        QTest::newRow("window closes before the worker runs") << ".webp" << "before";
        QTest::newRow("window closes after the last file") << ".webp" << "after";
    }

    void stop()
    {
        QFETCH(QString, extension);
        QFETCH(QString, windowCloses);
        const QString broken = kxtest::writeFile(tmp.path() + "/broken.png", "not a picture");
        QStringList sources{broken};
        for (int i = 0; i < (windowCloses.isEmpty() ? 20 : 0); ++i)
            sources << kxtest::photoFile(tmp.path(), QStringLiteral("big%1.png").arg(i), QSize(800, 600));
        if (windowCloses == "after")
            sources << kxtest::photoFile(tmp.path(), "last.png");
        auto *form = new ConvertProgressForm;
        QPointer<ConvertProgressForm> guard(form);
        QSignalSpy finish(form, &ConvertProgressForm::finishConvertSignal);
        form->startConvert(sources, out, "X", extension, false);
        if (windowCloses == "after") {
            // No events meanwhile: the worker's end is still queued when the stop comes.
            QDeadlineTimer deadline(20000);
            while (!QFileInfo::exists(out + "/last.webp") && !deadline.hasExpired())
                QThread::msleep(10);
            QThread::msleep(300);
        }
        if (!windowCloses.isEmpty()) {
            form->stopConversion();
            QTRY_COMPARE_WITH_TIMEOUT(finish.count(), 1, 20000);
            QTRY_VERIFY(guard.isNull());
            QVERIFY(!toplevels::waitFor<QMessageBox>(0));
            return;
        }
        auto *failures = form->findChild<QListWidget *>("failureList");
        QTRY_COMPARE_WITH_TIMEOUT(failures->count(), 1, 20000);
        QVERIFY(failures->isVisibleTo(form));
        QVERIFY(failures->item(0)->text().startsWith(broken + ": "));
        QTest::mouseClick(form->findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
        QCOMPARE(form->findChild<QLabel *>("label")->text(), QString("Stopping after the current file\u2026"));
        QMessageBox *box = toplevels::completionBox();
        QVERIFY(box);
        const bool pdf = extension == ".pdf";
        // The PDF's next page was already being prepared when the broken file was reported.
        const int written =
            int(pdf ? kxtest::pdfPages(out + "/doc.pdf").size() : QDir(out).entryList(QDir::Files).size());
        QVERIFY(written < 20 && (written > 0 || !pdf));
        QString text = QString("Stopped: %1 of 21 converted").arg(written);
        if (pdf)
            text += QString("\nThe conversion was stopped. %1/doc.pdf holds %2 page%3.")
                        .arg(out).arg(written).arg(written > 1 ? "s" : "");
        QCOMPARE(box->text(), text + "\n1 of 21 files could not be converted.");
        QCOMPARE(form->findChild<QLabel *>("countLabel")->text(), QString("%1 of 21").arg(written + 1));
        box->button(QMessageBox::Ok)->click();
        QCOMPARE(finish.count(), 1);
        QTRY_VERIFY(guard.isNull());
    }

    // With several files converted at once, every one of them is shown.
    void runningFilesShown()
    {
        ConvertProgressForm form;
        form.handleUpdateFileName("/a.png");
        form.handleUpdateFileName("/b.png");
        form.handleUpdateFileName("/c.png");
        form.handleFileFinished("/b.png");
        QCOMPARE(form.findChild<QLabel *>("label_2")->text(), QString("/a.png\n/c.png"));
        QCOMPARE(progressTimeText(65000, 1, 3), QString("Elapsed 1:05, about 2:10 left"));
    }
};

QTEST_MAIN(TestConvertProgressForm)
#include "tst_convertprogressform.moc"

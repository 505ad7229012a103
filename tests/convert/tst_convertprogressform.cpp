#include <QtTest>

#include <QApplication>
#include <QDesktopServices>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

#include "conversionsettings.h"
#include "convertprogressform.h"
#include "kxtest.h"
#include "overwritefiledialog.h"

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
    QString in;
    QString out;

    QString source(const QString &name, QSize size = QSize(64, 48)) { return kxtest::photoFile(in, name, size); }

    template<typename T>
    static T *visibleTopLevel()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
                return t;
        }
        return nullptr;
    }

    static QAbstractButton *buttonWithText(QMessageBox *box, const QString &text)
    {
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == text)
                return b;
        }
        return nullptr;
    }

    // Waits for a message box or dialog of the run to appear; null when none did.
    template<typename T>
    static T *waitForTopLevel()
    {
        QDeadlineTimer deadline(20000);
        T *found = nullptr;
        while (!(found = visibleTopLevel<T>()) && !deadline.hasExpired())
            QTest::qWait(10);
        return found;
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(tmp.isValid());
        in = tmp.path() + "/in";
        QVERIFY(QDir().mkpath(in));
    }

    void init()
    {
        out = tmp.path() + "/out-" + QTest::currentTestFunction() + "-" + QTest::currentDataTag();
        QVERIFY(QDir().mkpath(out));
        conversionSettings().outputFolder = out;
        conversionSettings().pdfFileName = "doc.pdf";
    }

    void cleanup()
    {
        // No message box or dialog may outlive a test; close leftovers so one failure stays one.
        const bool clean = !visibleTopLevel<QMessageBox>() && !visibleTopLevel<OverwriteFileDialog>();
        for (int i = 0; i < 5 && QApplication::activeModalWidget(); ++i)
            QApplication::activeModalWidget()->close();
        QVERIFY(clean);
    }

    void completionTexts_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("text");
        QTest::newRow("one file") << 1 << "The conversion process is completed.";
        QTest::newRow("several files") << 3 << "The conversion processes are completed.";
    }

    void completionTexts()
    {
        QFETCH(int, files);
        QFETCH(QString, text);
        QStringList sources;
        for (int i = 0; i < files; ++i)
            sources << source(QStringLiteral("t%1.png").arg(i));

        auto *form = new ConvertProgressForm;
        QPointer<ConvertProgressForm> guard(form);
        QSignalSpy start(form, &ConvertProgressForm::startConvertSignal);
        QSignalSpy finish(form, &ConvertProgressForm::finishConvertSignal);
        QSignalSpy toolbar(form, &ConvertProgressForm::showToolbarSignal);
        form->startConvert(sources, out, "WEBP", ".webp", false);
        QCOMPARE(start.count(), 1);
        QCOMPARE(form->findChild<QProgressBar *>("progressBar")->maximum(), files);

        QMessageBox *box = waitForTopLevel<QMessageBox>();
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Fast Picturist"));
        QCOMPARE(box->text(), text);
        QCOMPARE(box->icon(), QMessageBox::Information);
        QVERIFY(box->detailedText().isEmpty());
        QVERIFY(buttonWithText(box, "Open Folder"));
        QCOMPARE(form->findChild<QProgressBar *>("progressBar")->value(), files);
        QCOMPARE(form->findChild<QLabel *>("label_2")->text(), sources.last());
        QCOMPARE(finish.count(), 0);

        box->button(QMessageBox::Ok)->click();
        QCOMPARE(finish.count(), 1);
        QCOMPARE(toolbar.count(), 2);
        QCOMPARE(toolbar.at(0).first().toBool(), false);
        QCOMPARE(toolbar.at(1).first().toBool(), true);
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), files);
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
        QMessageBox *box = waitForTopLevel<QMessageBox>();
        QVERIFY(box);
        buttonWithText(box, "Open Folder")->click();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(finish.count(), 1);
        QCOMPARE(recorder.urls, QList<QUrl>{QUrl::fromLocalFile(out + opened)});
    }

    void failureSummary()
    {
        const QString broken = in + "/broken.jpg";
        kxtest::writeFile(broken, "not a picture");
        const QStringList sources = {source("f1.png"), broken, source("f3.png")};
        auto *form = new ConvertProgressForm;
        QSignalSpy finish(form, &ConvertProgressForm::finishConvertSignal);
        form->startConvert(sources, out, "PNG", ".png", false);

        QMessageBox *box = waitForTopLevel<QMessageBox>();
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("1 of 3 files could not be converted."));
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QVERIFY(box->detailedText().startsWith(broken + ": "));
        QVERIFY(buttonWithText(box, "Open Folder"));
        box->button(QMessageBox::Ok)->click();
        QCOMPARE(finish.count(), 1);
        QVERIFY(!QFileInfo::exists(out + "/broken.png"));
    }

    void cancelEndsWithoutMessage()
    {
        QStringList sources;
        for (int i = 0; i < 20; ++i)
            sources << source(QStringLiteral("big%1.png").arg(i), QSize(800, 600));
        auto *form = new ConvertProgressForm;
        QPointer<ConvertProgressForm> guard(form);
        QSignalSpy finish(form, &ConvertProgressForm::finishConvertSignal);
        form->startConvert(sources, out, "WEBP", ".webp", false);
        QTest::mouseClick(form->findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(finish.count(), 1, 20000);
        QTRY_VERIFY(guard.isNull());
        QVERIFY(!visibleTopLevel<QMessageBox>());
        QVERIFY(QDir(out).entryList(QDir::Files).size() < sources.size());
    }

    void secondPassOverwritesTickedFilesOnly()
    {
        const QStringList sources = {source("o1.png"), source("o2.png"), source("o3.png")};
        kxtest::writeFile(out + "/o1.webp", "old one");
        kxtest::writeFile(out + "/o3.webp", "old three");
        auto *form = new ConvertProgressForm;
        QPointer<ConvertProgressForm> guard(form);
        QSignalSpy finish(form, &ConvertProgressForm::finishConvertSignal);
        form->startConvert(sources, out, "WEBP", ".webp", false);

        OverwriteFileDialog *dialog = waitForTopLevel<OverwriteFileDialog>();
        QVERIFY(dialog);
        QVERIFY(dialog->isModal());
        auto *tree = dialog->findChild<QTreeWidget *>("treeWidget");
        QCOMPARE(tree->topLevelItemCount(), 2);
        QCOMPARE(tree->topLevelItem(0)->text(0), out + "/o1.webp");
        QCOMPARE(tree->topLevelItem(1)->text(1), sources.at(2));
        QVERIFY(QImageReader(out + "/o2.webp").canRead());

        tree->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        dialog->findChild<QPushButton *>("overwriteButton")->click();

        QMessageBox *box = waitForTopLevel<QMessageBox>();
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("The conversion process is completed."));
        QCOMPARE(form->findChild<QProgressBar *>("progressBar")->maximum(), 1);
        QCOMPARE(kxtest::readFile(out + "/o1.webp"), QByteArray("old one"));
        QCOMPARE(QImageReader(out + "/o3.webp").size(), QSize(64, 48));
        box->button(QMessageBox::Ok)->click();
        QCOMPARE(finish.count(), 1);
        QTRY_VERIFY(guard.isNull());
    }

    void failuresOfTheFirstPassReachTheLastMessage()
    {
        const QString broken = in + "/broken2.png";
        kxtest::writeFile(broken, "garbage");
        const QStringList sources = {broken, source("k2.png")};
        kxtest::writeFile(out + "/k2.webp", "old");
        auto *form = new ConvertProgressForm;
        form->startConvert(sources, out, "WEBP", ".webp", false);

        OverwriteFileDialog *dialog = waitForTopLevel<OverwriteFileDialog>();
        QVERIFY(dialog);
        dialog->findChild<QPushButton *>("overwriteButton")->click();

        QMessageBox *box = waitForTopLevel<QMessageBox>();
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("1 of 2 files could not be converted."));
        QVERIFY(box->detailedText().contains(broken));
        box->button(QMessageBox::Ok)->click();
    }

    void cancelInOverwriteDialogFinishesQuietly()
    {
        const QString src = source("q1.png");
        kxtest::writeFile(out + "/q1.jpg", "keep me");
        auto *form = new ConvertProgressForm;
        QPointer<ConvertProgressForm> guard(form);
        QSignalSpy finish(form, &ConvertProgressForm::finishConvertSignal);
        form->startConvert({src}, out, "JPG", ".jpg", false);

        OverwriteFileDialog *dialog = waitForTopLevel<OverwriteFileDialog>();
        QVERIFY(dialog);
        QCOMPARE(dialog->findChild<QLabel *>("descLabel")->text(),
                 QStringLiteral("The following file already exist. Do you wish to overwrite it?"));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QCOMPARE(finish.count(), 1);
        QTRY_VERIFY(guard.isNull());
        QVERIFY(!visibleTopLevel<QMessageBox>());
        QCOMPARE(kxtest::readFile(out + "/q1.jpg"), QByteArray("keep me"));
    }

    void stopBeforeTheWorkerRunsStillFinishes()
    {
        auto *form = new ConvertProgressForm;
        QPointer<ConvertProgressForm> guard(form);
        QSignalSpy finish(form, &ConvertProgressForm::finishConvertSignal);
        form->startConvert({source("early.png")}, out, "PNG", ".png", false);
        form->stopConversion();
        QTRY_COMPARE_WITH_TIMEOUT(finish.count(), 1, 20000);
        QTRY_VERIFY(guard.isNull());
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
        QCOMPARE(completionMessageText(2), QStringLiteral("The conversion processes are completed."));
        QCOMPARE(failureDetailsText({{"/a.png", "bad"}, {"/b.png", "worse"}}),
                 QStringLiteral("/a.png: bad\n/b.png: worse"));
    }
};

QTEST_MAIN(TestConvertProgressForm)
#include "tst_convertprogressform.moc"

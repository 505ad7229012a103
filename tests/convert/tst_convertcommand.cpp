#include <QtTest>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTabWidget>

#include "conversionsettings.h"
#include "convertimageform.h"
#include "convertprogressform.h"
#include "kxdialogs.h"
#include "kxtest.h"
#include "pdfprobe.h"
#include "targetformats.h"

class TestConvertCommand : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir tmp;
    QString in;
    QString out;

    QString source(const QString &name, QSize size = QSize(64, 48)) { return kxtest::photoFile(in, name, size); }

    static void addRow(ConvertImageForm &form, const QString &label, const QString &path)
    {
        form.fileListModel()->appendRow({new QStandardItem(label), new QStandardItem(path)});
    }

    static void addSources(ConvertImageForm &form, const QStringList &paths)
    {
        for (const QString &path : paths)
            addRow(form, QFileInfo(path).fileName(), path);
    }

    static void selectTarget(ConvertImageForm &form, int row)
    {
        form.findChild<QComboBox *>("targetComboBox")->setCurrentIndex(row);
    }

    static QMessageBox *completionBox()
    {
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(w);
                if (box && box->isVisible() && box->windowTitle() == QLatin1String("Fast Picturist"))
                    return box;
            }
            QTest::qWait(10);
        }
        return nullptr;
    }

    static QStackedLayout *pages(ConvertImageForm &form)
    {
        return qobject_cast<QStackedLayout *>(form.findChild<QWidget *>("sourceColumnWidget")->layout());
    }

    // Closes the completion message and checks that the form is back at its list.
    static void finishRun(ConvertImageForm &form, QMessageBox *box)
    {
        QVERIFY(box);
        QVERIFY(form.findChild<QTabWidget *>("tabWidget")->isHidden());
        QVERIFY(form.findChild<QWidget *>("toolbarWidget")->isHidden());
        QVERIFY(!form.findChild<QWidget *>("convertButton")->isEnabled());
        QCOMPARE(pages(form)->currentIndex(), 2);
        box->button(QMessageBox::Ok)->click();
        QVERIFY(!form.conversionBusy);
        QVERIFY(!form.findChild<QTabWidget *>("tabWidget")->isHidden());
        QVERIFY(!form.findChild<QWidget *>("toolbarWidget")->isHidden());
        QVERIFY(!form.findChild<QWidget *>("previewImage")->isHidden());
        QCOMPARE(pages(form)->currentIndex(), 0);
        QTRY_VERIFY(!form.findChild<ConvertProgressForm *>());
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        kxtest::clearSettingsStore();
        QVERIFY(tmp.isValid());
        in = tmp.path() + "/in";
        QVERIFY(QDir().mkpath(in));
    }

    void init()
    {
        out = tmp.path() + "/out-" + QTest::currentTestFunction();
        QVERIFY(QDir().mkpath(out));
    }

    void cleanup()
    {
        for (int i = 0; i < 5 && QApplication::activeModalWidget(); ++i)
            QApplication::activeModalWidget()->close();
    }

    void pdfNameGetsItsExtension()
    {
        ConvertImageForm form;
        selectTarget(form, TargetPdf);
        conversionSettings().outputFolder = out;
        conversionSettings().pdfFileName = "report";
        addSources(form, {source("r1.png"), source("r2.jpg")});
        form.on_convertButton_clicked();
        QCOMPARE(conversionSettings().pdfFileName, QStringLiteral("report.pdf"));
        QVERIFY(form.conversionBusy);

        QMessageBox *box = completionBox();
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("The conversion processes are completed."));
        finishRun(form, box);
        QCOMPARE(pdfprobe::pageCount(kxtest::readFile(out + "/report.pdf")), 2);
        QCOMPARE(lastOutputLocation(), QDir::toNativeSeparators(out + "/report.pdf"));
    }

    void existingPdfAnsweredNoThenDialogCancelled()
    {
        ConvertImageForm form;
        selectTarget(form, TargetPdf);
        conversionSettings().outputFolder = out;
        conversionSettings().pdfFileName = "old.pdf";
        const QString pdf = kxtest::writeFile(out + "/old.pdf", "old document");
        QVERIFY(!pdf.isEmpty());
        addSources(form, {source("n1.png")});

        QString confirmText;
        QString confirmInfo;
        bool noIsDefault = false;
        QString dialogTitle;
        kxtest::whenModalShown<QMessageBox>([&](QMessageBox *box) {
            confirmText = box->text();
            confirmInfo = box->informativeText();
            noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
            box->button(QMessageBox::No)->click();
        });
        kxtest::whenModalShown<QFileDialog>([&](QFileDialog *dialog) {
            dialogTitle = dialog->windowTitle();
            dialog->reject();
        });
        form.on_convertButton_clicked();

        QCOMPARE(confirmText, QStringLiteral("Confirm overwrite"));
        QCOMPARE(confirmInfo, "Are you sure you want to overwrite " + pdf + "?");
        QVERIFY(noIsDefault);
        QCOMPARE(dialogTitle, QStringLiteral("Save to PDF File"));
        QVERIFY(!form.conversionBusy);
        QVERIFY(!form.findChild<ConvertProgressForm *>());
        QCOMPARE(kxtest::readFile(pdf), QByteArray("old document"));
    }

    void existingPdfAnsweredYesIsReplaced()
    {
        ConvertImageForm form;
        selectTarget(form, TargetPdf);
        conversionSettings().outputFolder = out;
        conversionSettings().pdfFileName = "again.PDF";
        const QString pdf = kxtest::writeFile(out + "/again.PDF", "old document");
        QVERIFY(!pdf.isEmpty());
        addSources(form, {source("y1.png")});
        kxtest::whenModalShown<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
        form.on_convertButton_clicked();
        QCOMPARE(conversionSettings().pdfFileName, QStringLiteral("again.PDF"));
        QMessageBox *box = completionBox();
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("The conversion process is completed."));
        finishRun(form, box);
        QVERIFY(kxtest::readFile(pdf).startsWith("%PDF-1.6"));
    }

    void missingPdfNameAsksForTheFile()
    {
        ConvertImageForm form;
        selectTarget(form, TargetPdf);
        conversionSettings().outputFolder = QString();
        conversionSettings().pdfFileName = QString();
        addSources(form, {source("m1.png")});
        const QString folder = out;
        kxtest::whenModalShown<QFileDialog>([folder](QFileDialog *dialog) {
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(folder + "/named");
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept, reached through its base
        });
        form.on_convertButton_clicked();
        QCOMPARE(conversionSettings().outputFolder, QDir::toNativeSeparators(out));
        QCOMPARE(conversionSettings().pdfFileName, QStringLiteral("named.pdf"));
        QCOMPARE(form.findChild<QLineEdit *>("pdfFilenameLineEdit")->text(), QStringLiteral("named.pdf"));
        QCOMPARE(form.findChild<QLineEdit *>("outputFolderLineEdit")->text(), QDir::toNativeSeparators(out));
        finishRun(form, completionBox());
        QCOMPARE(pdfprobe::pageCount(kxtest::readFile(out + "/named.pdf")), 1);
    }

    void pdfFileButtonSetsFolderAndName()
    {
        ConvertImageForm form;
        conversionSettings().outputFolder = out;
        const QString folder = out + "/docs";
        QVERIFY(QDir().mkpath(folder));
        QString startFolder;
        QWidget *parent = nullptr;
        kxtest::whenModalShown<QFileDialog>([&](QFileDialog *dialog) {
            startFolder = dialog->directory().absolutePath();
            parent = dialog->parentWidget();
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(folder + "/album.pdf");
            static_cast<QDialog *>(dialog)->accept();
        });
        form.on_pdfFilenameButton_clicked();
        QCOMPARE(startFolder, out);
        QCOMPARE(parent, &form);
        QCOMPARE(conversionSettings().outputFolder, folder);
        QCOMPARE(conversionSettings().pdfFileName, QStringLiteral("album.pdf"));
        QCOMPARE(form.findChild<QLineEdit *>("outputFolderLineEdit")->text(), folder);
        QCOMPARE(form.findChild<QLineEdit *>("pdfFilenameLineEdit")->text(), QStringLiteral("album.pdf"));
        QSettings store("Kestrix", "ConvertImage");
        store.beginGroup("MainApp");
        QCOMPARE(store.value("outputFolder").toString(), folder);
        QCOMPARE(store.value("pdfFileName").toString(), QStringLiteral("album.pdf"));
    }

    void oneCharacterFolderOpensTheChooserAndRuns()
    {
        ConvertImageForm form;
        selectTarget(form, TargetWebp);
        conversionSettings().outputFolder = "x";
        addSources(form, {source("w1.png")});
        const QString folder = out;
        kxtest::whenModalShown<QFileDialog>([folder](QFileDialog *dialog) {
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(folder);
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept, reached through its base
        });
        form.on_convertButton_clicked();
        QCOMPARE(conversionSettings().outputFolder, out);
        QMessageBox *box = completionBox();
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("The conversion process is completed."));
        finishRun(form, box);
        QVERIFY(QFileInfo(out + "/w1.webp").isFile());
    }

    void sourcesFollowTheEntryPathRule()
    {
        ConvertImageForm form;
        selectTarget(form, TargetPng);
        conversionSettings().outputFolder = out;
        source("e1.jpg");
        addRow(form, "e1.jpg\n64x48\n" + in, QString());
        addRow(form, "just-added.jpg", source("e2.jpg"));
        form.on_convertButton_clicked();
        QMessageBox *box = completionBox();
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("The conversion processes are completed."));
        QCOMPARE(form.findChild<QLineEdit *>("outputFolderLineEdit")->text(), out);
        finishRun(form, box);
        QVERIFY(QFileInfo(out + "/e1.png").isFile());
        QVERIFY(QFileInfo(out + "/e2.png").isFile());
    }

    void failuresAreSummarised()
    {
        ConvertImageForm form;
        selectTarget(form, TargetJpg);
        conversionSettings().outputFolder = out;
        const QString broken = kxtest::writeFile(in + "/broken.tif", "no image here");
        QVERIFY(!broken.isEmpty());
        addSources(form, {source("ok.png"), broken});
        form.on_convertButton_clicked();
        QMessageBox *box = completionBox();
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("1 of 2 files could not be converted."));
        QVERIFY(box->detailedText().contains(broken));
        finishRun(form, box);
        QVERIFY(!QFileInfo::exists(out + "/broken.jpg"));
    }

    void closeRequestStopsTheRun()
    {
        ConvertImageForm form;
        selectTarget(form, TargetWebp);
        conversionSettings().outputFolder = out;
        QStringList sources;
        for (int i = 0; i < 20; ++i)
            sources << source(QStringLiteral("c%1.png").arg(i), QSize(800, 600));
        addSources(form, sources);
        QSignalSpy closeApp(&form, &ConvertImageForm::closeApp);
        form.on_convertButton_clicked();
        QVERIFY(form.conversionBusy);
        form.requestStopForClose();
        QTRY_COMPARE_WITH_TIMEOUT(closeApp.count(), 1, 20000);
        QVERIFY(!form.conversionBusy);
        QTRY_VERIFY(!form.findChild<ConvertProgressForm *>());
        QVERIFY(QDir(out).entryList(QDir::Files).size() < sources.size());
    }
};

QTEST_MAIN(TestConvertCommand)
#include "tst_convertcommand.moc"

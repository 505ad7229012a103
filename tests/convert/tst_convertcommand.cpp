// The convert command's own rules. Whole runs through the window (every
// target, the overwrite dialog, failures, closing during a run) are driven in
// tst_endtoend.

#include <QtTest>

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>

#include "conversionsettings.h"
#include "convertimageform.h"
#include "convertprogressform.h"
#include "kxdialogs.h"
#include "kxtest.h"
#include "kxpdf.h"
#include "targetformats.h"
#include "toplevels.h"

class TestConvertCommand : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir tmp;
    QString in;
    QString out;

    QString source(const QString &name) { return kxtest::photoFile(in, name); }

    // A form set to the target and output folder with the sources in its list.
    static void prepare(ConvertImageForm &form, int target, const QString &folder, const QStringList &paths)
    {
        form.findChild<QComboBox *>("targetComboBox")->setCurrentIndex(target);
        conversionSettings().outputFolder = folder;
        for (const QString &path : paths)
            form.fileListModel()->appendRow({new QStandardItem(QFileInfo(path).fileName()), new QStandardItem(path)});
    }

    static QString lineEdit(ConvertImageForm &form, const char *name)
    {
        return form.findChild<QLineEdit *>(name)->text();
    }

    // The file chooser the command opens gets this path typed in and accepted.
    static void answerFileDialog(const QString &path)
    {
        kxtest::whenModalShown<QFileDialog>([path](QFileDialog *dialog) {
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(path);
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept, reached through its base
        });
    }

    // Closes the completion message (its texts are tested with the progress
    // page) and waits for the form to be back at its list.
    static void expectCompletion(ConvertImageForm &form)
    {
        QMessageBox *box = toplevels::completionBox();
        QVERIFY(box);
        box->button(QMessageBox::Ok)->click();
        QVERIFY(!form.conversionBusy);
        QTRY_VERIFY(!form.findChild<ConvertProgressForm *>());
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        kxtest::clearSettingsStore();
        in = tmp.path() + "/in";
        QVERIFY(QDir().mkpath(in));
    }

    void init()
    {
        out = tmp.path() + "/out-" + QTest::currentTestFunction() + QTest::currentDataTag();
        QVERIFY(QDir().mkpath(out));
    }

    void cleanup()
    {
        for (int i = 0; i < 5 && QApplication::activeModalWidget(); ++i)
            QApplication::activeModalWidget()->close();
    }

    // A name without the suffix gets it, also one given in the chooser that
    // opens when there is none; an existing document is replaced once the
    // user confirms.
    void pdfNameRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("stored");
        QTest::newRow("suffix added") << "report" << false << "report.pdf";
        QTest::newRow("no name, chosen") << "" << false << "named.pdf";
        QTest::newRow("existing, answered Yes") << "again.PDF" << true << "again.PDF";
    }

    void pdfNameRule()
    {
        QFETCH(QString, name);
        QFETCH(bool, exists);
        QFETCH(QString, stored);
        ConvertImageForm form;
        form.findChild<QLineEdit *>("pdfFilenameLineEdit")->setText(name);
        if (exists)
            QVERIFY(!kxtest::writeFile(out + "/" + name, "old document").isEmpty());
        prepare(form, TargetPdf, name.isEmpty() ? QString() : out, {source("r1.png"), source("r2.jpg")});
        if (exists)
            kxtest::whenModalShown<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
        if (name.isEmpty())
            answerFileDialog(out + "/named");
        form.on_convertButton_clicked();
        QCOMPARE(conversionSettings().pdfFileName, stored);
        QCOMPARE(lineEdit(form, "pdfFilenameLineEdit"), stored);
        if (name.isEmpty())
            QCOMPARE(lineEdit(form, "outputFolderLineEdit"), out);
        expectCompletion(form);
        QCOMPARE(kxtest::pdfPages(out + "/" + stored).size(), 2);
    }

    void existingPdfAnsweredNoThenDialogCancelled()
    {
        ConvertImageForm form;
        conversionSettings().pdfFileName = "old.pdf";
        const QString pdf = kxtest::writeFile(out + "/old.pdf", "old document");
        prepare(form, TargetPdf, out, {source("n1.png")});

        QStringList shown;
        kxtest::whenModalShown<QMessageBox>([&](QMessageBox *box) {
            shown << box->text() << box->informativeText();
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
            box->button(QMessageBox::No)->click();
        });
        kxtest::whenModalShown<QFileDialog>([&](QFileDialog *dialog) {
            shown << dialog->windowTitle();
            dialog->reject();
        });
        form.on_convertButton_clicked();
        QCOMPARE(shown, QStringList({"Confirm overwrite", "Are you sure you want to overwrite " + pdf + "?",
                                     "Save to PDF File"}));
        QVERIFY(!form.findChild<ConvertProgressForm *>());
        QCOMPARE(kxtest::readFile(pdf), QByteArray("old document"));
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
        QCOMPARE(lineEdit(form, "outputFolderLineEdit"), folder);
        QCOMPARE(lineEdit(form, "pdfFilenameLineEdit"), QStringLiteral("album.pdf"));
        const QSettings store("Kestrix", "ConvertImage");
        QCOMPARE(store.value("MainApp/outputFolder").toString() + store.value("MainApp/pdfFileName").toString(),
                 folder + "album.pdf");
    }

    // The chooser opens for a one-character folder, and a typed folder that
    // does not exist is made once the user agrees.
    void outputFolderChosenOrMade()
    {
        ConvertImageForm form;
        prepare(form, TargetPng, "x", {source("e2.jpg")});
        answerFileDialog(out);
        form.on_convertButton_clicked();
        expectCompletion(form);
        const QString made = out + "/new/deeper";
        conversionSettings().outputFolder = made;
        kxtest::whenModalShown<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
        form.on_convertButton_clicked();
        expectCompletion(form);
        for (const QString &folder : {out, made})
            QVERIFY(QFileInfo(folder + "/e2.png").isFile());
    }

    void emptyListHasNothingToConvert()
    {
        ConvertImageForm form;
        prepare(form, TargetPng, out, {});
        QString text;
        kxtest::whenModalShown<QMessageBox>([&text](QMessageBox *box) {
            text = box->text();
            box->accept();
        });
        form.on_convertButton_clicked();
        QCOMPARE(text, QStringLiteral("There is nothing to convert."));
        QVERIFY(!form.findChild<ConvertProgressForm *>());
    }
};

QTEST_MAIN(TestConvertCommand)
#include "tst_convertcommand.moc"

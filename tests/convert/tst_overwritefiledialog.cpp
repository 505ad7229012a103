#include <QtTest>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

#include "overwritefiledialog.h"

class TestOverwriteFileDialog : public QObject
{
    Q_OBJECT

private:
    static QTreeWidget *tree(OverwriteFileDialog *dialog) { return dialog->findChild<QTreeWidget *>("treeWidget"); }
    static QString description(OverwriteFileDialog *dialog)
    {
        return dialog->findChild<QLabel *>("descLabel")->text();
    }

private slots:
    void layout()
    {
        OverwriteFileDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Overwrite"));
        QCOMPARE(dialog.size(), QSize(629, 458));
        QCOMPARE(tree(&dialog)->headerItem()->text(0), QStringLiteral("Target File"));
        QCOMPARE(tree(&dialog)->headerItem()->text(1), QStringLiteral("Source File"));
        QCOMPARE(tree(&dialog)->columnWidth(0), 340);
        QCOMPARE(dialog.findChild<QPushButton *>("overwriteButton")->text(), QStringLiteral("Overwrite"));
        QCOMPARE(dialog.findChild<QPushButton *>("cancelButton")->text(), QStringLiteral("Cancel"));
    }

    void oneFile()
    {
        OverwriteFileDialog dialog;
        dialog.setFileLists({"/out/a.webp"}, {"/in/a.png"});
        QCOMPARE(description(&dialog), QStringLiteral("The following file already exist. Do you wish to overwrite it?"));
        QCOMPARE(tree(&dialog)->topLevelItemCount(), 1);
        QTreeWidgetItem *row = tree(&dialog)->topLevelItem(0);
        QCOMPARE(row->text(0), QStringLiteral("/out/a.webp"));
        QCOMPARE(row->text(1), QStringLiteral("/in/a.png"));
        QCOMPARE(row->checkState(0), Qt::Checked);
    }

    void severalFilesReplaceEarlierRows()
    {
        OverwriteFileDialog dialog;
        dialog.setFileLists({"/out/x.webp"}, {"/in/x.png"});
        dialog.setFileLists({"/out/a.webp", "/out/b.webp"}, {"/in/a.png", "/in/b.jpg"});
        QCOMPARE(description(&dialog),
                 QStringLiteral("The following files already exist. Check all files that you wish to overwrite."));
        QCOMPARE(tree(&dialog)->topLevelItemCount(), 2);
        QCOMPARE(tree(&dialog)->topLevelItem(1)->text(1), QStringLiteral("/in/b.jpg"));
    }

    void overwriteSendsTickedSourcesInRowOrder()
    {
        auto *dialog = new OverwriteFileDialog;
        QPointer<OverwriteFileDialog> guard(dialog);
        dialog->setFileLists({"/o/a.gif", "/o/b.gif", "/o/c.gif"}, {"/i/a.png", "/i/b.png", "/i/c.png"});
        tree(dialog)->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        QSignalSpy overwrite(dialog, &OverwriteFileDialog::overwriteFiles);
        QSignalSpy finish(dialog, &OverwriteFileDialog::convertFinish);
        dialog->show();
        QTest::mouseClick(dialog->findChild<QPushButton *>("overwriteButton"), Qt::LeftButton);
        QCOMPARE(overwrite.count(), 1);
        QCOMPARE(overwrite.first().first().toStringList(), (QStringList{"/i/a.png", "/i/c.png"}));
        QCOMPARE(finish.count(), 0);
        QVERIFY(!dialog->isVisible());
        QTRY_VERIFY(guard.isNull());
    }

    void overwriteWithNothingTickedFinishes()
    {
        auto *dialog = new OverwriteFileDialog;
        dialog->setFileLists({"/o/a.gif"}, {"/i/a.png"});
        tree(dialog)->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        QSignalSpy overwrite(dialog, &OverwriteFileDialog::overwriteFiles);
        QSignalSpy finish(dialog, &OverwriteFileDialog::convertFinish);
        dialog->show();
        dialog->on_overwriteButton_clicked();
        QCOMPARE(overwrite.count(), 0);
        QCOMPARE(finish.count(), 1);
    }

    void closingAnswersLikeCancel_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel button") << "cancel";
        QTest::newRow("escape key") << "escape";
        QTest::newRow("window close") << "close";
    }

    void closingAnswersLikeCancel()
    {
        QFETCH(QString, how);
        auto *dialog = new OverwriteFileDialog;
        QPointer<OverwriteFileDialog> guard(dialog);
        dialog->setFileLists({"/o/a.gif"}, {"/i/a.png"});
        QSignalSpy overwrite(dialog, &OverwriteFileDialog::overwriteFiles);
        QSignalSpy finish(dialog, &OverwriteFileDialog::convertFinish);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        if (how == "cancel")
            QTest::mouseClick(dialog->findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
        else if (how == "escape")
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
        QCOMPARE(finish.count(), 1);
        QCOMPARE(overwrite.count(), 0);
        QTRY_VERIFY(guard.isNull());
    }

    void answersOnlyOnce()
    {
        auto *dialog = new OverwriteFileDialog;
        dialog->setFileLists({"/o/a.gif"}, {"/i/a.png"});
        QSignalSpy overwrite(dialog, &OverwriteFileDialog::overwriteFiles);
        QSignalSpy finish(dialog, &OverwriteFileDialog::convertFinish);
        dialog->show();
        dialog->on_overwriteButton_clicked();
        dialog->reject();
        dialog->on_cancelButton_clicked();
        QCOMPARE(overwrite.count() + finish.count(), 1);
    }
};

QTEST_MAIN(TestOverwriteFileDialog)
#include "tst_overwritefiledialog.moc"

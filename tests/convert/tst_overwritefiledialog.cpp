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

    void descriptionAndRows_data()
    {
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<QString>("description");
        QTest::newRow("one file") << QStringList{"/out/a.webp"}
                                  << "The following file already exist. Do you wish to overwrite it?";
        QTest::newRow("several files") << QStringList{"/out/a.webp", "/out/b.webp"}
                                       << "The following files already exist. Check all files that you wish to overwrite.";
    }

    // Every row starts ticked; filling the dialog again replaces earlier rows.
    void descriptionAndRows()
    {
        QFETCH(QStringList, targets);
        QFETCH(QString, description);
        QStringList sources;
        for (const QString &target : targets)
            sources << QString(target).replace("/out/", "/in/").replace(".webp", ".png");
        OverwriteFileDialog dialog;
        dialog.setFileLists({"/out/x.webp", "/out/y.webp", "/out/z.webp"}, {"/in/x.png", "/in/y.png", "/in/z.png"});
        dialog.setFileLists(targets, sources);
        QCOMPARE(dialog.findChild<QLabel *>("descLabel")->text(), description);
        QCOMPARE(tree(&dialog)->topLevelItemCount(), targets.size());
        for (int i = 0; i < targets.size(); ++i) {
            QTreeWidgetItem *row = tree(&dialog)->topLevelItem(i);
            QCOMPARE(row->text(0), targets.at(i));
            QCOMPARE(row->text(1), sources.at(i));
            QCOMPARE(row->checkState(0), Qt::Checked);
        }
    }

    void overwriteSendsTickedSources_data()
    {
        QTest::addColumn<QList<bool>>("ticked");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("first and last, in row order") << QList<bool>{true, false, true}
                                                      << QStringList{"/i/a.png", "/i/c.png"};
        QTest::newRow("none ticked finishes") << QList<bool>{false, false, false} << QStringList();
    }

    void overwriteSendsTickedSources()
    {
        QFETCH(QList<bool>, ticked);
        QFETCH(QStringList, sent);
        auto *dialog = new OverwriteFileDialog;
        QPointer<OverwriteFileDialog> guard(dialog);
        dialog->setFileLists({"/o/a.gif", "/o/b.gif", "/o/c.gif"}, {"/i/a.png", "/i/b.png", "/i/c.png"});
        for (int i = 0; i < ticked.size(); ++i)
            tree(dialog)->topLevelItem(i)->setCheckState(0, ticked.at(i) ? Qt::Checked : Qt::Unchecked);
        QSignalSpy overwrite(dialog, &OverwriteFileDialog::overwriteFiles);
        QSignalSpy finish(dialog, &OverwriteFileDialog::convertFinish);
        dialog->show();
        QTest::mouseClick(dialog->findChild<QPushButton *>("overwriteButton"), Qt::LeftButton);
        QCOMPARE(overwrite.count(), sent.isEmpty() ? 0 : 1);
        QCOMPARE(finish.count(), sent.isEmpty() ? 1 : 0);
        if (!sent.isEmpty())
            QCOMPARE(overwrite.first().first().toStringList(), sent);
        QVERIFY(!dialog->isVisible());
        QTRY_VERIFY(guard.isNull());
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

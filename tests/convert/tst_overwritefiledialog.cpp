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
    void descriptionAndRows()
    {
        OverwriteFileDialog dialog;
        dialog.setFileLists({"/out/x.webp"}, {"/in/x.png"});
        QCOMPARE(dialog.findChild<QLabel *>("descLabel")->text(),
                 "The following file already exist. Do you wish to overwrite it?");
        // Filling the dialog again replaces earlier rows.
        dialog.setFileLists({"/out/a.webp", "/out/b.webp"}, {"/in/a.png", "/in/b.png"});
        QCOMPARE(dialog.findChild<QLabel *>("descLabel")->text(),
                 "The following files already exist. Check all files that you wish to overwrite.");
        QCOMPARE(tree(&dialog)->topLevelItem(1)->text(0), "/out/b.webp");
        QCOMPARE(tree(&dialog)->topLevelItem(1)->text(1), "/in/b.png");
    }

    // How the dialog is left, and which sources it sends; no source sent means
    // the run finishes instead. The dialog answers once and deletes itself.
    // The cancel button is clicked in tst_endtoend.
    void answer_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QList<bool>>("ticked");
        QTest::addColumn<QStringList>("sent");
        const QList<bool> all{true, true, true};
        QTest::newRow("first and last, in row order") << "overwrite" << QList<bool>{true, false, true}
                                                      << QStringList{"/i/a.png", "/i/c.png"};
        QTest::newRow("none ticked finishes") << "overwrite" << QList<bool>{false, false, false} << QStringList();
        QTest::newRow("escape key") << "escape" << all << QStringList();
        QTest::newRow("every answer at once") << "all" << all << QStringList{"/i/a.png", "/i/b.png", "/i/c.png"};
    }

    void answer()
    {
        QFETCH(QString, how);
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
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        if (how == "overwrite") {
            QTest::mouseClick(dialog->findChild<QPushButton *>("overwriteButton"), Qt::LeftButton);
        } else if (how == "escape") {
            QTest::keyClick(dialog, Qt::Key_Escape);
        } else {
            dialog->on_overwriteButton_clicked();
            dialog->reject();
            dialog->on_cancelButton_clicked();
        }
        QCOMPARE(overwrite.count(), sent.isEmpty() ? 0 : 1);
        QCOMPARE(finish.count(), sent.isEmpty() ? 1 : 0);
        if (!sent.isEmpty())
            QCOMPARE(overwrite.first().first().toStringList(), sent);
        QTRY_VERIFY(guard.isNull());
    }
};

QTEST_MAIN(TestOverwriteFileDialog)
#include "tst_overwritefiledialog.moc"

// The list commands and the button states through the form. Adding a folder,
// the labels, Clear and re-adding are driven through the window in tests/app.

#include <QFileDialog>
#include <QPointer>
#include <QtTest>

#include "convertimageaddurlsthread.h"
#include "convertimageform.h"
#include "kxdialogs.h"
#include "kxtest.h"
#include "ui_convertimageform.h"

namespace {

void selectRows(ConvertImageForm &form, const QList<int> &rows)
{
    QItemSelectionModel *selection = form.ui->sourceTreeView->selectionModel();
    selection->clearSelection();
    for (const int row : rows)
        selection->select(form.fileListModel()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QList<int> selectedRows(ConvertImageForm &form)
{
    QList<int> rows;
    for (const QModelIndex &index : form.ui->sourceTreeView->selectionModel()->selectedRows(0))
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

class TestFileListForm : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        kxtest::clearSettingsStore();
        QVERIFY(dir.isValid());
        QDir().mkpath(dir.filePath("photos/sub"));
        QVERIFY(kxtest::makePhotoLikeImage(300, 200).save(dir.filePath("photos/a.png")));
    }

    void clearOnEmptyList()
    {
        ConvertImageForm form;
        for (QWidget *button : {form.ui->removeButton, form.ui->clearButton, form.ui->convertButton})
            button->setEnabled(true);
        form.ui->clearButton->click();
        QVERIFY(!form.ui->removeButton->isEnabled());
        QVERIFY(!form.ui->clearButton->isEnabled());
        QVERIFY(!form.ui->convertButton->isEnabled());
        QVERIFY(!form.ui->sourceFrame->isHidden());
    }

    // The clicked command's selection and button afterwards: off once nothing is
    // left to do. The commands' row orders are tested in tst_filelistcommands.
    void commandOnSelectedRows_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QList<int>>("selectedAfter");
        QTest::addColumn<bool>("enabledAfter");
        QTest::newRow("remove rows 1 and 3") << "removeButton" << 5 << QList<int>{1, 3} << QList<int>{} << false;
        QTest::newRow("up rows 0 and 2") << "upButton" << 3 << QList<int>{0, 2} << QList<int>{0} << false;
        QTest::newRow("down row 2 of 5") << "downButton" << 5 << QList<int>{2} << QList<int>{3} << true;
    }

    void commandOnSelectedRows()
    {
        QFETCH(QString, button);
        QFETCH(int, count);
        QFETCH(QList<int>, rows);
        QFETCH(QList<int>, selectedAfter);
        QFETCH(bool, enabledAfter);
        ConvertImageForm form;
        kxtest::appendListEntries(form.fileListModel(), count);
        selectRows(form, rows);
        auto *command = form.findChild<QAbstractButton *>(button);
        command->setEnabled(true); // Up is off while row 0 is selected
        command->click();
        QCOMPARE(form.fileListModel()->rowCount(), button == "removeButton" ? count - rows.size() : count);
        QCOMPARE(selectedRows(form), selectedAfter);
        QCOMPARE(command->isEnabled(), enabledAfter);
    }

    void selectionDecidesTheButtons_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("deselected"); // -1: none
        QTest::addColumn<QString>("previewed");
        QTest::addColumn<bool>("remove");
        QTest::addColumn<bool>("up");
        QTest::addColumn<bool>("down");
        QTest::newRow("middle row") << QList<int>{1} << -1 << "/p/e1.png" << true << true << true;
        QTest::newRow("first row") << QList<int>{0} << -1 << "/p/e0.png" << true << false << true;
        QTest::newRow("one of two deselected") << QList<int>{1, 3} << 1 << "/p/e3.png" << true << true << false;
        QTest::newRow("nothing") << QList<int>{2} << 2 << "/p/e2.png" << false << false << false;
    }

    void selectionDecidesTheButtons()
    {
        QFETCH(QList<int>, rows);
        QFETCH(int, deselected);
        QFETCH(QString, previewed);
        QFETCH(bool, remove);
        QFETCH(bool, up);
        QFETCH(bool, down);
        ConvertImageForm form;
        kxtest::appendListEntries(form.fileListModel(), 4);
        selectRows(form, rows);
        if (deselected >= 0)
            form.ui->sourceTreeView->selectionModel()->select(form.fileListModel()->index(deselected, 0),
                                                              QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        QCOMPARE(form.ui->sourceTreeView->url, previewed);
        QCOMPARE(form.ui->removeButton->isEnabled(), remove);
        QCOMPARE(form.ui->upButton->isEnabled(), up);
        QCOMPARE(form.ui->downButton->isEnabled(), down);
    }

    void addFilesDialogRemembersTheFolder()
    {
        ConvertImageForm form;
        QSignalSpy toolbar(&form, &ConvertImageForm::showToolbarSignal);
        conversionSettings().lastPicturesDir = dir.filePath("photos/sub");
        QString openedIn;
        QString caption;
        kxtest::whenModalShown<QFileDialog>([&](QFileDialog *dialog) {
            openedIn = dialog->directory().absolutePath();
            caption = dialog->windowTitle();
            dialog->setDirectory(dir.filePath("photos"));
            dialog->selectFile(dir.filePath("photos/a.png"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        form.ui->addFilesButton->click();
        QCOMPARE(openedIn, dir.filePath("photos/sub"));
        QCOMPARE(caption, QStringLiteral("Add Image Files"));
        QCOMPARE(conversionSettings().lastPicturesDir, dir.filePath("photos"));
        QCOMPARE(QSettings("Kestrix", "ConvertImage").value("MainApp/lastPicturesDir").toString(),
                 dir.filePath("photos"));
        QVERIFY(kxtest::waitUntil([&] { return form.fileListModel()->rowCount() == 1; }, 10000));
        QCOMPARE(form.fileListModel()->item(0, 1)->text(), dir.filePath("photos/a.png"));
        QVERIFY(kxtest::waitUntil([&] { return form.findChildren<ConvertImageAddUrlsThread *>().isEmpty(); }, 10000));
        // The toolbar is hidden while the batch is added and comes back after it.
        QCOMPARE(toolbar.first().at(0).toBool(), false);
        QCOMPARE(toolbar.last().at(0).toBool(), true);
    }

    void formClosedDuringBatch()
    {
        QDir().mkpath(dir.filePath("many"));
        for (int i = 0; i < 400; ++i)
            QVERIFY(kxtest::makePhotoLikeImage(8, 8).save(dir.filePath(QStringLiteral("many/%1.png").arg(i))));
        auto *form = new ConvertImageForm;
        form->on_AddURLs({QUrl::fromLocalFile(dir.filePath("many"))});
        QPointer<ConvertImageAddUrlsThread> worker = form->findChild<ConvertImageAddUrlsThread *>();
        QVERIFY(worker);
        QVERIFY(kxtest::waitUntil([&] { return form->fileListModel()->rowCount() > 0; }, 10000));
        delete form; // stops and waits for the worker, whatever it was doing
        QVERIFY(worker.isNull());
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(TestFileListForm)
#include "tst_filelistform.moc"

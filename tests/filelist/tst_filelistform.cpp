// The list commands and the button states through the form. Adding a folder,
// the labels, Clear and re-adding are driven through the window in tests/app.

#include <QFileDialog>
#include <QPointer>
#include <QtTest>

#include "convertimageaddurlsthread.h"
#include "convertimageform.h"
#include "convertimagepreviewlabel.h"
#include "kxdialogs.h"
#include "kxtest.h"
#include "previewdialog.h"
#include "ui_convertimageform.h"

namespace {

void selectRows(ConvertImageForm &form, const QList<int> &rows, QItemSelectionModel::SelectionFlag how)
{
    for (const int row : rows)
        form.ui->sourceTreeView->selectionModel()->select(form.fileListModel()->index(row, 0),
                                                          how | QItemSelectionModel::Rows);
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
        QDir().mkpath(dir.filePath("photos/sub"));
        QVERIFY(kxtest::makePhotoLikeImage(300, 200).save(dir.filePath("photos/a.png")));
        QVERIFY(!kxtest::writeFile(dir.filePath("photos/broken.png"), "not a picture").isEmpty());
    }

    // The selection decides the buttons and the preview; after a command its
    // button is off once nothing is left to do. The commands' row orders are
    // tested in tst_filelistcommands.
    void selectionAndCommands_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("deselected"); // -1: none
        QTest::addColumn<QString>("command"); // clicked after selecting, if any, as often as named
        QTest::addColumn<int>("rowsAfter");
        QTest::addColumn<QList<int>>("selectedAfter");
        QTest::addColumn<QString>("previewed");
        QTest::addColumn<QString>("enabled"); // Remove, Up and Down as "101"
        QTest::newRow("middle row") << QList<int>{1} << -1 << "" << 5 << QList<int>{1} << "e1" << "111";
        QTest::newRow("one of two deselected") << QList<int>{1, 4} << 1 << "" << 5 << QList<int>{4} << "e4" << "110";
        QTest::newRow("nothing") << QList<int>{2} << 2 << "" << 5 << QList<int>{} << "e2" << "000";
        // The row that took the first removed row's place is selected, so Delete goes on.
        QTest::newRow("remove rows 1 and 3") << QList<int>{1, 3} << -1 << "removeButton" << 3 << QList<int>{1} << "e2"
                                             << "111";
        QTest::newRow("delete twice from the end") << QList<int>{4} << -1 << "removeButton removeButton" << 3
                                                   << QList<int>{2} << "e2" << "110";
        QTest::newRow("up rows 0 and 2") << QList<int>{0, 2} << -1 << "upButton" << 5 << QList<int>{0} << "e0" << "101";
        QTest::newRow("down row 2") << QList<int>{2} << -1 << "downButton" << 5 << QList<int>{3} << "e2" << "111";
    }

    void selectionAndCommands()
    {
        QFETCH(QList<int>, rows);
        QFETCH(int, deselected);
        QFETCH(QString, command);
        QFETCH(int, rowsAfter);
        QFETCH(QList<int>, selectedAfter);
        QFETCH(QString, previewed);
        QFETCH(QString, enabled);
        ConvertImageForm form;
        kxtest::appendListEntries(form.fileListModel(), 5);
        selectRows(form, rows, QItemSelectionModel::Select);
        if (deselected >= 0)
            selectRows(form, {deselected}, QItemSelectionModel::Deselect);
        for (const QString &name : command.split(' ', Qt::SkipEmptyParts)) {
            auto *button = form.findChild<QAbstractButton *>(name);
            if (name == "upButton")
                button->setEnabled(true); // Up is off while row 0 is selected
            button->click();
        }
        QCOMPARE(form.fileListModel()->rowCount(), rowsAfter);
        QList<int> selected;
        for (const QModelIndex &index : form.ui->sourceTreeView->selectionModel()->selectedRows(0))
            selected << index.row();
        std::sort(selected.begin(), selected.end());
        QCOMPARE(selected, selectedAfter);
        QCOMPARE(form.previewPath(), previewed.isEmpty() ? QString() : "/p/" + previewed + ".png");
        QString enabledNow;
        for (QWidget *button : {form.ui->removeButton, form.ui->upButton, form.ui->downButton})
            enabledNow += button->isEnabled() ? '1' : '0';
        QCOMPARE(enabledNow, enabled);
    }

    // The preview follows a listed file or shows nothing; a file that cannot
    // be read shows a note, not the picture before it. The full preview opens
    // only on a picture.
    void previewAfterListChanges_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("previewed"); // in photos/, or none
        QTest::addColumn<QString>("shown");     // the label's text; empty: a picture
        QTest::addColumn<bool>("fullPreview");
        QTest::newRow("batch adding nothing new") << "again" << "a.png" << "" << true;
        QTest::newRow("clear") << "clear" << "" << "Preview" << false;
        QTest::newRow("remove the previewed row") << "remove" << "" << "Preview" << false;
        QTest::newRow("unreadable file") << "broken" << "broken.png" << "Cannot be read" << false;
    }

    void previewAfterListChanges()
    {
        QFETCH(QString, action);
        QFETCH(QString, previewed);
        QFETCH(QString, shown);
        QFETCH(bool, fullPreview);
        ConvertImageForm form;
        ConvertImagePreviewLabel *label = form.ui->previewImage;
        const auto add = [&](const QString &name) {
            form.on_AddURLs({QUrl::fromLocalFile(dir.filePath("photos/" + name))});
            return kxtest::waitUntil([&] { return form.findChildren<ConvertImageAddUrlsThread *>().isEmpty(); }, 10000);
        };
        QVERIFY(add("a.png"));
        QVERIFY(kxtest::waitUntil([&] { return label->hasImage; }, 10000));
        if (action == "again")
            QVERIFY(add("a.png"));
        else if (action == "clear")
            form.ui->clearButton->click();
        else if (action == "remove")
            form.ui->removeButton->click(); // the batch selected the row
        else
            QVERIFY(add("broken.png"));
        QCOMPARE(form.previewPath(), previewed.isEmpty() ? QString() : dir.filePath("photos/" + previewed));
        QVERIFY(kxtest::waitUntil([&] { return !form.previewLoading && label->text() == shown; }, 10000));
        QCOMPARE(label->hasImage, shown.isEmpty());
        // Cleared, the list leaves nothing to clear or convert.
        QCOMPARE((QList<bool>{form.ui->clearButton->isEnabled(), form.ui->convertButton->isEnabled()}),
                 QList<bool>(2, action != "clear"));
        bool opened = false;
        QPointer<QTimer> watcher = kxtest::whenModalShown<PreviewDialog>([&](PreviewDialog *dialog) {
            opened = true;
            dialog->reject();
        }, 50);
        form.on_PreviewImage_DoubleClick();
        delete watcher.data();
        QCOMPARE(opened, fullPreview);
    }

    void addFilesDialogRemembersTheFolder()
    {
        ConvertImageForm form;
        QSignalSpy toolbar(&form, &ConvertImageForm::showToolbarSignal);
        conversionSettings().lastPicturesDir = dir.filePath("photos/sub");
        QString openedIn;
        kxtest::whenModalShown<QFileDialog>([&](QFileDialog *dialog) {
            openedIn = dialog->directory().absolutePath();
            dialog->setDirectory(dir.filePath("photos"));
            dialog->selectFile(dir.filePath("photos/a.png"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        form.ui->addFilesButton->click();
        QCOMPARE(openedIn, dir.filePath("photos/sub"));
        QCOMPARE(conversionSettings().lastPicturesDir, dir.filePath("photos"));
        QVERIFY(kxtest::waitUntil([&] { return form.findChildren<ConvertImageAddUrlsThread *>().isEmpty(); }, 10000));
        QCOMPARE(form.fileListModel()->index(0, 1).data().toString(), dir.filePath("photos/a.png"));
        // The toolbar is hidden while the batch is added and comes back after it.
        QCOMPARE(toolbar.first().at(0).toBool(), false);
        QCOMPARE(toolbar.last().at(0).toBool(), true);
    }

    void formClosedDuringBatch()
    {
        QDir().mkpath(dir.filePath("many"));
        for (int i = 0; i < 200; ++i)
            QVERIFY(kxtest::makePhotoLikeImage(8, 8).save(dir.filePath(QStringLiteral("many/%1.png").arg(i))));
        auto *form = new ConvertImageForm;
        form->on_AddURLs({QUrl::fromLocalFile(dir.filePath("many"))});
        QPointer<ConvertImageAddUrlsThread> worker = form->findChild<ConvertImageAddUrlsThread *>();
        QVERIFY(worker);
        QVERIFY(kxtest::waitUntil([&] { return form->fileListModel()->rowCount() > 0; }, 10000));
        delete form; // stops and waits for the worker, whatever it was doing
        QVERIFY(worker.isNull());
    }
};

QTEST_MAIN(TestFileListForm)
#include "tst_filelistform.moc"

#include <QDir>
#include <QFileDialog>
#include <QSettings>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
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
    QStandardItemModel *model = form.fileListModel();
    for (const int row : rows)
        selection->select(model->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
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
        QVERIFY(kxtest::makePhotoLikeImage(100, 200).save(dir.filePath("photos/sub/b.png")));
    }

    void clearOnEmptyList()
    {
        ConvertImageForm form;
        form.ui->removeButton->setEnabled(true);
        form.ui->clearButton->setEnabled(true);
        form.ui->convertButton->setEnabled(true);
        form.ui->clearButton->click();
        QVERIFY(!form.ui->removeButton->isEnabled());
        QVERIFY(!form.ui->clearButton->isEnabled());
        QVERIFY(!form.ui->convertButton->isEnabled());
        QVERIFY(!form.ui->sourceFrame->isHidden());
        QCOMPARE(form.ui->previewImage->text(), QStringLiteral("Preview"));
    }

    void removeRowsOneAndThree()
    {
        ConvertImageForm form;
        kxtest::appendListEntries(form.fileListModel(), 5);
        selectRows(form, {1, 3});
        QVERIFY(form.ui->removeButton->isEnabled());
        QList<int> removed;
        connect(form.fileListModel(), &QAbstractItemModel::rowsRemoved, this,
                [&removed](const QModelIndex &, int first, int) { removed << first; });
        form.ui->removeButton->click();
        QCOMPARE(removed, (QList<int>{3, 1}));
        QCOMPARE(kxtest::listOrder(*form.fileListModel()), (QStringList{"e0", "e2", "e4"}));
        QVERIFY(!form.ui->removeButton->isEnabled());
    }

    void upWithRowsZeroAndTwo()
    {
        ConvertImageForm form;
        kxtest::appendListEntries(form.fileListModel(), 3);
        selectRows(form, {0, 2});
        form.ui->upButton->setEnabled(true); // the first selected row is 0
        form.ui->upButton->click();
        QCOMPARE(kxtest::listOrder(*form.fileListModel()), (QStringList{"e0", "e2", "e1"}));
        QCOMPARE(selectedRows(form), QList<int>{0});
        QVERIFY(!form.ui->upButton->isEnabled());
    }

    void downOnRowTwoOfFive()
    {
        ConvertImageForm form;
        kxtest::appendListEntries(form.fileListModel(), 5);
        selectRows(form, {2});
        QVERIFY(form.ui->downButton->isEnabled());
        form.ui->downButton->click();
        QCOMPARE(kxtest::listOrder(*form.fileListModel()), (QStringList{"e0", "e1", "e3", "e2", "e4"}));
        QCOMPARE(selectedRows(form), QList<int>{3});
        selectRows(form, {4});
        QVERIFY(!form.ui->downButton->isEnabled());
        QVERIFY(form.ui->upButton->isEnabled());
    }

    void selectionPreviewsByPathCell()
    {
        ConvertImageForm form;
        kxtest::appendListEntries(form.fileListModel(), 3);
        selectRows(form, {1});
        QCOMPARE(form.ui->sourceTreeView->url, QStringLiteral("/p/e1.png"));
        QVERIFY(form.ui->upButton->isEnabled());
        form.ui->sourceTreeView->selectionModel()->clearSelection();
        QVERIFY(!form.ui->removeButton->isEnabled());
        QVERIFY(!form.ui->upButton->isEnabled());
        QVERIFY(!form.ui->downButton->isEnabled());
    }

    void deselectingOneOfTwoKeepsRemove()
    {
        ConvertImageForm form;
        kxtest::appendListEntries(form.fileListModel(), 4);
        selectRows(form, {1, 3});
        QItemSelectionModel *selection = form.ui->sourceTreeView->selectionModel();
        selection->select(form.fileListModel()->index(1, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        QVERIFY(form.ui->removeButton->isEnabled());
        QCOMPARE(form.ui->sourceTreeView->url, QStringLiteral("/p/e3.png"));
        QVERIFY(!form.ui->downButton->isEnabled());
    }

    void droppedFolderFillsTheList()
    {
        ConvertImageForm form;
        QSignalSpy toolbar(&form, &ConvertImageForm::showToolbarSignal);
        form.on_AddURLs({QUrl::fromLocalFile(dir.filePath("photos"))});
        QStandardItemModel *model = form.fileListModel();
        QVERIFY(kxtest::waitUntil([&] { return !form.ui->sourceTreeView->isHidden(); }, 10000));
        QCOMPARE(model->rowCount(), 2);
        QVERIFY(form.ui->convertButton->isEnabled());
        QVERIFY(form.ui->clearButton->isEnabled());
        QCOMPARE(selectedRows(form), QList<int>{1});
        // Icons and three-line labels follow.
        QVERIFY(kxtest::waitUntil(
            [&] {
                return model->item(0, 0)->text().count('\n') == 2 && model->item(1, 0)->text().count('\n') == 2;
            },
            10000));
        for (int row = 0; row < 2; ++row) {
            const QString label = model->item(row, 0)->text();
            QCOMPARE(label.section('\n', 0, 0), QFileInfo(model->item(row, 1)->text()).fileName());
            QCOMPARE(label.section('\n', 2), QFileInfo(model->item(row, 1)->text()).path());
            QVERIFY(!model->item(row, 0)->icon().isNull());
        }
        QVERIFY(kxtest::waitUntil([&] { return form.findChildren<ConvertImageAddUrlsThread *>().isEmpty(); }, 10000));
        QVERIFY(toolbar.count() >= 2);
        QCOMPARE(toolbar.first().at(0).toBool(), false);
        QCOMPARE(toolbar.last().at(0).toBool(), true);

        // The same folder again adds nothing; Clear then empties the list.
        form.on_AddURLs({QUrl::fromLocalFile(dir.filePath("photos"))});
        QVERIFY(kxtest::waitUntil([&] { return form.findChildren<ConvertImageAddUrlsThread *>().isEmpty(); }, 10000));
        QCOMPARE(model->rowCount(), 2);
        form.ui->clearButton->click();
        QCOMPARE(model->rowCount(), 0);
        QVERIFY(!form.ui->sourceFrame->isHidden());
    }

    void addFilesDialogRemembersTheFolder()
    {
        ConvertImageForm form;
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

// The whole program driven as a user drives it: a folder of pictures of every
// accepted type goes into the list, a picture is previewed, and the list is
// converted to every target through the real controls and dialogs.

#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFileDialog>
#include <QImageReader>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include "../convert/toplevels.h"
#include "convertimageform.h"
#include "convertimagepreviewlabel.h"
#include "convertprogressform.h"
#include "imagewriters.h"
#include "kxdialogs.h"
#include "kxpdf.h"
#include "kxtest.h"
#include "mainwindow.h"
#include "overwritefiledialog.h"
#include "removethumbnailsdialog.h"
#include "targetformats.h"
#include "thumbnailcache.h"

namespace {

struct Source
{
    QString path;
    QSize size;
};

// Every file of a folder with a digest of its bytes.
QMap<QString, QByteArray> folderDigests(const QString &folder)
{
    QMap<QString, QByteArray> digests;
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        digests.insert(name, QCryptographicHash::hash(kxtest::readFile(folder + "/" + name), QCryptographicHash::Sha256));
    return digests;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir tmp;
    QString picturesFolder;
    QList<Source> sources;
    MainWindow *window = nullptr;
    ConvertImageForm *form = nullptr;

    template <typename T = QWidget>
    T *control(const char *name)
    {
        T *widget = form->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    QStandardItemModel *listModel() { return form->fileListModel(); }

    int listPageIndex()
    {
        return qobject_cast<QStackedLayout *>(control("sourceColumnWidget")->layout())->currentIndex();
    }

    // Types into a line edit as a user does: select the old text, type the new.
    void typeInto(const char *name, const QString &text)
    {
        auto *edit = control<QLineEdit>(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        QCOMPARE(edit->text(), text);
    }

    void chooseTarget(int row)
    {
        auto *combo = control<QComboBox>("targetComboBox");
        combo->setCurrentIndex(row);
        QCOMPARE(conversionSettings().targeFileType, row);
    }

    void pressConvert()
    {
        auto *button = control<QAbstractButton>("convertButton");
        QVERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // The form is back at its list with every bar shown, no run left over.
    void verifyBackAtTheList()
    {
        QTRY_VERIFY(!form->conversionBusy);
        QTRY_VERIFY(!form->findChild<ConvertProgressForm *>());
        QCOMPARE(listPageIndex(), 0);
        QVERIFY(control("tabWidget")->isVisible());
        QVERIFY(control("toolbarWidget")->isVisible());
        QVERIFY(control("previewImage")->isVisible());
        QVERIFY(control("convertButton")->isEnabled());
        QVERIFY(control("sourceTreeView")->isEnabled());
    }

    QString newOutputFolder(const QString &name)
    {
        const QString folder = tmp.path() + "/out-" + name;
        if (!QDir().mkpath(folder))
            qFatal("cannot make %s", qPrintable(folder));
        return folder;
    }

    int rowOfSource(const QString &path)
    {
        for (int row = 0; row < listModel()->rowCount(); ++row) {
            if (listModel()->item(row, 1)->text() == path)
                return row;
        }
        return -1;
    }

    void clickRow(int row)
    {
        auto *view = control<QTreeView>("sourceTreeView");
        const QModelIndex index = listModel()->index(row, 0);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        kxtest::clearSettingsStore();
        QVERIFY(tmp.isValid());
        QVERIFY(thumbnailCleanupPending());

        // One picture per accepted type, each of its own size, two of them in a
        // sub-folder, and a file of another kind that the walk skips.
        picturesFolder = tmp.path() + "/pictures";
        QVERIFY(QDir().mkpath(picturesFolder + "/sub"));
        const QStringList types = {"gif", "heif", "heic", "avif", "jxl", "jpg", "png", "tif", "webp", "jpeg", "tiff"};
        for (int i = 0; i < types.size(); ++i) {
            const QString &type = types.at(i);
            const QSize size(96 + 8 * i, 64 + 4 * i);
            const QString folder = i < 9 ? picturesFolder : picturesFolder + "/sub";
            const QString path = folder + "/photo_" + type + "." + type;
            const QImage image = kxtest::makePhotoLikeImage(size.width(), size.height());
            if (type == "gif") {
                // Qt reads GIF but never writes it; the program's own writer does.
                QVERIFY(writeGif(image, path));
            } else {
                QImageWriter writer(path);
                QVERIFY2(writer.write(image), qPrintable(path + ": " + writer.errorString()));
            }
            sources.append({path, size});
        }
        QVERIFY(!kxtest::writeFile(picturesFolder + "/readme.txt", "not a picture").isEmpty());

        window = new MainWindow;
        form = window->form;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    void cleanupTestCase()
    {
        delete window;
        window = nullptr;
    }

    void startsWithTheDropZone()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Kestrix Picturist"));
        QCOMPARE(listPageIndex(), 1);
        QVERIFY(!control("convertButton")->isEnabled());
        QVERIFY(!control("removeButton")->isEnabled());
        QVERIFY(!control("clearButton")->isEnabled());
    }

    void fileDialogsOfferEveryAcceptedType_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("add files") << "addFilesButton";
        QTest::newRow("watermark picture") << "imageSelectButton";
    }

    void fileDialogsOfferEveryAcceptedType()
    {
        QFETCH(QString, button);
        QStringList filters;
        kxtest::whenModalShown<QFileDialog>([&](QFileDialog *dialog) {
            filters = dialog->nameFilters();
            dialog->reject();
        });
        control<QAbstractButton>(qPrintable(button))->click();
        QCOMPARE(filters.size(), 1);
        // "Image Files (*.a *.b)": the patterns between the brackets.
        const QString filter = filters.first();
        const qsizetype open = filter.indexOf('(');
        const QStringList patterns = filter.mid(open + 1, filter.indexOf(')') - open - 1).split(' ');
        QCOMPARE(QDir(picturesFolder).entryList(patterns, QDir::Files).size(), 9);
        QCOMPARE(QDir(picturesFolder + "/sub").entryList(patterns, QDir::Files).size(), 2);
        QCOMPARE(listModel()->rowCount(), 0);
    }

    void addFolderFillsTheList()
    {
        form->on_AddURLs({QUrl::fromLocalFile(picturesFolder)});
        QTRY_COMPARE_WITH_TIMEOUT(listModel()->rowCount(), int(sources.size()), 10000);
        QTRY_COMPARE(listPageIndex(), 0);
        QVERIFY(control("convertButton")->isEnabled());
        QVERIFY(control("clearButton")->isEnabled());
        // The last entry is selected (the buttons' rule is tested with the list).
        QCOMPARE(control<QTreeView>("sourceTreeView")->currentIndex().row(), listModel()->rowCount() - 1);
        QVERIFY(control("removeButton")->isEnabled());

        QStringList listed;
        for (int row = 0; row < listModel()->rowCount(); ++row)
            listed << listModel()->item(row, 1)->text();
        for (const Source &source : std::as_const(sources))
            QVERIFY2(listed.contains(source.path), qPrintable(source.path));

        // Icons and three-line labels arrive from the worker.
        auto thumbnailsIn = [this] {
            for (int row = 0; row < listModel()->rowCount(); ++row) {
                const QStandardItem *item = listModel()->item(row, 0);
                if (item->icon().isNull() || item->text().count('\n') != 2)
                    return false;
            }
            return true;
        };
        QTRY_VERIFY_WITH_TIMEOUT(thumbnailsIn(), 10000);
        for (const Source &source : std::as_const(sources)) {
            const QString label = listModel()->item(rowOfSource(source.path), 0)->text();
            QCOMPARE(label, QFileInfo(source.path).fileName() + "\n" + QString::number(source.size.width()) + "x"
                                + QString::number(source.size.height()) + "\n"
                                + QFileInfo(source.path).path());
        }
    }

    void selectingAnEntryPreviewsIt()
    {
        auto *preview = control<ConvertImagePreviewLabel>("previewImage");
        // The batch's last entry is previewed on its own first.
        QTRY_VERIFY_WITH_TIMEOUT(preview->hasImage, 10000);

        for (const int pick : {3, 0}) {
            const Source &source = sources.at(pick);
            const int row = rowOfSource(source.path);
            QVERIFY(row >= 0);
            clickRow(row);
            QCOMPARE(control<QTreeView>("sourceTreeView")->currentIndex().row(), row);
            QVERIFY(control("removeButton")->isEnabled());
            // Pictures smaller than the label are shown at their own size.
            QTRY_COMPARE_WITH_TIMEOUT(preview->pixmap().size(), source.size, 10000);
            QVERIFY(preview->hasImage);
        }
    }

    void convertToEveryTarget_data()
    {
        QTest::addColumn<int>("target");
        for (int row = 0; row < targetFormats().size(); ++row)
            QTest::newRow(qPrintable(targetFormats().at(row).label)) << row;
    }

    void convertToEveryTarget()
    {
        QFETCH(int, target);
        const TargetFormat format = targetFormatAt(target);
        const QString out = newOutputFolder(format.extension.mid(1));
        const bool pdf = target == TargetPdf;

        chooseTarget(target);
        typeInto("outputFolderLineEdit", out);
        QCOMPARE(conversionSettings().outputFolder, out);
        if (pdf)
            typeInto("pdfFilenameLineEdit", "album");
        QCOMPARE(!control("pdfGroupBox")->isHidden(), pdf);
        const bool lossy = QList<int>{TargetAvif, TargetHeic, TargetHeif, TargetJpg, TargetJpegXl, TargetWebp}.contains(target);
        QCOMPARE(!control("qualitySpinBox")->isHidden(), lossy);

        pressConvert();
        QVERIFY(form->conversionBusy);
        QVERIFY(control("tabWidget")->isHidden());
        QCOMPARE(listPageIndex(), 2);

        QMessageBox *box = toplevels::completionBox();
        QVERIFY(box);
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->text(), QStringLiteral("The conversion processes are completed."));
        QVERIFY(toplevels::buttonWithText(box, "Open Folder"));
        box->button(QMessageBox::Ok)->click();
        verifyBackAtTheList();

        const QStringList written = QDir(out).entryList(QDir::Files);
        if (pdf) {
            QCOMPARE(conversionSettings().pdfFileName, QStringLiteral("album.pdf"));
            QCOMPARE(written, QStringList {"album.pdf"});
            const QList<kxtest::PdfPage> pages = kxtest::pdfPages(out + "/album.pdf");
            QCOMPARE(pages.size(), int(sources.size()));
            for (const kxtest::PdfPage &page : pages)
                QVERIFY(!page.drawn.isNull());
            return;
        }
        QCOMPARE(written.size(), int(sources.size()));
        for (const Source &source : std::as_const(sources)) {
            const QString target = out + "/" + QFileInfo(source.path).baseName() + format.extension;
            QImageReader reader(target);
            QVERIFY2(reader.canRead(), qPrintable(target));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(target + ": " + reader.errorString()));
            QCOMPARE(image.size(), source.size);
        }
    }

    void secondConvertAsksAndCancelKeepsTheFiles()
    {
        const QString out = tmp.path() + "/out-webp";
        chooseTarget(TargetWebp);
        typeInto("outputFolderLineEdit", out);
        const QMap<QString, QByteArray> before = folderDigests(out);
        QCOMPARE(before.size(), int(sources.size()));

        pressConvert();
        OverwriteFileDialog *dialog = toplevels::waitFor<OverwriteFileDialog>();
        QVERIFY(dialog);
        auto *tree = dialog->findChild<QTreeWidget *>("treeWidget");
        QCOMPARE(tree->topLevelItemCount(), int(sources.size()));
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            QCOMPARE(tree->topLevelItem(i)->checkState(0), Qt::Checked);

        QTest::mouseClick(dialog->findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
        verifyBackAtTheList();
        QVERIFY(!toplevels::completionBox(300));
        QCOMPARE(folderDigests(out), before);
    }

    void overwriteReplacesTheTickedFilesOnly()
    {
        const QString out = tmp.path() + "/out-webp";
        const QString kept = out + "/" + QFileInfo(sources.at(0).path).baseName() + ".webp";
        const QString replaced = out + "/" + QFileInfo(sources.at(1).path).baseName() + ".webp";
        // Marks that only a new write removes.
        for (const QString &path : {kept, replaced}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::Append));
            file.write("MARK");
        }

        pressConvert();
        OverwriteFileDialog *dialog = toplevels::waitFor<OverwriteFileDialog>();
        QVERIFY(dialog);
        auto *tree = dialog->findChild<QTreeWidget *>("treeWidget");
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = tree->topLevelItem(i);
            item->setCheckState(0, item->text(0) == replaced ? Qt::Checked : Qt::Unchecked);
        }
        QTest::mouseClick(dialog->findChild<QPushButton *>("overwriteButton"), Qt::LeftButton);

        QMessageBox *box = toplevels::completionBox();
        QVERIFY(box);
        box->button(QMessageBox::Ok)->click();
        verifyBackAtTheList();
        QVERIFY(kxtest::readFile(kept).endsWith("MARK"));
        QVERIFY(!kxtest::readFile(replaced).endsWith("MARK"));
        QCOMPARE(QImageReader(replaced).size(), sources.at(1).size);
    }

    void corruptSourceIsReportedAndWritesNothing()
    {
        const QString brokenFolder = tmp.path() + "/broken";
        QVERIFY(QDir().mkpath(brokenFolder));
        const QString broken =
            kxtest::writeFile(brokenFolder + "/broken.png", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(200, 'x'));
        QVERIFY(!broken.isEmpty());

        form->on_AddURLs({QUrl::fromLocalFile(broken)});
        QTRY_COMPARE_WITH_TIMEOUT(listModel()->rowCount(), int(sources.size()) + 1, 10000);
        // Marked in the list as soon as its thumbnail fails.
        QTRY_COMPARE_WITH_TIMEOUT(listModel()->item(rowOfSource(broken), 0)->toolTip(), QString("Cannot be read"),
                                  10000);
        QVERIFY(listModel()->item(rowOfSource(broken), 0)->text().contains("\nCannot be read\n"));

        const QString out = newOutputFolder("with-broken");
        chooseTarget(TargetPng);
        typeInto("outputFolderLineEdit", out);
        pressConvert();

        QMessageBox *box = toplevels::completionBox();
        QVERIFY(box);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->text(), QStringLiteral("1 of %1 files could not be converted.").arg(sources.size() + 1));
        QVERIFY(box->detailedText().startsWith(broken + ": "));
        QVERIFY(toplevels::buttonWithText(box, "Open Folder"));
        box->button(QMessageBox::Ok)->click();
        verifyBackAtTheList();

        QVERIFY(!QFileInfo::exists(out + "/broken.png"));
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), int(sources.size()));

        // Again into the same folder: declining to overwrite still reports the
        // source that failed in this pass.
        const QMap<QString, QByteArray> before = folderDigests(out);
        pressConvert();
        OverwriteFileDialog *dialog = toplevels::waitFor<OverwriteFileDialog>();
        QVERIFY(dialog);
        QCOMPARE(dialog->findChild<QTreeWidget *>("treeWidget")->topLevelItemCount(), int(sources.size()));
        QTest::mouseClick(dialog->findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
        box = toplevels::completionBox();
        QVERIFY(box);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->text(), QStringLiteral("1 of %1 files could not be converted.").arg(sources.size() + 1));
        box->button(QMessageBox::Ok)->click();
        verifyBackAtTheList();
        QCOMPARE(folderDigests(out), before);

        // The user takes the broken entry out again.
        clickRow(rowOfSource(broken));
        QTest::mouseClick(control<QAbstractButton>("removeButton"), Qt::LeftButton);
        QCOMPARE(listModel()->rowCount(), int(sources.size()));
        QCOMPARE(rowOfSource(broken), -1);
    }

    void clearThenAddTheSameFolderAgain()
    {
        QTest::mouseClick(control<QAbstractButton>("clearButton"), Qt::LeftButton);
        QCOMPARE(listModel()->rowCount(), 0);
        QCOMPARE(listPageIndex(), 1);
        QVERIFY(!control("convertButton")->isEnabled());
        QVERIFY(!control<ConvertImagePreviewLabel>("previewImage")->hasImage);

        // Cleared paths are no longer duplicates.
        form->on_AddURLs({QUrl::fromLocalFile(picturesFolder)});
        QTRY_COMPARE_WITH_TIMEOUT(listModel()->rowCount(), int(sources.size()), 10000);
        QTRY_COMPARE(listPageIndex(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(control<ConvertImagePreviewLabel>("previewImage")->hasImage, 10000);
    }

    void closingDuringARunClosesWhenItEnds()
    {
        // Previews were cached during the session; the first close removes them.
        const QString thumbnails = thumbnailFolder();
        QVERIFY(!QDir(thumbnails).entryList({"*.webp"}, QDir::Files).isEmpty());

        const QString out = newOutputFolder("closing");
        chooseTarget(TargetAvif);
        typeInto("outputFolderLineEdit", out);
        pressConvert();
        QVERIFY(form->conversionBusy);

        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QVERIFY(window->findChild<RemoveThumbnailsDialog *>());

        // Nothing to answer: the run stops after its current file and the
        // window closes by itself once the run and the clean-up are over.
        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 20000);
        QVERIFY(!form->conversionBusy);
        QVERIFY(!toplevels::completionBox(100));
        QVERIFY(!thumbnailCleanupPending());
        QCOMPARE(QDir(thumbnails).entryList({"*.webp"}, QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"

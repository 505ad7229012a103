// The whole program driven as a user drives it: a folder of pictures of every
// accepted type goes into the list, a picture is previewed, and the list is
// converted to every target through the real controls and dialogs.

#include <QAbstractButton>
#include <QComboBox>
#include <QDataStream>
#include <QFileDialog>
#include <QImageReader>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTreeView>
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
#include "previewdialog.h"
#include "singleinstance.h"
#include "targetformats.h"

class TestEndToEnd : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir tmp;
    QString picturesFolder;
    QMap<QString, QSize> sources; // path and size of each picture
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
    }

    // Chooses the target and the output folder, and presses Convert.
    void convertInto(int target, const QString &out)
    {
        control<QComboBox>("targetComboBox")->setCurrentIndex(target);
        typeInto("outputFolderLineEdit", out);
        QDir().mkpath(out);
        QTest::mouseClick(control<QAbstractButton>("convertButton"), Qt::LeftButton);
    }

    // Answers the completion box; the form is back at its list, no run left over.
    void finishRun(QMessageBox::Icon icon, const QString &text)
    {
        QMessageBox *box = toplevels::completionBox();
        QVERIFY(box);
        QCOMPARE(box->icon(), icon);
        if (!text.isEmpty())
            QCOMPARE(box->text(), text);
        // Behind the box, the page's heading no longer says the run goes on.
        const auto *heading = form->findChild<ConvertProgressForm *>()->findChild<QLabel *>("label");
        QVERIFY2(!heading->text().contains("in progress"), qPrintable(heading->text()));
        box->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!form->conversionBusy);
        QTRY_VERIFY(!form->findChild<ConvertProgressForm *>());
        QCOMPARE(listPageIndex(), 0);
        QVERIFY(control("tabWidget")->isVisible());
        QVERIFY(control("convertButton")->isEnabled());
    }

    void clickSource(const QString &path)
    {
        auto *view = control<QTreeView>("sourceTreeView");
        const QModelIndex index =
            form->fileListModel()->findItems(path, Qt::MatchExactly, 1).first()->index().siblingAtColumn(0);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        kxtest::clearSettingsStore();

        // One picture per accepted type, each of its own size, two of them in a
        // sub-folder, and a file of another kind that the walk skips.
        picturesFolder = tmp.path() + "/pictures";
        QVERIFY(QDir().mkpath(picturesFolder + "/sub"));
        const QStringList types = {"gif", "heif", "heic", "avif", "jxl", "jpg", "png", "tif", "webp", "jpeg", "tiff"};
        for (int i = 0; i < types.size(); ++i) {
            const QString &type = types.at(i);
            const QSize size(96 + 8 * i, 64 + 4 * i);
            const QString path = (i < 9 ? picturesFolder : picturesFolder + "/sub") + "/photo_" + type + "." + type;
            const QImage image = kxtest::makePhotoLikeImage(size.width(), size.height());
            // Qt reads GIF but never writes it; the program's own writer does.
            QVERIFY2(type == "gif" ? writeGif(image, path) : QImageWriter(path).write(image), qPrintable(path));
            sources.insert(path, size);
        }
        QVERIFY(!kxtest::writeFile(picturesFolder + "/readme.txt", "not a picture").isEmpty());

        window = new MainWindow;
        form = window->form;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    void cleanupTestCase() { delete window; }

    // Both picture dialogs list every type the program reads.
    void fileDialogsOfferEveryAcceptedType()
    {
        for (const char *button : {"addFilesButton", "imageSelectButton"}) {
            QStringList filters;
            kxtest::whenModalShown<QFileDialog>([&](QFileDialog *dialog) {
                filters = dialog->nameFilters();
                dialog->reject();
            });
            control<QAbstractButton>(button)->click();
            QCOMPARE(filters.size(), 1);
            // "Image Files (*.a *.b)": the patterns between the brackets.
            const QStringList patterns = filters.first().section('(', 1).chopped(1).split(' ');
            QVERIFY2(QDir(picturesFolder).entryList(patterns, QDir::Files).size() == 9, button);
            QVERIFY2(QDir(picturesFolder + "/sub").entryList(patterns, QDir::Files).size() == 2, button);
        }
    }

    void addFolderFillsTheList()
    {
        QCOMPARE(listPageIndex(), 1);
        form->on_AddURLs({QUrl::fromLocalFile(picturesFolder)});
        QTRY_COMPARE_WITH_TIMEOUT(form->fileListModel()->rowCount(), int(sources.size()), 10000);
        QTRY_COMPARE(listPageIndex(), 0);
    }

    void selectingAnEntryPreviewsIt()
    {
        auto *preview = control<ConvertImagePreviewLabel>("previewImage");
        // The batch's last entry is previewed on its own first.
        QTRY_VERIFY_WITH_TIMEOUT(preview->hasImage, 10000);
        for (const QString &path : {sources.keys().at(3), sources.firstKey()}) {
            clickSource(path);
            // Pictures smaller than the label are shown at their own size.
            QTRY_COMPARE_WITH_TIMEOUT(preview->pixmap().size(), sources.value(path), 10000);
        }
        // Escape and the close button both hide the full preview; a double-click opens it again.
        int opened = 0;
        for (int i = 0; i < 3; ++i) {
            kxtest::whenModalShown<PreviewDialog>([&opened](PreviewDialog *dialog) {
                if (++opened % 2)
                    QTest::keyClick(dialog, Qt::Key_Escape);
                else
                    dialog->close();
            });
            QTest::mouseDClick(preview, Qt::LeftButton);
        }
        QCOMPARE(opened, 3);
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
        const ImageFormat &format = targetFormatAt(target);
        const QString out = tmp.path() + "/out-" + format.extensions.first();
        const bool pdf = target == TargetPdf;
        control<QComboBox>("targetComboBox")->setCurrentIndex(target);
        if (pdf)
            typeInto("pdfFilenameLineEdit", "album");
        QCOMPARE(!control("pdfGroupBox")->isHidden(), pdf);
        const bool lossy = QList<int>{TargetAvif, TargetHeic, TargetHeif, TargetJpg, TargetJpegXl, TargetWebp}.contains(target);
        QCOMPARE(!control("qualitySpinBox")->isHidden(), lossy);

        convertInto(target, out);
        QVERIFY(control("tabWidget")->isHidden());
        // The list and the toolbar rest until the run ends.
        for (const char *name : {"sourceTreeView", "addFilesButton", "addFolderButton", "clearButton", "convertButton"})
            QVERIFY2(!control(name)->isEnabled(), name);
        QCOMPARE(listPageIndex(), 2);
        finishRun(QMessageBox::Information, "The conversion processes are completed.");
        if (pdf) {
            QCOMPARE(QDir(out).entryList(QDir::Files), QStringList{"album.pdf"});
            const QList<kxtest::PdfPage> pages = kxtest::pdfPages(out + "/album.pdf");
            QCOMPARE(pages.size(), int(sources.size()));
            for (const kxtest::PdfPage &page : pages)
                QVERIFY(!page.drawn.isNull());
            return;
        }
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), int(sources.size()));
        for (const auto &[path, size] : sources.asKeyValueRange())
            QCOMPARE(QImageReader(out + "/" + QFileInfo(path).baseName() + format.targetExtension()).read().size(), size);
    }

    void corruptSourceIsReportedAndWritesNothing()
    {
        QVERIFY(QDir().mkpath(tmp.path() + "/broken"));
        const QString broken = kxtest::writeFile(tmp.path() + "/broken/broken.png",
                                                 QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(200, 'x'));
        form->on_AddURLs({QUrl::fromLocalFile(broken)});
        QTRY_COMPARE_WITH_TIMEOUT(form->fileListModel()->rowCount(), int(sources.size()) + 1, 10000);

        const QString out = tmp.path() + "/out-with-broken";
        const QString failed = QStringLiteral("1 of %1 files could not be converted.").arg(sources.size() + 1);
        convertInto(TargetPng, out);
        // A file handed over during the run waits for its end: the run's page
        // and report stay whole, and the run converts only what it started with.
        const QString late = kxtest::photoFile(tmp.path() + "/broken", "late.png");
        form->on_AddURLs({QUrl::fromLocalFile(late)});
        QVERIFY(toplevels::completionBox()->detailedText().startsWith(broken + ": "));
        QCOMPARE(form->fileListModel()->rowCount(), int(sources.size()) + 1);
        finishRun(QMessageBox::Warning, failed);
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), int(sources.size()));
        QTRY_COMPARE_WITH_TIMEOUT(form->fileListModel()->rowCount(), int(sources.size()) + 2, 10000);
    }

    // A second start hands its files (relative ones of its own folder) to the
    // running window, brings it to the front and ends; a socket left behind
    // by a crashed window does not stop the window from listening.
    void secondStartHandsItsFilesToTheWindow()
    {
        const QString handed = tmp.path() + "/handed";
        QVERIFY(QDir().mkpath(handed));
        const QStringList files = {kxtest::photoFile(handed, "first.png"), kxtest::photoFile(handed, "second.jpg")};
        QVERIFY(!kxtest::writeFile(SingleInstance::serverName(), "left by a crash").isEmpty());
        SingleInstance instance;
        QVERIFY(!instance.handOverOrListen({}));
        connect(&instance, &SingleInstance::filesReceived, window, &MainWindow::openFiles);
        window->showMinimized();
        const int rows = form->fileListModel()->rowCount();

        QProcess second;
        second.setWorkingDirectory(handed);
        second.start(KX_WINDOW_BINARY, {"first.png", files.at(1)});
        // The window answers from this event loop: no blocking wait.
        QVERIFY(kxtest::waitUntil([&] { return second.state() == QProcess::NotRunning; }, 20000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(form->fileListModel()->rowCount(), rows + 2, 10000);
        for (const QString &file : files)
            QVERIFY2(!form->fileListModel()->findItems(file, Qt::MatchExactly, 1).isEmpty(), qPrintable(file));
        QVERIFY(!window->isMinimized());

        // A message declaring billions of paths is refused unread, not allocated for.
        QLocalSocket hostile;
        hostile.connectToServer(SingleInstance::serverName());
        QVERIFY(hostile.waitForConnected(5000));
        QDataStream(&hostile) << quint32(0x7fffffff) << quint32(8);
        QVERIFY(hostile.waitForBytesWritten(5000));
        QTRY_COMPARE_WITH_TIMEOUT(hostile.state(), QLocalSocket::UnconnectedState, 10000);
    }

    void clearThenAddTheSameFolderAgain()
    {
        QTest::mouseClick(control<QAbstractButton>("clearButton"), Qt::LeftButton);
        QCOMPARE(listPageIndex(), 1);
        // Cleared paths are no longer duplicates.
        form->on_AddURLs({QUrl::fromLocalFile(picturesFolder)});
        QTRY_COMPARE_WITH_TIMEOUT(form->fileListModel()->rowCount(), int(sources.size()), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(control<ConvertImagePreviewLabel>("previewImage")->hasImage, 10000);
    }

    void closingDuringARunClosesWhenItEnds()
    {
        convertInto(TargetAvif, tmp.path() + "/out-closing");
        QVERIFY(!window->close());
        // Nothing to answer: the run stops after its current file and the
        // window closes by itself once the run and the first close's clean-up
        // (tested in tst_mainwindow) are over.
        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 20000);
        QVERIFY(!toplevels::completionBox(100));
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"

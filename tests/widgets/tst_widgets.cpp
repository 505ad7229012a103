#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "aboutdialog.h"
#include "cocoacode.h"
#include "kxcolorwidget.h"
#include "kxdialogs.h"
#include "kxtest.h"

namespace {

// Delivers one mouse press straight to the widget.
void press(QWidget *widget, Qt::MouseButton button)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent event(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    // The swatch starts white; only a left press opens the dialog, and every
    // accepted colour is reported, the one already shown included.
    void colorWidgetPick_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QColor>("chosen"); // invalid: the dialog is cancelled
        QTest::addColumn<bool>("reported");
        QTest::addColumn<QColor>("after");
        QTest::newRow("right click") << Qt::RightButton << QColor(10, 200, 30) << false << QColor(Qt::white);
        QTest::newRow("new colour") << Qt::LeftButton << QColor(10, 200, 30) << true << QColor(10, 200, 30);
        QTest::newRow("same colour") << Qt::LeftButton << QColor(Qt::white) << true << QColor(Qt::white);
        QTest::newRow("cancelled") << Qt::LeftButton << QColor() << false << QColor(Qt::white);
    }

    void colorWidgetPick()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QColor, chosen);
        QFETCH(bool, reported);
        QFETCH(QColor, after);
        KXColorWidget swatch;
        swatch.resize(24, 24);
        QSignalSpy updated(&swatch, &KXColorWidget::colorUpdated);
        bool dialogOpened = false;
        // A dialog runs modally inside the press; the answer comes from a timer.
        QPointer<QTimer> watcher = kxtest::whenModalShown<QColorDialog>([&](QColorDialog *dialog) {
            dialogOpened = true;
            if (!chosen.isValid()) {
                dialog->setCurrentColor(Qt::red);
                dialog->reject();
                return;
            }
            dialog->setCurrentColor(chosen);
            dialog->accept();
        });
        press(&swatch, button);
        delete watcher.data();
        QCOMPARE(dialogOpened, button == Qt::LeftButton);
        QCOMPARE(updated.count(), reported ? 1 : 0);
        if (reported)
            QCOMPARE(updated.at(0).at(0).value<QColor>(), chosen);
        QCOMPARE(swatch.color, after);
    }

    void colorWidgetPaintsSwatchInRedFrame()
    {
        KXColorWidget swatch;
        swatch.resize(24, 24);
        swatch.color = QColor(0, 0, 255);
        const QImage picture = swatch.grab().toImage();
        QCOMPARE(picture.pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(picture.pixelColor(23, 23), QColor(Qt::red));
        QCOMPARE(picture.pixelColor(12, 12), QColor(0, 0, 255));
    }

    void folderChooserReportsEmptyPathOnCancel()
    {
        CocoaCode chooser;
        QSignalSpy selected(&chooser, &CocoaCode::folderSelected);
        QString title;
        kxtest::whenModalShown<QFileDialog>([&](QFileDialog *dialog) {
            title = dialog->windowTitle();
            dialog->reject();
        });
        chooser.selectFolder();
        QCOMPARE(title, QStringLiteral("Select folder ..."));
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.at(0).at(0).toString(), QString());
    }

    void folderChooserReportsChosenFolder()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        CocoaCode chooser;
        QSignalSpy selected(&chooser, &CocoaCode::folderSelected);
        kxtest::whenModalShown<QFileDialog>([&](QFileDialog *dialog) {
            QVERIFY(dialog->testOption(QFileDialog::ShowDirsOnly));
            QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
            dialog->setDirectory(folder.path());
            dialog->selectFile(folder.path());
            QMetaObject::invokeMethod(dialog, "accept");
        });
        chooser.selectFolder();
        QCOMPARE(selected.count(), 1);
        QCOMPARE(QDir(selected.at(0).at(0).toString()), QDir(folder.path()));
    }

    void aboutBoxShowsVersion()
    {
        AboutDialog about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About"));
        auto *version = about.findChild<QLabel *>(QStringLiteral("versionLabel"));
        QVERIFY(version);
        QCOMPARE(version->text(), QStringLiteral("Version: 4.1.2"));
        auto *logo = about.findChild<QLabel *>(QStringLiteral("label_4"));
        QVERIFY(logo);
        QVERIFY(!logo->pixmap().isNull());
        auto *web = about.findChild<QLabel *>(QStringLiteral("webLabel"));
        QVERIFY(web->openExternalLinks());
        QVERIFY(web->text().contains(AboutDialog::websiteAddress()));
    }

    void aboutBoxCloseButtonEndsAndDeletesIt()
    {
        QPointer<AboutDialog> about = new AboutDialog;
        auto *close = about->findChild<QPushButton *>(QStringLiteral("closeButton"));
        QVERIFY(close);
        QTimer::singleShot(0, close, &QPushButton::click);
        about->exec();
        QTRY_VERIFY(about.isNull());
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"

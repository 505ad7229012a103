#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include "convertimageform.h"
#include "kxtest.h"
#include "mainwindow.h"
#include "kxdialogs.h"
#include "presets.h"
#include "presetsdialog.h"
#include "removethumbnailsdialog.h"
#include "targetformats.h"
#include "thumbnailcache.h"
#include "watchdialog.h"
#include "watchsession.h"
#include "windowgeometry.h"

using Stored = std::optional<quint32>;
Q_DECLARE_METATYPE(Stored)

namespace {

QStringList debugLines;
QtMessageHandler testLog = nullptr;

QSettings geometryStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kestrix Picturist"));
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    void init()
    {
        QApplication::setPalette(QApplication::style()->standardPalette());
        setThumbnailCleanupPending(false);
        kxtest::clearSettingsStore();
        geometryStore().clear();
    }

    // The first close runs the thumbnail clean-up once, however often it is
    // asked for; later closes go straight through.
    void firstCloseCleansUpOnce()
    {
        const QString thumbnail = kxtest::writeFile(thumbnailFolder() + "0.webp", "webp");
        setThumbnailCleanupPending(true);
        for (const bool first : {true, false}) {
            MainWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.close(), !first);
            QCOMPARE(window.close(), !first);
            QCOMPARE(window.findChildren<RemoveThumbnailsDialog *>().size(), first ? 1 : 0);
            QTRY_VERIFY(!window.isVisible());
        }
        QVERIFY(!QFileInfo::exists(thumbnail));
    }

    // The rule that places a restored window on the screen's available area.
    void restoredGeometry_data()
    {
        QTest::addColumn<Stored>("x");
        QTest::addColumn<Stored>("y");
        QTest::addColumn<Stored>("width");
        QTest::addColumn<Stored>("height");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("expected");
        const Stored none;
        const auto v = [](qint64 value) { return Stored(quint32(value)); };
        const auto row = [](const char *name, Stored x, Stored y, Stored w, Stored h, const QRect &expected,
                            const QRect &screen = QRect(0, 0, 1920, 1080)) {
            QTest::newRow(name) << x << y << w << h << screen << expected;
        };
        // Both sides go through one rule: each row takes a different branch on each.
        row("nothing stored", none, none, none, none, QRect(100, 100, 1280, 860));
        row("stored values fit", v(50), v(60), v(1200), v(700), QRect(50, 60, 1200, 700));
        row("narrow width grows, height cut to the screen", v(10), v(10), v(500), v(1500), QRect(10, 0, 986, 1080));
        row("right edge moves left, y below 0", v(1000), v(-300), v(1200), v(600), QRect(720, 100, 1200, 600));
        row("grown width moves left", v(1500), v(0), v(300), v(600), QRect(934, 0, 986, 600));
        row("screen smaller than the first size", none, none, none, none, QRect(0, 0, 800, 600), QRect(0, 0, 800, 600));
        const QRect panels(64, 32, 1856, 1048); // panels at the left and the top
        row("above and left of the area", v(10), v(0), v(1000), v(600), QRect(64, 32, 1000, 600), panels);
        row("past the area's far edges", v(1800), v(900), v(1000), v(600), QRect(920, 480, 1000, 600), panels);
    }

    void restoredGeometry()
    {
        QFETCH(Stored, x);
        QFETCH(Stored, y);
        QFETCH(Stored, width);
        QFETCH(Stored, height);
        QFETCH(QRect, screen);
        QFETCH(QRect, expected);
        QCOMPARE(restoredWindowGeometry({x, y, width, height}, screen), expected);
    }

    // The stored geometry and settings column width come back with their
    // clamps; closing stores the new ones.
    void geometryIsRestoredAndStored()
    {
        QSettings store = geometryStore();
        const QStringList keys{"posX", "posY", "width", "height", "settingsWidth"};
        for (int i = 0; i < keys.size(); ++i)
            store.setValue(keys.at(i), QList<int>({5, 7, 500, 400, 520}).at(i));
        MainWindow window;
        // Moved left onto the 800-pixel-wide test screen.
        QCOMPARE(window.geometry(), QRect(0, 7, 986, 513));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.form->settingsColumnWidth(), 520);
        window.setGeometry(30, 40, 1000, 600);
        window.form->setSettingsColumnWidth(480);
        const QRect geometry = window.geometry();
        QVERIFY(window.close());
        QList<int> closed;
        for (const QString &key : keys)
            closed << store.value(key).toInt();
        QCOMPARE(closed, QList<int>({geometry.x(), geometry.y(), geometry.width(), geometry.height(), 480}));
    }

    // The first size shows every settings tab label and the PDF options whole.
    // A taller window gives its height to the list and the preview's area
    // (the picture stays centred in it); the toolbar stays one row.
    void firstSizeShowsTheSettings()
    {
        MainWindow window;
        window.resize(firstWindowWidth, firstWindowHeight);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto *tabs = window.form->findChild<QTabWidget *>("tabWidget");
        QVERIFY(tabs->tabBar()->tabRect(tabs->count() - 1).right() < tabs->tabBar()->width());
        const auto *output = window.form->findChild<QScrollArea *>("outputScrollArea");
        QVERIFY(output->widget()->minimumSizeHint().height() <= output->viewport()->height());

        const auto heights = [&window] {
            QList<int> result;
            for (const char *name : {"toolbarWidget", "sourceColumnWidget", "previewImage"})
                result << window.form->findChild<QWidget *>(name)->geometry().center().y();
            result << window.form->findChild<QWidget *>("toolbarWidget")->height();
            return result;
        };
        const QList<int> first = heights();
        QVERIFY(first.last() < 2 * window.form->findChild<QWidget *>("convertButton")->height());
        window.resize(firstWindowWidth, firstWindowHeight + 180);
        QTRY_COMPARE(heights(), QList<int>({first.at(0), first.at(1) + 90, first.at(2) + 90, first.at(3)}));
    }

    // Files and folders named on the command line go in as if dropped.
    void commandLineFilesAreAdded()
    {
        QTemporaryDir dir;
        kxtest::photoFile(dir.path(), "a.png");
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        kxtest::photoFile(dir.filePath("folder"), "b.png");
        kxtest::writeFile(dir.filePath("folder/notes.txt"), "not a picture");
        const QString current = QDir::currentPath();
        QDir::setCurrent(dir.path());
        MainWindow window;
        window.addFiles({"a.png", "folder/"});
        QDir::setCurrent(current);
        QStandardItemModel *list = window.form->fileListModel();
        QTRY_COMPARE_WITH_TIMEOUT(list->rowCount(), 2, 10000);
        QCOMPARE(QStringList({list->item(0, 1)->text(), list->item(1, 1)->text()}),
                 QStringList({dir.filePath("a.png"), dir.filePath("folder/b.png")}));
    }

    // A run's progress shows in the title until the run ends.
    void runProgressInTitle()
    {
        MainWindow window;
        emit window.form->conversionProgress(21, 50);
        QCOMPARE(window.windowTitle(), QString("42 % \u2014 Kestrix Picturist"));
        emit window.form->conversionProgress(50, 50);
        QCOMPARE(window.windowTitle(), QString("100 % \u2014 Kestrix Picturist"));
        emit window.form->conversionEnded();
        QCOMPARE(window.windowTitle(), QString("Kestrix Picturist"));
    }

    // A preview worker, alone or with a run, keeps the window open until it has
    // reported (closing during a run alone: tst_endtoend).
    void busyWorkersKeepTheWindowOpen_data()
    {
        QTest::addColumn<bool>("conversion");
        QTest::newRow("preview") << false;
        QTest::newRow("preview and conversion") << true;
    }

    void busyWorkersKeepTheWindowOpen()
    {
        QFETCH(bool, conversion);
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.form->previewLoading = true;
        window.form->conversionBusy = conversion;
        QVERIFY(!window.close());
        // The geometry is stored on a refused close too.
        QVERIFY(geometryStore().contains("width"));
        // The stopped preview reports; a run still going keeps the window open.
        window.form->handleUpdatePreviewImage(QImage());
        QCOMPARE(window.isVisible(), conversion);
        QVERIFY(window.form->isVisibleTo(&window));
        if (conversion) {
            window.form->conversionBusy = false;
            emit window.form->closeApp();
        }
        QVERIFY(!window.isVisible());
    }

    // The window shows a running watch; a close while a folder is watched
    // asks first, then waits for the watch to stop and goes through by itself.
    void closingWhileWatching()
    {
        QTemporaryDir tmp;
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (QAction *action : window.findChildren<QAction *>())
            if (action->text() == "&Watch folder\u2026")
                action->trigger();
        auto *dialog = window.findChild<WatchDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        const QList<QLineEdit *> folders = dialog->findChildren<QLineEdit *>(); // watched, output
        folders.at(0)->setText(tmp.path());
        folders.at(1)->setText(tmp.filePath("out"));
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            if (button->text() == "Start")
                button->click();
        QVERIFY(dialog->isWatching());
        dialog->hide();
        auto *label = window.findChild<QLabel *>("watchLabel");
        QVERIFY(label && label->text().contains(QDir::toNativeSeparators(tmp.path())));
        QTRY_VERIFY(label->isVisibleTo(&window)); // the status bar comes with the first watch
        for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
            QTimer::singleShot(0, this, [answer] {
                for (QWidget *widget : QApplication::topLevelWidgets())
                    if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
                        box->button(answer)->click();
            });
            QVERIFY(!window.close());
            if (answer == QMessageBox::No) { // the watch goes on, and so does the window
                QTest::qWait(500);
                QVERIFY(window.isVisible() && dialog->isWatching());
            }
        }
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(!dialog->isWatching());
    }

    // Each theme's pictures; the window passes a theme change on to the form.
    void themePictures_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("picture");
        QTest::newRow("light convert off") << false << "convertButton" << "ConvertGray24";
        QTest::newRow("dark add") << true << "addFilesButton" << "AddFileWhite24";
        QTest::newRow("dark drop logo") << true << "label_2" << "DropLogoWhite";
    }

    void themePictures()
    {
        QFETCH(bool, dark);
        QFETCH(QString, control);
        QFETCH(QString, picture);
        MainWindow window;
        if (dark) {
            QPalette palette;
            palette.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
            palette.setColor(QPalette::WindowText, Qt::white);
            QApplication::setPalette(palette);
            QEvent themeChange(QEvent::ThemeChange);
            QApplication::sendEvent(&window, &themeChange);
        }
        // As on screen: Convert is off while the list is empty.
        QWidget *widget = window.form->findChild<QWidget *>(control);
        auto *button = qobject_cast<QAbstractButton *>(widget);
        const QIcon::Mode mode = button && button->isEnabled() ? QIcon::Normal : QIcon::Disabled;
        const QImage shown = button ? button->icon().pixmap(24, 24, mode).toImage()
                                    : qobject_cast<QLabel *>(widget)->pixmap().toImage();
        QVERIFY(!shown.isNull());
        const QImage expected = QImage(":/resources/images/" + picture + ".png").scaled(shown.size());
        QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
    }

    // A start with nothing stored and its close print nothing: the store's
    // lines are off unless their logging category is turned on.
    void quietStartAndClose()
    {
        debugLines.clear();
        testLog = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            if (type == QtDebugMsg)
                debugLines << text;
            else
                testLog(type, context, text);
        });
        {
            MainWindow window;
            window.close();
        }
        qInstallMessageHandler(testLog);
        QCOMPARE(debugLines.join('\n'), QString());
    }

    // Alt+P opens the Presets menu from anywhere, also from the target's
    // list, and changes nothing else.
    void altPOpensThePresets()
    {
        MainWindow window;
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *target = window.form->findChild<QComboBox *>("targetComboBox");
        target->setCurrentIndex(TargetWebp);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_P, Qt::AltModifier);
        QMenu *presets = nullptr;
        for (QAction *action : window.menuBar()->actions()) {
            if (action->text() == "&Presets")
                presets = action->menu();
        }
        QTRY_VERIFY(presets && presets->isVisible());
        presets->close();
        QCOMPARE(target->currentIndex(), int(TargetWebp));
    }

    // One rule for preset names: a name error keeps the dialog, an installed
    // preset's name asks first; the applied preset shows under the toolbar,
    // marked when the settings differ, and again after a restart.
    void presetNamesAndTheAppliedPreset()
    {
        const QString web = "Web: 1600 px WEBP";
        QStringList said;
        std::function<void(int)> answer = [&](int step) {
            if (step % 2 == 0) {
                kxtest::whenModalShown<QInputDialog>([&, step](QInputDialog *dialog) {
                    said << "name " + dialog->textValue();
                    dialog->setTextValue(QStringList{"a/b", web, "Mine"}.value(step / 2));
                    if (step < 4)
                        answer(step + 1);
                    dialog->accept();
                });
            } else {
                kxtest::whenModalShown<QMessageBox>([&, step](QMessageBox *box) {
                    said << box->text();
                    answer(step + 1);
                    box->button(box->button(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok)->click();
                });
            }
        };
        {
            MainWindow window;
            auto *summary = window.form->findChild<QLabel *>("runSummaryLabel");
            answer(0);
            for (QAction *menu : window.menuBar()->actions()) {
                if (menu->text() == "&Presets")
                    menu->menu()->actions().constFirst()->trigger(); // "Save as preset…"
            }
            QCOMPARE(said.size(), 5);
            QCOMPARE(said.at(2), "name a/b");
            QVERIFY2(said.at(3).contains("installed"), qPrintable(said.at(3)));
            QVERIFY(isUserPreset("Mine") && !isUserPreset(web));
            QCOMPARE(summary->text(), "Preset: Mine");
            window.form->findChild<QCheckBox *>("ignoreOrientationCheckBox")->setChecked(true);
            QCOMPARE(summary->text(), QString("Preset: Mine (changed)  \u00b7  Orientation tag ignored"));
        }
        MainWindow window;
        QCOMPARE(window.form->findChild<QLabel *>("runSummaryLabel")->text(),
                 QString("Preset: Mine (changed)  \u00b7  Orientation tag ignored"));
        QVERIFY(deletePreset("Mine", nullptr));
    }

    // Manage presets shows every name whole, applies any preset and says why
    // an installed one cannot be renamed.
    void managePresets()
    {
        PresetsDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *list = dialog.findChild<QListWidget *>();
        for (int row = 0; row < list->count(); ++row)
            QVERIFY(list->visualItemRect(list->item(row)).right() <= list->viewport()->width());
        list->setCurrentRow(0);
        QPushButton *rename = nullptr, *apply = nullptr;
        for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
            if (button->text() == "&Rename\u2026")
                rename = button;
            if (button->text() == "&Apply")
                apply = button;
        }
        QVERIFY(!rename->isEnabled() && rename->toolTip().contains("cannot be renamed"));
        QSignalSpy applied(&dialog, &PresetsDialog::applyRequested);
        apply->click();
        QCOMPARE(applied.value(0).value(0).toString(), list->item(0)->data(Qt::UserRole).toString());
    }

    // What a watched folder converts with: the window's settings or a
    // preset's, always into the chosen folder and never asking.
    void watchSettingsOfAChoice_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QByteArray>("presetFile"); // saved as the user's preset of that name
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("target"); // -1: refused
        QTest::addColumn<QString>("named");
        QTest::newRow("current settings") << "" << QByteArray() << "out" << int(TargetPng) << "";
        QTest::newRow("current settings beside the sources") << "" << QByteArray("beside") << "out" << -1
                                                              << "not beside the sources";
        QTest::newRow("installed preset") << "Web: 1600 px WEBP" << QByteArray() << "out" << int(TargetWebp) << "";
        QTest::newRow("user's preset") << "Mine" << QByteArray("[MainApp]\ntargeFileType=5\n") << "out"
                                       << int(TargetJpegXl) << "";
        QTest::newRow("preset to PDF") << "ToPdf" << QByteArray("[MainApp]\ntargeFileType=9\n") << "out" << -1
                                       << "PDF";
        QTest::newRow("misspelt key") << "Misspelt" << QByteArray("[MainApp]\nremoveLocations=true\n") << "out" << -1
                                      << "removeLocations";
        QTest::newRow("no such preset") << "Nope" << QByteArray() << "out" << -1 << "\"Nope\"";
        QTest::newRow("no output folder") << "" << QByteArray() << "" << -1 << "folder";
    }

    void watchSettingsOfAChoice()
    {
        QFETCH(QString, preset);
        QFETCH(QByteArray, presetFile);
        QFETCH(QString, output);
        QFETCH(int, target);
        QFETCH(QString, named);
        if (!preset.isEmpty() && !presetFile.isEmpty() && QDir().mkpath(presetFolder()))
            kxtest::writeFile(presetFolder() + "/" + preset + ".ini", presetFile);
        ConversionSettings current;
        current.targeFileType = TargetPng;
        current.outputBesideSource = presetFile == "beside";
        current.existingFilePolicy = ExistingAsk;
        ConversionSettings settings;
        QString error;
        QCOMPARE(watchSettings(preset, current, output, &settings, &error), target >= 0);
        QFile::remove(presetFolder() + "/" + preset + ".ini");
        if (target < 0) {
            QVERIFY2(error.contains(named), qPrintable(error));
            return;
        }
        QCOMPARE(settings.targeFileType, target);
        QCOMPARE(settings.outputFolder, output);
        QVERIFY(!settings.outputBesideSource);
        QCOMPARE(settings.existingFilePolicy, int(ExistingSkip));
    }

    // A watch stopped, or gone with its window, while a batch converts has
    // journaled exactly the files written; the next converts the rest, none twice.
    void watchEndedWhileConverting_data()
    {
        QTest::addColumn<bool>("destroyed");
        QTest::newRow("stopped") << false;
        QTest::newRow("destroyed") << true;
    }

    void watchEndedWhileConverting()
    {
        QFETCH(bool, destroyed);
        QTemporaryDir tmp;
        const QString in = tmp.filePath("in");
        const QString out = tmp.filePath("out");
        QVERIFY(QDir().mkpath(in));
        ConversionSettings settings;
        QString error;
        QVERIFY(watchSettings(QString(), ConversionSettings(), out, &settings, &error));
        int reported = 0;
        const auto count = [&reported](const ConversionFile &file) {
            QVERIFY2(file.outcome == ConversionFile::Converted, qPrintable(file.source + ": " + file.reason()));
            ++reported;
        };
        auto *first = new WatchSession(in, settings, false, 200);
        connect(first, &WatchSession::fileReported, this, count);
        QVERIFY2(first->start(&error), qPrintable(error));
        const int files = 8;
        for (int i = 0; i < files; ++i)
            kxtest::photoFile(in, QString("p%1.png").arg(i), QSize(800, 600));
        QTRY_VERIFY_WITH_TIMEOUT(reported > 0, 10000);
        if (!destroyed) {
            QSignalSpy stopped(first, &WatchSession::stopped);
            first->stop();
            QVERIFY(stopped.wait(10000));
        }
        delete first;
        const int written = int(QDir(out).entryList(QDir::Files).size());
        QCOMPARE(int(kxtest::readFile(in + "/.kestrix-watch.journal").count('\n')), written);

        reported = 0;
        WatchSession second(in, settings, false, 200);
        connect(&second, &WatchSession::fileReported, this, count);
        QVERIFY(second.start(&error));
        QTRY_COMPARE_WITH_TIMEOUT(reported, files - written, 10000);
        QCOMPARE(int(QDir(out).entryList(QDir::Files).size()), files);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

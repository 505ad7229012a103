#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QStackedLayout>
#include <QTimer>
#include <QUrl>

#include "convertimageform.h"
#include "desktopprogress.h"
#include "kxglobal.h"
#include "presets.h"
#include "presetsdialog.h"
#include "removethumbnailsdialog.h"
#include "thumbnailcache.h"
#include "watchdialog.h"
#include "windowgeometry.h"

namespace {

const QString geometryKey = QStringLiteral("Software\\Kestrix Picturist");
const QString settingsWidthName = QStringLiteral("settingsWidth");

std::optional<quint32> readGeometryValue(KXGlobal &global, const QString &name)
{
    quint32 value = 0;
    if (!global.readRegistryDword(KXGlobal::CurrentUser, geometryKey, name, &value))
        return std::nullopt;
    return value;
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);

    stackedLayout = new QStackedLayout;
    form = new ConvertImageForm(this);
    connect(form, &ConvertImageForm::closeApp, this, &MainWindow::OnCloseApp);
    auto *progress = new DesktopProgress(this);
    connect(form, &ConvertImageForm::conversionProgress, progress, &DesktopProgress::setProgress);
    connect(form, &ConvertImageForm::conversionCompleted, progress, &DesktopProgress::runCompleted);
    connect(form, &ConvertImageForm::conversionEnded, progress, &DesktopProgress::clear);
    form->show();
    stackedLayout->addWidget(form);
    ui->centralwidget->setLayout(stackedLayout);

    // Each menu has its Alt+letter, so that no such key falls through to a control.
    QMenu *settingsMenu = ui->menubar->addMenu(tr("&Settings"));
    settingsMenu->addAction(tr("&Export settings…"), this, &MainWindow::exportSettings);
    settingsMenu->addAction(tr("&Import settings…"), this, &MainWindow::importSettings);
    // Listed afresh each time: presets change in the dialog and on disk.
    presetsMenu = ui->menubar->addMenu(tr("&Presets"));
    connect(presetsMenu, &QMenu::aboutToShow, this, &MainWindow::fillPresetsMenu);
    fillPresetsMenu();
    ui->menubar->addAction(tr("&Watch folder…"), this, &MainWindow::showWatchDialog);
    restoreWindowGeometry();
}

void MainWindow::addFiles(const QStringList &paths)
{
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (!urls.isEmpty())
        form->on_AddURLs(urls);
}

void MainWindow::openFiles(const QStringList &paths)
{
    addFiles(paths);
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void MainWindow::exportSettings()
{
    // A name typed without a suffix gets ".ini", so that the import finds it.
    QFileDialog dialog(this, tr("Export settings"), QString(), tr("Settings files (*.ini);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString path = dialog.selectedFiles().value(0);
    if (!path.isEmpty() && !form->exportSettings(path))
        QMessageBox::warning(this, tr("Kestrix Picturist"), tr("The settings could not be saved to %1.").arg(path));
}

void MainWindow::importSettings()
{
    // The settings tabs are hidden while a conversion runs; so is this.
    if (form->conversionBusy)
        return;
    // Any file name: a settings file may have been saved without a suffix.
    const QString path = QFileDialog::getOpenFileName(this, tr("Import settings"), QString(),
                                                      tr("All files (*);;Settings files (*.ini *.conf)"));
    if (path.isEmpty())
        return;
    QStringList ignored;
    if (!form->importSettings(path, &ignored))
        QMessageBox::warning(this, tr("Kestrix Picturist"), tr("%1 is not a settings file.").arg(path));
    else if (!ignored.isEmpty())
        QMessageBox::information(this, tr("Kestrix Picturist"),
                                 tr("These settings in %1 were ignored:\n%2")
                                     .arg(path, ignored.join(QLatin1Char('\n'))));
}

void MainWindow::fillPresetsMenu()
{
    presetsMenu->clear();
    presetsMenu->addAction(tr("&Save as preset…"), this, &MainWindow::saveAsPreset);
    presetsMenu->addSeparator();
    for (const QString &name : presetNames()) {
        // A name's "&" is text, not a shortcut mark.
        QString label = presetDisplayName(name);
        presetsMenu->addAction(label.replace(QLatin1Char('&'), QLatin1String("&&")), this,
                               [this, name] { applyPreset(name); })
            ->setEnabled(!form->conversionBusy);
    }
    presetsMenu->addSeparator();
    presetsMenu->addAction(tr("&Manage presets…"), this, [this] {
        PresetsDialog dialog(this);
        dialog.setApplyEnabled(!form->conversionBusy);
        connect(&dialog, &PresetsDialog::applyRequested, this, &MainWindow::applyPreset);
        dialog.exec();
    });
}

void MainWindow::saveAsPreset()
{
    // Asked again, with the name as typed, until it is saved or cancelled.
    QString name;
    for (;;) {
        bool ok = false;
        name = QInputDialog::getText(this, tr("Save as preset"), tr("Preset name:"), QLineEdit::Normal, name, &ok)
                   .trimmed();
        if (!ok)
            return;
        const QString question = presetReplaceQuestion(name);
        if (!question.isEmpty()
            && QMessageBox::question(this, tr("Kestrix Picturist"), question) != QMessageBox::Yes)
            continue;
        QString error;
        if (savePreset(name, conversionSettings(), &error)) {
            form->setAppliedPreset(name);
            return;
        }
        QMessageBox::warning(this, tr("Kestrix Picturist"), error);
    }
}

void MainWindow::applyPreset(const QString &name)
{
    if (form->conversionBusy)
        return;
    const QString folder = conversionSettings().outputFolder;
    QStringList ignored;
    if (!form->importSettings(presetPath(name), &ignored)) {
        QMessageBox::warning(this, tr("Kestrix Picturist"), tr("The preset \"%1\" could not be read.").arg(name));
        return;
    }
    // A preset that names no output folder writes where the window does.
    if (conversionSettings().outputFolder.isEmpty() && !folder.isEmpty())
        form->on_FolderSelected(folder);
    form->setAppliedPreset(name);
    if (!ignored.isEmpty())
        QMessageBox::information(this, tr("Kestrix Picturist"),
                                 tr("These settings in the preset \"%1\" were ignored:\n%2")
                                     .arg(name, ignored.join(QLatin1Char('\n'))));
}

void MainWindow::showWatchDialog()
{
    if (!watchDialog) {
        watchDialog = new WatchDialog(this);
        // The status bar comes with the first watch, so the window keeps its first size until then.
        connect(watchDialog, &WatchDialog::status, this, [this](const QString &line) {
            statusBar()->showMessage(tr("Watched folder: %1").arg(line));
        });
        // The watch goes on after its dialog is closed: the window says so.
        connect(watchDialog, &WatchDialog::watchingChanged, this, [this](const QString &folder) {
            if (!watchLabel) {
                watchLabel = new QLabel(this);
                watchLabel->setObjectName(QStringLiteral("watchLabel"));
                statusBar()->addPermanentWidget(watchLabel);
            }
            watchLabel->setText(tr("Watching %1").arg(QDir::toNativeSeparators(folder)));
            watchLabel->setVisible(!folder.isEmpty());
        });
    }
    watchDialog->show();
    watchDialog->raise();
    watchDialog->activateWindow();
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::restoreWindowGeometry()
{
    QRect area(0, 0, minimumWindowWidth, minimumWindowHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    KXGlobal global;
    StoredWindowGeometry stored;
    stored.posX = readGeometryValue(global, QStringLiteral("posX"));
    stored.posY = readGeometryValue(global, QStringLiteral("posY"));
    stored.width = readGeometryValue(global, QStringLiteral("width"));
    stored.height = readGeometryValue(global, QStringLiteral("height"));
    setGeometry(restoredWindowGeometry(stored, area));
    // The settings column as the user left it.
    if (const std::optional<quint32> width = readGeometryValue(global, settingsWidthName))
        form->setSettingsColumnWidth(int(qMin<quint32>(*width, quint32(area.width()))));
}

void MainWindow::saveWindowGeometry()
{
    // Negative positions are kept as their 32-bit pattern.
    const QRect frame = geometry();
    KXGlobal global;
    global.writeRegistryDword(KXGlobal::CurrentUser, geometryKey, QStringLiteral("posX"), quint32(frame.x()));
    global.writeRegistryDword(KXGlobal::CurrentUser, geometryKey, QStringLiteral("posY"), quint32(frame.y()));
    global.writeRegistryDword(KXGlobal::CurrentUser, geometryKey, QStringLiteral("width"), quint32(frame.width()));
    global.writeRegistryDword(KXGlobal::CurrentUser, geometryKey, QStringLiteral("height"), quint32(frame.height()));
    global.writeRegistryDword(KXGlobal::CurrentUser, geometryKey, settingsWidthName,
                              quint32(form->settingsColumnWidth()));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveWindowGeometry();

    // A busy worker is asked to stop; the form closes the window again
    // (closeApp) once the worker has reported back.
    bool busy = false;
    if (form) {
        if (form->previewLoading) {
            form->requestStopForClose();
            busy = true;
        }
        if (form->conversionBusy) {
            form->requestStopForClose();
            busy = true;
        }
    }
    // A watch is ended only when the user says so; it finishes the files in
    // flight, and the window closes again when it has stopped.
    if (watchDialog && watchDialog->isWatching()
        && QMessageBox::question(this, tr("Kestrix Picturist"),
                                 tr("A folder is being watched. End the watch and close the window?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    if (watchDialog && watchDialog->isWatching()) {
        connect(watchDialog, &WatchDialog::watchStopped, this, &MainWindow::OnCloseApp,
                Qt::ConnectionType(Qt::SingleShotConnection | Qt::UniqueConnection));
        watchDialog->stopWatching();
        busy = true;
    }
    // The first close empties the thumbnail folder; the dialog closes the
    // window again when it is done. The clean-up starts from the event loop:
    // a close asked for from inside this close event would not be carried out.
    if (thumbnailCleanupPending()) {
        event->ignore();
        if (!removeThumbnailsDialog) {
            removeThumbnailsDialog = new RemoveThumbnailsDialog(this);
            connect(removeThumbnailsDialog, &RemoveThumbnailsDialog::closeApp, this, &MainWindow::OnCloseApp);
            removeThumbnailsDialog->show();
            QTimer::singleShot(0, removeThumbnailsDialog, &RemoveThumbnailsDialog::removeThumbnails);
        }
        return;
    }

    if (busy)
        event->ignore();
    else
        event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ThemeChange && form)
        form->updateTheme();
    QMainWindow::changeEvent(event);
}

void MainWindow::OnCloseApp()
{
    if (removeThumbnailsDialog)
        removeThumbnailsDialog->close();
    close();
}

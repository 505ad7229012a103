#include "watchdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTime>
#include <QVBoxLayout>

#include "presets.h"
#include "watchsession.h"

WatchDialog::WatchDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Watch folder"));
    folderEdit = new QLineEdit(this);
    presetBox = new QComboBox(this);
    outputEdit = new QLineEdit(conversionSettings().outputFolder, this);
    moveBox = new QCheckBox(tr("Move originals into done/ and failed/"), this);
    const auto withBrowse = [this](QLineEdit *edit, const QString &title) {
        auto *row = new QHBoxLayout;
        auto *button = new QPushButton(tr("Browse…"), this);
        connect(button, &QPushButton::clicked, this, [this, edit, title] { browse(edit, title); });
        row->addWidget(edit);
        row->addWidget(button);
        choices << button;
        return row;
    };
    auto *form = new QFormLayout;
    form->addRow(tr("Folder to watch:"), withBrowse(folderEdit, tr("Folder to watch")));
    form->addRow(tr("Settings:"), presetBox);
    form->addRow(tr("Output folder:"), withBrowse(outputEdit, tr("Output folder")));
    form->addRow(moveBox);
    choices << folderEdit << presetBox << outputEdit << moveBox;
    // The fields sit beside their labels in a row of their own: named for screen readers.
    folderEdit->setAccessibleName(tr("Folder to watch"));
    presetBox->setAccessibleName(tr("Settings"));
    outputEdit->setAccessibleName(tr("Output folder"));

    logView = new QPlainTextEdit(this);
    logView->setReadOnly(true);
    logView->setMaximumBlockCount(1000);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    startButton = buttons->addButton(tr("Start"), QDialogButtonBox::ActionRole);
    stopButton = buttons->addButton(tr("Stop"), QDialogButtonBox::ActionRole);
    connect(startButton, &QPushButton::clicked, this, &WatchDialog::startWatching);
    connect(stopButton, &QPushButton::clicked, this, &WatchDialog::stopWatching);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(logView, 1);
    layout->addWidget(buttons);
    resize(560, 420);
    fillPresets();
    updateControls();
}

WatchDialog::~WatchDialog()
{
    // Before the widgets go: the session journals the files in flight.
    delete session;
}

void WatchDialog::showEvent(QShowEvent *event)
{
    // Presets change in the window and on disk: listed afresh while no watch runs.
    if (!session)
        fillPresets();
    QDialog::showEvent(event);
}

void WatchDialog::fillPresets()
{
    const QString current = presetBox->currentData().toString();
    presetBox->clear();
    presetBox->addItem(tr("Current settings"), QString());
    for (const QString &name : presetNames())
        presetBox->addItem(presetDisplayName(name), name);
    presetBox->setCurrentIndex(qMax(0, presetBox->findData(current)));
}

void WatchDialog::browse(QLineEdit *edit, const QString &title)
{
    const QString folder = QFileDialog::getExistingDirectory(this, title, edit->text());
    if (!folder.isEmpty())
        edit->setText(QDir::toNativeSeparators(folder));
}

void WatchDialog::startWatching()
{
    if (session)
        return;
    const QString folder = QDir::fromNativeSeparators(folderEdit->text().trimmed());
    if (folder.isEmpty()) {
        log(tr("Choose the folder to watch."));
        return;
    }
    if (!QFileInfo(folder).isDir()) {
        log(tr("%1 is not a folder.").arg(folderEdit->text()));
        return;
    }
    ConversionSettings settings;
    QString error;
    // A snapshot: changing the window's settings later does not change the watch.
    if (!watchSettings(presetBox->currentData().toString(), conversionSettings(),
                       QDir::fromNativeSeparators(outputEdit->text().trimmed()), &settings, &error)) {
        log(error);
        return;
    }
    session = new WatchSession(QFileInfo(folder).absoluteFilePath(), settings, moveBox->isChecked(), 1000, this);
    connect(session, &WatchSession::fileReported, this, [this](const ConversionFile &file) {
        const QString name = QDir::toNativeSeparators(file.source);
        const QString word = file.outcome == ConversionFile::Failed    ? tr("failed")
                             : file.outcome == ConversionFile::Skipped ? tr("skipped")
                                                                       : tr("converted");
        const QString reason = file.reason();
        log(reason.isEmpty() ? tr("%1: %2").arg(name, word) : tr("%1: %2 (%3)").arg(name, word, reason));
    });
    connect(session, &WatchSession::problem, this, &WatchDialog::log);
    connect(session, &WatchSession::stopped, this, &WatchDialog::sessionStopped);
    if (!session->start(&error)) {
        delete session;
        session = nullptr;
        log(error);
        return;
    }
    stopRequested = false;
    log(tr("Watching %1.").arg(QDir::toNativeSeparators(folder)));
    updateControls();
    emit watchingChanged(folder);
}

void WatchDialog::stopWatching()
{
    if (!session || stopRequested)
        return;
    stopRequested = true;
    log(tr("Stopping after the files in progress…"));
    updateControls();
    session->stop();
}

void WatchDialog::sessionStopped()
{
    session->deleteLater();
    session = nullptr;
    log(tr("Stopped."));
    updateControls();
    emit watchingChanged(QString());
    emit watchStopped();
}

void WatchDialog::log(const QString &line)
{
    logView->appendPlainText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss  ")) + line);
    emit status(line);
}

void WatchDialog::updateControls()
{
    for (QWidget *widget : std::as_const(choices))
        widget->setEnabled(!session);
    startButton->setEnabled(!session);
    stopButton->setEnabled(session && !stopRequested);
}

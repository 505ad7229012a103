#include "presetsdialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "presets.h"

PresetsDialog::PresetsDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Manage presets"));
    list = new QListWidget(this);
    renameButton = new QPushButton(tr("Rename…"), this);
    deleteButton = new QPushButton(tr("Delete"), this);
    auto *folderButton = new QPushButton(tr("Open folder"), this);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(renameButton);
    buttons->addWidget(deleteButton);
    buttons->addWidget(folderButton);
    buttons->addStretch();
    auto *row = new QHBoxLayout;
    row->addWidget(list);
    row->addLayout(buttons);
    auto *close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(close);

    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list, &QListWidget::currentRowChanged, this, &PresetsDialog::updateButtons);
    connect(renameButton, &QPushButton::clicked, this, &PresetsDialog::renameCurrent);
    connect(deleteButton, &QPushButton::clicked, this, &PresetsDialog::deleteCurrent);
    connect(folderButton, &QPushButton::clicked, this, [] {
        QDir().mkpath(presetFolder());
        QDesktopServices::openUrl(QUrl::fromLocalFile(presetFolder()));
    });
    fillList(QString());
}

void PresetsDialog::fillList(const QString &current)
{
    list->clear();
    for (const QString &name : presetNames()) {
        auto *item = new QListWidgetItem(isUserPreset(name) ? name : tr("%1 (installed)").arg(name), list);
        item->setData(Qt::UserRole, name);
        if (name == current)
            list->setCurrentItem(item);
    }
    updateButtons();
}

void PresetsDialog::updateButtons()
{
    const QListWidgetItem *item = list->currentItem();
    const bool own = item && isUserPreset(item->data(Qt::UserRole).toString());
    renameButton->setEnabled(own);
    deleteButton->setEnabled(own);
}

void PresetsDialog::renameCurrent()
{
    const QString from = list->currentItem()->data(Qt::UserRole).toString();
    bool ok = false;
    const QString to = QInputDialog::getText(this, tr("Rename preset"), tr("New name:"), QLineEdit::Normal, from, &ok)
                           .trimmed();
    if (!ok || to == from)
        return;
    QString error;
    if (!renamePreset(from, to, &error))
        QMessageBox::warning(this, windowTitle(), error);
    fillList(error.isEmpty() ? to : from);
}

void PresetsDialog::deleteCurrent()
{
    const QString name = list->currentItem()->data(Qt::UserRole).toString();
    if (QMessageBox::question(this, windowTitle(), tr("Delete the preset \"%1\"?").arg(name)) != QMessageBox::Yes)
        return;
    QString error;
    if (!deletePreset(name, &error))
        QMessageBox::warning(this, windowTitle(), error);
    fillList(QString());
}

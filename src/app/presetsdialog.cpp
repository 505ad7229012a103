#include "presetsdialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "presets.h"

namespace {

const char *const installedRule = QT_TRANSLATE_NOOP(
    "PresetsDialog", "Installed presets cannot be renamed or deleted. A preset of yours saved under the same name "
                     "takes the place of the installed one until you delete yours.");

} // namespace

QString presetReplaceQuestion(const QString &name)
{
    if (isUserPreset(name))
        return PresetsDialog::tr("Replace the preset \"%1\"?").arg(name);
    if (isInstalledPreset(name))
        return PresetsDialog::tr("\"%1\" is an installed preset. Put yours in its place? The installed one comes "
                                 "back when you delete yours.")
            .arg(name);
    return QString();
}

PresetsDialog::PresetsDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Manage presets"));
    list = new QListWidget(this);
    applyButton = new QPushButton(tr("&Apply"), this);
    renameButton = new QPushButton(tr("&Rename…"), this);
    deleteButton = new QPushButton(tr("&Delete"), this);
    auto *folderButton = new QPushButton(tr("&Open folder"), this);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(applyButton);
    buttons->addWidget(renameButton);
    buttons->addWidget(deleteButton);
    buttons->addWidget(folderButton);
    buttons->addStretch();
    auto *row = new QHBoxLayout;
    row->addWidget(list, 1);
    row->addLayout(buttons);
    auto *rule = new QLabel(tr(installedRule), this);
    rule->setWordWrap(true);
    auto *close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(rule);
    layout->addWidget(close);

    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list, &QListWidget::currentRowChanged, this, &PresetsDialog::updateButtons);
    connect(list, &QListWidget::itemActivated, this, &PresetsDialog::applyCurrent);
    connect(applyButton, &QPushButton::clicked, this, &PresetsDialog::applyCurrent);
    connect(renameButton, &QPushButton::clicked, this, &PresetsDialog::renameCurrent);
    connect(deleteButton, &QPushButton::clicked, this, &PresetsDialog::deleteCurrent);
    connect(folderButton, &QPushButton::clicked, this, [] {
        QDir().mkpath(presetFolder());
        QDesktopServices::openUrl(QUrl::fromLocalFile(presetFolder()));
    });
    fillList(QString());
    // Every name whole, without scrolling sideways.
    list->setMinimumWidth(qMax(list->sizeHintForColumn(0) + 2 * list->frameWidth() + 24, 320));
    list->setMinimumHeight(200);
}

void PresetsDialog::setApplyEnabled(bool enabled)
{
    applyAllowed = enabled;
    updateButtons();
}

void PresetsDialog::fillList(const QString &current)
{
    list->clear();
    for (const QString &name : presetNames()) {
        const QString label = isUserPreset(name) ? name : tr("%1 (installed)").arg(presetDisplayName(name));
        auto *item = new QListWidgetItem(label, list);
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
    applyButton->setEnabled(item && applyAllowed);
    renameButton->setEnabled(own);
    deleteButton->setEnabled(own);
    // A disabled button says why.
    const QString why = item && !own ? tr(installedRule) : QString();
    renameButton->setToolTip(why);
    deleteButton->setToolTip(why);
}

void PresetsDialog::applyCurrent()
{
    if (!applyButton->isEnabled())
        return;
    emit applyRequested(list->currentItem()->data(Qt::UserRole).toString());
    accept();
}

void PresetsDialog::renameCurrent()
{
    const QString from = list->currentItem()->data(Qt::UserRole).toString();
    // Asked again, with the name as typed, until it is renamed or cancelled.
    QString to = from;
    for (;;) {
        bool ok = false;
        to = QInputDialog::getText(this, tr("Rename preset"), tr("New name:"), QLineEdit::Normal, to, &ok).trimmed();
        if (!ok || to == from)
            return;
        if (!isUserPreset(to) && isInstalledPreset(to)
            && QMessageBox::question(this, windowTitle(), presetReplaceQuestion(to)) != QMessageBox::Yes)
            continue;
        QString error;
        if (renamePreset(from, to, &error)) {
            fillList(to);
            return;
        }
        QMessageBox::warning(this, windowTitle(), error);
    }
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

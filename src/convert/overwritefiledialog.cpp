#include "overwritefiledialog.h"
#include "ui_overwritefiledialog.h"

#include <QTreeWidgetItem>

OverwriteFileDialog::OverwriteFileDialog(QWidget *parent) : QDialog(parent), ui(new Ui::OverwriteFileDialog)
{
    ui->setupUi(this);
    ui->treeWidget->setColumnWidth(0, 340);
}

OverwriteFileDialog::~OverwriteFileDialog()
{
    delete ui;
}

void OverwriteFileDialog::setFileLists(const QList<QString> &fileExistsList, const QList<QString> &fileSourceList)
{
    ui->descLabel->setText(fileExistsList.size() > 1
                               ? tr("The following files already exist. Check all files that you wish to overwrite.")
                               : tr("The following file already exist. Do you wish to overwrite it?"));
    ui->treeWidget->clear();
    const qsizetype rows = qMin(fileExistsList.size(), fileSourceList.size());
    for (qsizetype i = 0; i < rows; ++i) {
        auto *item = new QTreeWidgetItem(ui->treeWidget, {fileExistsList.at(i), fileSourceList.at(i)});
        item->setCheckState(0, Qt::Checked);
    }
}

void OverwriteFileDialog::on_overwriteButton_clicked()
{
    if (answered)
        return;
    answered = true;
    urls.clear();
    checkedRows.clear();
    for (int i = 0; i < ui->treeWidget->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = ui->treeWidget->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked) {
            urls << item->text(1);
            checkedRows << i;
        }
    }
    if (!urls.isEmpty())
        emit overwriteFiles(urls);
    else
        emit convertFinish();
    QDialog::accept();
    deleteLater();
}

void OverwriteFileDialog::on_cancelButton_clicked()
{
    reject();
}

void OverwriteFileDialog::reject()
{
    if (!answered) {
        answered = true;
        emit convertFinish();
    }
    QDialog::reject();
    deleteLater();
}

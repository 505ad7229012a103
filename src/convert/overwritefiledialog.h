#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

namespace Ui {
class OverwriteFileDialog;
}

// Lists the targets that already existed, with their sources, and lets the
// user tick those to be replaced. Whatever way it is closed, it ends with
// exactly one of its two signals.
class OverwriteFileDialog : public QDialog
{
    Q_OBJECT

public:
    explicit OverwriteFileDialog(QWidget *parent = nullptr);
    ~OverwriteFileDialog() override;

    void setFileLists(const QList<QString> &fileExistsList, const QList<QString> &fileSourceList);

    // Escape and the window's close button answer like Cancel.
    void reject() override;

    // The sources of the ticked rows, collected when Overwrite is pressed.
    QStringList urls;
    // The ticked rows themselves, in the order of the lists given.
    QList<int> checkedRows;

signals:
    void overwriteFiles(QStringList urls);
    void convertFinish();

public slots:
    void on_cancelButton_clicked();
    void on_overwriteButton_clicked();

private:
    Ui::OverwriteFileDialog *ui;
    bool answered = false;
};

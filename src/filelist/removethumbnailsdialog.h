#pragma once

#include <QDialog>

namespace Ui {
class RemoveThumbnailsDialog;
}

// Shown at the first close of the main window: deletes the cached pictures in
// the thumbnail folder (sub-folders stay), then asks the window to close again.
class RemoveThumbnailsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit RemoveThumbnailsDialog(QWidget *parent = nullptr);
    ~RemoveThumbnailsDialog() override;

    // Runs on the GUI thread; pending events are handled between files so the
    // dialog stays painted and Cancel takes effect.
    void removeThumbnails();

signals:
    void closeApp();

private slots:
    void on_cancelButton_clicked();

private:
    Ui::RemoveThumbnailsDialog *ui;
    bool cancelled = false;
    bool running = false;
};

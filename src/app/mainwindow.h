#pragma once

#include <QMainWindow>
#include <QStringList>

class QLabel;

class ConvertImageForm;
class QMenu;
class QStackedLayout;
class RemoveThumbnailsDialog;
class WatchDialog;

namespace Ui {
class MainWindow;
}

// The program's only top-level window. It hosts the main form, keeps its
// geometry between runs and refuses to close while the form has a worker busy.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    ConvertImageForm *form = nullptr;

    // Files and folders named on the command line, taken like a drop;
    // relative paths are of the current folder.
    void addFiles(const QStringList &paths);

public slots:
    void OnCloseApp();
    // Files handed over by a later start: added, and the window brought to the front.
    void openFiles(const QStringList &paths);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void exportSettings();
    void importSettings();
    void fillPresetsMenu();
    void saveAsPreset();
    void applyPreset(const QString &name);
    void showWatchDialog();
    void restoreWindowGeometry();
    void saveWindowGeometry();

    Ui::MainWindow *ui;
    QStackedLayout *stackedLayout = nullptr;
    QMenu *presetsMenu = nullptr;
    RemoveThumbnailsDialog *removeThumbnailsDialog = nullptr;
    WatchDialog *watchDialog = nullptr;
    // Shown in the status bar while a folder is watched.
    QLabel *watchLabel = nullptr;
};

#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class WatchSession;

// "Watch folder…": converts what lands in a folder with the window's settings
// or a preset, until stopped. Closing the dialog hides it; the watch goes on
// and the window's status bar tells of each file.
class WatchDialog : public QDialog
{
    Q_OBJECT

public:
    explicit WatchDialog(QWidget *parent = nullptr);
    ~WatchDialog() override;

    bool isWatching() const { return session != nullptr; }
    // Asks the watch to stop; watchStopped() comes once the files in flight are done.
    void stopWatching();

signals:
    // A line for the window's status bar.
    void status(const QString &line);
    // The folder now watched, or empty once the watch has stopped.
    void watchingChanged(const QString &folder);
    void watchStopped();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillPresets();
    void browse(QLineEdit *edit, const QString &title);
    void startWatching();
    void sessionStopped();
    void log(const QString &line);
    void updateControls();

    QLineEdit *folderEdit = nullptr;
    QComboBox *presetBox = nullptr;
    QLineEdit *outputEdit = nullptr;
    QCheckBox *moveBox = nullptr;
    QPushButton *startButton = nullptr;
    QPushButton *stopButton = nullptr;
    QPlainTextEdit *logView = nullptr;
    QList<QWidget *> choices;
    WatchSession *session = nullptr;
    bool stopRequested = false;
};

#pragma once

#include <QObject>
#include <QString>

class QWidget;

// A run's progress where the desktop shows it outside the window: the window
// title ("42 % — Kestrix Picturist"), the launcher entry's progress bar (the
// com.canonical.Unity.LauncherEntry signal docks and task managers read), and
// a notification when a run ends in a minimised window.
class DesktopProgress : public QObject
{
    Q_OBJECT

public:
    explicit DesktopProgress(QWidget *window);

    void setProgress(int done, int total);
    // The message the run ended with: shown as a notification when no one sees the window.
    void runCompleted(const QString &message);
    // Title and launcher as before the run.
    void clear();

private:
    void sendLauncherProgress(double fraction, bool visible);

    QWidget *window;
    QString idleTitle;
};

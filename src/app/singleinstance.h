#pragma once

#include <QLockFile>
#include <QObject>
#include <QStringList>

class QLocalServer;

// One window per user and display: the first start listens on a local socket,
// later starts hand their files to it and end.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(QObject *parent = nullptr);

    // The socket's path: in the user's runtime folder, one per display.
    static QString serverName();

    // Hands the files (made absolute here, as the window's folder may differ)
    // to the running window and returns true; with none running, listens for
    // later starts and returns false. Starts racing each other (a file manager
    // starting one per file) are serialised, so only one of them listens.
    bool handOverOrListen(const QStringList &paths);

signals:
    void filesReceived(const QStringList &paths);

private:
    bool handOver(const QStringList &paths);
    void readFiles();

    QLockFile startLock;
    QLocalServer *server = nullptr;
};

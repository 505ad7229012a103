#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

#include "conversionsettings.h"

// Converts one list of sources in one pass: one file per source for image
// targets, or one PDF document with a page per source. Targets that already
// exist are set aside and reported at the end; the caller decides about them.
// Works on the settings snapshot it was created with, never on the live record.
class ConvertImagesThread : public QThread
{
    Q_OBJECT

public:
    explicit ConvertImagesThread(const ConversionSettings &settings, QObject *parent = nullptr);

    // Set by the GUI thread to cancel; the file in progress is finished first.
    std::atomic_bool stopRequested{false};
    QList<QString> _urls;
    // Output folder for image targets; the PDF pass builds its path from the settings.
    QString outputPath;
    QString targetExtension;
    bool overwriteExisting = false;

signals:
    // Before each source is looked at, skipped ones included.
    void updateFileName(QString fileName);
    // The pass ended because a stop was requested.
    void threadTerminated();
    // The pass ran to its end; the targets that already existed and their sources.
    void threadCompleted(QList<QString> fileExistsList, QList<QString> fileSourceList);
    // A source that could not be converted, with the reason; sent before the end signal.
    void fileFailed(QString fileName, QString reason);
    // The pass is done with a source (converted, failed or set aside); after
    // its fileFailed, before the end signal.
    void fileFinished(QString fileName);

protected:
    void run() override;

private:
    void runImagePass();
    void runPdfPass();
    void failAll(const QString &reason);

    QList<QString> fileExistsList;
    QList<QString> fileSourceList;
    ConversionSettings settings;
};

#pragma once

#include <QImage>
#include <QString>
#include <QThread>

#include <atomic>

#include "conversionsettings.h"

// Runs the full-quality pipeline for the full preview dialog and reports the
// result once through previewImageReady (a null image when stopped).
class LoadFullPreviewImageThread : public QThread
{
    Q_OBJECT

public:
    // settings: the options as they were when the dialog asked for the file.
    explicit LoadFullPreviewImageThread(const ConversionSettings &settings, QObject *parent = nullptr);

    QString filePath;
    // Set when the dialog goes away; the result is then not wanted.
    std::atomic_bool stop{false};

signals:
    void previewImageReady(const QImage &image);

protected:
    void run() override;

private:
    const ConversionSettings settings;
};

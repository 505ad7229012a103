#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QThread>

#include <atomic>

#include "conversionsettings.h"

// Builds one inline preview picture off the GUI thread: the fast pipeline,
// a shrink into maxSize, and a copy in the thumbnail cache. Reports exactly
// once through updatePreviewImage, with a null image when stopped or when the
// source cannot be decoded.
class LoadPreviewImageThread : public QThread
{
    Q_OBJECT

public:
    // settings: the options as they were when the request ran.
    explicit LoadPreviewImageThread(const ConversionSettings &settings, QObject *parent = nullptr);

    void createPreviewImage(const QString &path, const QSize &maxSize);

    std::atomic_bool stop{false};
    QString filePath;
    QSize maxSize;
    bool hasThumbnailPath = false;
    QString thumbnailFilePath;
    // How many pages or frames the source holds, told before the report.
    int pageCount = 1;

signals:
    void updatePreviewImage(const QImage &image);

protected:
    void run() override;

private:
    const ConversionSettings settings;
};

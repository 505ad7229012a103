#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QThread>

#include <atomic>

#include "conversionsettings.h"

// A picture in the format the screen draws without converting it: 8 bits a
// channel, premultiplied where it has transparency.
QImage displayablePicture(const QImage &image);

// The picture fitted into the full preview's area by its tighter side
// (enlarged when smaller), as the dialog shows it at first.
QImage fittedPreview(const QImage &image, const QSize &area);

// Runs the full-quality pipeline for the full preview dialog and reports the
// result once through previewImageReady (null images when stopped): the
// picture made displayable and, fitted into displaySize, the picture first
// shown. The window then only turns a picture of its own size into a pixmap.
class LoadFullPreviewImageThread : public QThread
{
    Q_OBJECT

public:
    // settings: the options as they were when the dialog asked for the file.
    explicit LoadFullPreviewImageThread(const ConversionSettings &settings, QObject *parent = nullptr);

    QString filePath;
    // The dialog's picture area when it asked.
    QSize displaySize;
    // Set when the dialog goes away; the result is then not wanted.
    std::atomic_bool stop{false};

signals:
    void previewImageReady(const QImage &image, const QImage &fitted);

protected:
    void run() override;

private:
    const ConversionSettings settings;
};

#pragma once

#include <QImage>
#include <QString>

#include "photometadata.h"

// The general writer: every image target but GIF, encoder chosen by the
// target's suffix. The quality applies only to jpg targets (-1: encoder default).
// A failure returns false, leaves no file behind and describes itself in *error.
// The metadata goes into every target that can hold it (see metadataRouteFor).
bool writeImageFile(const QImage &image, const QString &targetPath, int jpgQuality, QString *error = nullptr,
                    const PhotoMetadata &metadata = {});

// The GIF writer: one GIF89a frame through giflib.
bool writeGif(const QImage &image, const QString &targetPath, QString *error = nullptr);

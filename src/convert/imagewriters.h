#pragma once

#include <QImage>
#include <QString>

#include "conversionsettings.h"

// What the encoder of one target format is told.
struct WriteOptions
{
    int quality = -1;     // lossy targets; -1: the encoder's default
    bool lossless = false; // WEBP and JPEG XL
    int pngLevel = 3;      // zlib level 0 to 9
    int tiffCompression = TiffNoCompression;
};

// The options the settings give a target of the given extension (".webp").
WriteOptions writeOptionsFor(const ConversionSettings &settings, const QString &extension);

// The general writer: every image target but GIF, encoder chosen by the
// target's suffix. A failure returns false, leaves no file behind and
// describes itself in *error.
bool writeImageFile(const QImage &image, const QString &targetPath, const WriteOptions &options,
                    QString *error = nullptr);

// The GIF writer: one GIF89a frame through giflib.
bool writeGif(const QImage &image, const QString &targetPath, QString *error = nullptr);

#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QString>

#include "conversionsettings.h"

class QGraphicsEffect;

// Stateless image utilities: the only road from a source path to finished
// pixels. Callers create one on the stack for each call. Every operation that
// depends on options takes one consistent snapshot of them.
class ImageMagickUtil
{
    Q_DECLARE_TR_FUNCTIONS(ImageMagickUtil)

public:
    // Decodes the first frame of a regular file with its orientation applied.
    bool loadImage(QString path, QImage &image);

    // Source cache, watermarks, scaling, adjustments and grayscale, in that
    // order. A null image means that nothing could be decoded, that the scaled
    // size is empty or too large (refused before it is allocated), or that
    // memory ran out; *error then tells which, in words for the user.
    // Conversions pass useSourceCache false: they decode side by side without
    // the preview's one-entry cache and pin no picture in it.
    QImage processImage(const QString &path, bool fastPreview, const ConversionSettings &settings,
                        QString *error = nullptr, bool useSourceCache = true);

    // Contrast, brightness, gamma, sepia, inversion and blur.
    QImage applyAdjustments(const QImage &image, const ConversionSettings &settings);

    // Renders the image through a graphics effect (the Gaussian blur) into a
    // transparent ARGB32 picture enlarged by extent on every side. Takes
    // ownership of the effect.
    QImage applyEffectToImage(const QImage &source, QGraphicsEffect *effect, int extent = 0);

    // Draws the text, picture and QR-code watermarks onto a canvas of the source's size.
    void drawWatermarks(QImage &canvas, const ConversionSettings &settings);

    // The QR code of the text as a white square of the given side with one
    // module of quiet border; a null image when the text does not fit into
    // the largest symbol.
    QImage makeQrCodeImage(const QString &text, int size);
};

#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

#include "imagewriters.h"

// Writes an animated GIF or WEBP frame by frame. Frames are whole canvases of
// one size (already composited), each shown for its delay; the writer picks
// disposal/blending and frame rectangles itself (only changed areas), so the
// file plays like the sequence it was given.
class AnimationWriter
{
public:
    virtual ~AnimationWriter() = default;
    // A GIF or WEBP target (a row that animates); nullptr with *error for other targets.
    // loopCount: how many times the animation plays, 0 = forever (WEBP's own
    // count; QImageReader::loopCount() gives the repeats: -1 forever, n for
    // n + 1 plays). options: quality/lossless for WEBP.
    static std::unique_ptr<AnimationWriter> create(const QString &targetPath, const ImageFormat &format,
                                                   const WriteOptions &options, const QSize &canvas, int loopCount,
                                                   QString *error);
    // A frame of another size than the canvas is refused.
    virtual bool addFrame(const QImage &frame, int delayMs, QString *error) = 0;
    // Encodes what is left and replaces the target (through TargetFile); nothing is left behind on failure.
    virtual bool finish(QString *error) = 0;
};

// The two encoders behind create(); each refuses a canvas past its format's limits.
std::unique_ptr<AnimationWriter> createGifAnimation(const QString &targetPath, const QSize &canvas, int loopCount,
                                                    QString *error);
std::unique_ptr<AnimationWriter> createWebpAnimation(const QString &targetPath, const WriteOptions &options,
                                                     const QSize &canvas, int loopCount, QString *error);

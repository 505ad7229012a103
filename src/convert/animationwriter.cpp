#include "animationwriter.h"

#include <QCoreApplication>

namespace {

// The texts of this file, translated under one name.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(ImageWriters)
};

} // namespace

std::unique_ptr<AnimationWriter> AnimationWriter::create(const QString &targetPath, const ImageFormat &format,
                                                         const WriteOptions &options, const QSize &canvas,
                                                         int loopCount, QString *error)
{
    const auto refuse = [error](const QString &reason) {
        if (error)
            *error = reason;
        return nullptr;
    };
    if (!format.canWrite || !format.animates)
        return refuse(Texts::tr("A %1 file cannot hold an animation").arg(format.label));
    if (canvas.isEmpty())
        return refuse(Texts::tr("Image is empty"));
    // Both formats keep the count in 16 bits.
    loopCount = qBound(0, loopCount, 65535);
    if (format.writer == TargetWriter::Gif)
        return createGifAnimation(targetPath, canvas, loopCount, error);
    return createWebpAnimation(targetPath, options, canvas, loopCount, error);
}

#include "animationwriter.h"

#include <QFileInfo>

#include "formattable.h"

std::unique_ptr<AnimationWriter> AnimationWriter::create(const QString &targetPath, const WriteOptions &options,
                                                         const QSize &canvas, int loopCount, QString *error)
{
    const QString suffix = QFileInfo(targetPath).suffix().toLower();
    const auto refuse = [error](const QString &reason) {
        if (error)
            *error = reason;
        return nullptr;
    };
    if (!canAnimate(suffix))
        return refuse(QStringLiteral("A %1 file cannot hold an animation").arg(suffix.toUpper()));
    if (canvas.isEmpty())
        return refuse(QStringLiteral("Image is empty"));
    // Both formats keep the count in 16 bits.
    loopCount = qBound(0, loopCount, 65535);
    if (suffix == QLatin1String("gif"))
        return createGifAnimation(targetPath, canvas, loopCount, error);
    return createWebpAnimation(targetPath, options, canvas, loopCount, error);
}

bool AnimationWriter::canAnimate(const QString &extension)
{
    const ImageFormat *format =
        formatForExtension(extension.startsWith(QLatin1Char('.')) ? extension.mid(1) : extension);
    return format && format->canWrite && format->animates;
}

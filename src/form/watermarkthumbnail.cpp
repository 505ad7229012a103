#include "watermarkthumbnail.h"

#include <QtGlobal>

QSize watermarkThumbnailSize(const QSize &imageSize, const QSize &box)
{
    if (imageSize.isEmpty() || box.isEmpty())
        return {};
    const double rw = double(imageSize.width()) / box.width();
    const double rh = double(imageSize.height()) / box.height();
    if (rw < 1.0 && rh < 1.0)
        return imageSize;
    const double ratio = qMax(rw, rh);
    return {qMax(1, int(imageSize.width() / ratio)), qMax(1, int(imageSize.height() / ratio))};
}

#include "previewgeometry.h"

#include <cmath>

QSize fitSize(const QSize &size, const QSize &bounds)
{
    if (size.width() <= 0 || size.height() <= 0 || bounds.width() <= 0 || bounds.height() <= 0)
        return QSize(0, 0);

    const float rw = float(size.width()) / float(bounds.width());
    const float rh = float(size.height()) / float(bounds.height());
    if (rw < 1.0f && rh < 1.0f)
        return size;

    const float r = rw > rh ? rw : rh;
    const float width = float(size.width()) / r;
    const float height = float(size.height()) / r;
    // A very thin picture keeps at least one pixel instead of vanishing.
    return QSize(qMax(1, int(width)), qMax(1, int(height)));
}

bool fitIconHit(const QPoint &pos, int labelWidth)
{
    return pos.y() >= 11 && pos.y() <= 33 && pos.x() > labelWidth - 34 && pos.x() < labelWidth - 10;
}

int zoomStepWidth(int displayedWidth, int step, int fullWidth, int screenWidth)
{
    const double w = displayedWidth;
    if (step >= 1) {
        const double newWidth = std::trunc(w + w * 0.1);
        if (newWidth > 4.0 * fullWidth && newWidth >= screenWidth)
            return -1;
        return int(newWidth);
    }
    if (step < 0) {
        const double newWidth = std::trunc(w - w * 0.1);
        if (newWidth < 40.0)
            return -1;
        return int(newWidth);
    }
    return displayedWidth;
}

QString zoomPercentText(int displayedWidth, int fullWidth)
{
    if (fullWidth <= 0)
        return QStringLiteral("0%");
    const double ratio = double(displayedWidth) / double(fullWidth);
    return QString::number(ratio * 100.0, 'g', 6) + QLatin1Char('%');
}

int wheelZoomStep(const QPoint &angleDelta)
{
    const long dy = std::lround(angleDelta.y() / 8.0);
    if (dy > 0)
        return 1;
    if (dy < 0)
        return -1;
    return 0;
}

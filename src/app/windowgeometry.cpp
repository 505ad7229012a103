#include "windowgeometry.h"

QRect restoredWindowGeometry(const StoredWindowGeometry &stored, const QSize &screen)
{
    const quint32 screenWidth = quint32(qMax(0, screen.width()));
    const quint32 screenHeight = quint32(qMax(0, screen.height()));

    quint32 x = stored.posX.value_or(defaultWindowX);
    if (x > screenWidth)
        x = defaultWindowX;
    quint32 y = stored.posY.value_or(defaultWindowY);
    if (y > screenHeight)
        y = defaultWindowY;

    quint32 width = stored.width.value_or(minimumWindowWidth);
    if (width < quint32(minimumWindowWidth))
        width = minimumWindowWidth;
    else if (width > screenWidth)
        width = screenWidth;
    else if (x + width > screenWidth)
        x = screenWidth - width;

    quint32 height = stored.height.value_or(minimumWindowHeight);
    if (height < quint32(minimumWindowHeight))
        height = minimumWindowHeight;
    else if (height > screenHeight)
        height = screenHeight;
    else if (y + height > screenHeight)
        y = screenHeight - height;

    return QRect(int(x), int(y), int(width), int(height));
}

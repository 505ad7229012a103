#include "windowgeometry.h"

namespace {

// One axis of the restore: the length is at least the minimum and at most the
// screen; a window that would run past the screen's far edge is moved back.
// Unsigned on purpose: a negative stored position counts as beyond the screen.
void clampAxis(quint32 &position, quint32 &length, quint32 minimum, quint32 screen)
{
    if (length < minimum)
        length = minimum;
    else if (length > screen)
        length = screen;
    else if (position + length > screen)
        position = screen - length;
}

} // namespace

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
    clampAxis(x, width, minimumWindowWidth, screenWidth);
    quint32 height = stored.height.value_or(minimumWindowHeight);
    clampAxis(y, height, minimumWindowHeight, screenHeight);

    return QRect(int(x), int(y), int(width), int(height));
}

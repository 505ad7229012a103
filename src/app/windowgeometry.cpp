#include "windowgeometry.h"

namespace {

struct Span
{
    int position;
    int length;
};

// One axis of the restore: the length is at least the minimum and at most the
// area; a stored position past the area's far edge falls back to the default
// (unsigned on purpose: a negative stored position counts as beyond it). The
// window is then moved so that it lies wholly inside the area, origin included.
Span restoreAxis(std::optional<quint32> storedPosition, std::optional<quint32> storedLength, int fallback,
                 quint32 first, quint32 minimum, int areaStart, int areaLength)
{
    const quint32 area = quint32(qMax(0, areaLength));
    quint32 length = storedLength.value_or(first);
    if (length < minimum)
        length = minimum;
    else if (length > area)
        length = area;
    const qint64 areaEnd = qint64(areaStart) + area;
    qint64 position = storedPosition.value_or(quint32(fallback));
    if (position > areaEnd)
        position = fallback;
    position = qMax(qMin(position, areaEnd - length), qint64(areaStart));
    return {int(position), int(length)};
}

} // namespace

QRect restoredWindowGeometry(const StoredWindowGeometry &stored, const QRect &area)
{
    const Span x = restoreAxis(stored.posX, stored.width, defaultWindowX, firstWindowWidth, minimumWindowWidth,
                               area.x(), area.width());
    const Span y = restoreAxis(stored.posY, stored.height, defaultWindowY, firstWindowHeight, minimumWindowHeight,
                               area.y(), area.height());
    return QRect(x.position, y.position, x.length, y.length);
}

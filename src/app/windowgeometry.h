#pragma once

#include <QRect>
#include <QtGlobal>

#include <optional>

// The main window's geometry values as found in the per-user store; a value
// that could not be read is empty.
struct StoredWindowGeometry
{
    std::optional<quint32> posX;
    std::optional<quint32> posY;
    std::optional<quint32> width;
    std::optional<quint32> height;
};

constexpr int defaultWindowX = 100;
constexpr int defaultWindowY = 100;
constexpr int minimumWindowWidth = 986;
constexpr int minimumWindowHeight = 513;
// The first size: room for every settings tab label and the PDF options.
constexpr int firstWindowWidth = 1280;
constexpr int firstWindowHeight = 860;

// The geometry a restored window gets on a screen of the given available
// area; the window lies wholly inside it. The comparisons are unsigned, so a
// negative stored position (a window left on a monitor left of or above the
// primary one) falls back to the default.
QRect restoredWindowGeometry(const StoredWindowGeometry &stored, const QRect &area);

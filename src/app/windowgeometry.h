#pragma once

#include <QRect>
#include <QSize>
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

// The geometry a restored window gets on a screen of the given usable size.
// The comparisons are unsigned, so a negative stored position (a window left
// on a monitor left of or above the primary one) falls back to the default.
QRect restoredWindowGeometry(const StoredWindowGeometry &stored, const QSize &screen);

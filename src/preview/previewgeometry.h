#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

// Size, zoom and hit-test rules of the inline and full previews, kept free of
// widgets so that they can be checked on their own.

// Shrinks a size into bounds keeping its ratio; a size that already fits is
// never enlarged. Worked in single precision and truncated, so 1920 x 1080
// into 400 x 231 gives 399 x 224.
QSize fitSize(const QSize &size, const QSize &bounds);

// True when a press at pos on an inline preview label of the given width hits
// the fit icon drawn at (width - 34, 10).
bool fitIconHit(const QPoint &pos, int labelWidth);

// The displayed width after one zoom step (step >= 1 zooms in by 10 %, a
// negative step zooms out by 10 %, 0 keeps the width), or -1 when the step is
// refused: zooming out below 40 pixels, or zooming in beyond four times the
// full width once the picture is at least as wide as the screen.
int zoomStepWidth(int displayedWidth, int step, int fullWidth, int screenWidth);

// The zoom percentage as shown under the full preview ("25%", "33.3333%");
// "0%" for an empty picture.
QString zoomPercentText(int displayedWidth, int fullWidth);

// The zoom step asked for by a wheel turn (angle delta in eighths of a
// degree): 1, -1, or 0 for no vertical turn.
int wheelZoomStep(const QPoint &angleDelta);

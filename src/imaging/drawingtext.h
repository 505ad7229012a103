#pragma once

#include <QByteArray>
#include <QString>

// The text of a drawing (SVG, or SVGZ inflated) as the renderer is given it:
// read through a bounded reader, so that a small compressed file cannot
// unfold into gigabytes, and with its pictures (<image>) limited to those in
// the drawing's own folder and below, or carried in the drawing itself
// (data: URIs). Pictures elsewhere (absolute paths, parent folders, other
// drawings, anything not a local file) are left out.

// The most text a drawing may hold, compressed or not.
constexpr qint64 drawingTextLimitBytes = 64 * 1024 * 1024;

// The text, or an empty one with *cause for the user.
QByteArray renderableDrawing(const QString &path, QString *cause);

// The text read or inflated, at most limit bytes; *whole false when the text is longer.
QByteArray boundedDrawingText(const QString &path, qint64 limit, bool *whole);

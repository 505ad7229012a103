#pragma once

#include <QImage>
#include <QSize>
#include <QString>

enum class PngReduction { Done, Whole, Failed };

// Reads a PNG row by row, averaging it into a picture reduced by a whole
// factor to no less than atLeast (in stored terms), so that only that picture
// and a row of blocks are held; colours stay 16 bits where the file's are.
// Whole when the file's layout needs the whole picture at once (interlaced),
// unless wholeInterlaced allows holding it; Failed, with the cause for the
// user, when the file cannot be read.
PngReduction decodePngReduced(const QString &path, const QSize &atLeast, QImage *image, QString *cause,
                              bool wholeInterlaced = false);

// True for the layout Qt's reader garbles: 16-bit RGB with a transparent colour.
bool qtMisreadsPng(const QString &path);
